#ifndef VUSK_MW_CALLS_H
#define VUSK_MW_CALLS_H

// The main frame as the text displays and the command line call it (beside
// what every panel calls, main_frame_link). The main frame implements these
// and registers itself; until one is registered (and for a display or line on
// its own) every call does nothing and every query answers "following, not
// logged in, nothing selected".

#include "main_frame_link.h"

class vusk_mw_calls : public main_frame_link {
public:
    virtual ~vusk_mw_calls() = default;

    void open_url(const char */*url*/) override {}
    int transfer_focus_main(wxWindow */*window*/) override { return 0; }

    // Every line to send or carry out; `echo` asks for the local echo.
    virtual void handle_async_control_command(const char */*text*/, int /*echo*/) {}
    virtual void handle_async_control_break() {}
    virtual void handle_async_control_abort() {}
    virtual int logged_in() { return 0; }

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
    virtual void main_display_write(const char */*text*/) {}

    // The channel window's current channel.
    virtual int channel_window_scrolling_enabled() { return 1; }
    virtual void set_channel_window_scrolling(int /*follow*/) {}
    virtual void clear_channel_window_selection() {}

    // Panels and sizes.
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

// The registered main frame, or one that does nothing.
vusk_mw_calls &main_frame_calls();
// The main frame registers itself on construction and null on destruction;
// it is then main_link as well.
void register_main_frame_calls(vusk_mw_calls *frame);

#endif
