#include "vusk_frame.h"

vusk_frame::vusk_frame(wxWindow *parent, wxWindowID id, const wxString &title,
                       const wxPoint &position, const wxSize &size, long style)
    : wxFrame(parent, id, title, position, size, style)
{
    SetName(wxS("vusk frame ") + title);
}
