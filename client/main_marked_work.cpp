// The main frame's work that tags ask for: a login or a configuration
// command of the server re-lays out the frame, re-themes it and rebuilds its
// fonts, a vote-menu entry fills the menu again, a new channel places the
// tabs; each costs up to milliseconds. A read of 10,000 bytes can hold
// hundreds of such tags, so while one is handled that work is only marked,
// and the next tick does each marked piece once, from the settings as they
// are then.
#include "main.h"

#include "text_bytes.h"
#include "tqconfig.h"
#include "vusk_channel_window.h"

#include <utility>

void vusk_mw::marking_work(const std::function<void()> &work)
{
    const bool outer = marking_work_;
    marking_work_ = true;
    work();
    marking_work_ = outer;
}

bool vusk_mw::mark_for_tick(bool marked_work::*work)
{
    if (!marking_work_)
        return false;
    marked_work_.*work = true;
    return true;
}

// A popup created by a later tag of the read is measured in the text font
// that the tags before it chose: that font is built ahead of the tick (which
// costs nothing when it is built already). The displays take it at the
// tick, once for the whole read.
void vusk_mw::carry_out_marked_font_work()
{
    if (std::exchange(marked_work_.fonts, false))
        TConfig::Instance()->apply_font();
}

// The fonts first, so that everything is drawn anew with them; the layout,
// which the themes and the docking also ask for, last.
void vusk_mw::carry_out_marked_work()
{
    const marked_work work = std::exchange(marked_work_, marked_work{});
    if (!work.title.empty())
        SetTitle(bytes_to_wx(work.title));
    if (work.fonts)
        TConfig::Instance()->apply_font();
    if (work.themes)
        change_themes(work.redraw_background);
    if (work.docking) {
        set_automap_dock_state();
        set_group_display_dock_state();
    }
    if (work.text_font)
        global_font_resync();
    if (work.button_font)
        button_font_resync();
    if (work.scrollbars)
        reset_scrollbars();
    if (work.automap_cell_size != 0)
        set_automap_size(work.automap_cell_size);
    if (work.automap_shown)
        enable_automap();
    menus_.refill_marked_vote_menu();
    if (work.layout || work.themes || work.docking) {
        resize();
        Refresh();
    }
    channel_window()->place_new_channels();
}
