#ifndef VUSK_MAIN_H
#define VUSK_MAIN_H

// The running client: the application object, the base of every top-level
// frame, and the main frame vusk_mw, the hub that holds the game connection,
// parses what arrives, routes the tagged messages and carries out every line
// the player sends. Everything runs on the toolkit's thread, driven by the
// 20 ms main tick.

#include "config_effects.h"
#include "control_commands.h"
#include "stream_parser.h"
#include "tag_dispatch.h"
#include "tick_counters.h"
#include "util.h"
#include "vusk_mw_calls.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <ctime>

class vusk_ansi_display;
class vusk_group_display;
class vusk_input_window;
class vusk_main_window;
class vusk_mw;
class vusk_status_bar;
class vusk_status_display;
class wxMenuBar;
struct mw_layout;

constexpr int main_tick_ms = 20;
constexpr int main_frame_width = 984;
constexpr int main_frame_height = 728;

extern int global_socket_fd;
// True once the main frame is completely built; ticks and size events wait
// for it.
extern bool mw_constructor_finished;
extern int global_display_xsize;
extern int global_display_ysize;

class vusk_app : public wxApp {
public:
    bool OnInit() override;
};

// Everything OnInit starts, in order, up to the shown main frame; returns it.
vusk_mw *start_client();

// The fixed-pitch text font at global_font_size points and the two button
// fonts; fonts that exist already are kept.
void create_global_fonts();

class vusk_frame : public wxFrame {
public:
    vusk_frame(wxWindow *parent, wxWindowID id, const wxString &title, const wxPoint &position,
               const wxSize &size, long style = wxDEFAULT_FRAME_STYLE);
};

// The main frame. It is `main_window` (as the windows and panels call it),
// the configuration's effects, the stream parser's text sink and the owner
// of the tags it carries out itself. Not to be confused with
// `vusk_main_window`, the main text display inside it (`main_display()`).
class vusk_mw : public vusk_frame,
                public vusk_mw_calls,
                public config_effects,
                public vusk_stream_sink,
                public frame_tag_owner {
public:
    vusk_mw(const wxString &title, const wxPoint &position, const wxSize &size);
    ~vusk_mw() override;

    // Timers, window events.
    void OnTimer(wxTimerEvent &event);
    void PingTimer(wxTimerEvent &event);
    void SaveTimer(wxTimerEvent &event);
    void OnClose(wxCloseEvent &event);
    void OnResize(wxSizeEvent &event);
    void OnFocusGot(wxFocusEvent &event);
    void repaint_handler(wxPaintEvent &event);
    void discard_erase_event_handler(wxEraseEvent &event);

    // One 20 ms step of the client (the timer's, or a test's).
    void main_tick();
    // The main tick's connection work and the shutdown countdown.
    void socket_handler();
    // Queues text for the main display; the next tick shows it.
    void delayed_write(const char *text);
    void system_shutdown_handler();
    // Stops the repeating main tick (tests run the ticks themselves).
    void stop_main_tick();

    // Connection.
    void socket_connect(const char *port_text);
    void socket_disconnect(const char *message);
    void display_write(const char *text);

    // A tag injected by the client itself (the debugging commands).
    void process_tagged_data(const char *tag, const char *data, int length);

    // Outgoing lines.
    void send_config_update_to_server();
    void send_command_help();
    void history_display();
    int http_fork(const char *url);

    void global_change_theme(int redraw_background) override;
    void disable_scrolling() override;
    void reset_scrollbars() override;

    // vusk_mw_calls and config_effects.
    bool logged_in() const override { return logged_in_; }
    void handle_async_control_command(const char *text, int echo) override;
    void handle_async_control_break() override;
    void handle_async_control_abort() override;
    void open_url(const char *url) override;
    int transfer_focus_main(wxWindow *window) override;
    int scrolling_enabled() override;
    void enable_scrolling() override;
    void handle_async_tty_start() override;
    void handle_async_tty_stop() override;
    void scroll_up() override;
    void scroll_down() override;
    void scroll_up(int lines) override;
    void scroll_down(int lines) override;
    int has_mouse_selection() override;
    void clear_mouse_selection() override;
    void display_set_default_colors() override;
    void main_display_write(const char *text) override { display_write(text); }
    void check_menu_item(int id, bool checked) override;
    void refresh() override { Refresh(); }
    void resize() override;
    void global_font_resync() override;
    void button_font_resync() override;
    void menu_view_change_layout_helper() override;

    // The status panels and the group display.
    void repaint_status_bar() override;
    void show_status_bar(bool shown) override;
    void show_sky_bar(bool shown) override;
    void show_status_display(bool shown) override;
    void set_status_display_part(status_display_part part, int value) override;
    void hide_group_display() override;
    // In the left layouts the group display sits on the frame, otherwise it
    // floats over the main display's text.
    void set_group_display_dock_state();

    vusk_main_window *main_display() const { return main_display_; }
    // Where plain game text goes: the main display unless it is diverted.
    vusk_ansi_display *current_display() const { return current_display_; }
    vusk_input_window *input_window() const { return input_window_; }
    vusk_status_display *status_display() const { return status_display_; }
    vusk_status_bar *status_bar() const { return status_bar_; }
    vusk_group_display *group_display() const { return group_display_; }
    vusk_stream_parser &stream_parser() { return stream_parser_; }
    const vusk_tag_dispatcher &tag_dispatcher() const { return tag_dispatcher_; }
    wxTimer &ping_timer() { return ping_timer_; }
    wxStopWatch &ping_stopwatch() { return ping_stopwatch_; }
    const wxTimer &save_timer() const { return save_timer_; }
    // The client size the layout was last made for.
    wxSize laid_out_size() const { return wxSize(last_client_width_, last_client_height_); }

private:
    // vusk_stream_sink: plain text and telnet effects from the parser.
    void clear_all_displays_changed_flag() override;
    void update_all_displays_changed_flag() override;
    void display_socket_data(const char *text, int length) override;
    void enable_local_echo() override;
    void disable_local_echo() override;
    void ring_bell() override;

    // frame_tag_owner: the tags the frame carries out itself.
    void login(const char *name) override;
    void color_flash(const char *arguments) override;
    void ping_reply() override;
    void tq_divert(const char *name) override;
    void tq_append(const char *name) override;
    void tq_undivert() override;
    void tq_unappend() override;
    void config_cmd_process(const char *) override {}
    void vote_menu_entry(const char *, const char *) override {}

    void build_windows();
    void build_status_panels();
    void register_tag_owners();
    void start_timers();
    void stop_timers();
    void run_tick_work();
    void read_socket();
    void show_delayed_write();
    void shut_down_now();
    void send_ping();
    void carry_out(const control_match &match);
    void write_local_echo(const char *text);
    void divert_to_missing_popup();
    void close_connection();
    void place_status_panels(const mw_layout &layout);
    void show_status_panels_after_login();
    void reset_status_panels();
    // Paints the panels once for every change the tags made since the last call.
    void flush_panel_repaints();

    vusk_tag_dispatcher tag_dispatcher_;
    vusk_stream_parser stream_parser_;
    vusk_main_window *main_display_ = nullptr;
    vusk_ansi_display *current_display_ = nullptr;
    int divert_scroll_position_ = 0;
    vusk_input_window *input_window_ = nullptr;
    vusk_group_display *group_display_ = nullptr;
    vusk_status_display *status_display_ = nullptr;
    vusk_status_bar *status_bar_ = nullptr;
    wxTimer main_timer_;
    tick_pacer main_tick_pacer_{main_tick_ms};
    // Set while the main timer runs on its own.
    bool main_tick_running_ = false;
    wxTimer ping_timer_;
    wxStopWatch ping_stopwatch_;
    wxTimer save_timer_;
    Buffer delayed_write_buffer_;
    bool delayed_write_pending_ = false;
    bool logged_in_ = false;
    int last_client_width_ = 0;
    int last_client_height_ = 0;
    time_t login_time_ = 0;
    time_t last_command_time_ = 0;
    wxMenuBar *menu_bar_ = nullptr;
    // The first tick connects; later connects come from the player.
    bool connected_once_ = false;
    trigger_force_counter force_trigger_counter_;

    wxDECLARE_EVENT_TABLE();
};

#endif
