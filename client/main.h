#ifndef VUSK_MAIN_H
#define VUSK_MAIN_H

// The running client: the application object, the base of every top-level
// frame, and the main frame vusk_mw, the hub that holds the game connection,
// parses what arrives, routes the tagged messages and carries out every line
// the player sends. Everything runs on the toolkit's thread, driven by the
// 20 ms main tick.

#include "control_commands.h"
#include "mw_links.h"
#include "stream_parser.h"
#include "tag_dispatch.h"
#include "tick_counters.h"
#include "util.h"

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>

#include <ctime>

class vusk_ansi_display;
class vusk_input_window;
class vusk_main_window;
class vusk_mw;

constexpr int main_tick_ms = 20;
constexpr int main_frame_width = 984;
constexpr int main_frame_height = 728;

extern vusk_mw *main_window;
extern int global_socket_fd;
// 1 once the main frame is completely built; ticks and size events wait for it.
extern int mw_constructor_finished;
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

class vusk_mw : public vusk_frame, public vusk_stream_sink, public vusk_tag_effects {
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

    // The main tick's connection work and the shutdown countdown.
    void socket_handler();
    // Queues text for the main display; the next tick shows it.
    void delayed_write(const char *text);
    void system_shutdown_handler();

    // Connection.
    void socket_connect(const char *port_text);
    void socket_disconnect(const char *message);
    void display_set_default_colors();
    void display_write(const char *text);

    // Incoming stream: the parser and what it hands on.
    void process_socket_data(const char *data, int length);
    void clear_all_displays_changed_flag() override;
    void update_all_displays_changed_flag() override;
    void display_socket_data(const char *text, int length) override;
    void process_tagged_data(const char *tag, const char *data, int length) override;
    void enable_local_echo() override;
    void disable_local_echo() override;
    void ring_bell() override;

    // Tags the frame carries out itself.
    void tq_divert(const char *name) override;
    void tq_append(const char *name) override;
    void tq_undivert() override;
    void tq_unappend() override;
    void channel_undivert();

    // Outgoing lines.
    void handle_async_control_command(const char *text, int echo);
    void send_config_update_to_server();
    void send_command_help();
    void handle_async_control_break();
    void handle_async_control_abort();
    void history_display();
    void open_url(const char *url);
    int http_fork(const char *url);

    // Layout, fonts, themes, focus and the main display's view.
    void resize();
    void global_font_resync();
    void button_font_resync();
    void global_change_theme(int redraw_background);
    int transfer_focus_main(wxWindow *window);
    int scrolling_enabled();
    void enable_scrolling();
    void disable_scrolling();
    void handle_async_tty_start();
    void handle_async_tty_stop();
    void scroll_up();
    void scroll_down();
    void scroll_up(int lines);
    void scroll_down(int lines);
    void reset_scrollbars();
    int has_mouse_selection();
    void clear_mouse_selection();

    // The incoming stream's state: parse_state, telnet_command, tag_name,
    // end_tag_name, tag_index and tag_data live in the parser.
    vusk_stream_parser stream_parser;
    // Holds channel_divert_active.
    vusk_tag_dispatcher tag_dispatcher;

    vusk_main_window *main_display = nullptr;
    // Where plain game text goes: the main display unless it is diverted.
    vusk_ansi_display *current_display = nullptr;
    int divert_scroll_position = 0;
    vusk_input_window *input_window = nullptr;
    wxTimer main_timer;
    tick_pacer main_tick_pacer{main_tick_ms};
    // Set while the main timer runs on its own (tests drive ticks themselves).
    bool main_tick_running = false;
    void stop_main_tick();
    wxTimer ping_timer;
    wxStopWatch ping_stopwatch;
    wxTimer save_timer;
    Buffer delayed_write_buffer;
    int delayed_write_pending = 0;
    int logged_in = 0;
    int last_client_width = 0;
    int last_client_height = 0;
    time_t login_time = 0;
    time_t last_command_time = 0;
    wxMenuBar *menu_bar = nullptr;

private:
    // vusk_tag_effects: the rows the frame acts on now; the rest wait for
    // the panels that own them.
    bool color_flash_enabled() override;
    bool system_audio_enabled() override;
    void login(const char *name) override;
    void map_message(const char */*data*/, int /*length*/) override {}
    void walk_fail(const char */*data*/, int /*length*/) override {}
    void set_directions(dirs_switch /*pad*/, int /*exit_mask*/) override {}
    void set_area_name(const char */*name*/) override {}
    void set_combat_mode(const char */*data*/) override {}
    void clear_combat_mode(const char */*data*/) override {}
    void set_client_id(const char *id) override;
    void display_enemy_hp(const enemy_hp &/*enemy*/) override {}
    void clear_enemy_hp() override {}
    void display_group(const char */*data*/) override {}
    void display_xp_percentages(const xp_percentages &/*xp*/) override {}
    void color_flash(const char *arguments) override;
    void ping_reply() override {}
    void display_hp(const hp_values &/*hp*/) override {}
    void play_sound(const char */*request*/) override {}
    void clear_hint_buttons() override {}
    void create_popup_window(const char */*definition*/) override {}
    void set_divert_channel(const char */*name*/) override {}
    void clear_divert_channel() override {}
    void config_cmd_process(const char */*command*/) override {}
    void update_sky_display(const char */*data*/) override {}
    void update_icon_display(const char */*flags*/) override {}
    void vote_menu_entry(const char */*number*/, const char */*data*/) override {}
    void setup_fkey_button(int /*number*/, const char */*tag*/, const char */*data*/) override {}
    void setup_hint_button(int /*number*/, const char */*tag*/, const char */*data*/) override {}

    void build_windows();
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

    mw_config_effects config_link_{*this};
    mw_panel_calls panel_calls_{*this};
    // The first tick connects; later connects come from the player.
    bool connected_once_ = false;
    trigger_force_counter force_trigger_counter_;

    wxDECLARE_EVENT_TABLE();
};

#endif
