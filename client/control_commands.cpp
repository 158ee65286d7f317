#include "control_commands.h"

#include <cstdio>

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
