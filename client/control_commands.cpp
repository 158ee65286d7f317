#include "control_commands.h"

#include "tqconfig.h"
#include "util.h"

#include <cstddef>
#include <cstdio>

namespace {

struct command_word {
    const char *word;
    int minimum; // shortest abbreviation; 0 for the whole word only
    control_rule rule;
};

// The client's own "//" commands, matched first whatever the state.
const command_word client_commands[] = {
    {"//commands", 3, control_rule::command_help},
    {"//help", 3, control_rule::keyboard_help},
    {"//echo", 3, control_rule::echo},
    {"//break", 3, control_rule::send_break},
    {"//history", 3, control_rule::history},
    {"//quit", 6, control_rule::quit_now},
    {"//exit", 6, control_rule::quit_now},
    {"//disconnect", 6, control_rule::disconnect},
    {"//clear", 4, control_rule::clear},
    {"//debugfill", 0, control_rule::debug_fill},
    {"//icons", 0, control_rule::icons},
    {"//soundtest", 0, control_rule::sound_test},
    {"//chanclear", 0, control_rule::channel_clear},
};

// The words that act while disconnected.
const command_word disconnected_words[] = {
    {"connect", 1, control_rule::connect},
    {"restart", 2, control_rule::connect},
    {"start", 2, control_rule::connect},
    {"login", 4, control_rule::connect},
    {"quit", 3, control_rule::quit},
    {"exit", 2, control_rule::quit},
};

bool matches(const char *text, const command_word &command)
{
    return command.minimum == 0 ? wordcmp(text, command.word) != 0
                                : is_abbrev(text, command.word, command.minimum) != 0;
}

template <size_t n>
const command_word *first_match(const char *text, const command_word (&table)[n])
{
    for (const command_word &command : table)
        if (matches(text, command))
            return &command;
    return nullptr;
}

} // namespace

control_match match_control_command(const char *line, bool logged_in, bool connected)
{
    const char *text = line != nullptr ? line : "";
    const char *argument = next_arg(text);
    if (const command_word *command = first_match(text, client_commands))
        return {command->rule, text, argument};
    if (logged_in && wordcmp(text, "tqping"))
        return {control_rule::ping, text, argument};
    if (connected)
        return {control_rule::send_to_server, text, argument};
    if (const command_word *command = first_match(text, disconnected_words))
        return {command->rule, text, argument};
    return {control_rule::ignore, text, argument};
}

namespace {

char flag_code(int value)
{
    return value != 0 ? '1' : '0';
}

// A small enumeration: its own digit for a known value, `other` otherwise.
char choice_code(int value, int highest, char other)
{
    return value >= 1 && value <= highest ? char('0' + value) : other;
}

} // namespace

std::string config_status_line(const config_status_settings &s)
{
    constexpr int font_colors_highest = 3;
    std::string line = "tqlstatus ";
    for (int flag : {s.system_audio, s.command_separator, s.direction_button, s.hint_button,
                     s.fkey_button, s.status_bar, s.sky_bar, s.exp_display, s.hpbar_enable,
                     s.enemy_hpbar_enable, s.popup_display})
        line += flag_code(flag);
    line += choice_code(s.group_status, 2, '0');
    line += choice_code(s.layout, 2, '0');
    for (int flag : {s.automap_enable, s.automap_docked, s.channel_window, s.channel_dupe,
                     s.color_flash})
        line += flag_code(flag);
    line += s.font_colors == 0 ? '0' : choice_code(s.font_colors, font_colors_highest, '9');
    line += flag_code(s.voting_reminder);

    char numbers[48];
    snprintf(numbers, sizeof numbers, " %2d %2d %2d", s.button_theme, s.background_color,
             s.background_style);
    return line + numbers;
}

namespace {

// The status column of the settings table: where each reported setting goes.
struct status_source {
    int config_status_settings::*slot; // null: not reported
    int (TConfig::*get)() const;
};

#define STATUS_LINE(slot) &config_status_settings::slot
#define NO_STATUS_LINE nullptr
#define VUSK_SETTING_STATUS(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                            shortcut)                                                                          \
    {status, &TConfig::Get##Accessor},
#define VUSK_INSTALLATION_STATUS(Accessor, status, menu) {status, &TConfig::Get##Accessor},
const status_source status_sources[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_STATUS, VUSK_INSTALLATION_STATUS)};
#undef VUSK_INSTALLATION_STATUS
#undef VUSK_SETTING_STATUS
#undef NO_STATUS_LINE
#undef STATUS_LINE

} // namespace

config_status_settings status_line_settings(const TConfig &config, int voting_reminder)
{
    config_status_settings settings;
    for (const status_source &source : status_sources)
        if (source.slot != nullptr)
            settings.*source.slot = (config.*source.get)();
    settings.voting_reminder = voting_reminder;
    return settings;
}
