#ifndef VUSK_POPUP_BUTTON_H
#define VUSK_POPUP_BUTTON_H

// The toggle button of one popup window, labelled with the window's name
// (the name the popup is found by). It owns the window: pressing it opens or
// closes the window and tells the server; deleting it deletes the window.

#include "vusk_button.h"

class vusk_font;
class vusk_popup_window;

class vusk_popup_button : public vusk_button {
public:
    vusk_popup_button(wxWindow *parent, vusk_popup_window *window);
    ~vusk_popup_button() override;

    // Opens a closed window (telling the server, then sending its refresh
    // command) or closes an open one; the keyboard goes back to the command
    // line.
    void toggle_state();
    // Tells the server, unchecks the menu item and hides the window.
    void close_window();
    void clicked_handler(wxCommandEvent &event);
    void change_window_font(vusk_font *font);
    // The window is going: forget it, if it is ours.
    void unlink_window(vusk_popup_window *gone);

    vusk_popup_window *window;
    // The next button of whichever list of the popup manager holds it.
    vusk_popup_button *next = nullptr;

private:
    void open_window();

    wxDECLARE_EVENT_TABLE();
};

#endif
