#ifndef VUSK_MENUS_H
#define VUSK_MENUS_H

// The main frame's menu bar: what each item is, which setting it shows, and
// the pages and texts its items lead to. The menu bar (menu_bar.h) asks these
// tables.

#include "config_effects.h"

#include <string>
#include <vector>

// The smallest text size the zoom and the font dialog give.
constexpr int smallest_zoom = 3;

class TConfig;
class wxMenu;
class wxMenuBar;

// The menu item that shows a setting's value: its check item (checked when
// the value is nonzero) or, for a radio group, the value's item. GTK always
// keeps one item of a radio group checked, so a value outside the group
// shows the item of what is used in its place (the blue tables for unknown
// colour codes, the embedded layout, the second maze). id 0: no item.
struct menu_check {
    int id = 0;
    bool checked = false;
};
menu_check menu_item_for(menu_setting setting, int value);

// The setting a check item toggles and the setter's new value: the other of
// 0 and 1 (a stored 2 is on, and turns off). Returns false for other ids.
bool menu_toggle_for(int id, menu_setting *setting);
int toggled(int value);

// The radio item's setting and value; false for other ids.
bool menu_radio_for(int id, menu_setting *setting, int *value);

// The mark of every setting that has a menu item, and of the font colours
// in use, for the configuration's values.
std::vector<menu_check> setting_marks(const TConfig &config);
// Check item `id`: flips its setting through the setter and returns the
// mark of the new value; id 0 for other ids.
menu_check toggle_setting_of(int id, TConfig &config);
// Radio item `id`: gives its setting its value through the setter; false
// for other ids.
bool choose_setting_of(int id, TConfig &config);
// A font colour item's code and the word the player is told; false for
// other ids.
bool font_colour_for(int id, int *code, const char **word);

// "&File" to "&Help", the Windows menu with its one disabled item.
void append_main_menus(wxMenuBar &bar);
// The Windows menu while there are no popup windows: "Not Connected", disabled.
wxMenu *windows_menu();

// A page of the game's web presence opened from "Online &Info" or "&Maps":
// its address and the line written when the browser starts; false for ids
// that are no such page.
bool web_page_for(int id, std::string *url, std::string *message);

// One step of the sizes the menus and the keyboard change, kept within what
// the configuration files accept.
int bigger_channel_height(int height);
int smaller_channel_height(int height);
int bigger_input_height(int height);
int smaller_input_height(int height);

#endif
