#ifndef VUSK_AUTOMAP_RENDERER_H
#define VUSK_AUTOMAP_RENDERER_H

// The map window inside the automap panel. It keeps the map of the last
// "map" message drawn once in an off-screen picture, and each animation step
// only shows that picture at the current offset with the player marker (or a
// frame of the zoom). While the pointer is over it, a compass of eleven
// targets shows the exits; a click on one walks.
//
// A read from the server may hold hundreds of map messages, each replacing
// the last at once. The model takes in every one as it comes; the picture is
// drawn, and the window painted, by the next tick's step (or an earlier
// paint), once, for what the model then holds.

#include "automap_drawing.h"
#include "automap_model.h"
#include "vusk_embedded_window.h"

#include <memory>

class vusk_automap_renderer : public vusk_embedded_window {
public:
    vusk_automap_renderer(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    // "map": parsed at once at rest, else kept until the animation reaches
    // it; the next tick shows it.
    void display_socket_data(const char *data, int length);
    // "walkfail": the view bumps toward the blocked direction.
    void walk_fail(const char *data, int length);
    // The map emptied, nothing waiting.
    void full_clear();
    // One animation step; the panel calls it on every main tick. It paints
    // the window when the view changed or a paint is due.
    void periodic_update();

    // Draws the map picture anew from the grid now (black while logged out).
    void redraw();

    // Cell sizes: odd, 5 to 61. The window itself keeps its size: the
    // panel sizes it.
    void set_size(int cell_size);
    void incr_size();
    void decr_size();
    int cell_size() const { return model_.cell_size(); }
    int window_size() const { return window_size_; }

    // The exits of the "dirs" message, for the compass; a compass on show
    // is painted anew by the next tick when they changed.
    void set_exit_mask(int exit_mask);
    int exit_mask() const { return exit_mask_; }

    const automap_model &model() const { return model_; }
    // The picture as last drawn: a new map is in it from the next tick on.
    const pixel_view &map_picture() const { return map_bitmap_->view(); }
    // How often the picture was drawn, and the window painted, so far.
    int pictures_drawn() const { return pictures_drawn_; }
    int paint_count() const { return paint_count_; }
    bool mouse_inside() const { return mouse_inside_; }
    int hover_sector() const { return hover_sector_; }

    void mouse_event_handler(wxMouseEvent &event);
    void focus_handler(wxFocusEvent &event);

    void resize(int) override {}
    void repaint_dc(vusk_bitmap &bitmap) override;

private:
    // What the picture must show before it is painted next: nothing new, a
    // blank (a map that came while logged out) or the grid.
    enum class picture_request { none, blank, map };

    // The grid changed: the picture is drawn as the login then stands, by the
    // next paint.
    void request_picture();
    void draw_requested_picture();
    void recalc_sizes();
    void draw_compass_labels(vusk_bitmap &bitmap);

    automap_model model_;
    int window_size_ = 0;
    std::unique_ptr<automap_canvas> map_bitmap_;
    picture_request picture_request_ = picture_request::none;
    bool paint_due_ = false;
    int pictures_drawn_ = 0;
    int paint_count_ = 0;
    int exit_mask_ = 0;
    bool mouse_inside_ = false;
    int hover_sector_ = 0;

    wxDECLARE_EVENT_TABLE();
};

#endif
