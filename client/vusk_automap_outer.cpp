#include "vusk_automap_outer.h"

#include "panel_calls.h"

vusk_automap_frame *global_automap_frame = nullptr;

namespace {

// No resize border and no maximise box: the frame takes the panel's size.
constexpr long automap_frame_style =
    wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxMINIMIZE_BOX | wxFRAME_FLOAT_ON_PARENT | wxCLIP_CHILDREN;

}

wxBEGIN_EVENT_TABLE(vusk_automap_frame, vusk_frame)
    EVT_CLOSE(vusk_automap_frame::close_handler)
wxEND_EVENT_TABLE()

vusk_automap_frame::vusk_automap_frame(wxWindow *parent, int id, const wxString &title)
    : vusk_frame(parent, id, title, wxDefaultPosition, wxDefaultSize, automap_frame_style)
{
    SetBackgroundColour(*wxBLACK);
}

vusk_automap_frame::~vusk_automap_frame()
{
    if (global_automap_frame == this)
        global_automap_frame = nullptr;
}

// The close is not skipped: the frame stays, hidden with the automap.
void vusk_automap_frame::close_handler(wxCloseEvent &)
{
    panel_frame().set_automap_display_enable(0);
}
