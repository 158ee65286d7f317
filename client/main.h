#ifndef VUSK_MAIN_H
#define VUSK_MAIN_H

// The running client: the application object and the main frame vusk_mw,
// which builds every window and coordinates its parts -- the connection, the
// display router, the panel set, the menu bar, the settings' effects -- and
// carries out every line the player sends. Everything runs on the toolkit's
// thread, driven by the 20 ms main tick.

#include "config_effects.h"
#include "connection.h"
#include "control_commands.h"
#include "display_router.h"
#include "frame_backdrop.h"
#include "frame_tags.h"
#include "frame_windows.h"
#include "menu_bar.h"
#include "settings_effects.h"
#include "tick_counters.h"
#include "util.h"
#include "vusk_frame.h"

#include <wx/app.h>
#include <wx/timer.h>

#include <deque>
#include <functional>
#include <string>

class vusk_ansi_display;
class vusk_font;
class quit_dialog;
class disconnect_dialog;

constexpr int main_tick_ms = 20;
constexpr int main_frame_width = 984;
constexpr int main_frame_height = 728;

// True once the main frame is completely built; ticks and size events wait
// for it.
extern bool mw_constructor_finished;

class vusk_app : public wxApp {
public:
    bool OnInit() override;
};

// Everything OnInit starts, in order, up to the shown main frame; returns it.
vusk_mw *start_client();

// The fixed-pitch text font at global_font_size points and the two button
// fonts; fonts that exist already are kept.
void create_global_fonts();

// The main frame. It is `main_window` (as the windows and panels call it);
// the calls its windows answer by themselves come with vusk_frame_windows.
// Not to be confused with `vusk_main_window`, the main text display inside it
// (`main_display()`).
class vusk_mw : public vusk_frame, public vusk_frame_windows {
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
    // Starts connecting; the ticks that follow see the connect through.
    void socket_connect(const char *port_text);
    void socket_disconnect(const char *message);
    void display_write(const char *text);
    bool logged_in() const override { return connection_.logged_in(); }
    bool connected() const override { return connection_.connected(); }

    // A tag injected by the client itself (the debugging commands).
    void process_tagged_data(const char *tag, const char *data, int length);
    // The tags the frame carries out itself: "login" and the server's "config".
    void login(const char *name);
    void config_cmd_process(const char *command);

    // Outgoing lines.
    void handle_async_control_command(const char *text, int echo) override;
    void queue_control_command(const char *text) override;
    void handle_async_control_break() override;
    void handle_async_control_abort() override;
    void send_config_update_to_server();
    void send_command_help();
    void history_display();
    void open_url(const char *url) override;
    int http_fork(const char *url);

    void global_change_theme(int redraw_background);
    // What tags asked of the frame since the last call, done once (the
    // tick's first duty; a tag injected by the client is carried out at once).
    void carry_out_marked_work();
    void carry_out_marked_font_work() override;

    // The voting reminder (every 101st tick).
    void try_voting_reminder();
    // Quitting or disconnecting while a character is in the game asks first.
    void verify_program_exit();
    void verify_disconnect();

    // The menu bar: every menu item reaches menu_command, which hands it to
    // the menu bar object (menu_bar.h).
    void menu_command(wxCommandEvent &event);
    void enable_menu_items() { menus_.enable_menu_items(); }
    void menu_help_kb_shortcuts() { menus_.menu_help_kb_shortcuts(); }
    // The popup windows listed in the Windows menu (at most sixteen).
    void add_popup_menu_item(const char *name) override { menus_.add_popup_menu_item(name); }
    void check_popup_menu_item(const char *name, int state) override { menus_.check_popup_menu_item(name, state); }
    void clear_popup_menu() override { menus_.clear_popup_menu(); }
    int popup_menu_count() const { return menus_.popup_menu_count(); }

    // Sizes: the text font, the channel window, the command line, the automap.
    void zoom_in() override;
    void zoom_out() override;
    void incr_chan_window_size() override;
    void decr_chan_window_size() override;
    void incr_input_window_size() override;
    void decr_input_window_size() override;
    void incr_automap_size() override;
    void decr_automap_size() override;
    void toggle_automap_display() override;
    // Switches the automap on or off in the settings and shows or hides it.
    void set_automap_display_enable(int on) override;
    // Writes the main display's scrollback to the file and tells the player
    // how that went.
    void save_logfile(const wxString &path, bool plain_text);

    // The main display's text and the layout.
    void display_set_default_colors() override;
    void main_display_write(const char *text) override { display_write(text); }
    void reset_scrollbars();
    void resize();
    void rebuild_fonts(TConfig &config);
    void global_font_resync();
    // How many times every display took the text font anew, re-wrapping
    // all its text.
    int text_font_resyncs() const { return text_font_resyncs_; }
    void button_font_resync();
    void menu_view_change_layout_helper();

    // The automap: where it lives (docked, over the main display, in its
    // own frame), whether it shows, its size.
    void enable_automap();
    void set_automap_dock_state() { panels().set_automap_dock_state(); }
    void set_group_display_dock_state() { panels().set_group_display_dock_state(); }
    void set_automap_size(int cell_size);

    // Where plain game text goes: the main display unless it is diverted.
    vusk_ansi_display *current_display() const { return router_.current_display(); }
    void forget_display(vusk_ansi_display *display) override { router_.forget_display(display); }
    vusk_stream_parser &stream_parser() { return connection_.stream_parser(); }
    const vusk_tag_dispatcher &tag_dispatcher() const { return connection_.tag_dispatcher(); }
    wxTimer &ping_timer() { return ping_timer_; }
    wxStopWatch &ping_stopwatch() { return connection_.ping_stopwatch(); }
    const wxTimer &save_timer() const { return save_timer_; }
    // The client size the layout was last made for.
    wxSize laid_out_size() const { return wxSize(last_client_width_, last_client_height_); }

private:
    void hide_logoff_warnings();
    void end_failed_connect();

    void build_windows();
    void register_tag_owners();
    void run_queued_commands();
    void start_timers();
    void stop_timers();
    void run_tick_work();
    void show_delayed_write();
    void shut_down_now();
    void carry_out(const control_match &match);
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
        bool layout = false;
    };
    // Runs a tag's work with its layouts, themes and fonts marked for the
    // tick instead of done: a burst of tags costs one of each.
    void marking_work(const std::function<void()> &work);
    // While a tag's work is marked: notes `work` for the tick, true then.
    bool mark_for_tick(bool marked_work::*work);
    void change_themes(int redraw_background);

    // What the displays last laid their text out with. Only other glyphs
    // taken or compact mode switched change that layout.
    struct text_layout_font {
        const vusk_font *font = nullptr;
        int glyph_changes = 0;
        bool compact = false;

        bool operator==(const text_layout_font &other) const
        {
            return font == other.font && glyph_changes == other.glyph_changes && compact == other.compact;
        }
    };
    text_layout_font current_text_layout_font() const;

    marked_work marked_work_;
    bool marking_work_ = false;
    text_layout_font displays_text_font_;
    int text_font_resyncs_ = 0;

    // The router keeps the connection only to ask it: built after it.
    vusk_display_router router_{*this, connection_};
    vusk_connection connection_{router_};
    vusk_menu_bar menus_{*this, connection_, router_};
    vusk_settings_effects settings_effects_{*this, panels(), menus_};
    vusk_frame_tags frame_tags_{*this, router_, panels(), menus_, connection_};
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
    quit_dialog *quit_warning_ = nullptr;
    disconnect_dialog *disconnect_warning_ = nullptr;
    vusk_frame_backdrop backdrop_;
    periodic_tick voting_reminder_tick_{voting_reminder_period};
    trigger_force_counter force_trigger_counter_;

    wxDECLARE_EVENT_TABLE();
};

#endif
