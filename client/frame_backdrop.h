#ifndef VUSK_FRAME_BACKDROP_H
#define VUSK_FRAME_BACKDROP_H

// What the main frame paints behind its windows: the background in the
// player's style and colour, and the game's logo with the web host's name
// under it in the corner the layout leaves free. A press on the logo opens
// the game's web page.

#include "logo_layout.h"
#include "screen_blit.h"
#include "vusk_background.h"

class wxMouseEvent;
class wxWindow;

class vusk_frame_backdrop {
public:
    // Draws the background anew when the frame's size, the settings or
    // `force` ask for it; `laid_out_size` stands in while the frame has no
    // size of its own.
    void redraw_background(wxWindow &frame, int force, wxSize laid_out_size);
    // The logo's corner follows the layout; the same rectangle answers clicks.
    void place_logo(wxWindow &frame);
    // In the frame's paint event.
    void paint(wxWindow &frame);
    // True once for each press of the left button that lands on the logo.
    bool logo_pressed(const wxMouseEvent &event);

private:
    void paint_logo(wxWindow &frame);

    vusk_background background_;
    screen_blit background_blit_;
    logo_layout logo_;
    bool logo_opened_this_press_ = false;
};

#endif
