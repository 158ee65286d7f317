#ifndef VUSK_POPUP_WINDOW_H
#define VUSK_POPUP_WINDOW_H

// A popup window: a small frame floating over the main frame with a text
// display that the server fills by diverting or appending its output to it.
// Its button (in the popup bar, or only in the Windows menu) opens and
// closes it; closing it with its close box only hides it.

#include "vusk_frame.h"
#include "vusk_ansi_display.h"

#include <string>

class vusk_font;
class vusk_popup_button;

class vusk_popup_window : public vusk_frame {
public:
    vusk_popup_window(wxWindow *parent, int id, const wxString &title);
    ~vusk_popup_window() override;

    // The client area for that many characters and half a line more,
    // within the display.
    void set_text_size(int cols, int rows);
    // At most 400 characters are kept.
    void set_refresh_command(const char *command);
    // Sends the refresh command; the next main tick carries it out, so a
    // client command in it (say "//disconnect", which deletes this window)
    // never runs inside the handler that opened the window.
    void cmd_refresh();
    void change_font(vusk_font *font);
    // The display fills the client area.
    void resize();
    // Showing first brings an iconized window back.
    bool Show(bool show = true) override;

    void OnResize(wxSizeEvent &event);
    void OnClose(wxCloseEvent &event);
    void OnIconize(wxIconizeEvent &event);
    void close_handler(wxCommandEvent &event);

    vusk_ansi_display display;
    vusk_popup_button *button = nullptr;

private:
    std::string refresh_command;

    wxDECLARE_EVENT_TABLE();
};

// The area of the display the popups must stay on.
wxSize popup_display_area();

#endif
