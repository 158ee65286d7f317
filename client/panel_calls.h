#ifndef VUSK_PANEL_CALLS_H
#define VUSK_PANEL_CALLS_H

// The main frame as the panels call it: the Windows menu's items of the
// popup windows, the automap switch and the area of the display the popups
// must stay on.

#include "frame_calls.h"

#include <wx/gdicmn.h>

class panel_calls : public virtual frame_calls {
public:
    virtual void add_popup_menu_item(const char * /*name*/) {}
    // Back to its one item "Not Connected".
    virtual void clear_popup_menu() {}
    // Switches the automap on or off in the settings and shows or hides it.
    virtual void set_automap_display_enable(int /*on*/) {}
    // Builds now the fonts that tags before this one in the same read asked
    // for, so that a popup is measured in the font it will show.
    virtual void carry_out_marked_font_work() {}
    // The usable area of the display the frame was shown on; wxDefaultSize
    // while it is not known.
    virtual wxSize display_area() const { return wxDefaultSize; }
};

// The main frame, or without one a stand-in that does nothing.
panel_calls &panel_frame();

#endif
