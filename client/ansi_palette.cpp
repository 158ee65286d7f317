#include "ansi_palette.h"

namespace {
constexpr int dim_shade = 0;
constexpr int normal_shade = 1;
constexpr int bright_shade = 2;
constexpr int reset_row = 7;
}

// Rows: white, red, yellow, green, cyan, blue, magenta, reset.
const int ansi_color_default[ansi_palette_size] = {
    0x606060, 0xa0a0a0, 0xffffff, 0x550000, 0xaa0000, 0xff5555,
    0x774000, 0xaa8800, 0xffff55, 0x005500, 0x00aa00, 0x55ff55,
    0x008060, 0x0080aa, 0x40ffff, 0x000088, 0x0000cc, 0x5050ff,
    0x550088, 0xaa00cc, 0xff40ff, 0x606060, 0xa0a0a0, 0xffffff,
};

const int ansi_color_bright[ansi_palette_size] = {
    0x404040, 0xcccccc, 0xffffff, 0x800000, 0xcc0000, 0xff8080,
    0x808000, 0xcccc00, 0xffff80, 0x008000, 0x00cc00, 0x80ff80,
    0x008080, 0x00cccc, 0x80ffff, 0x000080, 0x0000cc, 0x8080ff,
    0x800080, 0xcc00cc, 0xff80ff, 0x404040, 0xcccccc, 0xffffff,
};

const int ansi_color_zmud[ansi_palette_size] = {
    0x404040, 0x808080, 0xffffff, 0x400000, 0x800000, 0xff0000,
    0x404000, 0x808000, 0xffff00, 0x008000, 0x00b300, 0x00ff00,
    0x004040, 0x008080, 0x00ffff, 0x000040, 0x000080, 0x0000ff,
    0x400040, 0x800080, 0xff00ff, 0x404040, 0x808080, 0xffffff,
};

const int ansi_color_gmud[ansi_palette_size] = {
    0x404040, 0xffffff, 0x808080, 0x400000, 0x800000, 0xff0000,
    0x404000, 0x808000, 0xffff00, 0x008000, 0x00b300, 0x00ff00,
    0x004040, 0x008080, 0x00ffff, 0x000040, 0x000080, 0x0000ff,
    0x400040, 0x800080, 0xff00ff, 0x404040, 0xffffff, 0x808080,
};

const int *ansi_palette = ansi_color_default;

const int *ansi_palette_for_setting(int font_colors)
{
    switch (font_colors) {
    case font_colors_bright:
        return ansi_color_bright;
    case font_colors_zmud:
        return ansi_color_zmud;
    case font_colors_gmud:
        return ansi_color_gmud;
    default:
        return ansi_color_default;
    }
}

void select_ansi_palette(int font_colors)
{
    ansi_palette = ansi_palette_for_setting(font_colors);
}

bool is_ansi_color_code(int code)
{
    return code == ansi_code_reset || (code >= ansi_code_red && code <= ansi_code_white);
}

int ansi_palette_row(int code)
{
    switch (code) {
    case ansi_code_white:
        return 0;
    case ansi_code_red:
        return 1;
    case ansi_code_yellow:
        return 2;
    case ansi_code_green:
        return 3;
    case ansi_code_cyan:
        return 4;
    case ansi_code_blue:
        return 5;
    case ansi_code_magenta:
        return 6;
    case ansi_code_reset:
        return reset_row;
    default:
        return -1;
    }
}

int ansi_color_rgb(const int *palette, int code, int attribute)
{
    int row = ansi_palette_row(code);
    if (row < 0)
        row = reset_row;
    int shade = normal_shade;
    if (attribute & ansi_attr_bold)
        shade = bright_shade;
    else if (attribute & ansi_attr_dim)
        shade = dim_shade;
    return palette[row * ansi_palette_shades + shade];
}
