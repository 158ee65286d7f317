#ifndef VUSK_POPUP_MENU_LIST_H
#define VUSK_POPUP_MENU_LIST_H

// The popup windows that the Windows menu lists: the first sixteen created
// since the menu was last reset, in order of creation, each with its item
// id. Windowless.

#include "menu_ids.h"
#include "popup_definition.h"

#include <wx/string.h>

#include <string>
#include <vector>

static_assert(id_menu_popup_last - id_menu_popup_first + 1 == popup_menu_items_max,
              "one Windows-menu id for each popup the menu lists");

class popup_menu_list {
public:
    // The new item's id, or 0 when the menu is full.
    int add(const std::string &name);
    // The id of the item of that name, or 0.
    int id_of(const std::string &name) const;
    // The name an item id stands for, or null.
    const std::string *name_of(int id) const;
    int count() const { return int(names.size()); }
    // In order of creation.
    const std::vector<std::string> &listed() const { return names; }
    void clear() { names.clear(); }

private:
    std::vector<std::string> names;
};

// The item's label: the name as it shows, never empty.
wxString popup_menu_label(const std::string &name);

#endif
