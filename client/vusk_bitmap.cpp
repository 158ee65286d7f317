#include "vusk_bitmap.h"

#include "vusk_font.h"

#include <algorithm>

namespace {
constexpr int BITS_PER_PIXEL = 32;

bool has_pixels(const wxImage &image)
{
    return image.IsOk() && image.GetWidth() > 0 && image.GetHeight() > 0;
}

wxImage with_alpha(const wxImage &image)
{
    wxImage copy = image.Copy();
    if (!copy.HasAlpha())
        copy.InitAlpha();
    return copy;
}
}

vusk_bitmap::vusk_bitmap() : vusk_bitmap(DEFAULT_SIZE, DEFAULT_SIZE) {}

vusk_bitmap::vusk_bitmap(int width, int height) : wxBitmap(std::max(width, 1), std::max(height, 1), BITS_PER_PIXEL)
{
    Clear(vusk_BLACK);
}

// An image without alpha would become a 24-bit bitmap without 32-bit raw
// access, so it gets an opaque alpha channel first. An empty image gives the
// smallest bitmap there is.
vusk_bitmap::vusk_bitmap(const wxImage &image)
    : wxBitmap(has_pixels(image) ? wxBitmap(with_alpha(image), BITS_PER_PIXEL) : wxBitmap(1, 1, BITS_PER_PIXEL))
{
    if (!has_pixels(image))
        Clear(vusk_BLACK);
}

vusk_bitmap::vusk_bitmap(const vusk_bitmap &other) : wxBitmap(other.GetWidth(), other.GetHeight(), BITS_PER_PIXEL)
{
    other.with_pixels([this](const pixel_view &source) {
        with_pixels([&](pixel_view &target) { target.CopyFrom(source); });
    });
}

vusk_bitmap &vusk_bitmap::operator=(const vusk_bitmap &other)
{
    if (this != &other) {
        vusk_bitmap copy(other);
        wxBitmap::operator=(copy);
    }
    return *this;
}

void vusk_bitmap::Clear(const vusk_color &colour)
{
    with_pixels([&](pixel_view &v) { v.Clear(colour); });
}

void vusk_bitmap::DrawPixel(int x, int y, const vusk_color &colour)
{
    with_pixels([&](pixel_view &v) { v.DrawPixel(x, y, colour); });
}

void vusk_bitmap::DrawPixel(int x, int y, int r, int g, int b)
{
    with_pixels([&](pixel_view &v) { v.DrawPixel(x, y, r, g, b); });
}

void vusk_bitmap::DrawLine(int x0, int y0, int x1, int y1, const vusk_color &colour)
{
    with_pixels([&](pixel_view &v) { v.DrawLine(x0, y0, x1, y1, colour); });
}

void vusk_bitmap::DrawGradientLine(int x0, int y0, int x1, int y1, const vusk_color &from, const vusk_color &to)
{
    with_pixels([&](pixel_view &v) { v.DrawGradientLine(x0, y0, x1, y1, from, to); });
}

void vusk_bitmap::DrawFilledRectangle(int x0, int y0, int x1, int y1, const vusk_color &colour)
{
    with_pixels([&](pixel_view &v) { v.DrawFilledRectangle(x0, y0, x1, y1, colour); });
}

void vusk_bitmap::DrawYGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &top,
                                         const vusk_color &bottom)
{
    with_pixels([&](pixel_view &v) { v.DrawYGradientRectangle(x0, y0, x1, y1, top, bottom); });
}

void vusk_bitmap::DrawXGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &left,
                                         const vusk_color &right)
{
    with_pixels([&](pixel_view &v) { v.DrawXGradientRectangle(x0, y0, x1, y1, left, right); });
}

void vusk_bitmap::DrawFilledCircle(int cx, int cy, int radius, const vusk_color &colour)
{
    with_pixels([&](pixel_view &v) { v.DrawFilledCircle(cx, cy, radius, colour); });
}

void vusk_bitmap::DrawPolygon(int count, const wxPoint *points, int dx, int dy, const vusk_color &outline,
                              const vusk_color &fill)
{
    with_pixels([&](pixel_view &v) { v.DrawPolygon(count, points, dx, dy, outline, fill); });
}

// The source is locked for reading while this bitmap is locked for writing;
// a bitmap drawn onto itself (or onto one sharing its pixels) is copied first.
template <class Painter>
void vusk_bitmap::draw_from(const vusk_bitmap &source, Painter draw)
{
    if (IsSameAs(source)) {
        draw_from(vusk_bitmap(source), draw);
        return;
    }
    source.with_pixels([&](const pixel_view &from) { with_pixels([&](pixel_view &to) { draw(to, from); }); });
}

void vusk_bitmap::DrawBitmap(const vusk_bitmap &source, int x, int y)
{
    draw_from(source, [&](pixel_view &to, const pixel_view &from) { to.DrawBitmap(from, x, y); });
}

void vusk_bitmap::DrawBitmapNukeAlpha(const vusk_bitmap &source, int x, int y)
{
    draw_from(source, [&](pixel_view &to, const pixel_view &from) { to.DrawBitmapNukeAlpha(from, x, y); });
}

void vusk_bitmap::DrawTextGlyph(const vusk_bitmap &glyph, int x, int y, const vusk_color &foreground,
                                const vusk_color &background)
{
    draw_from(glyph, [&](pixel_view &to, const pixel_view &from) {
        to.DrawTextGlyph(from, x, y, foreground, background);
    });
}

void vusk_bitmap::DrawTextGlyphTransparent(const vusk_bitmap &glyph, int x, int y, const vusk_color &colour)
{
    draw_from(glyph, [&](pixel_view &to, const pixel_view &from) { to.DrawTextGlyphTransparent(from, x, y, colour); });
}

// One raw access of this bitmap for the whole text and one of each glyph.
template <class DrawGlyph>
void vusk_bitmap::render(const vusk_font &font, const char *text, int x, int y, DrawGlyph draw_glyph)
{
    if (text == nullptr || *text == '\0' || y > GetHeight() || x > GetWidth())
        return;
    with_pixels([&](pixel_view &to) {
        int64_t left = x;
        for (const char *p = text; *p != '\0' && left < to.width(); ++p) {
            const vusk_bitmap *glyph = font.glyph(*p);
            if (glyph == nullptr)
                continue;
            glyph->with_pixels([&](const pixel_view &from) { draw_glyph(to, from, int(left)); });
            left += glyph->GetWidth();
        }
    });
}

void vusk_bitmap::RenderText(const vusk_font &font, const char *text, int x, int y, const vusk_color &foreground,
                             const vusk_color &background)
{
    render(font, text, x, y, [&](pixel_view &to, const pixel_view &glyph, int left) {
        to.DrawTextGlyph(glyph, left, y, foreground, background);
    });
}

void vusk_bitmap::RenderTextTransparent(const vusk_font &font, const char *text, int x, int y,
                                        const vusk_color &colour)
{
    render(font, text, x, y, [&](pixel_view &to, const pixel_view &glyph, int left) {
        to.DrawTextGlyphTransparent(glyph, left, y, colour);
    });
}

void vusk_bitmap::GetTextSize(const vusk_font &font, const char *text, int *width, int *height) const
{
    font.GetTextSize(text, width, height);
}
