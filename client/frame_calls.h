#ifndef VUSK_FRAME_CALLS_H
#define VUSK_FRAME_CALLS_H

// What every window asks of the main frame: lines to send, whether a
// character is in the game, following the main display again, and the
// keyboard focus. The text displays, the buttons and the panels each see the
// frame through their own interface built on this one (display_calls.h,
// button_calls.h, panel_calls.h). The defaults do nothing and answer
// "following, not connected, not logged in", which is what a window without a
// frame gets.

class vusk_ansi_display;
class wxWindow;

class frame_calls {
public:
    virtual ~frame_calls() = default;

    // Every line to send or carry out; `echo` asks for the local echo.
    virtual void handle_async_control_command(const char * /*text*/, int /*echo*/) {}
    // The same without the echo, carried out by the next main tick: a client
    // command in it (a disconnect deletes every popup) then cannot delete the
    // window whose handler asked for it.
    virtual void queue_control_command(const char * /*text*/) {}
    virtual bool logged_in() const { return false; }
    // A connection to the game is open.
    virtual bool connected() const { return false; }

    // Hands the keyboard focus to the command line after a click in
    // `window`; 0 when it could not.
    virtual int transfer_focus_main(wxWindow * /*window*/) { return 0; }

    // Whether the main display follows new text, and making it follow again.
    virtual int scrolling_enabled() { return 1; }
    virtual void enable_scrolling() {}

    // A text display is about to be deleted: no more text may go to it.
    virtual void forget_display(vusk_ansi_display * /*display*/) {}
};

// A click in a window gives the keyboard back to the command line; false
// when there is no frame or it could not, so the window keeps the focus.
bool focus_back_to_command_line(wxWindow *window);

#endif
