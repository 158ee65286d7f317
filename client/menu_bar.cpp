// The menu bar's handlers: the settings' items through the item tables
// (menus.h), connecting, the log, the fonts, the automap's place and size,
// the help texts; and the menus the server fills, the Vote menu and the
// Windows menu.
#include "menu_bar.h"

#include "ansi_palette.h"
#include "client_messages.h"
#include "command_line.h"
#include "connection.h"
#include "display_router.h"
#include "global_fonts.h"
#include "log_export.h"
#include "main.h"
#include "menu_ids.h"
#include "menus.h"
#include "settings_table.h"
#include "socket.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_font.h"
#include "vote_menu.h"
#include "vusk_main_window.h"
#include "vusk_popup_button.h"
#include "vusk_popup_manager.h"
#include "vusk_popup_window.h"

#include <wx/filedlg.h>
#include <wx/fontdlg.h>
#include <wx/menu.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

namespace {

const char separator_line[] = "\n-----------------------------------------------------";
const wxString windows_menu_title = wxS("&Windows");
// The automap's cell sizes of the Maps menu.
constexpr int automap_big = 15;
constexpr int automap_medium = 11;
constexpr int automap_small = 7;

// The dialog's choice, or nothing when it was cancelled.
bool choose_font(wxWindow *parent, const wxFont &initial, wxFont *chosen)
{
    wxFontData data;
    data.SetInitialFont(initial);
    wxFontDialog dialog(parent, data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    *chosen = dialog.GetFontData().GetChosenFont();
    // The configuration files keep sizes within this range.
    chosen->SetPointSize(std::clamp(chosen->GetPointSize(), smallest_zoom, font_size_max));
    return true;
}

} // namespace

void vusk_menu_bar::write_framed(const std::string &text)
{
    frame_.display_set_default_colors();
    frame_.display_write(text.c_str());
    frame_.main_display()->refresh_text();
}

void vusk_menu_bar::menu_file_connect()
{
    if (frame_.connected())
        write_framed("\nYou are already connected to the server.\n");
    else
        frame_.handle_async_control_command("connect", 0);
    frame_.main_display()->refresh_text();
}

// A connect under way is given up like a connection.
void vusk_menu_bar::menu_file_disconnect()
{
    if (!frame_.connected() && !connection_.connecting())
        write_framed("\nYou are not connected to the server.\n");
    else if (frame_.logged_in())
        frame_.verify_disconnect();
    else
        frame_.handle_async_control_command("//disconnect", 0);
    frame_.main_display()->refresh_text();
}

// The channels go too (a channel message in progress ends first).
void vusk_menu_bar::menu_view_clear_scrollback()
{
    router_.clear_channels();
    frame_.main_display()->clear_scrollback();
    write_framed("\n\nScrollback cleared.\n\n");
}

void vusk_menu_bar::change_font_colours(int code, const char *word)
{
    TConfig::Instance()->SetFontColors(code);
    select_ansi_palette(code);
    write_framed(std::string("\n\nFuture text will now use ") + word + " ansi colors.\n\n");
}

void vusk_menu_bar::open_web_page(const std::string &url, const std::string &message)
{
    if (frame_.http_fork(url.c_str()))
        write_framed("\n" + message + "\n");
}

void vusk_menu_bar::send_help_command(const char *command)
{
    if (frame_.connected() && frame_.logged_in()) {
        connection_.send(command);
        return;
    }
    const char *apology = frame_.connected() ? "\nSorry, but in-game help isn't available until after you have logged in."
                                      : "\nYou must be connected to the server to view the in-game help.";
    write_framed(std::string(separator_line) + apology +
                 "\n(The on-line help is the same, you could try there instead.)" + separator_line + "\n");
}

void vusk_menu_bar::set_text_font_size(int points)
{
    global_font_size = points;
    global_font->SetPointSize(points);
    frame_.main_display()->enable_scrolling();
    frame_.global_font_resync();
}

void vusk_menu_bar::menu_view_automap_docked()
{
    TConfig &config = *TConfig::Instance();
    if ((config.GetAutomapEnable() & 1) == 0) {
        config.SetAutomapEnable(config.GetAutomapEnable() | 1);
        frame_.set_automap_display_enable(1);
    }
    config.SetAutomapDocked(toggled(config.GetAutomapDocked()));
    show_setting(menu_setting::automap_docked, config.GetAutomapDocked());
    frame_.set_automap_dock_state();
    frame_.resize();
    frame_.Refresh(true);
}

void vusk_menu_bar::set_map_size(int cell_size)
{
    TConfig::Instance()->SetAutomapSize(cell_size);
    frame_.set_automap_size(TConfig::Instance()->GetAutomapSize());
    frame_.resize();
    frame_.Refresh(true);
}

void vusk_menu_bar::menu_view_change_font()
{
    wxFont chosen;
    if (!choose_font(&frame_, *global_font, &chosen))
        return;
    global_font_size = chosen.GetPointSize();
    global_font->bulk_change_font(chosen);
    frame_.global_font_resync();
}

void vusk_menu_bar::menu_view_change_button_font()
{
    wxFont chosen;
    if (!choose_font(&frame_, *global_button_small_font, &chosen))
        return;
    global_button_small_font->bulk_change_font(chosen);
    chosen.SetPointSize(chosen.GetPointSize() + large_button_font_step);
    global_button_large_font->bulk_change_font(chosen);
    frame_.button_font_resync();
}

void vusk_menu_bar::menu_file_logfile_save()
{
    wxFileDialog dialog(&frame_, wxS("Save Logfile"), wxString(), wxString(),
                        wxS("Save as HTML|*.html|Save as Plain Text|*.txt"), wxFD_SAVE | wxFD_OVERWRITE_PROMPT,
                        wxDefaultPosition, wxDefaultSize, wxS("filedlg"));
    if (dialog.ShowModal() != wxID_OK)
        return;
    frame_.save_logfile(dialog.GetPath(), dialog.GetFilterIndex() != 0);
}

std::string vusk_menu_bar::logfile_saving_text(const wxString &path, bool plain_text)
{
    const std::string name = wx_to_bytes(path);
    if (path.empty())
        return "\n\nError - unable to open file, no name specified?";
    FILE *file = wxFopen(path, wxS("wb"));
    if (file == nullptr)
        return "\n\nError - unable to open file '" + name + "'.\nLogfile was not saved!\n\n";
    const bool written = plain_text ? frame_.main_display()->render_text_to_file(file)
                                    : frame_.main_display()->render_html_to_file(file);
    if (fclose(file) != 0 || !written)
        return "\n\nError - writing file '" + name + "' failed.\nLogfile was not saved completely!\n\n";
    return std::string(plain_text ? "\n\nPlain text log saved to file '" : "\n\nHTML log saved to file '") + name +
           "'.\n\n";
}

void vusk_menu_bar::menu_help_about()
{
    frame_.display_set_default_colors();
    frame_.display_write((std::string("\n") + separator_line + "\nVarn Ossic MUD Client Version " + client_version +
                   "\n\nConfig directory: " + global_config_directory_path + "\n" +
                   "\nThe game's web site: " + web_page_url("/") + separator_line + "\n")
                      .c_str());
    if (frame_.connected() && frame_.logged_in())
        connection_.send("version");
    else
        frame_.display_write("\nUnable to retrieve server version.");
    frame_.main_display()->refresh_text();
}

void vusk_menu_bar::menu_help_update()
{
    if (frame_.connected() && frame_.logged_in()) {
        connection_.send("update");
        return;
    }
    write_framed(std::string(separator_line) + "\nSorry, you must be logged in to check for updates." +
                 separator_line + "\n");
}

void vusk_menu_bar::menu_help_kb_shortcuts()
{
    frame_.display_set_default_colors();
    show_styled(*frame_.main_display(), keyboard_shortcuts_text(frame_.logged_in()));
}

// ---- The Vote menu ----

void vusk_menu_bar::build_vote_menu()
{
    vote_menu_ = new wxMenu;
    if (fill_voting_menu(*vote_menu_)) {
        bar_->Append(vote_menu_, wxS("&Vote"));
    } else {
        delete vote_menu_;
        vote_menu_ = nullptr;
    }
}

// The menu may be open while the tag arrives: its items are replaced in
// place rather than the menu being swapped out from under it.
void vusk_menu_bar::vote_menu_entry(const char *number, const char *data)
{
    setup_vote_menu(number, data);
    vote_menu_marked_ = true;
}

void vusk_menu_bar::refill_marked_vote_menu()
{
    if (std::exchange(vote_menu_marked_, false) && vote_menu_ != nullptr)
        fill_voting_menu(*vote_menu_);
}

void vusk_menu_bar::menu_vote_routine(int index)
{
    const char *url = voting_url_of(index);
    if (url == nullptr)
        return;
    global_last_voting_time = int(time(nullptr));
    frame_.http_fork(url);
}

void vusk_menu_bar::menu_vote_open_all()
{
    for (int index = voting_url_count - 1; index >= 0; --index)
        menu_vote_routine(index);
}

void vusk_menu_bar::menu_vote_reminder_toggle()
{
    global_last_voting_reminder_time = int(time(nullptr));
    global_voting_reminder_enable = global_voting_reminder_enable ? 0 : 1;
    if (vote_menu_ != nullptr)
        vote_menu_->Check(id_menu_vote_reminder, global_voting_reminder_enable != 0);
    // The settings status line reports the switch: let the server hear of it.
    TConfig::Instance()->config_update_pending = 1;
    frame_.display_set_default_colors();
    show_styled(*frame_.main_display(), voting_reminder_switch_text(global_voting_reminder_enable != 0));
}

// ---- The Windows menu ----

namespace {
wxMenu *find_windows_menu(wxMenuBar *bar)
{
    const int position = bar != nullptr ? bar->FindMenu(windows_menu_title) : wxNOT_FOUND;
    return position != wxNOT_FOUND ? bar->GetMenu(position) : nullptr;
}
}

void vusk_menu_bar::add_popup_menu_item(const char *name)
{
    wxMenu *menu = find_windows_menu(bar_);
    if (menu == nullptr)
        return;
    const int id = popup_menu_items_.add(name);
    if (windows_menu_rebuild_pending_)
        return;
    if (menu->FindItem(id_menu_windows_not_connected) != nullptr)
        menu->Destroy(id_menu_windows_not_connected);
    if (menu->FindItem(id_menu_popup_reset) == nullptr) {
        menu->AppendSeparator();
        menu->Append(id_menu_popup_reset, wxS("&Reset Window Positions"));
    }
    // Newest first, while the ids count up in order of creation.
    if (id != 0)
        menu->Insert(0, id, popup_menu_label(name), wxEmptyString, wxITEM_CHECK);
}

void vusk_menu_bar::check_popup_menu_item(const char *name, int state)
{
    wxMenu *menu = find_windows_menu(bar_);
    const int id = popup_menu_items_.id_of(name);
    if (menu != nullptr && id != 0 && menu->FindItem(id) != nullptr)
        menu->Check(id, state != 0);
}

void vusk_menu_bar::clear_popup_menu()
{
    popup_menu_items_.clear();
    if (windows_menu_busy_)
        windows_menu_rebuild_pending_ = true;
    else
        rebuild_windows_menu();
}

// A fresh menu in the old one's place, listing what was added since the
// clear that asked for it.
void vusk_menu_bar::rebuild_windows_menu()
{
    windows_menu_rebuild_pending_ = false;
    const int position = bar_->FindMenu(windows_menu_title);
    if (position == wxNOT_FOUND)
        return;
    delete bar_->Remove(position);
    bar_->Insert(position, windows_menu(), windows_menu_title);
    const popup_menu_list listed = std::exchange(popup_menu_items_, popup_menu_list());
    for (const std::string &name : listed.listed())
        add_popup_menu_item(name.c_str());
}

void vusk_menu_bar::popup_menu_handler(int id)
{
    const std::string *listed = popup_menu_items_.name_of(id);
    vusk_popup_window *window = listed != nullptr ? frame_.popup_manager()->find_window(listed->c_str()) : nullptr;
    if (window == nullptr || window->button == nullptr)
        return;
    windows_menu_busy_ = true;
    window->button->toggle_state();
    windows_menu_busy_ = false;
    if (windows_menu_rebuild_pending_)
        rebuild_windows_menu();
}

void vusk_menu_bar::popup_menu_reset()
{
    frame_.popup_manager()->reset_positions();
}

void vusk_menu_bar::build_menus()
{
    bar_ = new wxMenuBar;
    append_main_menus(*bar_);
    build_vote_menu();
}

void vusk_menu_bar::show_all_settings()
{
    for (const menu_check &mark : setting_marks(*TConfig::Instance()))
        show_mark(mark);
}

void vusk_menu_bar::show_setting(menu_setting setting, int value)
{
    show_mark(menu_item_for(setting, value));
}

// A login or a server's command shows every setting again: an item already
// showing the value is left alone.
void vusk_menu_bar::show_mark(const menu_check &mark)
{
    wxMenuItem *entry = mark.id != 0 && bar_ != nullptr ? bar_->FindItem(mark.id) : nullptr;
    if (entry != nullptr && entry->IsChecked() != mark.checked)
        entry->Check(mark.checked);
}

void vusk_menu_bar::enable_menu_items()
{
    const bool automap_on = TConfig::Instance()->GetAutomapEnable() != 0;
    for (int id : {id_menu_view_map_big, id_menu_view_map_med, id_menu_view_map_small, id_menu_view_map_incr,
                   id_menu_view_map_decr}) {
        wxMenuItem *entry = bar_ != nullptr ? bar_->FindItem(id) : nullptr;
        if (entry != nullptr && entry->IsEnabled() != automap_on)
            entry->Enable(automap_on);
    }
}

// Every id has its case and there is no default, so an item without a
// handler does not compile.
void vusk_menu_bar::carry_out_menu_item(menu_id id)
{
    TConfig &config = *TConfig::Instance();
    switch (id) {
    case id_menu_file_connect: menu_file_connect(); break;
    case id_menu_file_disconnect: menu_file_disconnect(); break;
    case id_menu_file_logfile_save: menu_file_logfile_save(); break;
    case id_menu_view_clear_scrollback: menu_view_clear_scrollback(); break;
    case id_menu_file_quit: frame_.verify_program_exit(); break;
    // The check items of the settings table (but the frame's own) toggle
    // their setting.
#define MENU_CHECK(setting, id, label) case id:
#define FRAME_CHECK(setting, id, label)
#define MENU_RADIO(setting)
#define NO_MENU
#define VUSK_SETTING_CASE(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                          shortcut)                                                                          \
    menu
#define VUSK_INSTALLATION_CASE(Accessor, status, menu) menu
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_CASE, VUSK_INSTALLATION_CASE)
        toggle_setting(id);
        break;
#undef VUSK_INSTALLATION_CASE
#undef VUSK_SETTING_CASE
#undef NO_MENU
#undef MENU_RADIO
#undef FRAME_CHECK
#undef MENU_CHECK
    case id_menu_view_layout_embedded:
    case id_menu_view_layout_left:
    case id_menu_view_layout_left_bottom:
    case id_menu_view_group_status_off:
    case id_menu_view_group_status_horizontal:
    case id_menu_view_group_status_vertical:
    case id_menu_theme_background_red:
    case id_menu_theme_background_brown:
    case id_menu_theme_background_yellow:
    case id_menu_theme_background_ygreen:
    case id_menu_theme_background_green:
    case id_menu_theme_background_cyan:
    case id_menu_theme_background_blue:
    case id_menu_theme_background_purple:
    case id_menu_theme_background_grey:
    case id_menu_theme_buttons_red:
    case id_menu_theme_buttons_brown:
    case id_menu_theme_buttons_yellow:
    case id_menu_theme_buttons_ygreen:
    case id_menu_theme_buttons_green:
    case id_menu_theme_buttons_cyan:
    case id_menu_theme_buttons_blue:
    case id_menu_theme_buttons_purple:
    case id_menu_theme_buttons_grey:
    case id_menu_theme_bg_none:
    case id_menu_theme_bg_solid:
    case id_menu_theme_bg_maze1:
    case id_menu_theme_bg_maze2:
    case id_menu_theme_bg_bubbles: choose_setting(id); break;
    case id_menu_pref_default: config.UseDefaultPrefs(); break;
    case id_menu_theme_default: {
        const tqconfig_settings defaults;
        config.SetButtonTheme(defaults.current_theme);
        config.SetBackgroundColor(defaults.current_background_theme);
        config.SetBackgroundStyle(defaults.theme_bg_setting);
        break;
    }
    case id_menu_view_font_color_default:
    case id_menu_view_font_color_zmud:
    case id_menu_view_font_color_gmud:
    case id_menu_view_font_color_bright: {
        int code = 0;
        const char *word = nullptr;
        if (font_colour_for(id, &code, &word))
            change_font_colours(code, word);
        break;
    }
    case id_menu_view_font_incr: frame_.zoom_in(); break;
    case id_menu_view_font_decr: frame_.zoom_out(); break;
    case id_menu_view_change_font: menu_view_change_font(); break;
    case id_menu_view_change_button_font: menu_view_change_button_font(); break;
    case id_menu_view_automap_display: frame_.toggle_automap_display(); break;
    case id_menu_view_automap_docked: menu_view_automap_docked(); break;
    case id_menu_view_map_big: set_map_size(automap_big); break;
    case id_menu_view_map_med: set_map_size(automap_medium); break;
    case id_menu_view_map_small: set_map_size(automap_small); break;
    case id_menu_view_map_incr: frame_.incr_automap_size(); break;
    case id_menu_view_map_decr: frame_.decr_automap_size(); break;
    case id_menu_help_kb_shortcuts: menu_help_kb_shortcuts(); break;
    case id_menu_help_mud_basic_help: send_help_command("help"); break;
    case id_menu_help_mud_more_help: send_help_command("help me"); break;
    case id_menu_help_web_main:
    case id_menu_help_web_forum:
    case id_menu_help_web_help:
    case id_menu_help_web_maps:
    case id_menu_help_web_shops:
    case id_menu_help_web_skills:
    case id_menu_help_web_quests:
    case id_menu_help_web_rules:
    case id_menu_help_web_commands:
    case id_menu_help_web_socials:
    case id_menu_help_web_faq:
    case id_menu_help_web_changes: open_listed_page(id); break;
    case id_menu_help_about: menu_help_about(); break;
    case id_menu_help_update: menu_help_update(); break;
    case id_menu_vote_1:
    case id_menu_vote_2:
    case id_menu_vote_3:
    case id_menu_vote_4:
    case id_menu_vote_5:
    case id_menu_vote_6:
    case id_menu_vote_7:
    case id_menu_vote_8: menu_vote_routine(id - id_menu_vote_first); break;
    case id_menu_vote_all: menu_vote_open_all(); break;
    case id_menu_vote_reminder: menu_vote_reminder_toggle(); break;
    case id_menu_popup_1:
    case id_menu_popup_2:
    case id_menu_popup_3:
    case id_menu_popup_4:
    case id_menu_popup_5:
    case id_menu_popup_6:
    case id_menu_popup_7:
    case id_menu_popup_8:
    case id_menu_popup_9:
    case id_menu_popup_10:
    case id_menu_popup_11:
    case id_menu_popup_12:
    case id_menu_popup_13:
    case id_menu_popup_14:
    case id_menu_popup_15:
    case id_menu_popup_16: popup_menu_handler(id); break;
    case id_menu_popup_reset: popup_menu_reset(); break;
    // Disabled: shown, never chosen.
    case id_menu_windows_not_connected: break;
    }
}

void vusk_menu_bar::toggle_setting(menu_id id)
{
    // Not every setter shows its value; the mark must follow it anyway.
    show_mark(toggle_setting_of(id, *TConfig::Instance()));
}

void vusk_menu_bar::choose_setting(menu_id id)
{
    choose_setting_of(id, *TConfig::Instance());
}

void vusk_menu_bar::open_listed_page(menu_id id)
{
    std::string url;
    std::string message;
    if (web_page_for(id, &url, &message))
        open_web_page(url, message);
}
