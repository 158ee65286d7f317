#include "tag_dispatch.h"

#include "util.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

namespace {

// A player's name is one line of at most this many characters.
constexpr size_t login_name_max_length = 7999;
constexpr char vote_menu_prefix[] = "votemenu";
constexpr size_t vote_menu_prefix_length = sizeof vote_menu_prefix - 1;
constexpr int exit_mask_bits_per_letter = 5;

bool is_word_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The first word of text, or null when text is blank.
const char *first_word(const char *text)
{
    while (is_word_space(*text))
        ++text;
    return *text ? text : nullptr;
}

// Reads up to max_count blank-separated numbers into values; returns how
// many words there were.
int read_numbers(const char *data, int *values, int max_count)
{
    int count = 0;
    for (const char *word = first_word(data); word && count < max_count; word = next_arg(word))
        values[count++] = read_int_clamped(word);
    return count;
}

bool is_capital(char c)
{
    return c >= 'A' && c <= 'Z';
}

// Two capitals carry five bits each; anything else gives no mask.
int exit_mask_from_word(const char *word)
{
    if (!word || !is_capital(word[0]) || !is_capital(word[1]))
        return no_exit_mask;
    return ((word[0] - 'A') << exit_mask_bits_per_letter) | (word[1] - 'A');
}

} // namespace

int read_int_clamped(const char *text)
{
    if (!text)
        return 0;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    int value = 0;
    is_int(text, &value);
    return value;
}

struct vusk_tag_dispatcher::tag_row {
    const char *name;
    void (*act)(vusk_tag_dispatcher &self, const char *data, int length);
};

// Matched whole and case-sensitively, in this order; the tags that begin
// with "votemenu" or "b" come after (dispatch_prefixed).
const vusk_tag_dispatcher::tag_row vusk_tag_dispatcher::table[] = {
    {"login", [](vusk_tag_dispatcher &self, const char *data, int) { self.login(data); }},
    {"map", [](vusk_tag_dispatcher &self, const char *data, int length) {
         self.effects_.map_message(data, length);
     }},
    {"walkfail", [](vusk_tag_dispatcher &self, const char *data, int length) {
         self.effects_.walk_fail(data, length);
     }},
    {"dirs", [](vusk_tag_dispatcher &self, const char *data, int) { self.directions(data); }},
    {"areaname", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.set_area_name(data);
     }},
    {"combat", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.set_combat_mode(data);
     }},
    {"ncombat", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.clear_combat_mode(data);
         self.effects_.clear_enemy_hp();
     }},
    {"uuid", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.set_client_id(data);
     }},
    {"enemyhp", [](vusk_tag_dispatcher &self, const char *data, int) { self.enemy(data); }},
    {"group", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.display_group(data);
     }},
    {"xpp", [](vusk_tag_dispatcher &self, const char *data, int) { self.xp(data); }},
    {"event", [](vusk_tag_dispatcher &self, const char *data, int) { self.event(data); }},
    {"hp", [](vusk_tag_dispatcher &self, const char *data, int) { self.hp(data); }},
    {"sound", [](vusk_tag_dispatcher &self, const char *data, int) {
         if (self.effects_.system_audio_enabled())
             self.effects_.play_sound(data);
     }},
    {"bclear", [](vusk_tag_dispatcher &self, const char *, int) {
         self.effects_.clear_hint_buttons();
     }},
    {"window_create", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.create_popup_window(data);
     }},
    {"append", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.tq_append(data);
     }},
    {"unappend", [](vusk_tag_dispatcher &self, const char *, int) { self.effects_.tq_unappend(); }},
    {"chdiv", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.set_divert_channel(data);
         self.channel_divert_active = 1;
     }},
    {"chudiv", [](vusk_tag_dispatcher &self, const char *, int) {
         self.effects_.clear_divert_channel();
         self.channel_divert_active = 0;
     }},
    {"divert", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.tq_divert(data);
     }},
    {"undivert", [](vusk_tag_dispatcher &self, const char *, int) { self.effects_.tq_undivert(); }},
    {"config", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.config_cmd_process(data);
     }},
    {"skystate", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.update_sky_display(data);
     }},
    {"icons", [](vusk_tag_dispatcher &self, const char *data, int) {
         self.effects_.update_icon_display(data);
     }},
};

vusk_tag_dispatcher::vusk_tag_dispatcher(vusk_tag_effects &effects) : effects_(effects) {}

void vusk_tag_dispatcher::process_tagged_data(const char *tag, const char *data, int)
{
    if (!tag)
        return;
    if (!data)
        data = "";
    const int length = static_cast<int>(std::strlen(data));
    for (const tag_row &row : table) {
        if (std::strcmp(tag, row.name) == 0) {
            row.act(*this, data, length);
            return;
        }
    }
    dispatch_prefixed(tag, data);
}

void vusk_tag_dispatcher::dispatch_prefixed(const char *tag, const char *data)
{
    if (std::strncmp(tag, vote_menu_prefix, vote_menu_prefix_length) == 0) {
        effects_.vote_menu_entry(tag + vote_menu_prefix_length, data);
    } else if (tag[0] == 'b') {
        buttons(tag, data);
    }
}

text_route vusk_tag_dispatcher::route_text(bool channel_window_on, bool channel_dupe_on) const
{
    text_route route;
    if (channel_divert_active) {
        route.channel = true;
        // The tabbed window already shows the channel; copy it to the main
        // display only when the player asked for duplicates.
        route.main = !(channel_window_on && !channel_dupe_on);
    } else {
        route.current = true;
    }
    return route;
}

void vusk_tag_dispatcher::login(const char *data)
{
    const std::string name(data, std::min(std::strcspn(data, "\n"), login_name_max_length));
    effects_.login(name.c_str());
}

void vusk_tag_dispatcher::directions(const char *data)
{
    dirs_switch pad = dirs_switch::unchanged;
    if (wordcmp(data, "on"))
        pad = dirs_switch::on;
    else if (wordcmp(data, "off"))
        pad = dirs_switch::off;
    effects_.set_directions(pad, exit_mask_from_word(next_arg(data)));
}

void vusk_tag_dispatcher::enemy(const char *data)
{
    if (!*data) {
        effects_.clear_enemy_hp();
        return;
    }
    enemy_hp enemy;
    enemy.percent = read_int_clamped(data);
    enemy.name = next_arg(data);
    effects_.display_enemy_hp(enemy);
}

void vusk_tag_dispatcher::event(const char *data)
{
    if (wordcmp(data, "colorflash")) {
        if (effects_.color_flash_enabled()) {
            const char *arguments = next_arg(data);
            effects_.color_flash(arguments ? arguments : "");
        }
    } else if (std::strcmp(data, "tqpong") == 0) {
        effects_.ping_reply();
    }
}

void vusk_tag_dispatcher::hp(const char *data)
{
    hp_values hp;
    hp.count = read_numbers(data, hp.value, hp_value_count);
    effects_.display_hp(hp);
}

void vusk_tag_dispatcher::xp(const char *data)
{
    xp_percentages xp;
    read_numbers(data, xp.percent, xp_percentage_count);
    effects_.display_xp_percentages(xp);
}

// "bf<n>" is a function key; any other "b<n>" a hint button. A number out of
// the row's range does nothing.
void vusk_tag_dispatcher::buttons(const char *tag, const char *data)
{
    if (tag[1] == 'f') {
        const int key = read_int_clamped(tag + 2);
        if (key >= 1) {
            if (key <= fkey_button_count)
                effects_.setup_fkey_button(key, tag, data);
            return;
        }
    }
    const int button = read_int_clamped(tag + 1);
    if (button >= 1 && button <= hint_button_count)
        effects_.setup_hint_button(button, tag, data);
}
