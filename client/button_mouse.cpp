#include "button_mouse.h"

#include "button_images.h"

namespace {

bool is_press(button_mouse_kind kind)
{
    return kind == button_mouse_kind::left_down || kind == button_mouse_kind::other_down;
}

// Returns whether the event clicks the button.
bool apply_toggle(button_mouse_state &s, button_mouse_kind kind)
{
    if (!is_press(kind))
        return false;
    s.button_state = s.button_state == button_down ? button_up : button_down;
    return true;
}

bool apply_normal(button_mouse_state &s, button_mouse_kind kind)
{
    switch (kind) {
    case button_mouse_kind::leave:
    case button_mouse_kind::left_up: s.button_state = button_up; return false;
    case button_mouse_kind::left_down: s.button_state = button_down; return true;
    default: return false;
    }
}

} // namespace

button_mouse_result apply_button_mouse(button_mouse_state &s, bool toggle_mode, button_mouse_kind kind)
{
    if (s.button_state == button_disabled)
        return {};
    const button_mouse_state before = s;
    if (kind == button_mouse_kind::leave)
        s.hover = false;
    else if (kind == button_mouse_kind::enter)
        s.hover = true;
    const bool click = toggle_mode ? apply_toggle(s, kind) : apply_normal(s, kind);
    return {click, s.button_state != before.button_state || s.hover != before.hover};
}
