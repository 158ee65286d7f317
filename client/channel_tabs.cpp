#include "channel_tabs.h"

#include "button_images.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

const char all_channel_name[] = "(all)";
const char channel_tab_sample[] = "123456789012345678";

namespace {
// The tab is this much taller than its label.
constexpr int tab_height_extra = 4;
constexpr int tab_gap = 2;
constexpr int paging_margin = 2;
}

std::string channel_key(const char *name)
{
    if (name == nullptr)
        return std::string();
    return std::string(name, strnlen(name, channel_name_max));
}

bool channel_sorts_before(const std::string &a, const std::string &b)
{
    return strcmp(a.c_str(), b.c_str()) < 0;
}

channel_tab_geometry compute_channel_tabs(int x, int y, int w, int h, int text_w, int text_h, int tabs_on_page)
{
    channel_tab_geometry g;
    g.tab_height = text_h + tab_height_extra;
    const int count = std::max(tabs_on_page, 1);
    g.avail = std::max(w - g.tab_height - 1, 1);
    // The window always lies at the top of the frame: the flipper is placed
    // from the frame's top, not the window's.
    g.paging = {x + paging_margin + g.avail, paging_margin, text_h, text_h};
    const int64_t wanted = int64_t(text_w) + text_h;
    g.tab_width = int(std::max<int64_t>(std::min<int64_t>(wanted, g.avail / count - tab_gap), 1));
    g.tab_pitch = g.tab_width + tab_gap;
    g.first_tab = {x + 1, y + 1, g.tab_width, g.tab_height};
    g.display = {x, y + 1 + g.tab_height, std::max(w, 1), std::max(h - g.tab_height - 1, 1)};
    return g;
}

int channel_tab_state(bool active, bool notify)
{
    if (active)
        return button_up;
    return notify ? button_down : button_disabled;
}
