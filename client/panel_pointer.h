#ifndef VUSK_PANEL_POINTER_H
#define VUSK_PANEL_POINTER_H

// The pointer over the drawn panels: the mouse events their tables bind,
// and tooltips that change only when their text does.

#include <string>

class wxWindow;

// The event-table entries of the thirteen mouse events a panel handles.
#define VUSK_PANEL_MOUSE_EVENTS(handler) \
    EVT_LEFT_DOWN(handler)               \
    EVT_LEFT_UP(handler)                 \
    EVT_MIDDLE_DOWN(handler)             \
    EVT_MIDDLE_UP(handler)               \
    EVT_RIGHT_DOWN(handler)              \
    EVT_RIGHT_UP(handler)                \
    EVT_MOTION(handler)                  \
    EVT_LEFT_DCLICK(handler)             \
    EVT_MIDDLE_DCLICK(handler)           \
    EVT_RIGHT_DCLICK(handler)            \
    EVT_LEAVE_WINDOW(handler)            \
    EVT_ENTER_WINDOW(handler)            \
    EVT_MOUSEWHEEL(handler)

// Gives the window the tooltip `text` (8-bit, may come from the server), or
// removes it when text is empty; `shown` remembers what the window has.
void show_panel_tooltip(wxWindow *window, std::string &shown, const std::string &text);

#endif
