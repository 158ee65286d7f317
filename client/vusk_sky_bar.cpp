#include "vusk_sky_bar.h"

#include "frame_calls.h"
#include "nrandom.h"
#include "panel_tooltip.h"
#include "sky_model.h"

#include <algorithm>

namespace {

constexpr int initial_size = 20;
constexpr int star_base_brightness = 192;
constexpr int star_brightness_range = 64;
constexpr int reddish_one_in = 4;
constexpr vusk_color hidden_sky_edge(160, 160, 160);
constexpr vusk_color sun_rim(255, 255, 0);
constexpr vusk_color sun_face(255, 255, 255);
constexpr vusk_color dim_sun_rim(208, 208, 208);
constexpr vusk_color dim_sun_face(224, 224, 224);
constexpr vusk_color moon_rim(192, 192, 192);
constexpr vusk_color moon_face(255, 255, 255);
constexpr vusk_color dim_moon_rim(128, 128, 128);
constexpr vusk_color dim_moon_face(192, 192, 192);
constexpr int glow_share = 8; // the glow covers an eighth of the width
constexpr int disc_share = 5; // sun and moon are a fifth of the height across each way

const char default_tip[] = "The current view of the sky is displayed here.";
const char no_sky_tip[] = "You can't see the sky from here.";
const char clear_outdoors_tip[] = "The sky is clear.";
const char clear_indoors_tip[] = "You can see the clear sky from here.";
const char overcast_outdoors_tip[] = "It is cloudy and overcast.";
const char overcast_indoors_tip[] = "You can see the overcast sky from here.";

const char *sky_tip(int outdoors, int sky_visible, int overcast)
{
    if (!sky_visible)
        return no_sky_tip;
    if (overcast)
        return outdoors ? overcast_outdoors_tip : overcast_indoors_tip;
    return outdoors ? clear_outdoors_tip : clear_indoors_tip;
}

void draw_disc(vusk_bitmap &bitmap, int64_t x, int y, int radius, const vusk_color &rim, const vusk_color &face)
{
    bitmap.DrawFilledCircle(int(x), y, radius + 1, rim);
    bitmap.DrawFilledCircle(int(x), y, radius, face);
}

} // namespace

wxBEGIN_EVENT_TABLE(vusk_sky_bar, vusk_embedded_window)
    EVT_SET_FOCUS(vusk_sky_bar::OnFocusGot)
wxEND_EVENT_TABLE()

vusk_sky_bar::vusk_sky_bar(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0)
{
    for (int star = 0; star < star_count; ++star)
        make_star(star);
    reset();
}

// Three stars in four are bluish, the rest reddish.
void vusk_sky_bar::make_star(int star)
{
    star_x[star] = frand();
    star_y[star] = frand();
    const int b = star_base_brightness + xrand(star_brightness_range);
    if (xrand() % reddish_one_in != 0) {
        star_blue[star] = b;
        star_green[star] = (xrand(b) + 3 * b) / 4;
        star_red[star] = (xrand(star_green[star]) + 3 * star_green[star]) / 4;
    } else {
        star_red[star] = b;
        star_green[star] = (3 * xrand(b) + b) / 4;
        star_blue[star] = (3 * xrand(star_green[star]) + star_green[star]) / 4;
    }
}

void vusk_sky_bar::reset()
{
    show_panel_tooltip(this, tooltip_, default_tip);
}

void vusk_sky_bar::update_time(int is_outdoors, int is_sky_visible, int is_overcast, int value, int minute_of_the_day)
{
    outdoors = is_outdoors;
    sky_visible = is_sky_visible;
    overcast = is_overcast;
    sky_value = value;
    minute = minute_of_day(minute_of_the_day);
    show_panel_tooltip(this, tooltip_, sky_tip(outdoors, sky_visible, overcast));
}

void vusk_sky_bar::resize(int)
{
    repaint();
}

void vusk_sky_bar::repaint_dc(vusk_bitmap &bitmap)
{
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (!sky_visible) {
        bitmap.Clear(vusk_BLACK);
        bitmap.DrawLine(0, 0, 0, h, hidden_sky_edge);
        bitmap.DrawLine(w - 1, 0, w - 1, h, hidden_sky_edge);
        return;
    }
    const sky_light light = sky_light_at(minute, outdoors != 0, overcast != 0);
    bitmap.Clear(light.sky);
    const int dawn = dawn_glow(minute);
    if (dawn >= 0)
        bitmap.DrawXGradientRectangle(0, 0, w / glow_share, h - 1, glow_colour(light.sky, dawn), light.sky);
    const int dusk = dusk_glow(minute);
    if (dusk >= 0)
        bitmap.DrawXGradientRectangle(w - w / glow_share, 0, w - 1, h - 1, light.sky, glow_colour(light.sky, dusk));
    const int offset = sky_band_offset(w, minute);
    draw_stars(bitmap, offset, light);
    const int radius = h / disc_share;
    draw_disc(bitmap, wrap_on_band(offset + sun_band_x(w), w), h / 2, radius, light.dimmed ? dim_sun_rim : sun_rim,
              light.dimmed ? dim_sun_face : sun_face);
    draw_disc(bitmap, wrap_on_band(offset + moon_band_x(w), w), h / 2, radius,
              light.dimmed ? dim_moon_rim : moon_rim, light.dimmed ? dim_moon_face : moon_face);
    bitmap.DrawLine(0, 0, 0, h, vusk_WHITE);
    bitmap.DrawLine(w - 1, 0, w - 1, h, vusk_WHITE);
}

// Stars shine only as far as they are brighter than the sky; only the upper
// half of the band's height is seen.
void vusk_sky_bar::draw_stars(vusk_bitmap &bitmap, int offset, const sky_light &light)
{
    const int w = bitmap.GetWidth(), h = bitmap.GetHeight();
    const int s = light.dimmed ? light.star_strength / 2 : light.star_strength;
    const vusk_color &sky = light.sky;
    for (int star = 0; star < star_count; ++star) {
        const int64_t x = wrap_on_band(int64_t(2.0 * w * star_x[star]) + offset, w);
        if (x >= w)
            continue;
        const vusk_color colour(std::max(sky.r, s * star_red[star] / light.brightness),
                                std::max(sky.g, s * star_green[star] / light.brightness),
                                std::max(sky.b, s * star_blue[star] / light.brightness));
        bitmap.DrawPixel(int(x), int(2.0 * h * star_y[star]), colour);
    }
}

void vusk_sky_bar::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}
