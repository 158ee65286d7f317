#ifndef VUSK_CHANNEL_PAGING_BUTTON_H
#define VUSK_CHANNEL_PAGING_BUTTON_H

// A small square that moves tabs between the channel window's two pages: in
// each tab it moves that tab to the other page; the window's own flips which
// page is shown. Up, it shows a falling white stroke; down (or for a tab
// that is not shown), a rising grey one.

#include "vusk_button.h"

class vusk_channel_window;
struct channel_record;

class vusk_channel_paging_button : public vusk_button {
public:
    // A tab's button gets its channel once the channel exists.
    vusk_channel_paging_button(wxWindow *parent, int id, vusk_channel_window *window);

    void redraw_bitmaps() override;
    // Acts on the left button going down only.
    void clicked_handler(wxMouseEvent &event);
    void set_toggle_mode(int on) { toggle_mode = on; }

    // The tab it belongs to; null for the window's own.
    channel_record *channel = nullptr;

private:
    vusk_channel_window *channel_window;

    wxDECLARE_EVENT_TABLE();
};

#endif
