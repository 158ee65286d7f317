#ifndef VUSK_BITMAP_H
#define VUSK_BITMAP_H

// An off-screen 32-bit bitmap that every drawn panel paints into, with the
// clipped primitives of pixel_view. Every bitmap is opaque from its creation
// (a new 32-bit bitmap of the toolkit is transparent and would blit as
// nothing) and at least 1x1. Copies are independent: they never share pixels.

#include "pixel_view.h"
#include "vusk_color.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/rawbmp.h>

class vusk_font;

class vusk_bitmap : public wxBitmap {
public:
    static constexpr int DEFAULT_SIZE = 16;

    vusk_bitmap();
    vusk_bitmap(int width, int height);
    explicit vusk_bitmap(const wxImage &image);
    vusk_bitmap(const vusk_bitmap &other);
    vusk_bitmap &operator=(const vusk_bitmap &other);

    void Clear(const vusk_color &colour);
    void DrawPixel(int x, int y, const vusk_color &colour);
    void DrawPixel(int x, int y, int r, int g, int b);
    void DrawLine(int x0, int y0, int x1, int y1, const vusk_color &colour);
    void DrawGradientLine(int x0, int y0, int x1, int y1, const vusk_color &from, const vusk_color &to);
    void DrawFilledRectangle(int x0, int y0, int x1, int y1, const vusk_color &colour);
    void DrawYGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &top, const vusk_color &bottom);
    void DrawXGradientRectangle(int x0, int y0, int x1, int y1, const vusk_color &left, const vusk_color &right);
    void DrawFilledCircle(int cx, int cy, int radius, const vusk_color &colour);
    void DrawPolygon(int count, const wxPoint *points, int dx, int dy, const vusk_color &outline,
                     const vusk_color &fill);
    void DrawBitmap(const vusk_bitmap &source, int x, int y);
    void DrawBitmapNukeAlpha(const vusk_bitmap &source, int x, int y);
    void DrawTextGlyph(const vusk_bitmap &glyph, int x, int y, const vusk_color &foreground,
                       const vusk_color &background);
    void DrawTextGlyphTransparent(const vusk_bitmap &glyph, int x, int y, const vusk_color &colour);

    // Text of 8-bit characters from the font's glyphs; characters without a
    // glyph are skipped without advancing.
    void RenderText(const vusk_font &font, const char *text, int x, int y, const vusk_color &foreground,
                    const vusk_color &background);
    void RenderTextTransparent(const vusk_font &font, const char *text, int x, int y, const vusk_color &colour);
    void GetTextSize(const vusk_font &font, const char *text, int *width, int *height) const;

    // Runs `draw` on the pixels of this bitmap (not at all if the toolkit
    // refuses raw access). Reading needs the access too, hence the const
    // version for sources.
    template <class Painter>
    void with_pixels(Painter draw);
    template <class Read>
    void with_pixels(Read read) const;

private:
    template <class Painter>
    void draw_from(const vusk_bitmap &source, Painter draw);
    template <class DrawGlyph>
    void render(const vusk_font &font, const char *text, int x, int y, DrawGlyph draw_glyph);
};

template <class Painter>
void vusk_bitmap::with_pixels(Painter draw)
{
    wxAlphaPixelData data(*this);
    if (!data)
        return;
    pixel_view view(data.GetPixels().m_ptr, data.GetWidth(), data.GetHeight(), data.GetRowStride());
    draw(view);
}

template <class Read>
void vusk_bitmap::with_pixels(Read read) const
{
    // The toolkit's raw access takes a non-const bitmap even to read; the
    // pixels are not changed through this view.
    const_cast<vusk_bitmap *>(this)->with_pixels([&](pixel_view &view) { read(static_cast<const pixel_view &>(view)); });
}

#endif
