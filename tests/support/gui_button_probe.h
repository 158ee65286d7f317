#ifndef VUSK_TEST_GUI_BUTTON_PROBE_H
#define VUSK_TEST_GUI_BUTTON_PROBE_H

// What a drawn button shows, read back as pixels: the face, the outer edge
// and the label's colours.

#include "vusk_font.h"
#include "vusk_image_button.h"
#include "vusk_theme.h"

#include <map>

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

// The colours inside the edge, from row `top` down, other than the face,
// each with the number of its pixels (colours as 0xRRGGBB): what the label
// adds to the face, wherever it lies.
using colour_counts = std::map<int, int>;

inline colour_counts label_colours(const vusk_bitmap &bitmap, const vusk_color &face, int top = 2)
{
    colour_counts counts;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = top; y < view.height() - 2; ++y) {
            for (int x = 2; x < view.width() - 2; ++x) {
                const vusk_color c = view.color_at(x, y);
                if (c != face)
                    ++counts[(c.r << 16) | (c.g << 8) | c.b];
            }
        }
    });
    return counts;
}

// The same for `text` drawn whole in `colour` on the face with `font`: what a
// label shown in full adds, made from the font's own glyphs, so it holds for
// thin and heavy fonts alike.
inline colour_counts text_colours(const vusk_font &font, const char *text, const vusk_color &face,
                                  const vusk_color &colour)
{
    constexpr int edge = 2;
    int width = 0, height = 0;
    font.GetTextSize(text, &width, &height);
    vusk_bitmap bitmap(width + 2 * edge, height + 2 * edge);
    bitmap.Clear(face);
    bitmap.RenderTextTransparent(font, text, edge, edge, colour);
    return label_colours(bitmap, face, edge);
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
