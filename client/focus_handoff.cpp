#include "focus_handoff.h"

#include <wx/frame.h>
#include <wx/window.h>

namespace {
// The float-on-parent bit means something else on child windows (it is the
// vertical scrollbar's style bit), so only top-level windows are asked.
bool floats_on_parent(const wxWindow *window)
{
    return window->IsTopLevel() && (window->GetWindowStyleFlag() & wxFRAME_FLOAT_ON_PARENT) != 0;
}
}

focus_handoff decide_focus_handoff(const wxWindow *window, const wxWindow *main_frame)
{
    if (window == nullptr)
        return focus_handoff::keep;
    for (const wxWindow *w = window; w != nullptr; w = w->GetParent()) {
        if (w == main_frame)
            return focus_handoff::main_input;
        if (floats_on_parent(w))
            return focus_handoff::keep;
    }
    return window->GetParent() != nullptr ? focus_handoff::parent : focus_handoff::keep;
}

int hand_focus_back(wxWindow *window, wxWindow *main_frame, wxWindow *input_line)
{
    switch (decide_focus_handoff(window, main_frame)) {
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
