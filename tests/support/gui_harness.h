#ifndef VUSK_TEST_GUI_HARNESS_H
#define VUSK_TEST_GUI_HARNESS_H

// Helpers of the suites that run with the toolkit on a (virtual) display:
// pumping events, reading back what a window shows on the screen, and
// synthetic mouse and key events delivered to a window.

#include <wx/event.h>
#include <wx/image.h>
#include <wx/window.h>

#include <functional>

namespace gui {

constexpr int DEFAULT_WAIT_MS = 3000;

// Handles what the toolkit and the X server have queued, for at least
// `milliseconds`.
void pump_events(int milliseconds = 0);

// Pumps events until `condition` holds or the time is up; returns whether it held.
bool wait_until(const std::function<bool()> &condition, int timeout_ms = DEFAULT_WAIT_MS);

// Shows a top-level window and waits until it is on the screen and has
// been painted.
bool show_and_wait(wxWindow *top_level);

// Asks for a repaint of `window` and waits until the toolkit has painted it
// (and with it every paint that was pending in its window tree).
bool refresh_and_wait(wxWindow *window);

// Destroys a top-level window and waits until it is gone (the toolkit defers
// the deletion to idle time), so that it cannot cover later windows.
bool destroy_and_wait(wxWindow *top_level);

// What the client area of `window` shows on the display, read back from the
// X server.
wxImage capture_window(wxWindow *window);

// A mouse event of `type` at `position` in the window's client coordinates;
// button events also set the matching button state. Returns whether a handler
// processed it.
bool send_mouse(wxWindow *window, wxEventType type, const wxPoint &position, int modifiers = wxMOD_NONE);

// A wheel event: positive rotation is away from the user (or to the right).
bool send_wheel(wxWindow *window, const wxPoint &position, int rotation,
                wxMouseWheelAxis axis = wxMOUSE_WHEEL_VERTICAL);

// A key event (wxEVT_KEY_DOWN, wxEVT_CHAR or wxEVT_KEY_UP) with a key code,
// modifiers and the character it stands for (for printable keys).
bool send_key(wxWindow *window, wxEventType type, int key_code, int modifiers = wxMOD_NONE,
              wxChar character = 0);

}

#endif
