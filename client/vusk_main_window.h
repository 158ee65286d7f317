#ifndef VUSK_MAIN_WINDOW_H
#define VUSK_MAIN_WINDOW_H

// The main text display: the ANSI display the game's text goes to, which
// also applies the player's scrollbar setting whenever it is laid out, and
// in the embedded layout carries the group display over its text's top
// right corner.

#include "vusk_ansi_display.h"

class vusk_group_display;

class vusk_main_window : public vusk_ansi_display {
public:
    vusk_main_window(wxWindow *parent, int id, const wxString &name);

    using vusk_ansi_display::SetSize;

    // Lays the display out when forced or when the scrollbar setting no
    // longer matches the display, then places what floats over it.
    void resize(int force) override;

    // The group display, set by the main frame; it floats over the text
    // while its parent is the text area.
    vusk_group_display *group_overlay = nullptr;

private:
    void place_overlays();
};

#endif
