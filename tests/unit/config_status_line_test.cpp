#include "control_commands.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
config_status_settings every_flag_on()
{
    config_status_settings s;
    s.system_audio = s.command_separator = s.direction_button = s.hint_button = 1;
    s.fkey_button = s.status_bar = s.sky_bar = s.exp_display = s.hpbar_enable = 1;
    s.enemy_hpbar_enable = s.popup_display = 1;
    s.automap_enable = s.automap_docked = s.channel_window = s.channel_dupe = 1;
    s.color_flash = s.voting_reminder = 1;
    return s;
}
}

TEST(ConfigStatusLine, WorkedExampleOfTheTwentyCodes)
{
    config_status_settings s = every_flag_on();
    s.group_status = 2;
    s.layout = 1;
    s.font_colors = 7;
    s.button_theme = 3;
    s.background_color = 12;
    s.background_style = 0;
    EXPECT_EQ(config_status_line(s), "tqlstatus 11111111111211111191  3 12  0");
}

TEST(ConfigStatusLine, EverySettingOffGivesZeros)
{
    EXPECT_EQ(config_status_line(config_status_settings{}),
              "tqlstatus 00000000000000000000  0  0  0");
}

TEST(ConfigStatusLine, EachFlagHasItsOwnPosition)
{
    int config_status_settings::*flags[] = {
        &config_status_settings::system_audio,       &config_status_settings::command_separator,
        &config_status_settings::direction_button,   &config_status_settings::hint_button,
        &config_status_settings::fkey_button,        &config_status_settings::status_bar,
        &config_status_settings::sky_bar,            &config_status_settings::exp_display,
        &config_status_settings::hpbar_enable,       &config_status_settings::enemy_hpbar_enable,
        &config_status_settings::popup_display,      nullptr,
        nullptr,                                     &config_status_settings::automap_enable,
        &config_status_settings::automap_docked,     &config_status_settings::channel_window,
        &config_status_settings::channel_dupe,       &config_status_settings::color_flash,
        nullptr,                                     &config_status_settings::voting_reminder,
    };
    for (int position = 0; position < 20; ++position) {
        if (flags[position] == nullptr)
            continue;
        config_status_settings s;
        s.*flags[position] = -5; // any nonzero value counts as on
        std::string expected(20, '0');
        expected[position] = '1';
        EXPECT_EQ(config_status_line(s).substr(10, 20), expected) << "position " << position + 1;
    }
}

TEST(ConfigStatusLine, EnumerationsOutsideTheirValuesGiveTheirFallback)
{
    config_status_settings s;
    const auto code = [&](size_t position) { return config_status_line(s)[10 + position - 1]; };
    for (int value : {0, 1, 2, 3, -1, INT_MAX}) {
        s.group_status = s.layout = s.font_colors = value;
        const char two_way = value == 1 || value == 2 ? char('0' + value) : '0';
        EXPECT_EQ(code(12), two_way) << value;
        EXPECT_EQ(code(13), two_way) << value;
        EXPECT_EQ(code(19), value >= 0 && value <= 3 ? char('0' + value) : '9') << value;
    }
}

TEST(ConfigStatusLine, ThemeNumbersAreRightAlignedInTwoColumns)
{
    config_status_settings s;
    s.button_theme = 90;
    s.background_color = 5;
    s.background_style = 4;
    EXPECT_EQ(config_status_line(s).substr(30), " 90  5  4");
    s.button_theme = INT_MIN;
    s.background_color = 123;
    s.background_style = -1;
    EXPECT_EQ(config_status_line(s).substr(30), " -2147483648 123 -1");
}
