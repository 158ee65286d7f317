#ifndef VUSK_MAIN_WINDOW_H
#define VUSK_MAIN_WINDOW_H

// The main text display: the ANSI display the game's text goes to, which
// also applies the player's scrollbar setting whenever it is laid out, and
// places the panels that float over its text in the embedded layout.

#include "vusk_ansi_display.h"

class vusk_automap_display;

class vusk_main_window : public vusk_ansi_display {
public:
    vusk_main_window(wxWindow *parent, int id, const wxString &name);

    using vusk_ansi_display::SetSize;

    // Lays the display out when forced or when the scrollbar setting no
    // longer matches the display, and places the overlays.
    void resize(int force) override;

    // The automap panel, which floats over the text's top right corner
    // while its parent is the text area.
    void set_automap_overlay(vusk_automap_display *panel) { automap_overlay_ = panel; }

private:
    void place_overlays();

    vusk_automap_display *automap_overlay_ = nullptr;
};

#endif
