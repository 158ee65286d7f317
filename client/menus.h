#ifndef VUSK_MENUS_H
#define VUSK_MENUS_H

// The main frame's menu bar: what each item is, which setting it shows, and
// the pages and texts its items lead to. The menu bar's handlers that read
// these tables are in menus.cpp beside them, the others in menu_bar.cpp.

#include "config_effects.h"

#include <string>

// The smallest text size the zoom and the font dialog give.
constexpr int smallest_zoom = 3;

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
