// The main frame's smaller duties: a press on the logo, the server's
// "config" tag, the voting reminder, the warnings before quitting or
// disconnecting while a character is in the game, and its side of the menu
// bar and of the shortcuts that change sizes.
#include "main.h"

#include "client_messages.h"
#include "command_line.h"
#include "dialogs.h"
#include "global_fonts.h"
#include "menus.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "voting_reminder.h"
#include "vusk_main_window.h"

#include <algorithm>
#include <ctime>

namespace {
const char main_page_path[] = "/?tq";
}

void vusk_mw::mouse_event_handler(wxMouseEvent &event)
{
    if (backdrop_.logo_pressed(event) && http_fork(web_page_url(main_page_path).c_str())) {
        show_styled(*main_display(), opening_web_page_text());
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
    show_styled(*main_display(), voting_reminder_text());
    global_last_voting_reminder_time = int(now);
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

// ---- The menu bar ----

void vusk_mw::menu_command(wxCommandEvent &event)
{
    menus_.carry_out_menu_item(static_cast<menu_id>(event.GetId()));
}

// ---- The sizes the shortcuts and menus change ----

void vusk_mw::zoom_in()
{
    menus_.set_text_font_size(std::min(global_font_size + 1, font_size_max));
}

void vusk_mw::zoom_out()
{
    if (global_font_size - 1 < smallest_zoom) {
        global_font_size = smallest_zoom;
        return;
    }
    menus_.set_text_font_size(global_font_size - 1);
}

void vusk_mw::incr_chan_window_size()
{
    TConfig::Instance()->SetChannelHeight(bigger_channel_height(TConfig::Instance()->GetChannelHeight()));
    resize();
}

void vusk_mw::decr_chan_window_size()
{
    TConfig::Instance()->SetChannelHeight(smaller_channel_height(TConfig::Instance()->GetChannelHeight()));
    resize();
}

void vusk_mw::incr_input_window_size()
{
    TConfig::Instance()->SetInputHeight(bigger_input_height(TConfig::Instance()->GetInputHeight()));
    resize();
    Refresh(true);
}

void vusk_mw::decr_input_window_size()
{
    TConfig::Instance()->SetInputHeight(smaller_input_height(TConfig::Instance()->GetInputHeight()));
    resize();
    Refresh(true);
}

void vusk_mw::toggle_automap_display()
{
    set_automap_display_enable(toggled(TConfig::Instance()->GetAutomapEnable()));
}

void vusk_mw::incr_automap_size()
{
    menus_.set_map_size(TConfig::Instance()->GetAutomapSize() + 2);
}

void vusk_mw::decr_automap_size()
{
    menus_.set_map_size(std::max(TConfig::Instance()->GetAutomapSize() - 2, automap_size_min));
}

void vusk_mw::save_logfile(const wxString &path, bool plain_text)
{
    display_write(menus_.logfile_saving_text(path, plain_text).c_str());
    main_display()->refresh_text();
}

