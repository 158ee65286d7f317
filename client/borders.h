#ifndef VUSK_BORDERS_H
#define VUSK_BORDERS_H

// Border painters of the drawn panels (buttons, the function-key row, the
// group and status displays, the channel window, the command input window).

#include "vusk_bitmap.h"
#include "vusk_color.h"

// Which sides draw_strong_border paints.
enum strong_border_side {
    BORDER_TOP = 1,
    BORDER_RIGHT = 2,
    BORDER_BOTTOM = 4,
    BORDER_LEFT = 8,
    BORDER_ALL = BORDER_TOP | BORDER_RIGHT | BORDER_BOTTOM | BORDER_LEFT,
};

// A one-pixel frame in `colour` with black corner pixels.
void draw_thin_border(vusk_bitmap &bitmap, const vusk_color &colour, int width, int height);

// A raised edge on the chosen sides (a set of strong_border_side bits): the
// left side is two pixels, outer and inner, the right side two outer pixels,
// top and bottom one outer pixel. Without a colour the outer colour is white
// and the inner grey; with one, both are that colour.
void draw_strong_border(vusk_bitmap &bitmap, int width, int height, int sides, const vusk_color *colour);

#endif
