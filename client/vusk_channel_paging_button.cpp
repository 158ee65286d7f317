#include "vusk_channel_paging_button.h"

#include "borders.h"
#include "mouse_event_table.h"
#include "vusk_channel_window.h"
#include "vusk_theme.h"

namespace {
constexpr int up_fill = 3;
constexpr int down_fill = 18;
constexpr int stroke_inset = 3;
}

wxBEGIN_EVENT_TABLE(vusk_channel_paging_button, vusk_image_button)
    VUSK_EVT_MOUSE_13(vusk_channel_paging_button::clicked_handler)
wxEND_EVENT_TABLE()

vusk_channel_paging_button::vusk_channel_paging_button(wxWindow *parent, int id, vusk_channel_window *window)
    : vusk_button(parent, id), channel_window(window)
{
}

void vusk_channel_paging_button::redraw_bitmaps()
{
    const wxSize size = GetClientSize();
    const int w = size.GetWidth();
    const int h = size.GetHeight();
    const int right = w - 1 - stroke_inset;
    const int bottom = h - 1 - stroke_inset;
    vusk_bitmap up(w, h);
    up.Clear(current_button_theme[up_fill]);
    draw_thin_border(up, vusk_WHITE, w, h);
    up.with_pixels([&](pixel_view &view) { view.DrawLine(stroke_inset, stroke_inset, right, bottom, vusk_WHITE); });
    vusk_bitmap down(w, h);
    down.Clear(current_button_theme[down_fill]);
    draw_thin_border(down, vusk_LIGHT_GREY, w, h);
    down.with_pixels([&](pixel_view &view) { view.DrawLine(stroke_inset, bottom, right, stroke_inset, vusk_LIGHT_GREY); });
    set_image_default(up);
    set_image_default_hover(up);
    set_image_clicked(down);
    set_image_clicked_hover(down);
    set_image_disabled(down);
}

void vusk_channel_paging_button::clicked_handler(wxMouseEvent &event)
{
    if (event.GetEventType() == wxEVT_LEFT_DOWN)
        channel_window->page_button_clicked(channel);
}
