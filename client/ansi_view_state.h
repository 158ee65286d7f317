#ifndef VUSK_ANSI_VIEW_STATE_H
#define VUSK_ANSI_VIEW_STATE_H

// Following new text or frozen at a position: the view logic of a text
// display over its scrollback. The display supplies the scrollback's geometry
// and carries out the view changes (the protected operations); the scrollback
// calls back through textctrl_owner when the mouse scrolls.

#include "textctrl_owner.h"

class ansi_view_state : public textctrl_owner {
public:
    virtual ~ansi_view_state() = default;

    // Freezes the view (unless never_freeze is set; then it is only shown again).
    void disable_scrolling() override;
    // Follows new text again.
    void enable_scrolling() override;
    // Shows the end of the text.
    void scroll_to_bottom();
    // Moves the view; reaching the end follows new text again.
    void scroll_amount(int delta);
    // Half a page, or n lines but at most half a page; at least one line.
    void scroll_up();
    void scroll_down();
    void scroll_up(int lines) override;
    void scroll_down(int lines) override;
    // The scrollbar's thumb moved to `position`.
    void scroll_thumb_moved(int position);
    // Shows the scrollbar position without changing the following state.
    void disable_and_set_scroll_position(int position);

    int following = 1;
    // The line last shown: the bottom line, or the top line while top-anchored.
    int view_line = 0;
    int never_freeze = 0;

protected:
    virtual int visible_line_count() = 0;
    // The scrollback's current (last) line.
    virtual int last_line() = 0;
    virtual bool top_anchored() = 0;
    virtual void set_hold_view(bool hold) = 0;
    virtual void show_line(int line) = 0;
    // Shows the line of a scrollbar position and returns it.
    virtual int show_scroll_position(int position) = 0;
    virtual void update_scrollbar() = 0;
    virtual void refresh_view() = 0;
    // The display was frozen or follows again (the status bar shows it).
    virtual void following_changed() = 0;

private:
    int half_page();
    int end_line();
    void freeze();
};

#endif
