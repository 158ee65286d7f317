#ifndef VUSK_FOCUS_HANDOFF_H
#define VUSK_FOCUS_HANDOFF_H

// After a click the keyboard focus goes back to the command line when the
// clicked window lies in the main frame. A window inside a frame that floats
// on its parent (a popup window) keeps it; any other window passes it to its
// own parent.

class wxWindow;

enum class focus_handoff {
    keep,       // stay where it is
    main_input, // the main frame's command line, the frame raised
    parent,     // the clicked window's parent
};

focus_handoff decide_focus_handoff(const wxWindow *window, const wxWindow *main_frame);

// Carries the decision out; returns 1 when the focus was handed on, else 0.
int hand_focus_back(wxWindow *window, wxWindow *main_frame, wxWindow *input_line);

#endif
