#ifndef VUSK_ANSI_PALETTE_H
#define VUSK_ANSI_PALETTE_H

#include "vusk_color.h"

// The ANSI colours of the text displays: four palettes of eight rows (dim,
// normal, bright), 0xRRGGBB each, and the one in use.

constexpr int ansi_palette_rows = 8;
constexpr int ansi_palette_shades = 3;
constexpr int ansi_palette_size = ansi_palette_rows * ansi_palette_shades;

extern const int ansi_color_default[ansi_palette_size];
extern const int ansi_color_bright[ansi_palette_size];
extern const int ansi_color_zmud[ansi_palette_size];
extern const int ansi_color_gmud[ansi_palette_size];

// Shared by every display; a change reaches text only when it is written or
// redrawn.
extern const int *ansi_palette;

// Font-colour setting codes.
enum ansi_font_colors {
    font_colors_default = 0,
    font_colors_bright = 1,
    font_colors_zmud = 2,
    font_colors_gmud = 3,
};

// The palette of a font-colour setting; an unknown code gives the default.
const int *ansi_palette_for_setting(int font_colors);
void select_ansi_palette(int font_colors);

// Attribute bits of a coloured run.
constexpr int ansi_attr_blink = 2;
constexpr int ansi_attr_bold = 4;
constexpr int ansi_attr_dim = 8;
constexpr int ansi_attr_reverse = 16;

// Colour codes: 0 (reset) or the SGR parameters 31..37 packed as 0x31..0x37.
constexpr int ansi_code_reset = 0;
constexpr int ansi_code_red = 0x31;
constexpr int ansi_code_green = 0x32;
constexpr int ansi_code_yellow = 0x33;
constexpr int ansi_code_blue = 0x34;
constexpr int ansi_code_magenta = 0x35;
constexpr int ansi_code_cyan = 0x36;
constexpr int ansi_code_white = 0x37;

bool is_ansi_color_code(int code);

// Palette row of a colour code (row 7 for the reset code), -1 for others.
int ansi_palette_row(int code);

// Colour of a code and attribute in a palette: bold picks the bright shade,
// else dim the dim one, else the normal one. An unknown code gives the reset
// row.
int ansi_color_rgb(const int *palette, int code, int attribute);

// Between a 0xRRGGBB int and the three channels.
constexpr vusk_color rgb_to_color(int rgb)
{
    return vusk_color((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

constexpr int color_to_rgb(const vusk_color &color)
{
    return (color.r & 0xff) << 16 | (color.g & 0xff) << 8 | (color.b & 0xff);
}

#endif
