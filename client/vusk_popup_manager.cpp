#include "vusk_popup_manager.h"

#include "panel_calls.h"
#include "popup_definition.h"
#include "popup_geometry.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_popup_button.h"
#include "vusk_popup_window.h"

#include <algorithm>

namespace {

// The bar's buttons are squares this much less than its height, this far
// from its top and left edges and from each other.
constexpr int button_height_less = 7;
constexpr int button_margin = 4;

void set_up_display(vusk_ansi_display &display, const popup_definition &definition)
{
    // A popup always shows what the server last put there, from the top,
    // filling the window without a frame.
    display.never_freeze = 1;
    display.set_has_frame(false);
    display.resize(1);
    display.textctrl().top_anchored = 1;
    if (definition.noscroll)
        display.set_scrollbar_enable(0);
    if (definition.nowrap)
        display.set_line_wrap_enable(0);
}

void delete_list(vusk_popup_button *&list)
{
    while (list != nullptr) {
        vusk_popup_button *button = list;
        list = button->next;
        button->Destroy();
    }
}

} // namespace

vusk_popup_manager::vusk_popup_manager(wxWindow *parent, int) : vusk_transparent_window(parent) {}

vusk_popup_manager::~vusk_popup_manager()
{
    delete_list(button_list);
    delete_list(menu_only_list);
}

template <class Action>
void vusk_popup_manager::for_each_button(Action action) const
{
    for (vusk_popup_button *list : {button_list, menu_only_list})
        for (vusk_popup_button *button = list; button != nullptr; button = button->next)
            action(*button);
}

int vusk_popup_manager::count() const
{
    int total = 0;
    for_each_button([&total](vusk_popup_button &) { ++total; });
    return total;
}

vusk_popup_button *vusk_popup_manager::find_button(const char *name) const
{
    if (name == nullptr)
        return nullptr;
    const std::string key = popup_key(name);
    vusk_popup_button *found = nullptr;
    for_each_button([&](vusk_popup_button &button) {
        if (found == nullptr && button.window != nullptr && key == button.get_name())
            found = &button;
    });
    return found;
}

vusk_popup_window *vusk_popup_manager::find_window(const char *name) const
{
    vusk_popup_button *button = find_button(name);
    return button != nullptr ? button->window : nullptr;
}

vusk_ansi_display *vusk_popup_manager::find_display(const char *name) const
{
    vusk_popup_window *window = find_window(name);
    return window != nullptr ? &window->display : nullptr;
}

void vusk_popup_manager::create_window(const char *data)
{
    popup_definition definition;
    if (!parse_popup_definition(data, definition) || find_window(definition.name.c_str()) != nullptr ||
        count() >= popup_cap)
        return;
    // Only its Windows menu item opens a menu-only popup; past the menu's
    // last item it could never be opened.
    if (definition.menuonly && count() >= popup_menu_items_max)
        return;
    panel_frame().carry_out_marked_font_work();
    auto *window = new vusk_popup_window(wxGetTopLevelParent(parent), wxID_ANY, bytes_to_wx(definition.title));
    popup_data record = TConfig::Instance()->GetPopupData(definition.name.c_str());
    if (record.width != 0) {
        const wxSize area = popup_display_area();
        const popup_extent size = clamp_to_display(record.width, record.height, area.x, area.y);
        window->SetSize(size.width, size.height);
    } else {
        window->set_text_size(definition.cols, definition.rows);
    }
    window->set_refresh_command(definition.refresh_command.c_str());
    set_up_display(window->display, definition);
    window->Move(record.x, record.y);
    record.cols = definition.cols;
    record.rows = definition.rows;
    TConfig::Instance()->SavePopupData(record);

    auto *button = new vusk_popup_button(parent, window);
    window->button = button;
    button->set_name(definition.name.c_str());
    panel_frame().add_popup_menu_item(button->get_name());
    vusk_popup_button *&list = definition.menuonly ? menu_only_list : button_list;
    button->next = list;
    list = button;
    button->Show(!definition.menuonly && shown != 0);
    if (!definition.menuonly)
        resize();
}

void vusk_popup_manager::toggle_window(int position)
{
    if (position < 1)
        return;
    vusk_popup_button *target = nullptr;
    int at = 0;
    for_each_button([&](vusk_popup_button &button) {
        if (++at == position)
            target = &button;
    });
    if (target != nullptr)
        target->toggle_state();
}

void vusk_popup_manager::save_positions()
{
    for_each_button([](vusk_popup_button &button) {
        if (button.window == nullptr)
            return;
        popup_data record = TConfig::Instance()->GetPopupData(button.get_name());
        const wxRect outer = button.window->GetRect();
        record.x = outer.x;
        record.y = outer.y;
        record.width = outer.width;
        record.height = outer.height;
        TConfig::Instance()->SavePopupData(record);
    });
}

void vusk_popup_manager::reset_positions()
{
    for_each_button([](vusk_popup_button &button) {
        if (button.window == nullptr)
            return;
        popup_data record = TConfig::Instance()->GetPopupData(button.get_name());
        button.window->Move(0, 0);
        button.window->set_text_size(record.cols, record.rows);
        record.x = 0;
        record.y = 0;
        record.width = 0;
        record.height = 0;
        TConfig::Instance()->SavePopupData(record);
    });
}

void vusk_popup_manager::clear()
{
    save_positions();
    delete_list(button_list);
    delete_list(menu_only_list);
    panel_frame().clear_popup_menu();
}

void vusk_popup_manager::show_handler(int new_shown)
{
    for (vusk_popup_button *button = button_list; button != nullptr; button = button->next)
        button->Show(new_shown != 0);
}

void vusk_popup_manager::resize()
{
    const int side = std::max(h - button_height_less, 1);
    int left = x + button_margin;
    for (vusk_popup_button *button = button_list; button != nullptr; button = button->next) {
        button->SetSize(left, y + button_margin, side, side);
        left += side + button_margin;
    }
}

void vusk_popup_manager::change_theme()
{
    for_each_button([](vusk_popup_button &button) { button.redraw_bitmaps(); });
}

void vusk_popup_manager::change_button_font()
{
    change_theme();
}

void vusk_popup_manager::change_font(vusk_font *font)
{
    for_each_button([font](vusk_popup_button &button) { button.change_window_font(font); });
}

void vusk_popup_manager::start_newbie_demo_mode_flashing()
{
    for (vusk_popup_button *button = button_list; button != nullptr; button = button->next)
        button->start_newbie_demo_mode_flashing();
}
