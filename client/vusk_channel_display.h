#ifndef VUSK_CHANNEL_DISPLAY_H
#define VUSK_CHANNEL_DISPLAY_H

// The text of one channel: a text display whose frame stays open under its
// own tab, so that tab and text read as one card.

#include "vusk_ansi_display.h"

class vusk_channel_button;

class vusk_channel_display : public vusk_ansi_display {
public:
    vusk_channel_display(vusk_channel_button *button, wxWindow *parent, int id, const wxString &name);

    void repaint_dc(vusk_bitmap &bitmap) override;

    // Its tab; null draws the top edge unbroken.
    vusk_channel_button *button;
};

#endif
