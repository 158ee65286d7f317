#include "popup_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

constexpr int onscreen_fallback = 50;
// A window whose top is this close to the display's bottom cannot be grabbed.
constexpr int bottom_margin = 20;
constexpr int min_display_height = 24;

int within(int64_t value, int limit)
{
    const int64_t upper = limit >= 1 ? limit : INT_MAX;
    return int(std::clamp<int64_t>(value, 1, upper));
}

// Each side shrinks by the same factor, rounded down, so the product stays
// within the cap.
popup_extent within_pixel_cap(popup_extent size)
{
    const int64_t pixels = int64_t(size.width) * size.height;
    if (pixels <= popup_text_pixels_max)
        return size;
    const double scale = std::sqrt(double(popup_text_pixels_max) / double(pixels));
    return {std::max(int(size.width * scale), 1), std::max(int(size.height * scale), 1)};
}

} // namespace

popup_extent popup_text_client_size(int cols, int rows, int char_w, int char_h, int display_w, int display_h)
{
    const int64_t width = int64_t(std::max(cols, 1)) * char_w;
    const int64_t height = int64_t(std::max(rows, 1)) * char_h + char_h / 2;
    return within_pixel_cap({within(width, display_w), within(height, display_h)});
}

popup_extent clamp_to_display(int width, int height, int display_w, int display_h)
{
    return {within(width, display_w), within(height, display_h)};
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
