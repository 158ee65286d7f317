#include "screen_blit.h"

#include <wx/graphics.h>

#include <cairo.h>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr uint32_t opaque = 0xFF000000u;

// One row of opaque pixels into cairo's native-endian xRGB words.
void copy_row(const unsigned char *source, uint32_t *target, int width)
{
    for (int x = 0; x < width; ++x, source += pixel_view::BYTES_PER_PIXEL) {
        target[x] = opaque | uint32_t(source[pixel_view::RED]) << 16 | uint32_t(source[pixel_view::GREEN]) << 8 |
                    uint32_t(source[pixel_view::BLUE]);
    }
}

cairo_t *native_context(wxDC &dc)
{
    wxGraphicsContext *context = dc.GetGraphicsContext();
    return context ? static_cast<cairo_t *>(context->GetNativeContext()) : nullptr;
}

}

screen_blit::~screen_blit()
{
    if (surface_)
        cairo_surface_destroy(surface_);
}

bool screen_blit::fill_surface(const vusk_bitmap &bitmap, const wxRect &area)
{
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    if (surface_ == nullptr || cairo_image_surface_get_width(surface_) != width ||
        cairo_image_surface_get_height(surface_) != height) {
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    }
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_surface_flush(surface_);
    unsigned char *target = cairo_image_surface_get_data(surface_);
    const int target_stride = cairo_image_surface_get_stride(surface_);
    bool filled = false;
    bitmap.with_pixels([&](const pixel_view &view) {
        const wxRect copied = area.Intersect(wxRect(0, 0, std::min(view.width(), width), std::min(view.height(), height)));
        for (int y = copied.GetTop(); y <= copied.GetBottom(); ++y) {
            uint32_t *row = reinterpret_cast<uint32_t *>(target + ptrdiff_t(y) * target_stride);
            copy_row(view.pixel(copied.GetLeft(), y), row + copied.GetLeft(), copied.GetWidth());
        }
        filled = true;
    });
    cairo_surface_mark_dirty(surface_);
    return filled;
}

void screen_blit::draw(wxDC &dc, const vusk_bitmap &bitmap, const wxRect &area)
{
    cairo_t *cr = native_context(dc);
    if (cr == nullptr || !fill_surface(bitmap, area)) {
        dc.DrawBitmap(bitmap, 0, 0);
        return;
    }
    cairo_save(cr);
    cairo_rectangle(cr, area.GetX(), area.GetY(), area.GetWidth(), area.GetHeight());
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
}
