#ifndef VUSK_MAIN_H
#define VUSK_MAIN_H

// The running client: the application object, the base of every top-level
// frame, and the main frame vusk_mw, the hub that holds the game connection,
// parses what arrives, routes the tagged messages and carries out every line
// the player sends. Everything runs on the toolkit's thread, driven by the
// 20 ms main tick.

#include "config_effects.h"
#include "connection.h"
#include "control_commands.h"
#include "logo_layout.h"
#include "menu_bar.h"
#include "menu_ids.h"
#include "panel_set.h"
#include "popup_menu_list.h"
#include "screen_blit.h"
#include "settings_effects.h"
#include "tick_counters.h"
#include "util.h"
#include "vusk_background.h"
#include "vusk_frame.h"
#include "vusk_mw_calls.h"

#include <wx/app.h>
#include <wx/timer.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>

class vusk_ansi_display;
class vusk_channel_window;
class vusk_automap_display;
class vusk_direction_buttons;
class vusk_fkey_manager;
class vusk_group_display;
class vusk_hint_buttons;
class vusk_input_window;
class vusk_main_window;
class vusk_mw;
class vusk_popup_manager;
class vusk_status_bar;
class vusk_status_display;
class wxMenu;
class wxMenuBar;
class quit_dialog;
class disconnect_dialog;
struct mw_layout;
struct mw_panel_sizes;

constexpr int main_tick_ms = 20;
constexpr int main_frame_width = 984;
constexpr int main_frame_height = 728;

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

// The main frame. It is `main_window` (as the windows and panels call it),
// the stream parser's text sink and the owner of the tags it carries out
// itself; the configuration's effects reach it through its settings effects. Not to be confused with
// `vusk_main_window`, the main text display inside it (`main_display()`).
class vusk_mw : public vusk_frame,
                public vusk_mw_calls,
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
    void mouse_event_handler(wxMouseEvent &event);
    void discard_erase_event_handler(wxEraseEvent &event);

    // One 20 ms step of the client (the timer's, or a test's).
    void main_tick();
    // The main tick's connection work and the shutdown countdown.
    void socket_handler();
    // Queues text for the main display; the next tick shows it.
    void delayed_write(const char *text);
    void system_shutdown_handler() override;
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

    void global_change_theme(int redraw_background);
    // What tags asked of the frame since the last call, done once (the
    // tick's first duty; a tag injected by the client is carried out at once).
    void carry_out_marked_work();

    // The voting reminder (every 101st tick), the vote menu and its switch.
    void try_voting_reminder();
    void menu_vote_routine(int index);
    void menu_vote_open_all();
    void menu_vote_reminder_toggle();
    void menu_help_kb_shortcuts();
    // Quitting or disconnecting while a character is in the game asks first.
    void verify_program_exit();
    void verify_disconnect();
    // Switches the automap on or off in the settings and shows or hides it.
    void set_automap_display_enable(int on) override;

    // The menu bar: every menu item reaches menu_command, which hands it to
    // the menu bar object (menu_bar.h).
    void menu_command(wxCommandEvent &event);
    void enable_menu_items() { menus_.enable_menu_items(); }
    void menu_file_logfile_save() { menus_.menu_file_logfile_save(); }
    void menu_help_about() { menus_.menu_help_about(); }
    void menu_help_update() { menus_.menu_help_update(); }
    void zoom_in() override;
    void zoom_out() override;
    void incr_chan_window_size() override;
    void decr_chan_window_size() override;
    void incr_input_window_size() override;
    void decr_input_window_size() override;
    void incr_automap_size() override;
    void decr_automap_size() override;
    void toggle_automap_display() override;
    // Writes the main display's scrollback to the file and tells the player
    // how that went.
    void save_logfile(const wxString &path, bool plain_text);
    void disable_scrolling() override;
    void reset_scrollbars();

    // vusk_mw_calls and, through the settings effects, config_effects.
    bool logged_in() const override { return connection_.logged_in(); }
    bool connected() const override { return connection_.connected(); }
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
    wxSize display_area() const override;
    bool compact_font() const override;
    bool url_hotlinking() const override;
    bool command_pushthrough() const override;
    bool keypad_walking() const override;
    bool locking_scrollback() const override;
    void toggle_setting(control_key_action action) override;
    void resize();
    void rebuild_fonts(TConfig &config);
    void global_font_resync();
    void button_font_resync();
    void menu_view_change_layout_helper();

    // The automap: where it lives (docked, over the main display, in its
    // own frame), whether it shows, its size.
    void enable_automap();
    void set_automap_dock_state() { panels_.set_automap_dock_state(); }
    void set_group_display_dock_state() { panels_.set_group_display_dock_state(); }
    void set_automap_size(int cell_size);
    vusk_automap_display *automap_display() const { return panels_.automap_display(); }
    void repaint_status_bar() override { panels_.repaint_status_bar(); }

    // The popups and the channel window (main_popups.cpp).
    void queue_control_command(const char *text) override;
    void forget_display(vusk_ansi_display *display) override;
    void add_popup_menu_item(const char *name) override;
    void check_popup_menu_item(const char *name, int state) override;
    void clear_popup_menu() override;
    void popup_menu_handler(int id);
    void popup_menu_reset();
    void toggle_popup_window(int number) override;
    int channel_window_scrolling_enabled() override;
    void set_channel_window_scrolling(int follow) override;
    void clear_channel_window_selection() override;
    // The popup windows listed in the Windows menu (at most sixteen).
    int popup_menu_count() const { return popup_menu_items_.count(); }

    vusk_main_window *main_display() const { return main_display_; }
    // Where plain game text goes: the main display unless it is diverted.
    vusk_ansi_display *current_display() const { return current_display_; }
    vusk_input_window *input_window() const { return input_window_; }
    vusk_direction_buttons *direction_buttons() const { return panels_.direction_buttons(); }
    vusk_hint_buttons *hint_buttons() const { return panels_.hint_buttons(); }
    vusk_fkey_manager *fkey_manager() const { return panels_.fkey_manager(); }
    vusk_popup_manager *popup_manager() const { return panels_.popup_manager(); }
    vusk_channel_window *channel_window() const { return panels_.channel_window(); }
    vusk_status_display *status_display() const { return panels_.status_display(); }
    vusk_status_bar *status_bar() const { return panels_.status_bar(); }
    vusk_group_display *group_display() const { return panels_.group_display(); }
    vusk_stream_parser &stream_parser() { return connection_.stream_parser(); }
    const vusk_tag_dispatcher &tag_dispatcher() const { return connection_.tag_dispatcher(); }
    wxTimer &ping_timer() { return ping_timer_; }
    wxStopWatch &ping_stopwatch() { return connection_.ping_stopwatch(); }
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
    void config_cmd_process(const char *command) override;
    void vote_menu_entry(const char *number, const char *data) override;

    // The menu bar's handlers work on the frame as its own did.
    friend class vusk_menu_bar;

    void build_vote_menu();
    void redraw_background(int force);
    void place_logo();
    void paint_logo();
    void hide_logoff_warnings();

    void build_windows();
    void register_tag_owners();
    void run_queued_commands();
    void clear_channels();
    void rebuild_windows_menu();
    void start_timers();
    void stop_timers();
    void run_tick_work();
    void show_delayed_write();
    void shut_down_now();
    void carry_out(const control_match &match);
    void write_local_echo(const char *text);
    void divert_to_missing_popup();
    void leave_diverted_display();
    // Work marked by tags for the next tick, in the order it is done.
    struct marked_work {
        // The frame's new title; empty when none was asked for.
        std::string title;
        bool fonts = false;
        bool themes = false;
        bool redraw_background = false;
        bool docking = false;
        bool text_font = false;
        bool button_font = false;
        bool scrollbars = false;
        // The automap's new cell size; 0 when none was asked for.
        int automap_cell_size = 0;
        bool automap_shown = false;
        bool vote_menu = false;
        bool layout = false;
    };
    // Runs a tag's work with its layouts, themes and fonts marked for the
    // tick instead of done: a burst of tags costs one of each.
    void marking_work(const std::function<void()> &work);
    // While a tag's work is marked: notes `work` for the tick, true then.
    bool mark_for_tick(bool marked_work::*work);
    void change_themes(int redraw_background);

    marked_work marked_work_;
    bool marking_work_ = false;

    vusk_connection connection_{*this};
    vusk_main_window *main_display_ = nullptr;
    vusk_ansi_display *current_display_ = nullptr;
    int divert_scroll_position_ = 0;
    vusk_input_window *input_window_ = nullptr;
    vusk_panel_set panels_;
    vusk_menu_bar menus_{*this};
    vusk_settings_effects settings_effects_{*this, panels_, menus_};
    popup_menu_list popup_menu_items_;
    // While a Windows-menu item's handler runs the menu may not be deleted:
    // a reset asked for meanwhile is made once the handler is done.
    bool windows_menu_busy_ = false;
    bool windows_menu_rebuild_pending_ = false;
    // Lines for the next tick (queue_control_command).
    std::deque<std::string> queued_commands_;
    wxTimer main_timer_;
    tick_pacer main_tick_pacer_{main_tick_ms};
    // Set while the main timer runs on its own.
    bool main_tick_running_ = false;
    wxTimer ping_timer_;
    wxTimer save_timer_;
    Buffer delayed_write_buffer_;
    bool delayed_write_pending_ = false;
    int last_client_width_ = 0;
    int last_client_height_ = 0;
    wxMenuBar *menu_bar_ = nullptr;
    wxMenu *vote_menu_ = nullptr;
    quit_dialog *quit_warning_ = nullptr;
    disconnect_dialog *disconnect_warning_ = nullptr;
    vusk_background background_;
    screen_blit background_blit_;
    // Where the last paint put the logo; a click inside opens the web page
    // once per press.
    logo_layout logo_;
    bool logo_opened_this_press_ = false;
    periodic_tick voting_reminder_tick_{voting_reminder_period};
    trigger_force_counter force_trigger_counter_;

    wxDECLARE_EVENT_TABLE();
};

#endif
