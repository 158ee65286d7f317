#include "vusk_command_button.h"

#include "button_calls.h"
#include "util.h"

wxBEGIN_EVENT_TABLE(vusk_command_button, vusk_image_button)
    EVT_BUTTON(wxID_ANY, vusk_command_button::clicked_handler)
wxEND_EVENT_TABLE()

vusk_command_button::vusk_command_button(wxWindow *parent) : vusk_button(parent, wxID_ANY)
{
    set_enabled(0);
}

void vusk_command_button::setup(const char *label, const char *new_command, int enabled)
{
    set_name(label);
    safe_strcpy(command, new_command, button_text_max + 1);
    set_enabled(enabled);
}

void vusk_command_button::clear()
{
    setup("", nullptr, 0);
}

// The button may have been disabled between the press and this event.
void vusk_command_button::clicked_handler(wxCommandEvent &)
{
    if (get_button_state() != button_disabled)
        button_frame().handle_async_control_command(command, 1);
    hand_back_to_command_line();
}
