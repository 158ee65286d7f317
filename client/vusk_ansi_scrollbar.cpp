#include "vusk_ansi_scrollbar.h"

#include "frame_calls.h"

wxBEGIN_EVENT_TABLE(vusk_ansi_scrollbar, wxScrollBar)
    EVT_SET_FOCUS(vusk_ansi_scrollbar::OnFocusGot)
wxEND_EVENT_TABLE()

vusk_ansi_scrollbar::vusk_ansi_scrollbar(wxWindow *parent)
    : wxScrollBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL,
                  wxDefaultValidator, wxS("scrollBar"))
{
}

void vusk_ansi_scrollbar::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}
