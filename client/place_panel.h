#ifndef VUSK_PLACE_PANEL_H
#define VUSK_PLACE_PANEL_H

// Applies a placement the layout arithmetic computed to a window.

#include "mw_layout.h"

class wxWindow;
class vusk_embedded_window;

void apply_visibility(wxWindow *window, const panel_placement &placement);
// Moves and sizes the panel when the placement says so, then applies its
// visibility.
void place_panel(vusk_embedded_window *panel, const panel_placement &placement);

#endif
