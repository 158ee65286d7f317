#ifndef VUSK_MENU_BAR_H
#define VUSK_MENU_BAR_H

// The main frame's menu bar and what its items do. The frame's event table
// hands every menu event to carry_out_menu_item; the items that show a
// setting follow it through show_setting; the Vote menu and the Windows menu
// are filled from what the server sends. What each item stands for is in the
// item tables (menus.h).

#include "config_effects.h"
#include "menu_ids.h"
#include "popup_menu_list.h"

#include <string>

struct menu_check;
class vusk_connection;
class vusk_display_router;
class vusk_mw;
class wxMenu;
class wxMenuBar;
class wxString;

class vusk_menu_bar {
public:
    vusk_menu_bar(vusk_mw &frame, vusk_connection &connection, vusk_display_router &router)
        : frame_(frame), connection_(connection), router_(router)
    {
    }

    // The bar with the main menus and the vote menu, for the frame to show.
    void build_menus();
    wxMenuBar *bar() const { return bar_; }
    // Every item showing a setting shows the current value.
    void show_all_settings();
    void show_setting(menu_setting setting, int value);
    // The automap's size items are enabled while the automap is.
    void enable_menu_items();
    // Every id has its case.
    void carry_out_menu_item(menu_id id);

    void set_text_font_size(int points);
    void set_map_size(int cell_size);
    // What saving the main display's scrollback to the file told the player.
    std::string logfile_saving_text(const wxString &path, bool plain_text);
    void menu_help_kb_shortcuts();

    // A "votemenu" tag's entry; the menu shows the entries once the tick
    // refills it.
    void vote_menu_entry(const char *number, const char *data);
    void refill_marked_vote_menu();

    // The Windows menu: an item for each popup window, newest first (at
    // most sixteen), checked while the window is open.
    void add_popup_menu_item(const char *name);
    void check_popup_menu_item(const char *name, int state);
    // Back to its one item "Not Connected".
    void clear_popup_menu();
    int popup_menu_count() const { return popup_menu_items_.count(); }

private:
    void show_mark(const menu_check &mark);
    void toggle_setting(menu_id id);
    void choose_setting(menu_id id);
    void open_listed_page(menu_id id);
    void write_framed(const std::string &text);
    void menu_file_connect();
    void menu_file_disconnect();
    void menu_file_logfile_save();
    void menu_view_clear_scrollback();
    void change_font_colours(int code, const char *word);
    void open_web_page(const std::string &url, const std::string &message);
    void send_help_command(const char *command);
    void menu_view_automap_docked();
    void menu_view_change_font();
    void menu_view_change_button_font();
    void menu_help_about();
    void menu_help_update();
    void build_vote_menu();
    void menu_vote_routine(int index);
    void menu_vote_open_all();
    void menu_vote_reminder_toggle();
    void rebuild_windows_menu();
    void popup_menu_handler(int id);
    void popup_menu_reset();

    vusk_mw &frame_;
    vusk_connection &connection_;
    vusk_display_router &router_;
    wxMenuBar *bar_ = nullptr;
    // Null when there are no voting pages.
    wxMenu *vote_menu_ = nullptr;
    bool vote_menu_marked_ = false;
    popup_menu_list popup_menu_items_;
    // While a Windows-menu item's handler runs the menu may not be deleted:
    // a reset asked for meanwhile is made once the handler is done.
    bool windows_menu_busy_ = false;
    bool windows_menu_rebuild_pending_ = false;
};

#endif
