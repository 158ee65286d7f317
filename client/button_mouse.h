#ifndef VUSK_BUTTON_MOUSE_H
#define VUSK_BUTTON_MOUSE_H

// How a drawn button's state follows the mouse. Windowless: the button maps
// each toolkit mouse event to one of these kinds.

enum class button_mouse_kind {
    left_down,
    left_up,
    other_down, // middle or right button pressed
    enter,
    leave,
    other, // motion, other releases, double clicks, the wheel
};

struct button_mouse_state {
    int button_state; // button_up, button_down or button_disabled
    bool hover;
};

struct button_mouse_result {
    bool click;   // the button was pressed: its command runs
    bool changed; // state or hover changed: repaint
};

// A disabled button ignores the mouse. In toggle mode every press flips the
// state; otherwise the state follows the left button, and leaving the button
// lets it up. The click comes with the press, never with the release.
button_mouse_result apply_button_mouse(button_mouse_state &state, bool toggle_mode, button_mouse_kind kind);

#endif
