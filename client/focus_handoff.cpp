#include "focus_handoff.h"

#include <wx/window.h>

int hand_focus_back(wxWindow *window, wxWindow *main_frame, wxWindow *input_line)
{
    switch (decide_focus_handoff<wxWindow>(window, main_frame)) {
    case focus_handoff::main_input:
        if (input_line != nullptr)
            input_line->SetFocus();
        main_frame->Raise();
        return 1;
    case focus_handoff::parent:
        window->GetParent()->SetFocus();
        return 1;
    case focus_handoff::keep:
        break;
    }
    return 0;
}
