#ifndef VUSK_CHANNEL_BUTTON_H
#define VUSK_CHANNEL_BUTTON_H

// One tab of the channel window, labelled with its channel's name, with a
// paging button inside it. Three looks: active (the tab shown), notify
// (text arrived while another tab was shown) and inactive. A press of the
// left button shows the tab; the tab takes no hover and makes no click
// sound.

#include "vusk_button.h"
#include "vusk_channel_paging_button.h"

class vusk_channel_window;

class vusk_channel_button : public vusk_button {
public:
    vusk_channel_button(vusk_channel_window *window, wxWindow *parent, int id);

    using vusk_button::SetSize;
    // The paging button sits inside at the right, a square of the height
    // less 3 (this form) or less 6 (the two-number form).
    void SetSize(int x, int y, int w, int h, int size_flags = wxSIZE_AUTO) override;
    void SetSize(int w, int h) override;
    void redraw_bitmaps() override;

    // Nothing happens when the value is unchanged; otherwise the tab and
    // its paging button show the new look.
    void set_active(int on);
    void set_notify(int on);
    int is_notify() const { return notify; }

    void clicked_handler(wxMouseEvent &event);

    vusk_channel_paging_button paging_button;

private:
    void show_look();
    void place_paging_button(int w, int h, int side);

    vusk_channel_window *channel_window;
    int notify = 0;
    int active = 0;

    wxDECLARE_EVENT_TABLE();
};

#endif
