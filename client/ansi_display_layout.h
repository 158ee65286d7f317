#ifndef VUSK_ANSI_DISPLAY_LAYOUT_H
#define VUSK_ANSI_DISPLAY_LAYOUT_H

// Where a text display puts its scrollback and scrollbar, and the colours of
// its two-pixel frame.

#include "vusk_color.h"

struct display_rect {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
};

struct ansi_display_layout {
    display_rect scrollbar;
    display_rect store;
};

// `scrollbar_width` is the scrollbar's own width; it takes room only while
// shown. With a frame the scrollback lies two pixels inside it. The
// scrollbar is never shorter than the toolkit lets it be: in a lower display
// its end is cut off by the display's edge.
ansi_display_layout layout_ansi_display(int width, int height, int scrollbar_width, int scrollbar_min_height,
                                        bool scrollbar_shown, bool has_frame);

struct frame_colors {
    vusk_color outer;
    vusk_color inner;
};

// White and grey, red while frozen; while the newcomer flashing runs both are
// white on odd steps and black on even ones.
frame_colors ansi_frame_colors(bool following, bool flashing, int flash_step);

#endif
