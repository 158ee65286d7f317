// The main frame's side of the popup windows and the channel window: building
// and placing them, the Windows menu, the lines the popups queue for the next
// tick, and the channel window's scrolling for the command line.
#include "main.h"

#include "menu_ids.h"
#include "menus.h"
#include "tqconfig.h"
#include "vusk_channel_window.h"
#include "vusk_main_window.h"
#include "vusk_popup_button.h"
#include "vusk_popup_manager.h"
#include "vusk_popup_window.h"

#include <wx/menu.h>

#include <utility>

namespace {
const wxString windows_menu_title = wxS("&Windows");
// More lines than a player can ask for within one tick; the rest are dropped.
constexpr size_t queued_commands_max = 64;
}

// A channel message in progress would go on filling the cleared channels.
void vusk_mw::clear_channels()
{
    connection_.tag_dispatcher().channel_undivert();
    channel_window()->clear();
}

// ---- Lines for the next tick ----

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

void vusk_mw::forget_display(vusk_ansi_display *display)
{
    if (current_display_ == display)
        current_display_ = main_display_;
}

// ---- The Windows menu ----

namespace {
wxMenu *find_windows_menu(wxMenuBar *bar)
{
    const int position = bar != nullptr ? bar->FindMenu(windows_menu_title) : wxNOT_FOUND;
    return position != wxNOT_FOUND ? bar->GetMenu(position) : nullptr;
}
}

void vusk_mw::add_popup_menu_item(const char *name)
{
    wxMenu *menu = find_windows_menu(menu_bar_);
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

void vusk_mw::check_popup_menu_item(const char *name, int state)
{
    wxMenu *menu = find_windows_menu(menu_bar_);
    const int id = popup_menu_items_.id_of(name);
    if (menu != nullptr && id != 0 && menu->FindItem(id) != nullptr)
        menu->Check(id, state != 0);
}

void vusk_mw::clear_popup_menu()
{
    popup_menu_items_.clear();
    if (windows_menu_busy_)
        windows_menu_rebuild_pending_ = true;
    else
        rebuild_windows_menu();
}

// A fresh menu in the old one's place, listing what was added since the
// clear that asked for it.
void vusk_mw::rebuild_windows_menu()
{
    windows_menu_rebuild_pending_ = false;
    const int position = menu_bar_->FindMenu(windows_menu_title);
    if (position == wxNOT_FOUND)
        return;
    delete menu_bar_->Remove(position);
    menu_bar_->Insert(position, windows_menu(), windows_menu_title);
    const popup_menu_list listed = std::exchange(popup_menu_items_, popup_menu_list());
    for (const std::string &name : listed.listed())
        add_popup_menu_item(name.c_str());
}

void vusk_mw::popup_menu_handler(int id)
{
    const std::string *listed = popup_menu_items_.name_of(id);
    vusk_popup_window *window = listed != nullptr ? popup_manager()->find_window(listed->c_str()) : nullptr;
    if (window == nullptr || window->button == nullptr)
        return;
    windows_menu_busy_ = true;
    window->button->toggle_state();
    windows_menu_busy_ = false;
    if (windows_menu_rebuild_pending_)
        rebuild_windows_menu();
}

void vusk_mw::popup_menu_reset()
{
    popup_manager()->reset_positions();
}

void vusk_mw::toggle_popup_window(int number)
{
    if (logged_in())
        popup_manager()->toggle_window(number);
}

// ---- The channel window's view, for the command line ----

int vusk_mw::channel_window_scrolling_enabled()
{
    return channel_window()->current_channel_scrolling_enabled();
}

void vusk_mw::set_channel_window_scrolling(int follow)
{
    channel_window()->set_current_channel_scrolling(follow);
}

void vusk_mw::clear_channel_window_selection()
{
    channel_window()->clear_mouse_selection();
}
