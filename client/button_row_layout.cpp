#include "button_row_layout.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int pad_updown_width = 48;
constexpr int pad_cell = 31;
constexpr int pad_pitch = 33;
constexpr int pad_up_offset = 49;

constexpr int fkey_margin = 3;
constexpr int fkey_height_less = 5;
constexpr int fkey_row_extra = 30;

int clamp_to_int(int64_t value)
{
    return int(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

} // namespace

std::array<button_rect, direction_pad_button_count> direction_pad_rects(int x, int y)
{
    std::array<button_rect, direction_pad_button_count> rects{};
    rects[pad_dn] = {x, y, pad_updown_width, pad_cell};
    rects[pad_up] = {x + pad_up_offset, y, pad_updown_width, pad_cell};
    // The compass in reading order: NW N NE, W Out E, SW S SE.
    for (int cell = pad_nw; cell <= pad_se; ++cell)
        rects[cell] = {x + (cell % 3) * pad_pitch, y + (1 + cell / 3) * pad_pitch, pad_cell, pad_cell};
    return rects;
}

int next_hint_top(int y, bool follows_hidden)
{
    return follows_hidden ? y + hint_run_gap : y;
}

int fkey_row_min_width(int height)
{
    return clamp_to_int((int64_t(height) - fkey_height_less) * fkey_row_keys + fkey_row_extra);
}

button_rect fkey_key_rect(int row_x, int row_y, int row_height, int index)
{
    const int side = std::max(row_height - fkey_height_less, 1);
    const int64_t x = int64_t(row_x) + fkey_margin + int64_t(index) * (side + fkey_margin);
    return {clamp_to_int(x), clamp_to_int(int64_t(row_y) + fkey_margin), side, side};
}
