#include "vusk_main_window.h"

#include "tqconfig.h"

vusk_main_window::vusk_main_window(wxWindow *parent, int id, const wxString &name)
    : vusk_ansi_display(parent, id, name)
{
}

void vusk_main_window::resize(int force)
{
    const bool wanted = TConfig::Instance()->GetMwScrollbar() != 0;
    if (wanted != scrollbar_enabled()) {
        // Switching the scrollbar lays the display out again through
        // resize(1), which then finds the setting applied.
        set_scrollbar_enable(wanted);
        return;
    }
    if (force)
        vusk_ansi_display::resize(force);
}
