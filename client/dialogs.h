#ifndef VUSK_DIALOGS_H
#define VUSK_DIALOGS_H

// The two logoff warnings, shown modeless over the main frame when the
// player quits or disconnects while a character is in the game. "Logoff"
// asks the game to take the character home and log it off; the other button
// quits or disconnects anyway; "Cancel" closes the warning. Without a
// connection "Logoff" has nothing to send and only closes the warning.

#include <wx/dialog.h>

class quit_dialog : public wxDialog {
public:
    quit_dialog(wxWindow *parent, int id, const wxString &title);

    void logoff_handler(wxCommandEvent &event);
    void quit_handler(wxCommandEvent &event);

private:
    wxDECLARE_EVENT_TABLE();
};

class disconnect_dialog : public wxDialog {
public:
    disconnect_dialog(wxWindow *parent, int id, const wxString &title);

    void logoff_handler(wxCommandEvent &event);
    void disconnect_handler(wxCommandEvent &event);

private:
    wxDECLARE_EVENT_TABLE();
};

// Shows a warning centred over `frame`, without changing its size.
void show_centred(wxDialog &dialog, const wxWindow &frame);

#endif
