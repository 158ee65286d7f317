#ifndef VUSK_MW_CALLS_H
#define VUSK_MW_CALLS_H

// The main frame as every window and panel calls it: lines to send, focus,
// the main display's view, sizes and URLs. The main frame `vusk_mw`
// implements this and is `main_window` while it exists; tests put a fake in
// its place. Without a frame (null) a panel makes no calls. The defaults do
// nothing and answer "following, not logged in, nothing selected", so a fake
// overrides only what it records.

#include "input_keys.h"

#include <wx/gdicmn.h>

class vusk_ansi_display;
class wxWindow;

class vusk_mw_calls {
public:
    virtual ~vusk_mw_calls() = default;

    // Every line to send or carry out; `echo` asks for the local echo.
    virtual void handle_async_control_command(const char * /*text*/, int /*echo*/) {}
    // The same without the echo, carried out by the next main tick: a client
    // command in it (a disconnect deletes every popup) then cannot delete the
    // window whose handler asked for it.
    virtual void queue_control_command(const char * /*text*/) {}
    virtual void handle_async_control_break() {}
    virtual void handle_async_control_abort() {}
    virtual bool logged_in() const { return false; }
    // A connection to the game is open.
    virtual bool connected() const { return false; }
    // Starts the countdown that saves and closes the program.
    virtual void system_shutdown_handler() {}

    // Records the URL; it is opened in the browser by the next main tick.
    virtual void open_url(const char * /*url*/) {}
    // Hands the keyboard focus to the command line after a click in
    // `window`; 0 when it could not.
    virtual int transfer_focus_main(wxWindow * /*window*/) { return 0; }
    virtual void repaint_status_bar() {}

    // The main display: following, scrolling and its mouse selection.
    virtual int scrolling_enabled() { return 1; }
    virtual void enable_scrolling() {}
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

    // The player's settings the text terminal follows; without a frame,
    // those a new configuration starts with.
    virtual bool compact_font() const { return false; }
    virtual bool url_hotlinking() const { return true; }
    virtual bool command_pushthrough() const { return false; }
    virtual bool keypad_walking() const { return true; }
    virtual bool locking_scrollback() const { return false; }
    // A Control-key shortcut that switches a panel setting on or off.
    virtual void toggle_setting(control_key_action /*action*/) {}

    // The channel window's current channel.
    virtual int channel_window_scrolling_enabled() { return 1; }
    virtual void set_channel_window_scrolling(int /*follow*/) {}
    virtual void clear_channel_window_selection() {}

    // A text display is about to be deleted: no more text may go to it.
    virtual void forget_display(vusk_ansi_display * /*display*/) {}

    // The Windows menu's items of the popup windows, found by name.
    virtual void add_popup_menu_item(const char * /*name*/) {}
    virtual void check_popup_menu_item(const char * /*name*/, int /*state*/) {}
    // Back to its one item "Not Connected".
    virtual void clear_popup_menu() {}

    // Panels and sizes.
    // The usable area of the display the frame was shown on; wxDefaultSize
    // while it is not known.
    virtual wxSize display_area() const { return wxDefaultSize; }
    virtual void toggle_popup_window(int /*number*/) {}
    virtual void toggle_automap_display() {}
    // Switches the automap on or off in the settings and shows or hides it.
    virtual void set_automap_display_enable(int /*on*/) {}
    virtual void zoom_in() {}
    virtual void zoom_out() {}
    virtual void incr_chan_window_size() {}
    virtual void decr_chan_window_size() {}
    virtual void incr_automap_size() {}
    virtual void decr_automap_size() {}
    virtual void incr_input_window_size() {}
    virtual void decr_input_window_size() {}
};

// The main frame while it exists, else null.
extern vusk_mw_calls *main_window;

// The main frame, or without one a stand-in that does nothing and answers
// with the defaults.
vusk_mw_calls &main_window_or_none();

// A click in a panel gives the keyboard back to the command line; false when
// there is no frame or it could not, so the panel keeps the focus.
inline bool focus_back_to_command_line(wxWindow *window)
{
    return main_window != nullptr && main_window->transfer_focus_main(window) != 0;
}

#endif
