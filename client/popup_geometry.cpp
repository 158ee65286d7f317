#include "popup_geometry.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

constexpr int onscreen_fallback = 50;
// A window whose top is this close to the display's bottom cannot be grabbed.
constexpr int bottom_margin = 20;
constexpr int min_display_height = 24;

int64_t limit_of(int display_side)
{
    return display_side >= 1 ? display_side : INT_MAX;
}

int within(int64_t value, int display_side)
{
    return int(std::clamp<int64_t>(value, 1, limit_of(display_side)));
}

popup_extent each_side_within(int64_t width, int64_t height, int display_w, int display_h)
{
    return {within(width, display_w), within(height, display_h)};
}

} // namespace

popup_extent popup_text_client_size(int cols, int rows, int char_w, int char_h, int display_w, int display_h)
{
    const int64_t width = int64_t(std::max(cols, 1)) * char_w;
    const int64_t height = int64_t(std::max(rows, 1)) * char_h + char_h / 2;
    return each_side_within(width, height, display_w, display_h);
}

popup_extent clamp_to_display(int width, int height, int display_w, int display_h)
{
    return each_side_within(width, height, display_w, display_h);
}

popup_position bring_onto_display(int x, int y, int w, int display_w, int display_h)
{
    const int64_t half = w / 2;
    popup_position p{x, y};
    if (x < 1 - half || x >= display_w - half)
        p.x = onscreen_fallback;
    if (y < 0 || y >= int64_t(display_h) - bottom_margin)
        p.y = onscreen_fallback;
    return p;
}

popup_extent popup_display_size(int client_w, int client_h)
{
    return {std::max(client_w, 1), std::max(client_h, min_display_height)};
}
