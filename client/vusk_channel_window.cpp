#include "vusk_channel_window.h"

#include "global_fonts.h"
#include "text_bytes.h"
#include "vusk_channel_button.h"
#include "vusk_channel_display.h"
#include "vusk_channel_paging_button.h"
#include "vusk_font.h"

#include <algorithm>
#include <utility>

namespace {

const char placeholder_label[] = "(no channel)";
const char placeholder_tab_tip[] = "There are no channels to display yet. When there are,\n"
                                   "use the buttons here to switch between channels.";
const char placeholder_text[] = " \n(Tabbed channel window - there are no channel sends to display yet.)\n";
const char placeholder_display_tip[] = "There are no channels to display yet. When\n"
                                       "there are, they will be displayed here.";
const char all_tip[] = "Display of all channels combined.";
const char all_text[] = " \nTabbed display for all channels combined.\n";

void place_tab(vusk_channel_button &tab, const button_rect &r)
{
    tab.SetSize(r.width, r.height);
    tab.Move(r.x, r.y);
}

void place(vusk_ansi_display &display, const button_rect &r)
{
    display.SetSize(r.x, r.y, r.width, r.height);
}

} // namespace

vusk_channel_window::vusk_channel_window(wxWindow *parent) : vusk_transparent_window(parent)
{
    shown = 0;
    paging_button = new vusk_channel_paging_button(parent, wxID_ANY, this);
    paging_button->set_toggle_mode(1);
    paging_button->redraw_bitmaps();
    paging_button->Hide();

    placeholder_button = new vusk_channel_button(this, parent, wxID_ANY);
    placeholder_button->set_active(1);
    placeholder_button->Hide();
    placeholder_button->set_name(placeholder_label);
    placeholder_button->SetToolTip(bytes_to_wx(placeholder_tab_tip));
    placeholder_button->paging_button.Hide();

    placeholder_display = new vusk_ansi_display(parent, wxID_ANY, wxS("Blank Channel Tab"));
    placeholder_display->Hide();
    placeholder_display->set_initial_font(global_font);
    placeholder_display->write(placeholder_text);
    placeholder_display->SetToolTip(bytes_to_wx(placeholder_display_tip));
}

// The windows are children of the parent, which must still exist.
vusk_channel_window::~vusk_channel_window()
{
    destroy_channels();
    placeholder_button->Destroy();
    placeholder_display->Destroy();
    paging_button->Destroy();
}

void vusk_channel_window::destroy_channels()
{
    for (const std::unique_ptr<channel_record> &record : channel_list) {
        record->button->Destroy();
        record->display->Destroy();
    }
    channel_list.clear();
}

void vusk_channel_window::set_divert_channel(const char *name)
{
    if (all_channel == nullptr)
        all_channel = find_or_create_channel(all_channel_name, 1);
    divert_channel = find_or_create_channel(name, 0);
}

void vusk_channel_window::clear_divert_channel()
{
    divert_channel = nullptr;
}

void vusk_channel_window::display_socket_data(const char *text, int length)
{
    if (divert_channel == nullptr || all_channel == nullptr)
        return;
    write_channel_text(*divert_channel, text, length);
    // "(all)" named as the channel gets the text once.
    if (divert_channel != all_channel)
        write_channel_text(*all_channel, text, length);
}

void vusk_channel_window::write_channel_text(channel_record &channel, const char *text, int length)
{
    channel.display->display_socket_data(text, length);
    if (&channel != current_channel)
        channel.button->set_notify(1);
}

channel_record *vusk_channel_window::find_channel(const char *name) const
{
    if (name == nullptr)
        return nullptr;
    const std::string key = channel_key(name);
    for (const std::unique_ptr<channel_record> &record : channel_list)
        if (record->name == key)
            return record.get();
    return nullptr;
}

channel_record *vusk_channel_window::find_or_create_channel(const char *name, int is_all)
{
    if (name == nullptr)
        return nullptr;
    if (channel_record *known = find_channel(name))
        return known;
    const int named_channels = int(channel_list.size()) - (all_channel != nullptr ? 1 : 0);
    if (!is_all && named_channels >= channel_cap)
        return all_channel;
    return create_channel(channel_key(name), is_all);
}

channel_record *vusk_channel_window::create_channel(const std::string &name, int is_all)
{
    auto record = std::make_unique<channel_record>();
    record->name = name;
    record->page = current_page;
    record->button = new vusk_channel_button(this, parent, wxID_ANY);
    record->button->Hide();
    record->button->set_name(name.c_str());
    record->button->paging_button.channel = record.get();
    record->display = new vusk_channel_display(record->button, parent, wxID_ANY, bytes_to_wx(name));
    record->display->Hide();
    record->display->set_initial_font(global_font);
    const wxString tip = is_all ? bytes_to_wx(all_tip) : bytes_to_wx("Tabbed display for channel '" + name + "'.");
    record->button->SetToolTip(tip);
    record->display->SetToolTip(tip);
    record->display->write(is_all ? all_text : (" \nTabbed display for channel '" + name + "'\n").c_str());

    const auto at = std::lower_bound(channel_list.begin(), channel_list.end(), name,
                                     [](const std::unique_ptr<channel_record> &r, const std::string &n) {
                                         return channel_sorts_before(r->name, n);
                                     });
    channel_record *created = channel_list.insert(at, std::move(record))->get();
    if (current_channel == nullptr) {
        current_channel = created;
        created->button->set_active(1);
    }
    new_channels = true;
    return created;
}

void vusk_channel_window::place_new_channels()
{
    if (!new_channels)
        return;
    new_channels = false;
    resize();
    show_handler(shown);
}

bool vusk_channel_window::on_current_page(const channel_record *record) const
{
    return record != nullptr && record->page == current_page;
}

bool vusk_channel_window::page_has_tabs() const
{
    return std::any_of(channel_list.begin(), channel_list.end(),
                       [this](const std::unique_ptr<channel_record> &r) { return on_current_page(r.get()); });
}

void vusk_channel_window::switch_tab(const char *name)
{
    if (channel_record *record = find_channel(name))
        current_channel = record;
    show_handler(shown);
}

void vusk_channel_window::do_page_flip()
{
    current_page ^= 1;
    std::swap(current_channel, other_page_channel);
    find_default_display_channel();
    paging_button->set_button_state(current_page == 1 ? button_down : button_up);
}

void vusk_channel_window::find_default_display_channel()
{
    if (on_current_page(current_channel))
        return;
    for (const std::unique_ptr<channel_record> &record : channel_list) {
        if (on_current_page(record.get())) {
            current_channel = record.get();
            return;
        }
    }
}

void vusk_channel_window::page_button_clicked(channel_record *channel)
{
    if (channel == nullptr)
        do_page_flip();
    else
        channel->page ^= 1;
    resize();
    show_handler(shown);
}

void vusk_channel_window::clear()
{
    current_channel = nullptr;
    other_page_channel = nullptr;
    divert_channel = nullptr;
    all_channel = nullptr;
    destroy_channels();
    show_handler(shown);
}

void vusk_channel_window::show_handler(int group_shown)
{
    const bool visible = group_shown != 0;
    find_default_display_channel();
    for (const std::unique_ptr<channel_record> &record : channel_list) {
        if (!on_current_page(record.get())) {
            record->display->Hide();
            record->button->Hide();
            continue;
        }
        const bool is_current = record.get() == current_channel;
        record->display->Show(is_current && visible);
        record->button->set_active(is_current ? 1 : 0);
        record->button->Show(visible);
        record->button->Refresh(false);
    }
    const bool placeholders = visible && !page_has_tabs();
    placeholder_button->Show(placeholders);
    placeholder_display->Show(placeholders);
    paging_button->Show(visible);
}

void vusk_channel_window::resize()
{
    int text_w = 0;
    int text_h = 0;
    global_button_large_font->GetTextSize(channel_tab_sample, &text_w, &text_h);
    int tabs = 0;
    for (const std::unique_ptr<channel_record> &record : channel_list) {
        tabs += on_current_page(record.get());
        record->display->refresh();
    }
    const channel_tab_geometry g = compute_channel_tabs(x, y, w, h, text_w, text_h, tabs);
    paging_button->SetSize(g.paging.x, g.paging.y, g.paging.width, g.paging.height);
    place_tab(*placeholder_button, g.first_tab);
    place(*placeholder_display, g.display);
    button_rect tab = g.first_tab;
    for (const std::unique_ptr<channel_record> &record : channel_list) {
        if (on_current_page(record.get())) {
            place_tab(*record->button, tab);
            tab.x += g.tab_pitch;
        }
        place(*record->display, g.display);
    }
}

void vusk_channel_window::change_theme()
{
    for (const std::unique_ptr<channel_record> &record : channel_list)
        record->button->redraw_bitmaps();
    placeholder_button->redraw_bitmaps();
    paging_button->redraw_bitmaps();
}

void vusk_channel_window::change_font(vusk_font *font)
{
    for (const std::unique_ptr<channel_record> &record : channel_list)
        record->display->change_font(font);
    placeholder_display->change_font(font);
}

void vusk_channel_window::change_button_font()
{
    resize();
}

vusk_ansi_display *vusk_channel_window::shown_display() const
{
    if (on_current_page(current_channel))
        return current_channel->display;
    return placeholder_display;
}

void vusk_channel_window::set_current_channel_scrolling(int on)
{
    if (on)
        shown_display()->enable_scrolling();
    else
        shown_display()->disable_scrolling();
}

int vusk_channel_window::current_channel_scrolling_enabled()
{
    return shown_display()->following;
}

void vusk_channel_window::clear_mouse_selection()
{
    shown_display()->textctrl().clear_mouse_selection();
}

void vusk_channel_window::update_all_displays_changed_flag()
{
    for (const std::unique_ptr<channel_record> &record : channel_list)
        if (record->display->changed())
            record->display->refresh_text();
}

void vusk_channel_window::clear_all_displays_changed_flag()
{
    for (const std::unique_ptr<channel_record> &record : channel_list)
        record->display->clear_changed();
}
