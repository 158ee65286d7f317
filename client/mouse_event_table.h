#ifndef VUSK_MOUSE_EVENT_TABLE_H
#define VUSK_MOUSE_EVENT_TABLE_H

// The thirteen mouse events a drawn window handles, as entries of a static
// event table: press, release and double click of the left, middle and right
// buttons, motion, leaving, entering and the wheel. The toolkit's
// EVT_MOUSE_EVENTS would also bring the extra buttons and the gestures,
// which no handler expects.

#include <wx/event.h>

#define VUSK_EVT_MOUSE_13(handler)  \
    EVT_LEFT_DOWN(handler)          \
    EVT_LEFT_UP(handler)            \
    EVT_MIDDLE_DOWN(handler)        \
    EVT_MIDDLE_UP(handler)          \
    EVT_RIGHT_DOWN(handler)         \
    EVT_RIGHT_UP(handler)           \
    EVT_MOTION(handler)             \
    EVT_LEFT_DCLICK(handler)        \
    EVT_MIDDLE_DCLICK(handler)      \
    EVT_RIGHT_DCLICK(handler)       \
    EVT_LEAVE_WINDOW(handler)       \
    EVT_ENTER_WINDOW(handler)       \
    EVT_MOUSEWHEEL(handler)

#endif
