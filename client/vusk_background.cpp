#include "vusk_background.h"

#include "nrandom.h"
#include "vusk_bitmap.h"
#include "vusk_theme.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int maze_cell = 5;
constexpr uint32_t maze_bright_bits = 28;  // a wall is bright when these bits of its draw are 0
constexpr uint32_t maze_direction_bits = 3;

constexpr int bubble_cell = 16;
constexpr uint32_t bubble_offset_bits = 15;
constexpr int bubble_size_shift = 2;
constexpr int bubble_layers = 4;
constexpr uint32_t bubble_first_seed = 169135679;
constexpr uint32_t bubble_first_row_step = 19753072;
constexpr uint32_t bubble_seed_step_per_layer = 137;
constexpr uint32_t bubble_row_step_per_layer = 16;

constexpr int extent_granule = 256;
// Far beyond any display; keeps the rounding clear of integer overflow.
constexpr int largest_client_extent = 1 << 14;

void draw_maze_wall(pixel_view &view, int x, int y, uint32_t direction, const vusk_color &colour)
{
    static const int wall_dx[] = {maze_cell, 0, -maze_cell, 0};
    static const int wall_dy[] = {0, maze_cell, 0, -maze_cell};
    view.DrawLine(x, y, x + wall_dx[direction], y + wall_dy[direction], colour);
}

// Every row re-seeds the generator with its own y, so a row depends only on
// y and the width, and growing the window keeps the old part of the picture.
void paint_maze(pixel_view &view, const vusk_color *theme, bool bright_walls)
{
    view.Clear(vusk_BLACK);
    for (int y = 0; y < view.height(); y += maze_cell) {
        background_prng.seed(static_cast<uint32_t>(y));
        for (int x = 0; x < view.width(); x += maze_cell) {
            uint32_t draw = background_prng.rnd();
            bool bright = bright_walls && (draw & maze_bright_bits) == 0;
            draw_maze_wall(view, x, y, draw & maze_direction_bits,
                           theme[bright ? background_bright : background_mid]);
        }
    }
}

int random_bubble_offset()
{
    return static_cast<int>(background_prng.rnd() & bubble_offset_bits);
}

// One layer of rings, one in each 16 x 16 cell, each row seeded from `seed`
// onwards in steps of `row_step` (wrapping as unsigned 32-bit numbers).
void paint_bubble_layer(pixel_view &view, uint32_t seed, uint32_t row_step, const vusk_color &colour)
{
    for (int y0 = 0; y0 < view.height(); y0 += bubble_cell, seed += row_step) {
        background_prng.seed(seed);
        for (int x0 = -bubble_cell; x0 < view.width(); x0 += bubble_cell) {
            int cx = x0 + random_bubble_offset();
            int cy = y0 + random_bubble_offset();
            int size = random_bubble_offset() >> bubble_size_shift;
            view.DrawFilledCircle(cx, cy, size + 2, colour);
            view.DrawFilledCircle(cx, cy, size + 1, vusk_BLACK);
        }
    }
}

int clamp_client_extent(int extent)
{
    return std::clamp(extent, 0, largest_client_extent);
}

// Keeps the old side while the client area fits into it, else rounds up.
int next_extent(int client_extent, int old_extent)
{
    return client_extent <= old_extent ? old_extent : background_extent(client_extent);
}
}

void paint_black_background(pixel_view &view, const vusk_color *)
{
    view.Clear(vusk_BLACK);
}

void paint_solid_background(pixel_view &view, const vusk_color *theme)
{
    view.Clear(theme[background_dark]);
}

void paint_maze1_background(pixel_view &view, const vusk_color *theme)
{
    paint_maze(view, theme, false);
}

void paint_maze2_background(pixel_view &view, const vusk_color *theme)
{
    paint_maze(view, theme, true);
}

void paint_circles_background(pixel_view &view, const vusk_color *theme)
{
    static const background_theme_slot layer_slots[bubble_layers] = {
        background_dark, background_dark, background_mid, background_bright};
    view.Clear(vusk_BLACK);
    uint32_t seed = bubble_first_seed;
    uint32_t row_step = bubble_first_row_step;
    for (background_theme_slot slot : layer_slots) {
        paint_bubble_layer(view, seed, row_step, theme[slot]);
        seed += bubble_seed_step_per_layer;
        row_step += bubble_row_step_per_layer;
    }
}

void paint_background(pixel_view &view, int style, const vusk_color *theme)
{
    switch (style) {
    case background_style_black: paint_black_background(view, theme); break;
    case background_style_solid: paint_solid_background(view, theme); break;
    case background_style_maze1: paint_maze1_background(view, theme); break;
    case background_style_circles: paint_circles_background(view, theme); break;
    default: paint_maze2_background(view, theme); break;
    }
}

int background_extent(int client_extent)
{
    return (clamp_client_extent(client_extent) & ~(extent_granule - 1)) + extent_granule;
}

bool background_sizing::still_fits(int client_width, int client_height, int style,
                                   int color_code) const
{
    return client_width <= width_ && client_height <= height_ && style == prev_bgstyle &&
           color_code == prev_bgcolor;
}

bool background_sizing::update(int force, int client_width, int client_height, int style,
                               int color_code)
{
    int w = clamp_client_extent(client_width);
    int h = clamp_client_extent(client_height);
    if (!force && still_fits(w, h, style, color_code))
        return false;
    width_ = next_extent(w, width_);
    height_ = next_extent(h, height_);
    prev_bgstyle = style;
    prev_bgcolor = color_code;
    return true;
}

vusk_background::vusk_background() = default;
vusk_background::~vusk_background() = default;

bool vusk_background::redraw_background(int force, int client_width, int client_height,
                                        int style, int color_code, const vusk_color *theme)
{
    if (!sizing_.update(force, client_width, client_height, style, color_code))
        return false;
    bitmap_.reset();  // the old picture goes before the new one is made
    bitmap_ = std::make_unique<vusk_bitmap>(sizing_.width(), sizing_.height());
    bitmap_->with_pixels([&](pixel_view &view) { paint_background(view, style, theme); });
    return true;
}
