#include "ansi_display_layout.h"

#include <algorithm>

namespace {
constexpr int frame_width = 2;
constexpr vusk_color frozen_outer{255, 0, 0};
constexpr vusk_color frozen_inner{192, 0, 0};
}

ansi_display_layout layout_ansi_display(int width, int height, int scrollbar_width, int scrollbar_min_height,
                                        bool scrollbar_shown, bool has_frame)
{
    ansi_display_layout layout;
    layout.scrollbar = {width - scrollbar_width, 0, std::max(scrollbar_width, 1),
                        std::max({height, scrollbar_min_height, 1})};
    int taken = scrollbar_shown ? scrollbar_width : 0;
    int inset = has_frame ? frame_width : 0;
    layout.store = {inset, inset, std::max(width - 2 * inset - taken, 1),
                    std::max(height - 2 * inset, 1)};
    return layout;
}

frame_colors ansi_frame_colors(bool following, bool flashing, int flash_step)
{
    if (flashing) {
        vusk_color shade = flash_step % 2 ? vusk_WHITE : vusk_BLACK;
        return {shade, shade};
    }
    if (!following)
        return {frozen_outer, frozen_inner};
    return {vusk_WHITE, vusk_GREY};
}
