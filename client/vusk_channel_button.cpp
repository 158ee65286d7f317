#include "vusk_channel_button.h"

#include "borders.h"
#include "channel_tabs.h"
#include "frame_calls.h"
#include "mouse_event_table.h"
#include "vusk_channel_window.h"
#include "vusk_theme.h"

namespace {

constexpr int long_side_less = 3;
constexpr int short_side_less = 6;
constexpr int paging_top = 3;
constexpr int paging_right_room = 2;
constexpr int tab_sides = BORDER_LEFT | BORDER_TOP | BORDER_RIGHT;

// Theme slots of the three looks.
constexpr int notify_fill = 18;
constexpr int active_fill = 3;
constexpr int active_text = 4;
constexpr int inactive_fill = 18;

struct tab_look {
    vusk_color fill;
    vusk_color text;
    vusk_color border;
};

} // namespace

wxBEGIN_EVENT_TABLE(vusk_channel_button, vusk_image_button)
    VUSK_EVT_MOUSE_13(vusk_channel_button::clicked_handler)
wxEND_EVENT_TABLE()

vusk_channel_button::vusk_channel_button(vusk_channel_window *window, wxWindow *parent, int id)
    : vusk_button(parent, id), paging_button(this, wxID_ANY, window), channel_window(window)
{
    show_look();
}

void vusk_channel_button::place_paging_button(int w, int h, int side)
{
    paging_button.SetSize(w + paging_right_room - h, paging_top, side, side);
}

void vusk_channel_button::SetSize(int x, int y, int w, int h, int size_flags)
{
    vusk_button::SetSize(x, y, w, h, size_flags);
    place_paging_button(w, h, h - long_side_less);
}

void vusk_channel_button::SetSize(int w, int h)
{
    vusk_button::SetSize(w, h);
    place_paging_button(w, h, h - short_side_less);
}

void vusk_channel_button::redraw_bitmaps()
{
    const wxSize size = GetClientSize();
    const int w = size.GetWidth();
    vusk_bitmap bitmap(w, size.GetHeight());
    const auto paint = [&](const tab_look &look) {
        draw_button_background(bitmap, look.fill, look.fill, bevel_raised);
        draw_button_text(bitmap, get_name(), look.text);
        draw_strong_border(bitmap, w, bitmap.GetHeight(), tab_sides, &look.border);
        bitmap.with_pixels([&](pixel_view &view) {
            view.DrawPixel(2, 1, look.border);
            view.DrawPixel(w - 3, 1, look.border);
            view.DrawPixel(0, 0, vusk_BLACK);
            view.DrawPixel(w - 1, 0, vusk_BLACK);
        });
    };
    paint({current_button_theme[notify_fill], vusk_RED, vusk_GREY});
    set_image_clicked(bitmap);
    set_image_clicked_hover(bitmap);
    paint({current_button_theme[active_fill], current_button_theme[active_text], vusk_WHITE});
    set_image_default(bitmap);
    set_image_default_hover(bitmap);
    paint({current_button_theme[inactive_fill], vusk_LIGHT_GREY, vusk_GREY});
    set_image_disabled(bitmap);
    paging_button.redraw_bitmaps();
}

void vusk_channel_button::show_look()
{
    const int state = channel_tab_state(active != 0, notify != 0);
    set_button_state(state);
    paging_button.set_button_state(state);
}

void vusk_channel_button::set_active(int on)
{
    if (on == active)
        return;
    active = on;
    show_look();
}

void vusk_channel_button::set_notify(int on)
{
    if (on == notify)
        return;
    notify = on;
    show_look();
}

void vusk_channel_button::clicked_handler(wxMouseEvent &event)
{
    if (event.GetEventType() != wxEVT_LEFT_DOWN)
        return;
    channel_window->switch_tab(get_name());
    set_notify(0);
    focus_back_to_command_line(this);
}
