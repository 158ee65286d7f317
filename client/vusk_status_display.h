#ifndef VUSK_STATUS_DISPLAY_H
#define VUSK_STATUS_DISPLAY_H

// The panel above the command line: health, mana and movement bars with
// their numbers, the enemy's health with its name, and up to eight layered
// experience bars. The "hp", "enemyhp" and "xpp" tags feed it; three
// settings switch its bars.

#include "status_display_geometry.h"
#include "status_display_values.h"
#include "tag_owners.h"
#include "vusk_status_display_base.h"

#include <string>

class vusk_status_display : public vusk_status_display_base,
                            public status_display_values,
                            public status_tag_owner {
public:
    vusk_status_display(wxWindow *parent, int id, const wxString &name);

    // Forgets every value and hides the panel; the layout shows it again.
    void reset();
    void resize(int changed) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    // status_tag_owner
    void display_hp(const hp_values &values) override;
    void display_enemy_hp(const enemy_hp &enemy) override;
    void clear_enemy_hp() override;
    void display_xp_percentages(const xp_percentages &xp) override;

    const status_display_geometry &geometry() const { return geometry_; }
    // The tooltip the pointer at (x, y) gets; empty for none.
    const char *tooltip_at(int x, int y) const;

    int hpbar_enable = 0;
    int exp_display = 0;
    int enemy_hpbar_enable = 0;

private:
    void mouse_event_handler(wxMouseEvent &event);
    void draw_texts(vusk_bitmap &bitmap);
    void draw_hp_bars(vusk_bitmap &bitmap);
    void draw_exp_layers(vusk_bitmap &bitmap);
    // Shows the panel when any of its three settings is on, else hides it.
    void show_per_settings();

    status_display_geometry geometry_;
    std::string tooltip_;

    wxDECLARE_EVENT_TABLE();
};

#endif
