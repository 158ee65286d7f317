#include "screen_blit.h"


#include <wx/dcclient.h>
#include <wx/graphics.h>

#include <cairo.h>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr uint32_t opaque = 0xFF000000u;
constexpr bool little_endian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__;
constexpr int BITS_PER_CHANNEL = 8;

// Where byte `channel` of a pixel lands in the pixel read as one word.
constexpr int word_shift(int channel)
{
    return BITS_PER_CHANNEL * (little_endian ? channel : pixel_view::BYTES_PER_PIXEL - 1 - channel);
}

constexpr int RED_SHIFT = word_shift(pixel_view::RED);
constexpr int GREEN_SHIFT = word_shift(pixel_view::GREEN);
constexpr int BLUE_SHIFT = word_shift(pixel_view::BLUE);

// One row of opaque pixels into cairo's native-endian xRGB words. Whole words
// at a time: this runs over every pixel of a window on every blit, and the
// compiler vectorises it only in this form.
void copy_row(const unsigned char *source, uint32_t *target, int width)
{
    for (int x = 0; x < width; ++x, source += pixel_view::BYTES_PER_PIXEL) {
        uint32_t word;
        std::memcpy(&word, source, sizeof word);
        target[x] = opaque | ((word >> RED_SHIFT) & 0xFFu) << 16 | ((word >> GREEN_SHIFT) & 0xFFu) << 8 |
                    ((word >> BLUE_SHIFT) & 0xFFu);
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

bool screen_blit::fill_surface(cairo_t *cr, const vusk_bitmap &bitmap, const wxRect &area)
{
    const int width = bitmap.GetWidth();
    const int height = bitmap.GetHeight();
    if (surface_ == nullptr || cairo_image_surface_get_width(surface_) != width ||
        cairo_image_surface_get_height(surface_) != height) {
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = cairo_surface_create_similar_image(cairo_get_target(cr), CAIRO_FORMAT_RGB24, width, height);
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
    if (cr == nullptr || !draw(cr, bitmap, area))
        dc.DrawBitmap(bitmap, 0, 0);
}

bool screen_blit::draw(cairo_t *cr, const vusk_bitmap &bitmap, const wxRect &area, const std::vector<wxRect> &holes)
{
    if (!fill_surface(cr, bitmap, area))
        return false;
    cairo_save(cr);
    cairo_rectangle(cr, area.GetX(), area.GetY(), area.GetWidth(), area.GetHeight());
    for (const wxRect &hole : holes)
        cairo_rectangle(cr, hole.GetX(), hole.GetY(), hole.GetWidth(), hole.GetHeight());
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface_, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    return true;
}

void screen_blit::draw_on_window(wxWindow &window, const vusk_bitmap &bitmap, const wxRect &area,
                                 const std::vector<wxRect> &holes)
{
    // A graphics context made for the window draws on it as a client device
    // context does, clipped to what shows of it.
    std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::Create(&window));
    cairo_t *cr = context ? static_cast<cairo_t *>(context->GetNativeContext()) : nullptr;
    if (cr == nullptr || !draw(cr, bitmap, area, holes)) {
        context.reset();
        wxClientDC dc(&window);
        dc.DrawBitmap(bitmap, 0, 0);
    }
}

void screen_blit::draw_in_paint(wxWindow &window, const vusk_bitmap &bitmap, const wxRect &area)
{
    cairo_t *cr = window.GTKPaintContext();
    if (cr == nullptr || !draw(cr, bitmap, area)) {
        wxPaintDC dc(&window);
        draw(dc, bitmap, area);
    }
}
