#ifndef VUSK_TEST_GUI_BUTTON_PROBE_H
#define VUSK_TEST_GUI_BUTTON_PROBE_H

// What a drawn button shows, read back as pixels: the face, the outer edge
// and whether the label's colour appears.

#include "vusk_font.h"
#include "vusk_image_button.h"
#include "vusk_theme.h"

namespace gui {

// The button's current image, painted as it would reach the screen.
inline vusk_bitmap shown_image(vusk_image_button &button)
{
    const wxSize size = button.GetClientSize();
    vusk_bitmap bitmap(size.GetWidth(), size.GetHeight());
    button.repaint_dc(bitmap);
    return bitmap;
}

inline vusk_color pixel(const vusk_bitmap &bitmap, int x, int y)
{
    vusk_color colour;
    bitmap.with_pixels([&](const pixel_view &view) { colour = view.color_at(x, y); });
    return colour;
}

// Pixels inside the edge, from row `top` down, nearer to `text` than to
// `face`: the label, glyph edges blended more than halfway included.
inline int label_pixels(const vusk_bitmap &bitmap, const vusk_color &face, const vusk_color &text, int top = 2)
{
    const auto distance = [](const vusk_color &a, const vusk_color &b) {
        return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
    };
    int count = 0;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = top; y < view.height() - 2; ++y)
            for (int x = 2; x < view.width() - 2; ++x)
                count += distance(view.color_at(x, y), text) < distance(view.color_at(x, y), face);
    });
    return count;
}

// How many label pixels a label drawn in full with `font` gives: as many as
// its glyphs have pixels covered more than halfway, give or take the pixels
// that the blend's rounding takes to either side. Counted from the font's own
// glyphs, so it holds for thin and heavy fonts alike.
struct pixel_count_range {
    int least = 0;
    int most = 0;
};

inline pixel_count_range label_pixel_range(const vusk_font &font, const char *label)
{
    constexpr int half = 128;
    constexpr int rounding = 24;
    pixel_count_range range;
    for (const char *c = label; *c != '\0'; ++c) {
        const vusk_bitmap *glyph = font.glyph(*c);
        if (glyph == nullptr)
            continue;
        glyph->with_pixels([&](const pixel_view &view) {
            for (int y = 0; y < view.height(); ++y) {
                for (int x = 0; x < view.width(); ++x) {
                    const int coverage = view.pixel(x, y)[pixel_view::RED];
                    range.least += coverage > half + rounding;
                    range.most += coverage > half - rounding;
                }
            }
        });
    }
    return range;
}

// Whether `count` label pixels are what a label drawn in full gives, and some.
inline bool is_label_in_full(int count, const pixel_count_range &range)
{
    return count > 0 && count >= range.least && count <= range.most;
}

// The face just inside the top-right bevel, away from any label or key name.
inline vusk_color face_of(vusk_image_button &button)
{
    const vusk_bitmap image = shown_image(button);
    return pixel(image, image.GetWidth() - 4, 3);
}

inline const vusk_color &theme_slot(int slot)
{
    return current_button_theme[slot];
}

}

#endif
