#ifndef VUSK_INPUT_KEYS_H
#define VUSK_INPUT_KEYS_H

// What the command line's keys mean: keypad walking, the function-key
// aliases, the Control-key shortcuts, and telling a held key's auto-repeat
// from a new press. Key codes are the toolkit's key-down codes.

#include <string>

// The walking command of a keypad key, in either NumLock state; null for
// other keys.
const char *keypad_walk_command(int key_code);

struct key_modifiers {
    bool control = false; // Control, or the Command (meta) key
    bool alt = false;
    bool shift = false;
};

// F1..F12: "f01".."f12" with "c" in front for Control, else "s" for Shift.
// Returns false for other keys and while Alt is down (nothing is sent).
bool function_key_text(int key_code, const key_modifiers &modifiers, std::string *text);

enum class control_key_action {
    unbound,        // not a shortcut: the key takes its default effect
    ignored,        // a shortcut that does nothing
    copy_or_break,  // copy the line's selection, else erase and break
    erase_and_break,
    erase_line,
    erase_and_abort,
    follow_again,
    freeze,
    paste,
    toggle_popup_window,
    toggle_automap,
    toggle_hp_bar,
    toggle_group_status,
    toggle_enemy_hp_bar,
    toggle_exp_display,
    toggle_fkey_buttons,
    toggle_popup_display,
    toggle_mw_scrollbar,
    zoom_in,
    zoom_out,
    incr_chan_window_size,
    decr_chan_window_size,
    incr_automap_size,
    decr_automap_size,
    incr_input_window_size,
    decr_input_window_size,
};

struct control_key_binding {
    control_key_action action = control_key_action::unbound;
    int popup_window = 0; // for toggle_popup_window
};

// The shortcut of a key pressed with Control.
control_key_binding control_key_for(int key_code, bool shift);

// Remembers the key last pressed until its key-up, so that the auto-repeat
// of a held key can be told from a new press of another key.
class key_repeat_tracker {
public:
    // Whether a key-down of `key_code` repeats the key still held; with
    // `with_control`, only when that key was also pressed with Control.
    bool is_repeat(int key_code, bool with_control) const;
    void pressed(int key_code, bool control);
    void released(int key_code);
    // Focus loss: a key-up may never come.
    void forget();

private:
    bool held_ = false;
    bool control_ = false;
    int code_ = -1;
};

#endif
