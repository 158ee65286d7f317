#include "borders.h"

void draw_thin_border(vusk_bitmap &bitmap, const vusk_color &colour, int width, int height)
{
    bitmap.DrawLine(0, 1, 0, height - 1, colour);
    bitmap.DrawLine(1, 0, width - 1, 0, colour);
    bitmap.DrawLine(width - 1, 1, width - 1, height - 1, colour);
    bitmap.DrawLine(1, height - 1, width - 1, height - 1, colour);
    bitmap.DrawPixel(0, 0, vusk_BLACK);
    bitmap.DrawPixel(width - 1, 0, vusk_BLACK);
    bitmap.DrawPixel(0, height - 1, vusk_BLACK);
    bitmap.DrawPixel(width - 1, height - 1, vusk_BLACK);
}

void draw_strong_border(vusk_bitmap &bitmap, int width, int height, int sides, const vusk_color *colour)
{
    const vusk_color outer = colour != nullptr ? *colour : vusk_WHITE;
    const vusk_color inner = colour != nullptr ? *colour : vusk_GREY;
    if (sides & BORDER_LEFT) {
        bitmap.DrawLine(0, 0, 0, height, outer);
        bitmap.DrawLine(1, 0, 1, height, inner);
    }
    if (sides & BORDER_RIGHT) {
        bitmap.DrawLine(width - 1, 0, width - 1, height, outer);
        bitmap.DrawLine(width - 2, 0, width - 2, height, outer);
    }
    if (sides & BORDER_TOP)
        bitmap.DrawLine(0, 0, width, 0, outer);
    if (sides & BORDER_BOTTOM)
        bitmap.DrawLine(0, height - 1, width, height - 1, outer);
}
