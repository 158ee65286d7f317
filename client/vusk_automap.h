#ifndef VUSK_AUTOMAP_H
#define VUSK_AUTOMAP_H

// The automap panel: a caption strip ("  Map  " while logged out, the area
// name, or "Combat!" during a fight), a one-pixel border that can flash, and
// below them the map window. One panel lives as long as the program, docked
// in the main frame, floating over the main display, or inside its own small
// frame; the main frame moves and places it.
//
// It owns the automap's tags: "map", "walkfail" and the exit mask of "dirs"
// go on to the map window, "areaname", "combat" and "ncombat" set the caption.

#include "tag_owners.h"
#include "util.h"
#include "vusk_automap_renderer.h"
#include "vusk_embedded_window.h"

class vusk_automap_display : public vusk_embedded_window, public automap_tag_owner {
public:
    vusk_automap_display(wxWindow *parent, int id, const wxString &name);
    ~vusk_automap_display() override;

    using vusk_embedded_window::SetSize;

    int get_x_size() const { return GetSize().GetWidth(); }
    int get_y_size() const { return GetSize().GetHeight(); }
    // Sizes the panel around the map window of the current cell size.
    void recalc_size();
    void set_size(int cell_size);
    void incr_size();
    void decr_size();

    // automap_tag_owner
    void map_message(const char *data, int length) override;
    void walk_fail(const char *data, int length) override;
    void set_exit_mask(int exit_mask) override;
    void set_area_name(const char *name) override;
    void set_combat_mode(const char *data) override;
    void clear_combat_mode(const char *data) override;

    // After a disconnect: no area, no fight, no map.
    void full_clear();
    void start_newbie_demo_mode_flashing();
    void change_font();
    void change_button_font();
    void change_theme();

    vusk_automap_renderer &renderer() { return renderer_; }
    const vusk_automap_renderer &renderer() const { return renderer_; }
    const char *area_name() const { return area_name_.data; }
    bool combat() const { return combat_; }

    void focus_handler(wxFocusEvent &event);

    void resize(int) override {}
    int animation_callback(int milliseconds) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

private:
    void draw_caption(vusk_bitmap &bitmap);
    void draw_border(vusk_bitmap &bitmap);

    vusk_automap_renderer renderer_;
    Buffer area_name_;
    bool combat_ = false;

    wxDECLARE_EVENT_TABLE();
};

// The panel while it exists, else null.
extern vusk_automap_display *global_automap_display;

#endif
