#include "vusk_status_bar.h"

#include "borders.h"
#include "builtin_images.h"
#include "global_fonts.h"
#include "mouse_event_table.h"
#include "panel_calls.h"
#include "panel_tooltip.h"
#include "sky_model.h"
#include "tqconfig.h"
#include "vusk_font.h"

#include <cstdio>

namespace {

constexpr vusk_color ping_colour(0, 255, 0);
constexpr vusk_color idle_time_colour(191, 191, 191);
constexpr vusk_color sky_time_colour(192, 192, 192);
const char ping_sample_text[] = "00000 ms";
const char time_sample_text[] = "00:00 pm";
const char ping_tip[] = "This is the round trip server ping time.\nValues above 500 ms indicate network lag.";
const char time_tip[] = "This is the in-game time of day.";
const char lock_tip[] = "Scrolling is locked (click to unlock).";
constexpr int ping_text_size = 32;

bool view_locked()
{
    return !panel_frame().scrolling_enabled();
}

} // namespace

const char *const vusk_status_bar::icon_tooltips[status_bar_icon_count] = {
    "You are not wielding anything.", "You are asleep.", "Spell 'burning hands'", "Spell 'shocking grasp'",
    "Spell 'sickening touch'"};

wxBEGIN_EVENT_TABLE(vusk_status_bar, vusk_status_display_base)
    VUSK_EVT_MOUSE_13(vusk_status_bar::mouse_event_handler)
wxEND_EVENT_TABLE()

vusk_status_bar::vusk_status_bar(wxWindow *parent, int id, const wxString &name)
    : vusk_status_display_base(parent, id, name), time_colour(vusk_BLACK), sky_bar(this, id, name)
{
    border_sides = BORDER_ALL;
    reset();
}

void vusk_status_bar::reset()
{
    reset_pings();
    time_text.clear();
    time_colour = idle_time_colour;
    parse_icon_flags(nullptr, icons);
    Hide();
    sky_bar.Show(TConfig::Instance()->GetSkyBar() != 0);
}

void vusk_status_bar::resize(int)
{
    const wxSize size = GetClientSize();
    int ping_width = 0, ping_height = 0, time_width = 0, time_height = 0;
    global_button_large_font->GetTextSize(ping_sample_text, &ping_width, &ping_height);
    global_button_large_font->GetTextSize(time_sample_text, &time_width, &time_height);
    const int lock_width = lock_bitmap != nullptr ? lock_bitmap->GetWidth() : 0;
    geometry_ = compute_status_bar_geometry(size.GetWidth(), size.GetHeight(), lock_width, ping_width, ping_height,
                                            time_width);
    sky_bar.SetSize(geometry_.sky_x, geometry_.sky_y, geometry_.sky_width, geometry_.sky_height);
    repaint();
}

void vusk_status_bar::repaint_dc(vusk_bitmap &bitmap)
{
    const vusk_font &font = *global_button_large_font;
    const status_bar_geometry &g = geometry_;
    bitmap.Clear(vusk_BLACK);
    if (ping_count > 0) {
        char text[ping_text_size];
        std::snprintf(text, sizeof text, "%5d ms", ping_average);
        bitmap.RenderTextTransparent(font, text, g.ping_x, g.text_y, ping_colour);
    }
    int time_width = 0, time_height = 0;
    font.GetTextSize(time_text.c_str(), &time_width, &time_height);
    bitmap.RenderTextTransparent(font, time_text.c_str(), g.time_right - time_width, g.text_y, time_colour);
    if (view_locked() && lock_bitmap != nullptr)
        bitmap.DrawBitmapNukeAlpha(*lock_bitmap, g.lock_x, 0);
    for (int i = 0; i < status_bar_icon_count; ++i) {
        if (icons[i] && icon_bitmaps[i] != nullptr)
            bitmap.DrawBitmapNukeAlpha(*icon_bitmaps[i], status_icon_x(i), status_icon_y);
    }
    if (border_sides != 0)
        draw_bottom_mode_border(bitmap, bitmap.GetWidth(), bitmap.GetHeight());
    sky_bar.repaint();
}

void vusk_status_bar::update_sky_display(const char *data)
{
    sky_state sky;
    if (!parse_sky_state(data, sky))
        return;
    time_text = sky.time_text;
    sky_bar.update_time(sky.outdoors, sky.sky_visible, sky.overcast, sky.sky_value, sky.minute);
    time_colour = sky_time_colour;
    schedule_repaint();
}

void vusk_status_bar::update_icon_display(const char *flags)
{
    if (parse_icon_flags(flags, icons))
        schedule_repaint();
}

std::string vusk_status_bar::tooltip_at(int x) const
{
    const status_bar_hit hit = status_bar_spot_at(geometry_, x, view_locked());
    switch (hit.spot) {
    case status_bar_spot::icon: return icons[hit.icon] ? icon_tooltips[hit.icon] : "";
    case status_bar_spot::ping: return ping_tip;
    case status_bar_spot::time: return time_tip;
    case status_bar_spot::lock: return lock_tip;
    case status_bar_spot::none: break;
    }
    return "";
}

void vusk_status_bar::mouse_event_handler(wxMouseEvent &event)
{
    const int x = event.GetX();
    const status_bar_hit hit = status_bar_spot_at(geometry_, x, view_locked());
    if (hit.spot == status_bar_spot::lock && event.LeftIsDown()) {
        panel_frame().enable_scrolling();
        return;
    }
    show_panel_tooltip(this, tooltip_, tooltip_at(x));
}
