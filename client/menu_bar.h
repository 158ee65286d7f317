#ifndef VUSK_MENU_BAR_H
#define VUSK_MENU_BAR_H

// The main frame's menu bar and what its items do. The frame's event table
// hands every menu event to carry_out_menu_item; the items that show a
// setting follow it through show_setting. Its handlers are in menus.cpp
// (those that read the item tables) and menu_bar.cpp.

#include "config_effects.h"
#include "menu_ids.h"

#include <string>

class vusk_mw;
class wxString;

class vusk_menu_bar {
public:
    explicit vusk_menu_bar(vusk_mw &frame) : frame_(frame) {}

    // The main menus and the vote menu, into the frame's (still empty) bar.
    void build_menus();
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
    void menu_file_logfile_save();
    void menu_help_about();
    void menu_help_update();

private:
    void toggle_setting(menu_id id);
    void choose_setting(menu_id id);
    void open_listed_page(menu_id id);
    void write_framed(const std::string &text);
    void menu_file_connect();
    void menu_file_disconnect();
    void menu_view_clear_scrollback();
    void change_font_colours(int code, const char *word);
    void open_web_page(const std::string &url, const std::string &message);
    void send_help_command(const char *command);
    void menu_view_automap_docked();
    void menu_view_change_font();
    void menu_view_change_button_font();

    vusk_mw &frame_;
};

#endif
