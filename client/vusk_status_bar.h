#ifndef VUSK_STATUS_BAR_H
#define VUSK_STATUS_BAR_H

// The strip along the bottom of the main frame: status icons, the sky, the
// game's time of day, the averaged ping time and, while the main display is
// frozen, a lock sign that makes it follow again when clicked.

#include "status_bar_model.h"
#include "tag_owners.h"
#include "vusk_sky_bar.h"
#include "vusk_status_display_base.h"

#include <string>

class vusk_status_bar : public vusk_status_display_base,
                        public ping_statistics,
                        public status_bar_tag_owner {
public:
    static const char *const icon_tooltips[status_bar_icon_count];

    vusk_status_bar(wxWindow *parent, int id, const wxString &name);

    // Forgets pings, time and icons and hides the bar; the sky bar follows
    // its setting.
    void reset();
    void resize(int changed) override;
    void repaint_dc(vusk_bitmap &bitmap) override;

    // status_bar_tag_owner
    void update_sky_display(const char *data) override;
    void update_icon_display(const char *flags) override;

    const status_bar_geometry &geometry() const { return geometry_; }
    // The tooltip the pointer at x gets; empty for none.
    std::string tooltip_at(int x) const;

    std::string time_text;
    vusk_color time_colour;
    vusk_sky_bar sky_bar;
    int icons[status_bar_icon_count] = {};

private:
    void mouse_event_handler(wxMouseEvent &event);

    status_bar_geometry geometry_;
    std::string tooltip_;

    wxDECLARE_EVENT_TABLE();
};

#endif
