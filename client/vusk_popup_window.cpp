#include "vusk_popup_window.h"

#include "global_fonts.h"
#include "panel_calls.h"
#include "popup_definition.h"
#include "popup_geometry.h"
#include "scrollback_limit.h"
#include "text_bytes.h"
#include "vusk_popup_button.h"

#include <wx/display.h>

wxBEGIN_EVENT_TABLE(vusk_popup_window, vusk_frame)
    EVT_SIZE(vusk_popup_window::OnResize)
    EVT_CLOSE(vusk_popup_window::OnClose)
    EVT_ICONIZE(vusk_popup_window::OnIconize)
wxEND_EVENT_TABLE()

wxSize popup_display_area()
{
    const wxSize recorded = panel_frame().display_area();
    if (recorded.GetWidth() >= 1 && recorded.GetHeight() >= 1)
        return recorded;
    return wxGetClientDisplayRect().GetSize();
}

vusk_popup_window::vusk_popup_window(wxWindow *parent, int, const wxString &title)
    : vusk_frame(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
                 wxDEFAULT_FRAME_STYLE | wxFRAME_FLOAT_ON_PARENT),
      display(this, wxID_ANY, wxS("popup window ") + title + wxS(" display"))
{
    SetName(wxS("popup window ") + title);
    display.set_initial_font(global_font);
    display.set_scrollback_limit(side_display_scrollback_limit);
}

vusk_popup_window::~vusk_popup_window()
{
    if (button != nullptr)
        button->unlink_window(this);
}

void vusk_popup_window::set_text_size(int cols, int rows)
{
    int char_w = 0;
    int char_h = 0;
    display.textctrl().get_character_pixel_sizes(&char_w, &char_h);
    const wxSize area = popup_display_area();
    const popup_extent size = popup_text_client_size(cols, rows, char_w, char_h, area.x, area.y);
    SetClientSize(size.width, size.height);
}

void vusk_popup_window::set_refresh_command(const char *command)
{
    refresh_command = std::string(command != nullptr ? command : "").substr(0, popup_command_max);
}

void vusk_popup_window::cmd_refresh()
{
    panel_frame().queue_control_command(refresh_command.c_str());
}

void vusk_popup_window::change_font(vusk_font *font)
{
    display.change_font(font);
}

void vusk_popup_window::resize()
{
    const wxSize client = GetClientSize();
    const popup_extent size = popup_display_size(client.GetWidth(), client.GetHeight());
    display.SetSize(0, 0, size.width, size.height);
}

bool vusk_popup_window::Show(bool show)
{
    if (show && IsIconized())
        Iconize(false);
    return vusk_frame::Show(show);
}

void vusk_popup_window::OnResize(wxSizeEvent &)
{
    resize();
}

// The close box only hides the window: it lives until the popups are cleared.
void vusk_popup_window::OnClose(wxCloseEvent &)
{
    wxCommandEvent unused;
    close_handler(unused);
}

void vusk_popup_window::OnIconize(wxIconizeEvent &event)
{
    event.Skip();
}

void vusk_popup_window::close_handler(wxCommandEvent &)
{
    if (button != nullptr)
        button->close_window();
    else
        Hide();
}
