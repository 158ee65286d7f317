#ifndef VUSK_DISPLAY_ROUTER_H
#define VUSK_DISPLAY_ROUTER_H

// Where the game's plain text goes: the main display, the channel window, or
// a popup's display while the server diverts text into it ("tqdivert",
// "tqappend" and their ends). It is the stream parser's text sink, so it also
// carries out the telnet effects on the command line (the local echo, the
// bell).

#include "stream_parser.h"

class vusk_ansi_display;
class vusk_connection;
class vusk_frame_windows;

class vusk_display_router : public vusk_stream_sink {
public:
    // `connection` is only kept here: it may be built after the router.
    vusk_display_router(vusk_frame_windows &windows, vusk_connection &connection)
        : windows_(windows), connection_(connection)
    {
    }

    // The main display unless the text is diverted.
    vusk_ansi_display *current_display() const { return current_display_; }
    // Back to the main display, once it is built and when a session ends.
    void use_main_display();

    // The server fills the popup anew and shows the result at the undivert;
    // an append adds to what it has.
    void divert(const char *name);
    void append(const char *name);
    void undivert();
    void unappend();
    void color_flash(const char *arguments);
    // A display about to be deleted gets no more text.
    void forget_display(vusk_ansi_display *display);

    // The player's own line, shown in the main display.
    void write_local_echo(const char *text);
    // Empties the channels; a channel message in progress would go on
    // filling them.
    void clear_channels();

    // vusk_stream_sink
    void clear_all_displays_changed_flag() override;
    void update_all_displays_changed_flag() override;
    void display_socket_data(const char *text, int length) override;
    void enable_local_echo() override;
    void disable_local_echo() override;
    void ring_bell() override;

private:
    void divert_to_missing_popup();
    void leave_diverted_display();

    vusk_frame_windows &windows_;
    vusk_connection &connection_;
    vusk_ansi_display *current_display_ = nullptr;
};

#endif
