#include "tqconfig.h"
#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct family_sample {
    int code;
    vusk_color automap;           // slot 0
    vusk_color highlighted_edge;  // slot 2
    vusk_color default_fill;      // slot 9
    vusk_color disabled_edge;     // slot 23
    vusk_color background[3];     // bright, mid, dark
};

const family_sample families[] = {
    {0, {192, 192, 0}, {255, 255, 0}, {48, 48, 48}, {96, 96, 48}, {{80, 80, 0}, {56, 56, 0}, {32, 32, 0}}},
    {1, {48, 48, 192}, {64, 64, 255}, {0, 0, 48}, {24, 24, 96}, {{0, 0, 96}, {0, 0, 64}, {0, 0, 32}}},
    {2, {192, 0, 0}, {255, 192, 0}, {48, 0, 0}, {48, 48, 48}, {{80, 0, 0}, {56, 0, 0}, {32, 0, 0}}},
    {40, {160, 96, 64}, {160, 96, 64}, {48, 32, 16}, {48, 48, 48}, {{80, 32, 16}, {56, 24, 16}, {32, 16, 8}}},
    {50, {144, 192, 0}, {192, 255, 0}, {32, 48, 0}, {72, 96, 48}, {{48, 80, 0}, {32, 56, 0}, {16, 32, 0}}},
    {60, {0, 192, 0}, {128, 255, 128}, {0, 48, 0}, {24, 48, 24}, {{0, 80, 0}, {0, 48, 0}, {0, 32, 0}}},
    {70, {48, 144, 192}, {64, 192, 255}, {0, 32, 48}, {24, 72, 96}, {{0, 56, 80}, {0, 40, 64}, {0, 24, 48}}},
    {80, {192, 96, 192}, {255, 192, 255}, {48, 0, 48}, {48, 24, 48}, {{80, 0, 80}, {56, 0, 56}, {32, 0, 32}}},
    {90, {192, 192, 192}, {192, 192, 192}, {48, 48, 48}, {64, 64, 64}, {{64, 64, 64}, {32, 32, 32}, {16, 16, 16}}},
};

const int text_slots[] = {4, 7, 10, 13, 19, 22};

void expect_family(const vusk_color *buttons, const vusk_color *background, const family_sample &family)
{
    EXPECT_EQ(buttons[0], family.automap);
    EXPECT_EQ(buttons[1], family.automap);
    EXPECT_EQ(buttons[2], family.highlighted_edge);
    EXPECT_EQ(buttons[9], family.default_fill);
    EXPECT_EQ(buttons[23], family.disabled_edge);
    for (int slot = 0; slot < background_theme_slot_count; ++slot)
        EXPECT_EQ(background[slot], family.background[slot]);
}

void make_current_record(TConfig &config, int button_code, int background_code)
{
    tqconfig record;
    record.current_theme = button_code;
    record.current_background_theme = background_code;
    config.add(record);
    config.select("");
}

} // namespace

TEST(Themes, EveryCodeSelectsItsFamily)
{
    for (const family_sample &family : families) {
        SCOPED_TRACE(family.code);
        expect_family(button_theme_for_code(family.code), background_theme_for_code(family.code), family);
    }
}

TEST(Themes, UnknownCodesSelectBlue)
{
    for (int code : {3, -1, 10, 41, 69, 71, 91, 100, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(button_theme_for_code(code), button_theme_blue);
        EXPECT_EQ(background_theme_for_code(code), background_theme_blue);
    }
}

TEST(Themes, SlotsSharedByEveryFamily)
{
    for (const family_sample &family : families) {
        SCOPED_TRACE(family.code);
        const vusk_color *buttons = button_theme_for_code(family.code);
        vusk_color text = family.code == theme_code_blue ? vusk_YELLOW : vusk_WHITE;
        for (int slot : text_slots)
            EXPECT_EQ(buttons[slot], text) << "slot " << slot;
        EXPECT_EQ(buttons[16], vusk_LIGHT_GREY);
        EXPECT_EQ(buttons[25], (vusk_color{96, 96, 96}));
    }
}

TEST(Themes, BeforeAnyConfigurationBothTablesAreYellow)
{
    EXPECT_EQ(current_button_theme, button_theme_yellow);
    EXPECT_EQ(current_background_theme, background_theme_yellow);
    reset_theme();
    EXPECT_EQ(current_button_theme, button_theme_yellow);
    EXPECT_EQ(current_background_theme, background_theme_yellow);
}

TEST(Themes, ResetFollowsTheCurrentRecord)
{
    TConfig &config = *TConfig::Instance();
    make_current_record(config, theme_code_purple, theme_code_cyan);
    reset_theme();
    EXPECT_EQ(current_button_theme, button_theme_purple);
    EXPECT_EQ(current_background_theme, background_theme_cyan);

    config.SetBackgroundColor(3);
    switch_background_theme();
    EXPECT_EQ(current_background_theme, background_theme_blue);
    EXPECT_EQ(current_button_theme, button_theme_purple);

    config.SetButtonTheme(theme_code_grey);
    switch_button_theme();
    EXPECT_EQ(current_button_theme, button_theme_grey);
}
