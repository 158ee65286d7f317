#ifndef VUSK_STATUS_DISPLAY_BASE_H
#define VUSK_STATUS_DISPLAY_BASE_H

// The common base of the status display and the status bar: the large bar
// painters, the panel's raised border with its attention flash, and repaints
// that the tags ask for, done once per main tick however many tags came.

#include "vusk_embedded_window.h"

class vusk_status_display_base : public vusk_embedded_window {
public:
    vusk_status_display_base(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    int animation_callback(int milliseconds) override;

    // Three white edges: left, right and a middle line.
    static void draw_large_bar_bounds(vusk_bitmap &bitmap, int x, int y, int w, int h);
    // The bounds, filled up to `fill` (0..w) in the dark colour with bright
    // top and bottom lines.
    static void draw_large_bar(vusk_bitmap &bitmap, int x, int y, int w, int h, int fill, const vusk_color &dark,
                               const vusk_color &bright);
    // The raised border on `border_sides`, flashing while the flash runs.
    void draw_bottom_mode_border(vusk_bitmap &bitmap, int w, int h);
    void start_newbie_demo_mode_flashing();
    void change_button_font();
    void change_theme();

    // A tag changed what the panel shows; the next flush paints it.
    void schedule_repaint() { repaint_pending_ = true; }
    void flush_repaint();

    // Sides of the border, as draw_strong_border takes them; 0 draws none.
    int border_sides = 0;

private:
    void OnFocusGot(wxFocusEvent &event);

    bool repaint_pending_ = false;

    wxDECLARE_EVENT_TABLE();
};

#endif
