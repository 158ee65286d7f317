#ifndef VUSK_FRAME_H
#define VUSK_FRAME_H

// The base of every top-level frame of the client: the main frame, the
// automap's own frame and the popup windows.

#include <wx/frame.h>

class vusk_frame : public wxFrame {
public:
    vusk_frame(wxWindow *parent, wxWindowID id, const wxString &title, const wxPoint &position,
               const wxSize &size, long style = wxDEFAULT_FRAME_STYLE);
};

#endif
