// The main frame's smaller duties: the background and the logo, the
// server's "config" tag, the voting reminder and the vote menu, the keyboard
// shortcut list, and the warnings before quitting or disconnecting while a
// character is in the game.
#include "main.h"

#include "builtin_images.h"
#include "client_messages.h"
#include "command_line.h"
#include "dialogs.h"
#include "menu_ids.h"
#include "setting_toggles.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vote_menu.h"
#include "voting_reminder.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_theme.h"

#include <wx/dcclient.h>
#include <wx/menu.h>

#include <ctime>

namespace {

constexpr int web_text_point_size = 9;
const char main_page_path[] = "/?tq";

// The underlined font of the web host's name under the logo.
const wxFont &background_small_font()
{
    static const wxFont font(web_text_point_size, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                             wxFONTWEIGHT_NORMAL, true);
    return font;
}

wxString web_text()
{
    return bytes_to_wx(web_host_name);
}

} // namespace

// ---- Background and logo ----

void vusk_mw::redraw_background(int force)
{
    wxSize size = GetClientSize();
    if (size.x == 0 || size.y == 0)
        size = wxSize(last_client_width_, last_client_height_);
    const TConfig &config = *TConfig::Instance();
    if (background_.redraw_background(force, size.x, size.y, config.GetBackgroundStyle(),
                                      config.GetBackgroundColor(), current_background_theme))
        Refresh(false);
}

// The logo's corner follows the layout; the same rectangle answers clicks.
void vusk_mw::place_logo()
{
    int text_width = 0;
    int text_height = 0;
    GetTextExtent(web_text(), &text_width, &text_height, nullptr, nullptr, &background_small_font());
    const wxSize client = GetClientSize();
    logo_ = compute_logo_layout(TConfig::Instance()->GetLayout(), client.x, client.y, logo_width,
                                logo_height, text_width, text_height);
}

// Only when the paint reaches it: the frame is painted wherever a child was
// drawn anew, as often as every tick, and text is costly to draw.
void vusk_mw::paint_logo()
{
    const wxRect logo_area = wxRect(logo_.logo.x, logo_.logo.y, logo_width, logo_height)
                                 .Union(wxRect(logo_.rect_origin.x, logo_.rect_origin.y, logo_.rect_width,
                                               logo_.rect_height));
    if (GetUpdateRegion().Contains(logo_area) == wxOutRegion)
        return;
    wxPaintDC dc(this);
    if (varn_ossic_logo_bitmap != nullptr)
        dc.DrawBitmap(*varn_ossic_logo_bitmap, logo_.logo.x, logo_.logo.y, true);
    dc.SetFont(background_small_font());
    dc.SetTextForeground(*wxWHITE);
    dc.SetTextBackground(*wxBLACK);
    dc.DrawText(web_text(), logo_.text.x, logo_.text.y);
}

void vusk_mw::mouse_event_handler(wxMouseEvent &event)
{
    if (!event.LeftIsDown()) {
        logo_opened_this_press_ = false;
        return;
    }
    if (event.LeftDown())
        logo_opened_this_press_ = false;
    if (logo_opened_this_press_ || !logo_.contains(event.GetX(), event.GetY()))
        return;
    logo_opened_this_press_ = true;
    if (http_fork(web_page_url(main_page_path).c_str())) {
        write_styled(*main_display_, opening_web_page_text());
        main_display_->refresh_text();
    }
}

// ---- The server's "config" tag ----

void vusk_mw::config_cmd_process(const char *command)
{
    marking_work([&] { ::config_cmd_process(command, settings_effects_); });
}

void vusk_mw::set_automap_display_enable(int on)
{
    TConfig &config = *TConfig::Instance();
    config.SetAutomapEnable(on);
    menus_.show_setting(menu_setting::automap_display, config.GetAutomapEnable());
    enable_menu_items();
    enable_automap();
    resize();
}

// ---- Voting ----

void vusk_mw::try_voting_reminder()
{
    voting_reminder_clock clock;
    clock.logged_in = logged_in();
    clock.reminders_enabled = global_voting_reminder_enable != 0;
    clock.client_id_created = global_uuid_create_time;
    clock.login_time = connection_.login_time();
    clock.last_command_time = connection_.last_command_time();
    clock.last_reminder_time = global_last_voting_reminder_time;
    clock.last_voting_time = global_last_voting_time;
    const time_t now = time(nullptr);
    if (!voting_reminder_due(clock, now))
        return;
    write_styled(*main_display_, voting_reminder_text());
    main_display_->refresh_text();
    global_last_voting_reminder_time = int(now);
}

void vusk_mw::menu_vote_reminder_toggle()
{
    global_last_voting_reminder_time = int(time(nullptr));
    global_voting_reminder_enable = global_voting_reminder_enable ? 0 : 1;
    if (vote_menu_ != nullptr)
        vote_menu_->Check(id_menu_vote_reminder, global_voting_reminder_enable != 0);
    // The settings status line reports the switch: let the server hear of it.
    TConfig::Instance()->config_update_pending = 1;
    display_set_default_colors();
    write_styled(*main_display_, voting_reminder_switch_text(global_voting_reminder_enable != 0));
    main_display_->refresh_text();
}

void vusk_mw::build_vote_menu()
{
    vote_menu_ = new wxMenu;
    if (fill_voting_menu(*vote_menu_)) {
        menu_bar_->Append(vote_menu_, wxS("&Vote"));
    } else {
        delete vote_menu_;
        vote_menu_ = nullptr;
    }
}

// The menu may be open while the tag arrives: its items are replaced in
// place rather than the menu being swapped out from under it.
void vusk_mw::vote_menu_entry(const char *number, const char *data)
{
    setup_vote_menu(number, data);
    marked_work_.vote_menu = true;
}

void vusk_mw::menu_vote_routine(int index)
{
    const char *url = voting_url_of(index);
    if (url == nullptr)
        return;
    global_last_voting_time = int(time(nullptr));
    http_fork(url);
}

void vusk_mw::menu_vote_open_all()
{
    for (int index = voting_url_count - 1; index >= 0; --index)
        menu_vote_routine(index);
}

// ---- Help ----

void vusk_mw::menu_help_kb_shortcuts()
{
    display_set_default_colors();
    write_styled(*main_display_, keyboard_shortcuts_text(logged_in()));
    main_display_->refresh_text();
}

// ---- Leaving ----

void vusk_mw::verify_program_exit()
{
    if (!connected() || !logged_in()) {
        system_shutdown_handler();
        return;
    }
    handle_async_control_command("quit -check", 0);
    show_centred(*quit_warning_, *this);
}

void vusk_mw::verify_disconnect()
{
    if (connected())
        show_centred(*disconnect_warning_, *this);
}

void vusk_mw::hide_logoff_warnings()
{
    quit_warning_->Show(false);
    disconnect_warning_->Show(false);
}

// ---- The settings the text terminal follows ----

bool vusk_mw::compact_font() const
{
    return TConfig::Instance()->GetCompactMode() != 0;
}

bool vusk_mw::url_hotlinking() const
{
    return TConfig::Instance()->GetUrlHotlinking() != 0;
}

bool vusk_mw::command_pushthrough() const
{
    return TConfig::Instance()->GetCommandPushthrough() != 0;
}

bool vusk_mw::keypad_walking() const
{
    return TConfig::Instance()->GetKeypadWalking() != 0;
}

bool vusk_mw::locking_scrollback() const
{
    return TConfig::Instance()->GetLockingScrollback() != 0;
}

void vusk_mw::toggle_setting(control_key_action action)
{
    flip_setting_of_shortcut(action);
}
