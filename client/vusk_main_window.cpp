#include "vusk_main_window.h"

#include "display_calls.h"
#include "mw_layout.h"
#include "tqconfig.h"
#include "vusk_automap.h"
#include "vusk_group_display.h"

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
    const TConfig &config = *TConfig::Instance();
    overlay_layout_input in;
    in.text_width = textctrl().GetSize().GetWidth();
    in.logged_in = display_frame().logged_in();
    in.automap_enable = config.GetAutomapEnable() != 0;
    in.group_status = config.GetGroupStatus();
    if (automap_overlay_ != nullptr) {
        in.has_automap = true;
        in.automap_overlaid = automap_overlay_->GetParent() == &textctrl();
        in.automap_cell_size = automap_overlay_->renderer().cell_size();
        in.automap_width = automap_overlay_->get_x_size();
        in.automap_height = automap_overlay_->get_y_size();
    }
    if (group_overlay_ != nullptr) {
        in.has_group = true;
        in.group_overlaid = group_overlay_->GetParent() == &textctrl();
        in.group_has_members = group_overlay_->has_rows();
        in.group_height = group_overlay_->get_ysize();
    }
    const overlay_layout out = compute_overlay_layout(in);
    if (automap_overlay_ != nullptr)
        place_panel(automap_overlay_, out.automap);
    if (group_overlay_ != nullptr)
        place_panel(group_overlay_, out.group_display);
}
