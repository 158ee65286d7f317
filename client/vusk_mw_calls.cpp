#include "vusk_mw_calls.h"

vusk_mw_calls *main_window = nullptr;

namespace {

// The frame, or a stand-in whose calls do nothing.
vusk_mw_calls &frame_or_none()
{
    static vusk_mw_calls none;
    return main_window != nullptr ? *main_window : none;
}

} // namespace

display_calls &display_frame()
{
    return frame_or_none();
}

button_calls &button_frame()
{
    return frame_or_none();
}

panel_calls &panel_frame()
{
    return frame_or_none();
}

bool focus_back_to_command_line(wxWindow *window)
{
    return main_window != nullptr && main_window->transfer_focus_main(window) != 0;
}
