#ifndef VUSK_CHANNEL_TABS_H
#define VUSK_CHANNEL_TABS_H

// The arithmetic of the tabbed channel window: how names are kept, how many
// channels there may be, where the tabs, the page flipper and the displays
// go, and which look a tab has. Windowless.

#include "button_row_layout.h"

#include <string>

// A channel's name keeps at most this many characters; longer names from the
// server are cut on arrival, before they are looked up.
constexpr int channel_name_max = 39;
// Channels a session may open besides "(all)"; a further name writes to
// "(all)" only.
constexpr int channel_cap = 32;

extern const char all_channel_name[];

// The name as the window stores and finds it; a null name gives "".
std::string channel_key(const char *name);

// Byte order, so "(all)" sorts before letters and digits.
bool channel_sorts_before(const std::string &a, const std::string &b);

// Where everything goes in a window at (x, y), w by h, whose tab label
// sample measures text_w by text_h in the large button font, with
// `tabs_on_page` tabs on the shown page.
struct channel_tab_geometry {
    int tab_height = 1;
    int avail = 1;     // the width the tabs share
    int tab_width = 1;
    int tab_pitch = 3; // from one tab's left edge to the next one's
    button_rect paging{};      // the window's own page flipper
    button_rect first_tab{};   // also the placeholder tab
    button_rect display{};     // every channel display and the placeholder's
};
channel_tab_geometry compute_channel_tabs(int x, int y, int w, int h, int text_w, int text_h, int tabs_on_page);

// The text measured for the tab width.
extern const char channel_tab_sample[];

// The image state a tab and its paging button show: up for the shown tab,
// down for unseen text, disabled for any other tab.
int channel_tab_state(bool active, bool notify);

#endif
