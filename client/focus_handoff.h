#ifndef VUSK_FOCUS_HANDOFF_H
#define VUSK_FOCUS_HANDOFF_H

// After a click the keyboard focus goes back to the command line when the
// clicked window lies in the main frame. A window inside a frame that floats
// on its parent (a popup window) keeps it; any other window passes it to its
// own parent.

#include <wx/frame.h>

class wxWindow;

enum class focus_handoff {
    keep,       // stay where it is
    main_input, // the main frame's command line, the frame raised
    parent,     // the clicked window's parent
};

// Walks up from `window`. Window is wxWindow, or anything with the same
// GetParent(), IsTopLevel() and GetWindowStyleFlag().
template <class Window>
focus_handoff decide_focus_handoff(const Window *window, const Window *main_frame)
{
    if (window == nullptr)
        return focus_handoff::keep;
    for (const Window *w = window; w != nullptr; w = w->GetParent()) {
        if (w == main_frame)
            return focus_handoff::main_input;
        // On child windows the same bit means something else (a vertical
        // scrollbar's style), so only top-level windows are asked.
        if (w->IsTopLevel() && (w->GetWindowStyleFlag() & wxFRAME_FLOAT_ON_PARENT) != 0)
            return focus_handoff::keep;
    }
    return window->GetParent() != nullptr ? focus_handoff::parent : focus_handoff::keep;
}

// Carries the decision out; returns 1 when the focus was handed on, else 0.
int hand_focus_back(wxWindow *window, wxWindow *main_frame, wxWindow *input_line);

#endif
