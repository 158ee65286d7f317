#include "vusk_theme.h"

#include "tqconfig.h"

const vusk_color button_theme_red[button_theme_slot_count] = {
    {192, 0, 0}, {192, 0, 0},
    {255, 192, 0}, {80, 0, 0}, {255, 255, 255},
    {96, 96, 96}, {64, 0, 0}, {255, 255, 255},
    {128, 96, 0}, {48, 0, 0}, {255, 255, 255},
    {128, 128, 128}, {64, 0, 0}, {255, 255, 255},
    {64, 64, 64}, {48, 0, 0}, {192, 192, 192},
    {128, 128, 128}, {48, 0, 0}, {255, 255, 255},
    {96, 96, 96}, {32, 0, 0}, {255, 255, 255},
    {48, 48, 48}, {32, 0, 0}, {96, 96, 96},
};
const vusk_color button_theme_brown[button_theme_slot_count] = {
    {160, 96, 64}, {160, 96, 64},
    {160, 96, 64}, {80, 48, 32}, {255, 255, 255},
    {96, 96, 96}, {64, 48, 32}, {255, 255, 255},
    {128, 96, 64}, {48, 32, 16}, {255, 255, 255},
    {128, 128, 128}, {64, 48, 32}, {255, 255, 255},
    {64, 64, 64}, {48, 32, 16}, {192, 192, 192},
    {128, 128, 128}, {48, 32, 16}, {255, 255, 255},
    {96, 96, 96}, {32, 24, 16}, {255, 255, 255},
    {48, 48, 48}, {32, 24, 16}, {96, 96, 96},
};
const vusk_color button_theme_yellow[button_theme_slot_count] = {
    {192, 192, 0}, {192, 192, 0},
    {255, 255, 0}, {96, 96, 96}, {255, 255, 255},
    {192, 192, 0}, {64, 64, 64}, {255, 255, 255},
    {192, 192, 0}, {48, 48, 48}, {255, 255, 255},
    {255, 255, 0}, {64, 64, 64}, {255, 255, 255},
    {128, 128, 0}, {48, 48, 48}, {192, 192, 192},
    {255, 255, 0}, {48, 48, 48}, {255, 255, 255},
    {192, 192, 0}, {32, 32, 32}, {255, 255, 255},
    {96, 96, 48}, {32, 32, 32}, {96, 96, 96},
};
const vusk_color button_theme_ygreen[button_theme_slot_count] = {
    {144, 192, 0}, {144, 192, 0},
    {192, 255, 0}, {72, 96, 0}, {255, 255, 255},
    {144, 192, 0}, {48, 64, 0}, {255, 255, 255},
    {144, 192, 0}, {32, 48, 0}, {255, 255, 255},
    {192, 255, 0}, {48, 64, 0}, {255, 255, 255},
    {96, 128, 0}, {32, 48, 0}, {192, 192, 192},
    {192, 255, 0}, {32, 48, 0}, {255, 255, 255},
    {144, 192, 0}, {16, 32, 0}, {255, 255, 255},
    {72, 96, 48}, {16, 32, 0}, {96, 96, 96},
};
const vusk_color button_theme_green[button_theme_slot_count] = {
    {0, 192, 0}, {0, 192, 0},
    {128, 255, 128}, {0, 80, 0}, {255, 255, 255},
    {48, 96, 48}, {0, 64, 0}, {255, 255, 255},
    {0, 128, 0}, {0, 48, 0}, {255, 255, 255},
    {64, 128, 64}, {0, 64, 0}, {255, 255, 255},
    {32, 64, 32}, {0, 48, 0}, {192, 192, 192},
    {64, 128, 64}, {0, 48, 0}, {255, 255, 255},
    {48, 96, 48}, {0, 32, 0}, {255, 255, 255},
    {24, 48, 24}, {0, 32, 0}, {96, 96, 96},
};
const vusk_color button_theme_cyan[button_theme_slot_count] = {
    {48, 144, 192}, {48, 144, 192},
    {64, 192, 255}, {0, 64, 80}, {255, 255, 255},
    {48, 144, 192}, {0, 48, 64}, {255, 255, 255},
    {32, 96, 128}, {0, 32, 48}, {255, 255, 255},
    {64, 192, 255}, {0, 48, 64}, {255, 255, 255},
    {0, 96, 128}, {0, 32, 48}, {192, 192, 192},
    {0, 192, 255}, {0, 32, 48}, {255, 255, 255},
    {0, 144, 192}, {0, 24, 32}, {255, 255, 255},
    {24, 72, 96}, {0, 24, 32}, {96, 96, 96},
};
const vusk_color button_theme_blue[button_theme_slot_count] = {
    {48, 48, 192}, {48, 48, 192},
    {64, 64, 255}, {0, 0, 80}, {255, 255, 0},
    {48, 48, 192}, {0, 0, 64}, {255, 255, 0},
    {32, 32, 128}, {0, 0, 48}, {255, 255, 0},
    {64, 64, 255}, {0, 0, 64}, {255, 255, 0},
    {0, 0, 128}, {0, 0, 48}, {192, 192, 192},
    {0, 0, 255}, {0, 0, 48}, {255, 255, 0},
    {0, 0, 192}, {0, 0, 32}, {255, 255, 0},
    {24, 24, 96}, {0, 0, 32}, {96, 96, 96},
};
const vusk_color button_theme_purple[button_theme_slot_count] = {
    {192, 96, 192}, {192, 96, 192},
    {255, 192, 255}, {80, 0, 80}, {255, 255, 255},
    {96, 48, 96}, {64, 0, 64}, {255, 255, 255},
    {128, 64, 128}, {48, 0, 48}, {255, 255, 255},
    {128, 64, 128}, {64, 0, 64}, {255, 255, 255},
    {64, 32, 64}, {48, 0, 48}, {192, 192, 192},
    {128, 64, 128}, {48, 0, 48}, {255, 255, 255},
    {96, 48, 96}, {32, 0, 32}, {255, 255, 255},
    {48, 24, 48}, {32, 0, 32}, {96, 96, 96},
};
const vusk_color button_theme_grey[button_theme_slot_count] = {
    {192, 192, 192}, {192, 192, 192},
    {192, 192, 192}, {80, 80, 80}, {255, 255, 255},
    {128, 128, 128}, {64, 64, 64}, {255, 255, 255},
    {96, 96, 96}, {48, 48, 48}, {255, 255, 255},
    {128, 128, 128}, {64, 64, 64}, {255, 255, 255},
    {64, 64, 64}, {32, 32, 32}, {192, 192, 192},
    {128, 128, 128}, {48, 48, 48}, {255, 255, 255},
    {96, 96, 96}, {32, 32, 32}, {255, 255, 255},
    {64, 64, 64}, {32, 32, 32}, {96, 96, 96},
};

const vusk_color background_theme_red[background_theme_slot_count] = {{80, 0, 0}, {56, 0, 0}, {32, 0, 0}};
const vusk_color background_theme_brown[background_theme_slot_count] = {{80, 32, 16}, {56, 24, 16}, {32, 16, 8}};
const vusk_color background_theme_yellow[background_theme_slot_count] = {{80, 80, 0}, {56, 56, 0}, {32, 32, 0}};
const vusk_color background_theme_ygreen[background_theme_slot_count] = {{48, 80, 0}, {32, 56, 0}, {16, 32, 0}};
const vusk_color background_theme_green[background_theme_slot_count] = {{0, 80, 0}, {0, 48, 0}, {0, 32, 0}};
const vusk_color background_theme_cyan[background_theme_slot_count] = {{0, 56, 80}, {0, 40, 64}, {0, 24, 48}};
const vusk_color background_theme_blue[background_theme_slot_count] = {{0, 0, 96}, {0, 0, 64}, {0, 0, 32}};
const vusk_color background_theme_purple[background_theme_slot_count] = {{80, 0, 80}, {56, 0, 56}, {32, 0, 32}};
const vusk_color background_theme_grey[background_theme_slot_count] = {{64, 64, 64}, {32, 32, 32}, {16, 16, 16}};

const vusk_color *current_button_theme = button_theme_yellow;
const vusk_color *current_background_theme = background_theme_yellow;

namespace {
struct theme_family {
    int code;
    const vusk_color *buttons;
    const vusk_color *background;
};

constexpr theme_family theme_families[] = {
    {theme_code_yellow, button_theme_yellow, background_theme_yellow},
    {theme_code_blue, button_theme_blue, background_theme_blue},
    {theme_code_red, button_theme_red, background_theme_red},
    {theme_code_brown, button_theme_brown, background_theme_brown},
    {theme_code_ygreen, button_theme_ygreen, background_theme_ygreen},
    {theme_code_green, button_theme_green, background_theme_green},
    {theme_code_cyan, button_theme_cyan, background_theme_cyan},
    {theme_code_purple, button_theme_purple, background_theme_purple},
    {theme_code_grey, button_theme_grey, background_theme_grey},
};

const theme_family *find_family(int code)
{
    for (const theme_family &family : theme_families)
        if (family.code == code)
            return &family;
    return nullptr;
}

const theme_family &family_of_code(int code)
{
    const theme_family *family = find_family(code);
    return family ? *family : *find_family(theme_code_blue);
}
}

const vusk_color *button_theme_for_code(int code)
{
    return family_of_code(code).buttons;
}

const vusk_color *background_theme_for_code(int code)
{
    return family_of_code(code).background;
}

void switch_button_theme()
{
    current_button_theme = button_theme_for_code(TConfig::Instance()->GetButtonTheme());
}

void switch_background_theme()
{
    current_background_theme = background_theme_for_code(TConfig::Instance()->GetBackgroundColor());
}

void reset_theme()
{
    switch_background_theme();
    switch_button_theme();
}
