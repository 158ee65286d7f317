#ifndef VUSK_ANSI_SCROLLBAR_H
#define VUSK_ANSI_SCROLLBAR_H

// The vertical scrollbar of a text display. It never keeps the keyboard
// focus: a click on it hands the focus back to the command line.

#include <wx/scrolbar.h>

class vusk_ansi_scrollbar : public wxScrollBar {
public:
    explicit vusk_ansi_scrollbar(wxWindow *parent);

    void OnFocusGot(wxFocusEvent &event);

private:
    wxDECLARE_EVENT_TABLE();
};

#endif
