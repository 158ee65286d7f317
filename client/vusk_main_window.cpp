#include "vusk_main_window.h"

#include "mw_layout.h"
#include "place_panel.h"
#include "tqconfig.h"
#include "vusk_group_display.h"
#include "vusk_mw_calls.h"

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
    place_overlays();
}

void vusk_main_window::place_overlays()
{
    if (group_overlay == nullptr)
        return;
    const TConfig &config = *TConfig::Instance();
    overlay_layout_input in;
    in.text_width = textctrl().GetClientSize().GetWidth();
    in.logged_in = main_window != nullptr && main_window->logged_in();
    in.automap_enable = config.GetAutomapEnable() != 0;
    in.group_status = config.GetGroupStatus();
    in.has_group = true;
    in.group_overlaid = group_overlay->GetParent() == &textctrl();
    in.group_has_members = group_overlay->has_rows();
    in.group_height = group_overlay->get_ysize();
    place_panel(group_overlay, compute_overlay_layout(in).group_display);
}
