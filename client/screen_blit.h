#ifndef VUSK_SCREEN_BLIT_H
#define VUSK_SCREEN_BLIT_H

// Puts a drawn window's bitmap on the screen. The toolkit converts a bitmap
// with alpha into a new premultiplied surface on every blit (a few
// milliseconds for a text display, every 20 ms while text streams in); the
// bitmaps here are opaque, so their pixels are copied into a surface of the
// screen's own format that is kept from blit to blit. That surface is made by
// the screen's own backend, which on X11 shares its memory with the server:
// a blit then hands the pixels over without another copy.

#include "vusk_bitmap.h"

#include <wx/dc.h>
#include <wx/gdicmn.h>
#include <wx/window.h>

#include <vector>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

class screen_blit {
public:
    screen_blit() = default;
    ~screen_blit();
    screen_blit(const screen_blit &) = delete;
    screen_blit &operator=(const screen_blit &) = delete;

    // Draws the part `area` of `bitmap`, placed at (0, 0) of `dc`.
    void draw(wxDC &dc, const vusk_bitmap &bitmap, const wxRect &area);
    // The same straight onto `window`, outside a paint event, leaving out the
    // `holes` (where child windows show), and inside a paint event onto the
    // paint's own target. Neither makes a device context: the toolkit's looks
    // up the window's style, a round trip to the X server, on every paint.
    // Straight onto the window only once it can be drawn on (the caller
    // asks can_draw_on); until then the paint that comes when it shows draws
    // it.
    void draw_on_window(wxWindow &window, const vusk_bitmap &bitmap, const wxRect &area,
                        const std::vector<wxRect> &holes = {});
    void draw_in_paint(wxWindow &window, const vusk_bitmap &bitmap, const wxRect &area);

private:
    bool fill_surface(cairo_t *cr, const vusk_bitmap &bitmap, const wxRect &area);
    // False when the surface could not be made; nothing is drawn then.
    bool draw(cairo_t *cr, const vusk_bitmap &bitmap, const wxRect &area, const std::vector<wxRect> &holes = {});

    cairo_surface_t *surface_ = nullptr;
};

#endif
