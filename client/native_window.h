#ifndef VUSK_NATIVE_WINDOW_H
#define VUSK_NATIVE_WINDOW_H

// What the program needs to know of the toolkit's own (GTK) windows beneath
// its wxWindows.

#include <wx/window.h>

#include <utility>
#include <vector>

// Whether `window` shows and the toolkit has made the X window it is drawn
// on. Before that GDK refuses to draw on it, and the toolkit's fallback
// draws on the root window instead: on the player's desktop.
bool can_draw_on(const wxWindow &window);

// Where the pointer lies, asked of the X server once, and which windows it
// is over. Each question to the X server is a round trip (slow on a remote
// display), so everything asked in one pass of the event loop shares one
// spot: the pointer once, each parent's place on the screen once, and the
// topmost window under the pointer at most once.
class pointer_spot {
public:
    pointer_spot();

    // Whether the pointer lies on `window` and no window of this program
    // covers it there. GDK keeps where the pointer last was inside each
    // top-level window and makes up the enter and leave events of a moved
    // child window from that; once the top-level window itself has moved
    // under a resting pointer, that place is stale and the events are
    // missing.
    bool is_over(const wxWindow &window);

    // How many times this run has asked the X server where the pointer is.
    static int queries_made();

private:
    const wxWindow *topmost_window_at_pointer();
    const wxWindow *deepest_window_at_pointer(const wxWindow &window);
    wxRect screen_place_of(const wxWindow &window);
    wxPoint screen_origin_of(const wxWindow &parent);

    wxPoint pointer_;
    std::vector<std::pair<const wxWindow *, wxPoint>> parent_origins_;
    bool topmost_known_ = false;
    const wxWindow *topmost_ = nullptr;
};

// The least size GTK lets the window's widget be given (1 x 1 at least),
// whatever size it has now; given less, GTK asserts at every layout of it.
wxSize native_minimum_size(const wxWindow &window);

// Makes the X window of a top-level frame before it is first shown. Under a
// window manager the toolkit otherwise holds a new frame back until it knows
// the size of the decorations and then lays it out once at a width of two
// pixels, where a menu bar cannot fit and GTK asserts. A frame whose X window
// exists is shown at once; the decorations then come around it.
void make_native_window(wxWindow &frame);

#endif
