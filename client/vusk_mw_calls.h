#ifndef VUSK_MW_CALLS_H
#define VUSK_MW_CALLS_H

// The main frame as the windows and panels call it, all parts together. The
// main frame `vusk_mw` implements this and is `main_window` while it exists;
// tests put a fake in its place. Each kind of window reaches it through its
// own part: display_frame(), button_frame(), panel_frame(). The defaults do
// nothing, so a fake overrides only what it records.

#include "button_calls.h"
#include "display_calls.h"
#include "panel_calls.h"

class vusk_mw_calls : public display_calls, public button_calls, public panel_calls {
public:
    // Starts the countdown that saves and closes the program.
    virtual void system_shutdown_handler() {}
};

// The main frame while it exists, else null.
extern vusk_mw_calls *main_window;

#endif
