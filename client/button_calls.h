#ifndef VUSK_BUTTON_CALLS_H
#define VUSK_BUTTON_CALLS_H

// The main frame as the buttons call it: besides the lines they send, a
// popup's button keeps the popup's Windows-menu item checked while it is
// open.

#include "frame_calls.h"

class button_calls : public virtual frame_calls {
public:
    // The Windows menu's item of the popup window of that name.
    virtual void check_popup_menu_item(const char * /*name*/, int /*state*/) {}
};

// The main frame, or without one a stand-in that does nothing.
button_calls &button_frame();

#endif
