#ifndef VUSK_NATIVE_WINDOW_H
#define VUSK_NATIVE_WINDOW_H

// What the program needs to know of the toolkit's own (GTK) windows beneath
// its wxWindows.

#include <wx/window.h>

// Whether `window` shows and the toolkit has made the X window it is drawn
// on. Before that GDK refuses to draw on it, and the toolkit's fallback
// draws on the root window instead: on the player's desktop.
bool can_draw_on(const wxWindow &window);

// Whether the pointer lies on `window` now and no window of this program
// covers it there, asked of the X server. GDK keeps where the pointer last
// was inside each top-level window and makes up the enter and leave events of
// a moved child window from that; once the top-level window itself has moved
// under a resting pointer, that place is stale and the events are missing.
bool pointer_is_over(const wxWindow &window);

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
