#ifndef VUSK_SKY_BAR_H
#define VUSK_SKY_BAR_H

// The small picture of the sky in the status bar: stars, sun and moon on a
// band that scrolls once a game day, lit by the time of day, dimmed when the
// sky is overcast or seen from indoors.

#include "vusk_embedded_window.h"

#include <string>

struct sky_light;

class vusk_sky_bar : public vusk_embedded_window {
public:
    static constexpr int star_count = 200;

    vusk_sky_bar(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    void reset();
    // Takes the sky state; the status bar's next repaint shows it.
    void update_time(int outdoors, int sky_visible, int overcast, int sky_value, int minute);
    void resize(int changed) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    const std::string &tooltip() const { return tooltip_; }

    int outdoors = 0;
    int sky_visible = 0;
    int overcast = 0;
    int sky_value = 0;
    int minute = 0;
    float star_x[star_count];
    float star_y[star_count];
    int star_red[star_count];
    int star_green[star_count];
    int star_blue[star_count];

private:
    void make_star(int star);
    void draw_stars(vusk_bitmap &bitmap, int offset, const sky_light &light);
    void OnFocusGot(wxFocusEvent &event);

    std::string tooltip_;

    wxDECLARE_EVENT_TABLE();
};

#endif
