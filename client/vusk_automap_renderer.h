#ifndef VUSK_AUTOMAP_RENDERER_H
#define VUSK_AUTOMAP_RENDERER_H

// The map window inside the automap panel. It keeps the map of the last
// "map" message drawn once in an off-screen picture, and each animation step
// only shows that picture at the current offset with the player marker (or a
// frame of the zoom). While the pointer is over it, a compass of eleven
// targets shows the exits; a click on one walks.

#include "automap_drawing.h"
#include "automap_model.h"
#include "vusk_embedded_window.h"

#include <memory>

class vusk_automap_renderer : public vusk_embedded_window {
public:
    vusk_automap_renderer(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    // "map": parsed and shown at once at rest, else kept until the
    // animation reaches it.
    void display_socket_data(const char *data, int length);
    // "walkfail": the view bumps toward the blocked direction.
    void walk_fail(const char *data, int length);
    // The map emptied, nothing waiting.
    void full_clear();
    // One animation step; the panel calls it on every main tick.
    void periodic_update();

    // Draws the map picture anew from the grid (nothing while logged out).
    void redraw();

    // Cell sizes: odd, 5 to 61. The window itself keeps its size: the
    // panel sizes it.
    void set_size(int cell_size);
    void incr_size();
    void decr_size();
    int cell_size() const { return model_.cell_size(); }
    int window_size() const { return window_size_; }

    // The exits of the "dirs" message, for the compass.
    void set_exit_mask(int exit_mask);
    int exit_mask() const { return exit_mask_; }

    const automap_model &model() const { return model_; }
    const pixel_view &map_picture() const { return map_bitmap_->view(); }
    bool mouse_inside() const { return mouse_inside_; }
    int hover_sector() const { return hover_sector_; }

    void mouse_event_handler(wxMouseEvent &event);
    void focus_handler(wxFocusEvent &event);

    void resize(int) override {}
    void repaint_dc(vusk_bitmap &bitmap) override;

private:
    void recalc_sizes();
    void draw_compass_labels(vusk_bitmap &bitmap);

    automap_model model_;
    int window_size_ = 0;
    std::unique_ptr<automap_canvas> map_bitmap_;
    int exit_mask_ = 0;
    bool mouse_inside_ = false;
    int hover_sector_ = 0;

    wxDECLARE_EVENT_TABLE();
};

#endif
