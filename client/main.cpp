#include "main.h"

#include "ansi_palette.h"
#include "audio_driver_pa.h"
#include "builtin_images.h"
#include "client_messages.h"
#include "dialogs.h"
#include "menu_ids.h"
#include "global_fonts.h"
#include "mw_layout.h"
#include "native_window.h"
#include "nrandom.h"
#include "settings_files.h"
#include "socket.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "url_opener.h"
#include "vusk_embedded_window.h"
#include "vusk_font.h"
#include "vusk_hint_buttons.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_popup_manager.h"
#include "vusk_soundpack.h"
#include "vusk_theme.h"

#include <wx/imagpng.h>
#include <wx/socket.h>

#include <chrono>
#include <string>

bool mw_constructor_finished = false;

namespace {

constexpr int main_timer_id = 12464;
constexpr int ping_timer_id = 12465;
constexpr int save_timer_id = 12466;
constexpr int ping_interval_ms = 15000;
constexpr int save_interval_ms = 300000;

constexpr int button_large_font_size = 10;

const char game_title[] = "Varn Ossic";
const char player_title_prefix[] = "Varn Ossic - Player ";
const char break_line[] = "\x03";
const char abort_line[] = "\x1a";

wxString game_title_text()
{
    return bytes_to_wx(game_title);
}

mw_layout_settings layout_settings(bool logged_in)
{
    const TConfig &config = *TConfig::Instance();
    mw_layout_settings s;
    s.layout = config.GetLayout();
    s.automap_docked = config.GetAutomapDocked();
    s.automap_enable = config.GetAutomapEnable();
    s.direction_button = config.GetDirectionButton();
    s.hint_button = config.GetHintButton();
    s.fkey_button = config.GetFkeyButton();
    s.popup_display = config.GetPopupDisplay();
    s.status_bar = config.GetStatusBar();
    s.group_status = config.GetGroupStatus();
    s.hpbar_enable = config.GetHpbarEnable();
    s.exp_display = config.GetExpDisplay();
    s.enemy_hpbar_enable = config.GetEnemyHpbarEnable();
    s.input_height = config.GetInputHeight();
    s.channel_window = config.GetChannelWindow();
    s.channel_height = config.GetChannelHeight();
    s.logged_in = logged_in;
    return s;
}

} // namespace

void create_global_fonts()
{
    if (global_font == nullptr)
        global_font = new vusk_font(global_font_size, wxFONTFAMILY_MODERN, wxFONTSTYLE_NORMAL,
                                    wxFONTWEIGHT_NORMAL);
    if (global_button_small_font == nullptr)
        global_button_small_font = new vusk_font(default_button_font_size, wxFONTFAMILY_TELETYPE,
                                                 wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
    if (global_button_large_font == nullptr)
        global_button_large_font = new vusk_font(button_large_font_size, wxFONTFAMILY_TELETYPE,
                                                 wxFONTSTYLE_NORMAL, wxFONTWEIGHT_NORMAL);
}

bool vusk_app::OnInit()
{
    start_client();
    return true;
}

vusk_mw *start_client()
{
    xrand_initialize();
    wxSocketBase::Initialize();
    if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr)
        wxImage::AddHandler(new wxPNGHandler);
    construct_all_images();
    create_global_fonts();
    load_system_config();
    reset_theme();
    vusk_mw *frame = new vusk_mw(game_title_text(), wxDefaultPosition,
                                 wxSize(main_frame_width, main_frame_height));
    make_native_window(*frame);
    frame->Show();
    wxTheApp->SetTopWindow(frame);
    record_display_area(frame);
    return frame;
}

wxBEGIN_EVENT_TABLE(vusk_mw, vusk_frame)
    EVT_TIMER(main_timer_id, vusk_mw::OnTimer)
    EVT_TIMER(ping_timer_id, vusk_mw::PingTimer)
    EVT_TIMER(save_timer_id, vusk_mw::SaveTimer)
    EVT_SIZE(vusk_mw::OnResize)
    EVT_SET_FOCUS(vusk_mw::OnFocusGot)
    EVT_CLOSE(vusk_mw::OnClose)
    EVT_PAINT(vusk_mw::repaint_handler)
    EVT_ERASE_BACKGROUND(vusk_mw::discard_erase_event_handler)
    EVT_LEFT_DOWN(vusk_mw::mouse_event_handler)
    EVT_LEFT_UP(vusk_mw::mouse_event_handler)
    EVT_MOTION(vusk_mw::mouse_event_handler)
    EVT_MENU_RANGE(menu_id_first, menu_id_last, vusk_mw::menu_command)
wxEND_EVENT_TABLE()

vusk_mw::vusk_mw(const wxString &title, const wxPoint &position, const wxSize &size)
    : vusk_frame(nullptr, wxID_ANY, title, position, size),
      main_timer_(this, main_timer_id),
      ping_timer_(this, ping_timer_id),
      save_timer_(this, save_timer_id)
{
    main_window = this;
    // The frame paints all of its background itself; an erase step would cost
    // the toolkit a device context on every paint.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    build_windows();
    register_tag_owners();
    TConfig::Instance()->set_effects(&settings_effects_);
    mw_constructor_finished = true;
    start_timers();
    // Sound that cannot start is switched off, so the settings tell the truth.
    if (TConfig::Instance()->GetSystemAudio() && !settings_effects_.start_audio())
        TConfig::Instance()->SetSystemAudio(0);
}

vusk_mw::~vusk_mw()
{
    // No audio callback may run on into the toolkit's and the program's exit.
    shutdown_audio();
    TConfig::Instance()->set_effects(nullptr);
    stop_timers();
    connection_.close();
    mw_constructor_finished = false;
    if (main_window == this)
        main_window = nullptr;
}

// The windows in the order the frame builds them: the command line, the main
// display, the (still empty) menu bar, the button rows, the popup bar and
// the channel window, the group display and the status panels, the automap,
// the logoff warnings; then the menus, checked from the settings.
void vusk_mw::build_windows()
{
    // Every device context asks its window for a font; a window without one
    // (and each child inherits it) asks the theme anew on every paint.
    SetFont(*global_font);
    build_text_windows(*this);
    router_.use_main_display();
    panels().build(*this, *main_display());
    disconnect_warning_ = new disconnect_dialog(this, wxID_ANY, wxS("Disconnect Warning"));
    quit_warning_ = new quit_dialog(this, wxID_ANY, wxS("Logoff Warning"));
    menus_.build_menus();
    SetMenuBar(menus_.bar());
    menus_.show_all_settings();
    // The palette the font-colour menu shows checked.
    select_ansi_palette(TConfig::Instance()->GetFontColors());
    SetBackgroundColour(*wxBLACK);
    input_window()->line_edit.set_initial_font(global_font);
    input_window()->SetFocus();
    main_display()->set_initial_font(global_font);
    displays_text_font_ = current_text_layout_font();
    set_automap_dock_state();
    set_group_display_dock_state();
    enable_automap();
    enable_menu_items();
    resize();
    Refresh(true);
}

namespace {
long long steady_now_ms()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}

// Each subsystem takes its own tags as it is built.
void vusk_mw::register_tag_owners()
{
    tag_owners &owners = connection_.tag_dispatcher().owners;
    owners.frame = &frame_tags_;
    owners.client_id = &client_id_tags();
    owners.sound = vusk_soundpack::Instance();
    panels().register_tag_owners(owners);
}

void vusk_mw::start_timers()
{
    main_tick_running_ = true;
    main_timer_.StartOnce(main_tick_pacer_.start(steady_now_ms()));
    ping_timer_.Start(ping_interval_ms);
    save_timer_.Start(save_interval_ms);
}

void vusk_mw::stop_main_tick()
{
    main_tick_running_ = false;
    main_timer_.Stop();
}

void vusk_mw::stop_timers()
{
    stop_main_tick();
    ping_timer_.Stop();
    save_timer_.Stop();
}

// ---- The main tick ----

void vusk_mw::OnTimer(wxTimerEvent &)
{
    if (main_tick_running_)
        main_timer_.StartOnce(main_tick_pacer_.next_delay(steady_now_ms()));
    main_tick();
}

void vusk_mw::main_tick()
{
    if (!mw_constructor_finished)
        return;
    run_queued_commands();
    socket_handler();
    if (wxTheApp->IsScheduledForDestruction(this))
        return;
    run_tick_work();
}

void vusk_mw::run_tick_work()
{
    carry_out_marked_work();
    vusk_embedded_window::animation_update(main_tick_ms);
    vusk_soundpack::Instance()->take_up_decoded();
    TConfig &config = *TConfig::Instance();
    if (logged_in() && config.config_update_pending)
        send_config_update_to_server();
    if (delayed_write_pending_)
        show_delayed_write();
    panels().flush_repaints();
    std::string url;
    if (take_delayed_url(url))
        http_fork(url.c_str());
    if (voting_reminder_tick_.tick())
        try_voting_reminder();
    if (force_trigger_counter_.tick(main_display()->trigger_pending() != 0))
        main_display()->force_trigger_line();
    run_requested_config_save(steady_now_ms());
}

void vusk_mw::socket_handler()
{
    // The first tick connects; later connects come from the player.
    if (connection_.first_connect_due())
        socket_connect(nullptr);
    else if (!connection_.continue_connecting())
        end_failed_connect();
    // While the settings writes are far behind, the server's bytes wait with
    // the system; the tick goes on and takes up the writes as they finish.
    const char *failure = settings_writes_backlogged() ? connection_.send_only() : connection_.read();
    if (failure != nullptr)
        socket_disconnect(failure);
    if (shutdown_countdown_tick(global_shutdown_flag))
        shut_down_now();
}

void vusk_mw::show_delayed_write()
{
    display_set_default_colors();
    display_write(delayed_write_buffer_.data);
    main_display()->refresh_text();
    delayed_write_pending_ = false;
    buffer_clear(delayed_write_buffer_);
}

void vusk_mw::delayed_write(const char *text)
{
    buffer_append(delayed_write_buffer_, text != nullptr ? text : "(null)");
    delayed_write_pending_ = true;
}

void vusk_mw::system_shutdown_handler()
{
    global_shutdown_flag = shutdown_countdown_start;
}

void vusk_mw::shut_down_now()
{
    popup_manager()->clear();
    // Every settings file is written, and the writer's thread ended, before
    // the toolkit shuts down.
    save_system_config();
    stop_background_saves();
    // No download may finish after its version is saved, nor run on into the
    // program's exit; neither may a decoding.
    vusk_download::Instance()->stop();
    vusk_soundpack::Instance()->stop_decoding();
    vusk_soundpack::Instance()->save_version_info();
    stop_timers();
    Destroy();
}

void vusk_mw::PingTimer(wxTimerEvent &)
{
    if (logged_in())
        connection_.send_ping();
}

void vusk_mw::SaveTimer(wxTimerEvent &)
{
    popup_manager()->save_positions();
    start_system_config_save();
    vusk_soundpack::Instance()->save_version_info_in_background();
}

// Closing the window quits through the same countdown as "//quit", so the
// state is saved on the way out.
void vusk_mw::OnClose(wxCloseEvent &event)
{
    if (global_shutdown_flag != 1 && event.CanVeto()) {
        event.Veto();
        verify_program_exit();
        return;
    }
    shut_down_now();
}

void vusk_mw::OnFocusGot(wxFocusEvent &)
{
    input_window()->SetFocus();
}

void vusk_mw::repaint_handler(wxPaintEvent &)
{
    backdrop_.paint(*this);
}

void vusk_mw::discard_erase_event_handler(wxEraseEvent &) {}

// ---- Connection ----

void vusk_mw::socket_connect(const char *port_text)
{
    hint_buttons()->disable_cmd_buttons();
    display_set_default_colors();
    display_write("\n");
    display_write("Connecting...\n");
    if (!connection_.open(port_text)) {
        end_failed_connect();
        return;
    }
    main_display()->refresh_text();
    input_window()->line_edit.swap_history(1);
}

// A failed connect ends like a disconnect, but the command line keeps the
// history of a connection.
void vusk_mw::end_failed_connect()
{
    socket_disconnect("Unable to connect to server.");
    main_display()->refresh_text();
    input_window()->line_edit.swap_history(1);
}

void vusk_mw::socket_disconnect(const char *message)
{
    // What the session's last tags asked for comes before its end.
    carry_out_marked_work();
    // A diversion ends with the session: the popup it points into may be
    // closed below.
    router_.use_main_display();
    connection_.end_session();
    input_window()->line_edit.swap_history(0);
    hide_logoff_warnings();
    SetTitle(game_title_text());
    enable_automap();
    panels().reset_status_panels();
    // A server that hid the typing for a password and then went away would
    // leave the command line unreadable.
    input_window()->line_edit.enable_echo();
    show_styled(*main_display(), disconnect_message_text(message));
    // The session's popups go, and the lines they queued with them.
    panels().end_session();
    queued_commands_.clear();
    resize();
    Refresh();
}

void vusk_mw::display_set_default_colors()
{
    main_display()->enable_scrolling();
    main_display()->reset_colors();
    main_display()->write("\n");
    connection_.stream_parser().reset();
}

void vusk_mw::display_write(const char *text)
{
    main_display()->write(text);
}

// ---- Incoming stream ----

void vusk_mw::process_tagged_data(const char *tag, const char *data, int length)
{
    connection_.tag_dispatcher().process_tagged_data(tag, data, length);
    carry_out_marked_work();
}

// ---- Tags ----

void vusk_mw::login(const char *name)
{
    marking_work([&] {
        if (name[0] != '\0') {
            marked_work_.title = std::string(player_title_prefix) + name;
            TConfig::Instance()->UseConfig(name);
        }
        connection_.log_in();
        input_window()->line_edit.swap_history(2);
        enable_automap();
        panels().show_after_login();
        input_window()->line_edit.enable_echo();
        resize();
        Refresh();
        TConfig::Instance()->config_update_pending = 1;
    });
}

// ---- Outgoing lines ----

namespace {
// More lines than a player can ask for within one tick; the rest are dropped.
constexpr size_t queued_commands_max = 64;
}

void vusk_mw::queue_control_command(const char *text)
{
    if (queued_commands_.size() < queued_commands_max)
        queued_commands_.emplace_back(text != nullptr ? text : "");
}

void vusk_mw::run_queued_commands()
{
    std::deque<std::string> lines;
    lines.swap(queued_commands_);
    for (const std::string &line : lines)
        handle_async_control_command(line.c_str(), 0);
}

void vusk_mw::handle_async_control_command(const char *text, int echo)
{
    connection_.note_command();
    if (logged_in() && echo && TConfig::Instance()->GetLocalEcho())
        router_.write_local_echo(text);
    carry_out(match_control_command(text, logged_in(), connected()));
}

void vusk_mw::carry_out(const control_match &match)
{
    const char *argument = match.argument != nullptr ? match.argument : "";
    switch (match.rule) {
    case control_rule::command_help: send_command_help(); break;
    case control_rule::keyboard_help: menu_help_kb_shortcuts(); break;
    case control_rule::echo:
        display_write("\n");
        display_write(argument);
        main_display()->refresh_text();
        break;
    case control_rule::send_break: handle_async_control_break(); break;
    case control_rule::history: history_display(); break;
    case control_rule::quit_now:
    case control_rule::quit: system_shutdown_handler(); break;
    case control_rule::disconnect: socket_disconnect("Disconnecting."); break;
    case control_rule::clear:
        main_display()->clear_scrollback();
        main_display()->refresh_text();
        break;
    case control_rule::debug_fill:
        main_display()->generate_debug_fill_data();
        main_display()->refresh_text();
        break;
    case control_rule::icons:
        process_tagged_data("icons", argument, 1);
        main_display()->refresh_text();
        break;
    case control_rule::sound_test:
        process_tagged_data("sound", argument, 1);
        main_display()->refresh_text();
        break;
    case control_rule::channel_clear:
        router_.clear_channels();
        main_display()->refresh_text();
        break;
    case control_rule::ping: connection_.send_ping(); break;
    case control_rule::send_to_server: connection_.send(match.line); break;
    case control_rule::connect: socket_connect(match.argument); break;
    case control_rule::ignore: break;
    }
}

void vusk_mw::send_config_update_to_server()
{
    TConfig::Instance()->config_update_pending = 0;
    const std::string line =
        config_status_line(status_line_settings(*TConfig::Instance(), global_voting_reminder_enable));
    handle_async_control_command(line.c_str(), 0);
}

void vusk_mw::send_command_help()
{
    show_styled(*main_display(), command_help_text());
}

void vusk_mw::handle_async_control_break()
{
    socket_clear_all_queues();
    connection_.send(break_line);
    display_set_default_colors();
}

void vusk_mw::handle_async_control_abort()
{
    socket_clear_all_queues();
    connection_.send(abort_line);
    display_set_default_colors();
}

void vusk_mw::history_display()
{
    input_window()->line_edit.history_display();
}

void vusk_mw::open_url(const char *url)
{
    queue_delayed_url(url);
}

int vusk_mw::http_fork(const char *url)
{
    if (start_url_opener(url))
        return 1;
    delayed_write(browser_failure_text(url).c_str());
    return 0;
}

// ---- Layout, fonts and themes ----

void vusk_mw::menu_view_change_layout_helper()
{
    if (mark_for_tick(&marked_work::docking))
        return;
    set_automap_dock_state();
    set_group_display_dock_state();
    resize();
    Refresh();
}

void vusk_mw::OnResize(wxSizeEvent &)
{
    if (!mw_constructor_finished)
        return;
    const wxSize size = GetClientSize();
    if (!note_client_size(size.GetWidth(), size.GetHeight(), last_client_width_, last_client_height_))
        return;
    resize();
    Refresh();
}

void vusk_mw::resize()
{
    if (mark_for_tick(&marked_work::layout))
        return;
    backdrop_.redraw_background(*this, 0, laid_out_size());
    backdrop_.place_logo(*this);
    const wxSize size = GetClientSize();
    const mw_layout layout = compute_mw_layout(size.GetWidth(), size.GetHeight(), last_client_width_,
                                               last_client_height_, layout_settings(logged_in()), panels().panel_sizes());
    panels().place(layout);
    place_panel(input_window(), layout.input_window);
    place_panel(main_display(), layout.main_display);
    main_display()->enable_scrolling();
}

void vusk_mw::rebuild_fonts(TConfig &config)
{
    if (!mark_for_tick(&marked_work::fonts))
        config.apply_font();
}

vusk_mw::text_layout_font vusk_mw::current_text_layout_font() const
{
    return {global_font, global_font->glyph_changes(), compact_font()};
}

// A login hands its record's fonts to the panels, mostly the fonts they have
// already: re-wrapping every display's text for those would cost up to a
// second each time.
void vusk_mw::global_font_resync()
{
    if (mark_for_tick(&marked_work::text_font))
        return;
    TConfig::Instance()->SetFont(*global_font);
    const text_layout_font now = current_text_layout_font();
    if (now == displays_text_font_)
        return;
    displays_text_font_ = now;
    ++text_font_resyncs_;
    main_display()->change_font(global_font);
    input_window()->line_edit.change_font(global_font);
    panels().change_text_font(global_font);
}

void vusk_mw::button_font_resync()
{
    if (mark_for_tick(&marked_work::button_font))
        return;
    TConfig::Instance()->SetButtonFont(*global_button_small_font);
    panels().change_button_font();
}

void vusk_mw::global_change_theme(int redraw)
{
    if (mark_for_tick(&marked_work::themes)) {
        marked_work_.redraw_background |= redraw != 0;
        return;
    }
    change_themes(redraw);
    resize();
    Refresh();
}

void vusk_mw::change_themes(int redraw)
{
    reset_theme();
    if (redraw)
        backdrop_.redraw_background(*this, 1, laid_out_size());
    panels().change_themes();
}

void vusk_mw::reset_scrollbars()
{
    if (mark_for_tick(&marked_work::scrollbars))
        return;
    main_display()->set_scrollbar_enable(TConfig::Instance()->GetMwScrollbar());
    main_display()->enable_scrolling();
    main_display()->ResetSize();
}

// ---- The automap ----

void vusk_mw::enable_automap()
{
    if (mark_for_tick(&marked_work::automap_shown))
        return;
    panels().enable_automap();
}

void vusk_mw::set_automap_size(int cell_size)
{
    if (marking_work_) {
        marked_work_.automap_cell_size = cell_size;
        return;
    }
    panels().set_automap_size(cell_size);
}

