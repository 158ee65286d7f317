#ifndef VUSK_MAIN_WINDOW_H
#define VUSK_MAIN_WINDOW_H

// The main text display: the ANSI display the game's text goes to, which
// also applies the player's scrollbar setting whenever it is laid out.

#include "vusk_ansi_display.h"

class vusk_main_window : public vusk_ansi_display {
public:
    vusk_main_window(wxWindow *parent, int id, const wxString &name);

    using vusk_ansi_display::SetSize;

    // Lays the display out when forced or when the scrollbar setting no
    // longer matches the display.
    void resize(int force) override;
};

#endif
