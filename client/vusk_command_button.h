#ifndef VUSK_COMMAND_BUTTON_H
#define VUSK_COMMAND_BUTTON_H

// A text button that sends a stored command line when pressed, through the
// main frame like a typed line (with the local echo), then gives the
// keyboard back to the command line. It starts disabled and empty.

#include "vusk_button.h"

class vusk_command_button : public vusk_button {
public:
    explicit vusk_command_button(wxWindow *parent);

    // Label and command keep at most 400 characters each; null is empty.
    void setup(const char *label, const char *command, int enabled);
    void clear();
    const char *get_command() const { return command; }

    void clicked_handler(wxCommandEvent &event);

private:
    char command[button_text_max + 1] = "";

    wxDECLARE_EVENT_TABLE();
};

#endif
