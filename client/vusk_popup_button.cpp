#include "vusk_popup_button.h"

#include "button_calls.h"
#include "popup_geometry.h"
#include "vusk_popup_window.h"

#include <string>

namespace {
const char open_prefix[] = "tqlwindow open ";
const char close_prefix[] = "tqlwindow close ";
// The open and close lines are cut like every line the client builds.
constexpr size_t line_max = 7999;

void send_line(const char *prefix, const char *name)
{
    button_frame().handle_async_control_command((prefix + std::string(name)).substr(0, line_max).c_str(), 0);
}

void check_menu_item(const char *name, int state)
{
    button_frame().check_popup_menu_item(name, state);
}
} // namespace

wxBEGIN_EVENT_TABLE(vusk_popup_button, vusk_image_button)
    EVT_BUTTON(wxID_ANY, vusk_popup_button::clicked_handler)
wxEND_EVENT_TABLE()

vusk_popup_button::vusk_popup_button(wxWindow *parent, vusk_popup_window *window)
    : vusk_button(parent, wxID_ANY), window(window)
{
    toggle_mode = 1;
}

// The window is deleted by the toolkit later: nothing may reach it or this
// button through the pointers in between, and no text may go to it.
vusk_popup_button::~vusk_popup_button()
{
    if (window == nullptr)
        return;
    vusk_popup_window *gone = window;
    window = nullptr;
    gone->button = nullptr;
    button_frame().forget_display(&gone->display);
    gone->Hide();
    gone->Destroy();
}

void vusk_popup_button::unlink_window(vusk_popup_window *gone)
{
    if (window == gone)
        window = nullptr;
}

void vusk_popup_button::toggle_state()
{
    if (window == nullptr)
        return;
    if (window->IsShown())
        close_window();
    else
        open_window();
    focus_back_to_command_line(this);
}

void vusk_popup_button::open_window()
{
    check_menu_item(get_name(), 1);
    set_button_state(button_down);
    send_line(open_prefix, get_name());
    window->Show(true);
    const wxPoint at = window->GetPosition();
    const wxSize area = popup_display_area();
    const popup_position onscreen = bring_onto_display(at.x, at.y, window->GetSize().GetWidth(), area.x, area.y);
    window->Move(onscreen.x, onscreen.y);
    // Last: the command may be a client command that ends the session.
    window->cmd_refresh();
}

void vusk_popup_button::close_window()
{
    send_line(close_prefix, get_name());
    check_menu_item(get_name(), 0);
    set_button_state(button_up);
    if (window != nullptr)
        window->Hide();
}

void vusk_popup_button::clicked_handler(wxCommandEvent &)
{
    toggle_state();
}

void vusk_popup_button::change_window_font(vusk_font *font)
{
    if (window != nullptr)
        window->change_font(font);
}
