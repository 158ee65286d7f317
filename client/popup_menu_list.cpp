#include "popup_menu_list.h"

#include "menu_label.h"

#include <algorithm>

namespace {
const char unnamed_label[] = "(unnamed window)";
}

int popup_menu_list::add(const std::string &name)
{
    if (count() >= popup_menu_items_max)
        return 0;
    names.push_back(name);
    return id_menu_popup_first + count() - 1;
}

int popup_menu_list::id_of(const std::string &name) const
{
    const auto found = std::find(names.begin(), names.end(), name);
    return found != names.end() ? id_menu_popup_first + int(found - names.begin()) : 0;
}

const std::string *popup_menu_list::name_of(int id) const
{
    const int index = id - id_menu_popup_first;
    return index >= 0 && index < count() ? &names[index] : nullptr;
}

wxString popup_menu_label(const std::string &name)
{
    return menu_label(name, unnamed_label);
}
