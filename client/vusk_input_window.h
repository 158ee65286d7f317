#ifndef VUSK_INPUT_WINDOW_H
#define VUSK_INPUT_WINDOW_H

// The drawn frame around the command line.

#include "vusk_embedded_window.h"
#include "vusk_lineedit.h"

class vusk_input_window : public vusk_embedded_window {
public:
    vusk_input_window(wxWindow *parent, int id, const wxString &name);

    using vusk_embedded_window::SetSize;

    void SetFocus() override;
    void resize(int changed) override;
    int animation_callback(int milliseconds) override;
    void repaint_dc(vusk_bitmap &bitmap) override;
    void start_newbie_demo_mode_flashing();

    vusk_line_edit line_edit;
};

#endif
