#ifndef VUSK_PIXEL_VIEW_H
#define VUSK_PIXEL_VIEW_H

// The drawing primitives of the client's off-screen bitmaps, on plain memory:
// a view of 32-bit pixels laid out as the toolkit lays out a 32-bit bitmap
// (its channel order comes from the toolkit's pixel format, never from
// assumptions). Everything is clipped to the view; coordinates may lie
// anywhere in the int range. Primitives write red, green and blue and leave
// alpha as it was, except Clear and CopyFrom.

#include "vusk_color.h"

#include <wx/gdicmn.h>
#include <wx/rawbmp.h>

#include <cstdint>

class pixel_view {
public:
    static constexpr int BYTES_PER_PIXEL = 4;
    static constexpr int RED = wxAlphaPixelFormat::RED;
    static constexpr int GREEN = wxAlphaPixelFormat::GREEN;
    static constexpr int BLUE = wxAlphaPixelFormat::BLUE;
    static constexpr int ALPHA = wxAlphaPixelFormat::ALPHA;
    // Polygons with fewer or more points than this draw nothing at all.
    static constexpr int POLYGON_MIN_POINTS = 3;
    static constexpr int POLYGON_MAX_POINTS = 999;

    pixel_view(unsigned char *pixels, int width, int height, int stride);

    int width() const { return width_; }
    int height() const { return height_; }
    unsigned char *pixel(int x, int y) const { return pixels_ + ptrdiff_t(y) * stride_ + ptrdiff_t(x) * BYTES_PER_PIXEL; }
    vusk_color color_at(int x, int y) const;

    void Clear(const vusk_color &colour);
    // Copies every channel, alpha included, of a view of the same size.
    void CopyFrom(const pixel_view &source);

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

    void DrawBitmap(const pixel_view &source, int x, int y);
    // The source composed onto black by its own alpha.
    void DrawBitmapNukeAlpha(const pixel_view &source, int x, int y);
    // A glyph's coverage is its red channel (white drawn on black).
    void DrawTextGlyph(const pixel_view &glyph, int x, int y, const vusk_color &foreground,
                       const vusk_color &background);
    void DrawTextGlyphTransparent(const pixel_view &glyph, int x, int y, const vusk_color &colour);

private:
    void put(int64_t x, int64_t y, const vusk_color &colour);
    void fill_row(int y, int64_t x0, int64_t x1, const vusk_color &colour);
    void line(int64_t x0, int64_t y0, int64_t x1, int64_t y1, const vusk_color &colour);
    void fill_polygon(int count, const wxPoint *points, int64_t dx, int64_t dy, const vusk_color &fill);
    template <class Blend>
    void blit(const pixel_view &source, int x, int y, Blend blend);

    unsigned char *pixels_;
    int width_;
    int height_;
    int stride_;
};

#endif
