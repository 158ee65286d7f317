// The status display's values and layout, the status bar's pings, icons and
// places, and the sky's arithmetic, without any window.
#include "sky_model.h"
#include "status_bar_model.h"
#include "status_display_geometry.h"
#include "status_display_values.h"

#include <gtest/gtest.h>
#include <wx/gdicmn.h>

#include <climits>
#include <map>
#include <random>
#include <string>

namespace {

hp_values hp_of(std::initializer_list<int> numbers)
{
    hp_values hp;
    for (int n : numbers)
        hp.value[hp.count++] = n;
    return hp;
}

// Every character 8 pixels wide and 13 high, as a fixed-pitch font measures.
void fixed_pitch(const char *text, int *width, int *height)
{
    *width = 8 * int(std::string(text).size());
    *height = 13;
}

} // namespace

TEST(StatusDisplayValues, OnlyAWholeChangedHpTagAsksForAPaint)
{
    status_display_values v;
    EXPECT_EQ(v.hp, -1);
    EXPECT_EQ(v.hpmax, 1);
    EXPECT_FALSE(v.store_hp(hp_of({50, 60, 70, 80, 90})));
    EXPECT_EQ(v.move, 90);
    EXPECT_EQ(v.movemax, 1);
    EXPECT_TRUE(v.store_hp(hp_of({50, 60, 70, 80, 90, 100})));
    EXPECT_FALSE(v.store_hp(hp_of({50, 60, 70, 80, 90, 100})));
    EXPECT_FALSE(v.store_hp(hp_of({1, 2, 3, 4})));
    EXPECT_EQ(v.manamax, 4);
    EXPECT_EQ(v.move, 90);
}

TEST(StatusDisplayValues, EnemyNameAndPercentRepaintOnlyWhenTheyChange)
{
    status_display_values v;
    EXPECT_EQ(v.enemy_name, "(no enemy)");
    EXPECT_FALSE(v.store_enemy({40, nullptr}));
    EXPECT_EQ(v.enemy_percent, 40);
    EXPECT_TRUE(v.store_enemy({40, "a rat"}));
    EXPECT_FALSE(v.store_enemy({40, "a rat"}));
    EXPECT_TRUE(v.store_enemy({30, "a rat"}));
    const std::string long_name(5000, 'x');
    EXPECT_TRUE(v.store_enemy({30, long_name.c_str()}));
    EXPECT_EQ(v.enemy_name.size(), enemy_name_max_length);
    v.clear_enemy();
    EXPECT_EQ(v.enemy_percent, -1);
    EXPECT_EQ(v.enemy_name, "(no enemy)");
}

TEST(StatusDisplayValues, ExperienceIsKeptLargestFirstAndReorderingIsNoChange)
{
    status_display_values v;
    xp_percentages xp;
    xp.percent[0] = 12, xp.percent[1] = 400, xp.percent[2] = 3;
    EXPECT_TRUE(v.store_xp(xp));
    EXPECT_EQ(v.exp[0], 400);
    EXPECT_EQ(v.exp[1], 12);
    EXPECT_EQ(v.exp[2], 3);
    EXPECT_EQ(v.exp[3], 0);
    std::swap(xp.percent[0], xp.percent[1]);
    EXPECT_FALSE(v.store_xp(xp));
    EXPECT_TRUE(v.store_xp(xp_percentages()));
    EXPECT_EQ(v.exp[0], 0);
}

// Before any "hp" tag each bar reads -1 over 1; experience shows the largest
// level in whole percent, FULL from 1000 per mille.
TEST(StatusDisplayValues, TextsBeforeAnyHpTagAndExperienceInPercent)
{
    status_display_values v;
    EXPECT_EQ(v.player_bar_text(bar_health, text_long_labels), " hp:  -1/1");
    EXPECT_EQ(v.player_bar_text(bar_mana, text_short_labels), " mn:  -1/1");
    EXPECT_EQ(v.player_bar_text(bar_movement, text_values_only), " mv:  -1");
    EXPECT_TRUE(v.store_hp(hp_of({250, 300, 12345, 20000, 7, 9})));
    EXPECT_EQ(v.player_bar_text(bar_mana, text_long_labels), " mana:12345/20000");
    EXPECT_EQ(v.player_bar_text(bar_movement, text_short_labels), " mv:   7/9");

    EXPECT_EQ(v.exp_text(text_long_labels), " exp: 0%");
    xp_percentages xp;
    xp.percent[0] = 1000;
    v.store_xp(xp);
    EXPECT_EQ(v.exp_text(text_long_labels), " exp: FULL");
    xp.percent[0] = 995;
    v.store_xp(xp);
    EXPECT_EQ(v.exp_text(text_long_labels), " exp: 99%");
    EXPECT_EQ(v.exp_text(text_short_labels), " xp: 99%");
    xp.percent[0] = -40;
    v.store_xp(xp);
    EXPECT_EQ(v.exp_text(text_values_only), " xp: 0%");
}

TEST(StatusDisplayGeometry, LabelsShrinkWithTheWidthUntilOnlyBarsRemain)
{
    const status_display_switches all{true, true, true};
    const status_display_switches hp_and_exp{true, true, false};
    status_display_geometry g;
    compute_status_display_geometry(g, 900, 42, all, fixed_pitch);
    EXPECT_EQ(g.text_mode, text_long_labels);
    // Three bars: (900 - 20 - (16 + 18 + 18) * 8) / 3.
    EXPECT_EQ(g.bar_width, 154);
    EXPECT_EQ(g.mana_x, 10 + 154 + 16 * 8);
    EXPECT_EQ(g.exp_x, g.move_x);
    EXPECT_EQ(g.bar_height, 10);
    EXPECT_EQ(g.enemy_row_y, 5);
    EXPECT_EQ(g.hp_row_y, 26);

    compute_status_display_geometry(g, 600, 21, hp_and_exp, fixed_pitch);
    EXPECT_EQ(g.text_mode, text_values_only);
    EXPECT_EQ(g.bar_width, (600 - 20 - 39 * 8) / 4);
    EXPECT_EQ(g.exp_x, g.move_x + g.bar_width + 10 * 8);
    EXPECT_EQ(g.hp_row_y, g.enemy_row_y);

    compute_status_display_geometry(g, 120, 21, hp_and_exp, fixed_pitch);
    EXPECT_EQ(g.text_mode, text_none);
    EXPECT_EQ(g.bar_width, 17);
    EXPECT_EQ(g.exp_x, 3 * 17 + 40);
    compute_status_display_geometry(g, 60, 21, all, fixed_pitch);
    EXPECT_EQ(g.bar_width, 15);

    compute_status_display_geometry(g, 300, 21, {false, true, false}, fixed_pitch);
    EXPECT_EQ(g.text_mode, text_none);
    EXPECT_EQ(g.exp_x, 10);
    EXPECT_EQ(g.bar_width, 200);
}

TEST(StatusDisplayGeometry, FillsAreComputedWideAndKeptInsideTheBar)
{
    EXPECT_EQ(bar_fill(0, 100, 200), 0);
    EXPECT_EQ(bar_fill(50, 100, 200), 100);
    EXPECT_EQ(bar_fill(100, 100, 200), 200);
    EXPECT_EQ(bar_fill(150, 100, 200), 200);
    EXPECT_EQ(bar_fill(-5, 100, 200), 0);
    EXPECT_EQ(bar_fill(0, 0, 200), 0);
    EXPECT_EQ(bar_fill(1, 0, 200), 200);
    EXPECT_EQ(bar_fill(INT_MAX, INT_MAX, 200), 200);
    EXPECT_EQ(bar_fill(INT_MAX / 2, INT_MAX, 200), 99);
    EXPECT_EQ(bar_fill(INT_MAX, -7, 200), 200);
}

namespace {

// The columns as a list of "offset:first-last".
std::string marks_of(int maximum, int width)
{
    std::string text;
    for (const tick_mark_column &c : tick_mark_columns(maximum, width))
        text += std::to_string(c.offset) + ":" + std::to_string(c.first_mark) + "-" +
                std::to_string(c.last_mark) + " ";
    return text;
}

// A mark every 100 points below the maximum, one at a time, grouped by
// the column each falls on.
std::string marks_one_by_one(int maximum, int width)
{
    std::map<int, std::pair<int, int>> columns;
    for (int t = 100; t < maximum; t += 100) {
        auto [entry, added] = columns.try_emplace(int(int64_t(t) * width / maximum), t, t);
        entry->second.second = t;
    }
    std::string text;
    for (const auto &[offset, range] : columns)
        text += std::to_string(offset) + ":" + std::to_string(range.first) + "-" + std::to_string(range.second) + " ";
    return text;
}

} // namespace

TEST(StatusDisplayGeometry, TickMarksEveryHundredAtMostOneEntryPerColumn)
{
    EXPECT_EQ(marks_of(300, 150), "50:100-100 100:200-200 ");
    EXPECT_EQ(marks_of(100, 150), "");
    EXPECT_EQ(marks_of(101, 150), "148:100-100 ");
    EXPECT_EQ(marks_of(300, 0), "");
    // A 15-pixel bar of maximum 1000 has all nine marks, and a dense bar its
    // marks shared out over the columns.
    EXPECT_EQ(marks_of(1000, 15), "1:100-100 3:200-200 4:300-300 6:400-400 7:500-500 9:600-600 10:700-700 "
                                  "12:800-800 13:900-900 ");
    EXPECT_EQ(marks_of(1000, 2), "0:100-400 1:500-900 ");
    for (int maximum = 1; maximum <= 3000; maximum += 7)
        for (int width : {1, 2, 3, 15, 40, 150})
            ASSERT_EQ(marks_of(maximum, width), marks_one_by_one(maximum, width)) << maximum << " " << width;

    const std::vector<tick_mark_column> huge = tick_mark_columns(INT_MAX, 150);
    ASSERT_EQ(huge.size(), 150u);
    EXPECT_EQ(huge.front().first_mark, 100);
    EXPECT_EQ(huge.back().offset, 149);
    EXPECT_EQ(huge.back().last_mark, INT_MAX / 100 * 100);
}

TEST(StatusBarModel, PingAverageIsTheMeanOfTheLastFour)
{
    ping_statistics pings;
    const int replies[] = {100, 200, 300, 400, 500};
    const int averages[] = {100, 150, 200, 250, 350};
    for (int i = 0; i < 5; ++i) {
        pings.record_ping_time(replies[i]);
        EXPECT_EQ(pings.ping_average, averages[i]);
    }
    EXPECT_EQ(pings.ping_count, 4);
    for (int i = 0; i < 4; ++i)
        pings.record_ping_time(INT_MAX);
    EXPECT_EQ(pings.ping_average, INT_MAX);
    pings.reset_pings();
    pings.record_ping_time(-30);
    EXPECT_EQ(pings.ping_average, 0);
    EXPECT_EQ(pings.ping_count, 1);
}

TEST(StatusBarModel, IconFlagsReadOnlyTheirFivePlaces)
{
    int icons[status_bar_icon_count] = {};
    EXPECT_TRUE(parse_icon_flags("10", icons));
    EXPECT_EQ(std::vector<int>(icons, icons + 5), (std::vector<int>{1, 0, 0, 0, 0}));
    EXPECT_FALSE(parse_icon_flags("1", icons));
    EXPECT_TRUE(parse_icon_flags("0x111111111", icons));
    EXPECT_EQ(std::vector<int>(icons, icons + 5), (std::vector<int>{0, 0, 1, 1, 1}));
    EXPECT_TRUE(parse_icon_flags("", icons));
    EXPECT_FALSE(parse_icon_flags(nullptr, icons));
    EXPECT_EQ(std::vector<int>(icons, icons + 5), (std::vector<int>(5, 0)));
}

TEST(StatusBarModel, PlacesFromTheRightAndPushesThemOutWhenTooNarrow)
{
    const status_bar_geometry g = compute_status_bar_geometry(800, 21, 21, 64, 13, 64);
    EXPECT_EQ(g.lock_x, 779);
    EXPECT_EQ(g.ping_right, 769);
    EXPECT_EQ(g.ping_x, 705);
    EXPECT_EQ(g.time_right, 695);
    EXPECT_EQ(g.time_x, 631);
    EXPECT_EQ(g.text_y, 4);
    EXPECT_EQ(wxRect(g.sky_x, g.sky_y, g.sky_width, g.sky_height), wxRect(100, 1, 521, 19));

    const status_bar_geometry narrow = compute_status_bar_geometry(200, 21, 21, 64, 13, 64);
    EXPECT_EQ(narrow.sky_width, 21);
    EXPECT_EQ(narrow.time_x, 131);
    EXPECT_EQ(narrow.bar_right, 200 + 131 - 31);

    EXPECT_EQ(status_bar_spot_at(g, 19, false).icon, 0);
    EXPECT_EQ(status_bar_spot_at(g, 20, false).icon, 1);
    EXPECT_EQ(status_bar_spot_at(g, 91, false).icon, 4);
    EXPECT_EQ(status_bar_spot_at(g, 92, false).spot, status_bar_spot::none);
    EXPECT_EQ(status_bar_spot_at(g, 769, false).spot, status_bar_spot::ping);
    EXPECT_EQ(status_bar_spot_at(g, 631, false).spot, status_bar_spot::time);
    EXPECT_EQ(status_bar_spot_at(g, 790, false).spot, status_bar_spot::none);
    EXPECT_EQ(status_bar_spot_at(g, 800, true).spot, status_bar_spot::lock);
}

TEST(SkyModel, SkyStateReadsFlagsNumbersAndTheTimeText)
{
    sky_state sky;
    ASSERT_TRUE(parse_sky_state("101 7 725 12:05 pm\nnext line", sky));
    EXPECT_EQ(sky.outdoors, 1);
    EXPECT_EQ(sky.sky_visible, 0);
    EXPECT_EQ(sky.overcast, 1);
    EXPECT_EQ(sky.sky_value, 7);
    EXPECT_EQ(sky.minute, 725);
    EXPECT_EQ(sky.time_text, "12:05 pm");

    // A character other than 0 or 1 ends the flags.
    ASSERT_TRUE(parse_sky_state("1x1 0 -1", sky));
    EXPECT_EQ(sky.sky_visible, 0);
    EXPECT_EQ(sky.overcast, 0);
    EXPECT_EQ(sky.minute, 1439);
    EXPECT_EQ(sky.time_text, "");
    ASSERT_TRUE(parse_sky_state(("111 0 2147483647 " + std::string(500, 'z')).c_str(), sky));
    EXPECT_EQ(sky.minute, 2147483647 % 1440);
    EXPECT_EQ(sky.time_text.size(), time_text_max_length);
    ASSERT_TRUE(parse_sky_state("110 1 -2147483648", sky));
    EXPECT_EQ(sky.minute, minute_of_day(INT_MIN));
    EXPECT_GE(sky.minute, 0);

    for (const char *bad : {"", "111", "111 x 10 noon", "111 5", "111 5 ten", "111 5\n"}) {
        sky_state kept = sky;
        EXPECT_FALSE(parse_sky_state(bad, kept)) << bad;
        EXPECT_EQ(kept.minute, sky.minute);
    }
}

TEST(SkyModel, LightOfNightDawnNoonAndDusk)
{
    const sky_light noon = sky_light_at(720, true, false);
    EXPECT_EQ(noon.sky, vusk_color(85, 170, 255));
    EXPECT_EQ(noon.star_strength, 0);
    const sky_light night = sky_light_at(0, true, false);
    EXPECT_EQ(night.sky, vusk_BLACK);
    EXPECT_EQ(night.star_strength, 255);
    const sky_light dawn = sky_light_at(397, true, false);
    EXPECT_EQ(dawn.sky, vusk_color(41, 83, 125));
    EXPECT_EQ(dawn.star_strength, 130);
    const sky_light dusk = sky_light_at(1162, false, false);
    EXPECT_TRUE(dusk.dimmed);
    EXPECT_EQ(dusk.sky, vusk_color(35, 70, 105)); // 208 * 38 / 75
    EXPECT_EQ(sky_light_at(720 + 1440 * 3, true, true).sky, vusk_color(69, 138, 208));

    EXPECT_EQ(dawn_glow(329), -1);
    EXPECT_EQ(dawn_glow(405), 255);
    EXPECT_EQ(dawn_glow(450), 102);
    EXPECT_EQ(dusk_glow(1140), 255);
    EXPECT_EQ(dusk_glow(1230), -1);
    EXPECT_EQ(glow_colour(vusk_color(41, 83, 125), 200), vusk_color(200, 100, 125));

    // The band scrolls one width by noon: the sun stands at 0.425 of it.
    EXPECT_EQ(sky_band_offset(400, 720), 400);
    EXPECT_EQ(wrap_on_band(sky_band_offset(400, 720) + sun_band_x(400), 400), 170);
    EXPECT_EQ(wrap_on_band(sky_band_offset(400, 0) + moon_band_x(400), 400), 170);
    EXPECT_EQ(sky_band_offset(INT_MAX, 1439), int(int64_t(2) * INT_MAX * 1439 / 1440));
    // Only what lies beyond the band's end comes round; its end stays there.
    EXPECT_EQ(wrap_on_band(800, 400), 800);
    EXPECT_EQ(wrap_on_band(801, 400), 1);
    EXPECT_EQ(wrap_on_band(799, 400), 799);
}

// Random and mutated messages: the sanitizers watch, the results stay in range.
TEST(StatusPanelsFuzz, SkyAndIconMessagesStayInRange)
{
    std::mt19937 random(7);
    const std::string alphabet = "01 \t\n-+9x:pm";
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (char &c : text)
            c = random() % 3 ? alphabet[random() % alphabet.size()] : char(random() % 255 + 1);
        sky_state sky;
        if (parse_sky_state(text.c_str(), sky)) {
            EXPECT_GE(sky.minute, 0);
            EXPECT_LT(sky.minute, 1440);
            EXPECT_LE(sky.time_text.size(), time_text_max_length);
        }
        int icons[status_bar_icon_count] = {};
        parse_icon_flags(text.c_str(), icons);
        for (int on : icons)
            EXPECT_TRUE(on == 0 || on == 1);
    }
}
