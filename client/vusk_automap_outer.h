#ifndef VUSK_AUTOMAP_OUTER_H
#define VUSK_AUTOMAP_OUTER_H

// The automap's own small frame, which holds the automap panel while the
// map is not docked. Closing it switches the automap off and only hides it:
// the frame lives as long as the program.

#include "vusk_frame.h"

class vusk_automap_frame : public vusk_frame {
public:
    vusk_automap_frame(wxWindow *parent, int id, const wxString &title);
    ~vusk_automap_frame() override;

    void close_handler(wxCloseEvent &event);

private:
    wxDECLARE_EVENT_TABLE();
};

// The frame while it exists, else null.
extern vusk_automap_frame *global_automap_frame;

#endif
