#include "place_panel.h"

#include "vusk_embedded_window.h"

void apply_visibility(wxWindow *window, const panel_placement &placement)
{
    if (placement.visibility != panel_visibility::unchanged)
        window->Show(placement.visibility == panel_visibility::show);
}

void place_panel(vusk_embedded_window *panel, const panel_placement &placement)
{
    if (placement.placed)
        panel->SetSize(placement.x, placement.y, placement.width, placement.height);
    apply_visibility(panel, placement);
}
