#ifndef VUSK_DISPLAY_CALLS_H
#define VUSK_DISPLAY_CALLS_H

// The main frame as the text displays and the command line call it: the
// main display's view and selection, break and abort, URLs, the channel
// window's following, the settings the text terminal follows and the
// shortcuts that switch panels and sizes.

#include "frame_calls.h"
#include "input_keys.h"

class display_calls : public virtual frame_calls {
public:
    virtual void handle_async_control_break() {}
    virtual void handle_async_control_abort() {}
    // Records the URL; it is opened in the browser by the next main tick.
    virtual void open_url(const char * /*url*/) {}
    // The status bar shows whether the main display follows.
    virtual void repaint_status_bar() {}

    // The main display: following, scrolling and its mouse selection.
    virtual void disable_scrolling() {}
    virtual void handle_async_tty_start() {}
    virtual void handle_async_tty_stop() {}
    virtual void scroll_up() {}
    virtual void scroll_down() {}
    virtual void scroll_up(int /*lines*/) {}
    virtual void scroll_down(int /*lines*/) {}
    virtual int has_mouse_selection() { return 0; }
    virtual void clear_mouse_selection() {}
    // Resets the main display's colours and the stream parser.
    virtual void display_set_default_colors() {}
    // Writes the client's own text into the main display.
    virtual void main_display_write(const char * /*text*/) {}

    // The channel window's current channel.
    virtual int channel_window_scrolling_enabled() { return 1; }
    virtual void set_channel_window_scrolling(int /*follow*/) {}
    virtual void clear_channel_window_selection() {}

    // The player's settings the text terminal follows; without a frame,
    // those a new configuration starts with.
    virtual bool compact_font() const { return false; }
    virtual bool url_hotlinking() const { return true; }
    virtual bool command_pushthrough() const { return false; }
    virtual bool keypad_walking() const { return true; }
    virtual bool locking_scrollback() const { return false; }

    // The command line's shortcuts for panels and sizes.
    // A Control-key shortcut that switches a panel setting on or off.
    virtual void toggle_setting(control_key_action /*action*/) {}
    virtual void toggle_popup_window(int /*number*/) {}
    virtual void toggle_automap_display() {}
    virtual void zoom_in() {}
    virtual void zoom_out() {}
    virtual void incr_chan_window_size() {}
    virtual void decr_chan_window_size() {}
    virtual void incr_automap_size() {}
    virtual void decr_automap_size() {}
    virtual void incr_input_window_size() {}
    virtual void decr_input_window_size() {}
};

// The main frame, or without one a stand-in that does nothing.
display_calls &display_frame();

#endif
