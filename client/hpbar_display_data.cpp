#include "hpbar_display_data.h"

#include "global_fonts.h"
#include "status_display_geometry.h"
#include "vusk_font.h"

#include <algorithm>

namespace {

constexpr vusk_color health_fill(160, 0, 0);
constexpr vusk_color health_top(255, 64, 128);
constexpr vusk_color mana_fill(0, 64, 160);
constexpr vusk_color mana_top(64, 128, 255);
constexpr vusk_color move_fill(192, 192, 0);
constexpr vusk_color move_top(255, 255, 128);
constexpr int bar_inset = 3;   // bars start this far right of the row, and this far apart
constexpr int name_gap = 6;    // from the bar's left edge to a name beside the bars
constexpr int thin_bar_height = 1;

// Bars stacked at the left: their height, at least 1, and the step to the next.
struct bar_stack {
    int height;
    int step;
};

bar_stack stack_of(int height)
{
    return height < 1 ? bar_stack{thin_bar_height, thin_bar_height + 1} : bar_stack{height, height + 1};
}

int bar_width_of(int w, int group_status)
{
    const int share = group_status == group_status_vertical ? (7 * w - 21) / 16 : (w - 3) / 3;
    return std::max(share - bar_inset, 1);
}

} // namespace

void hpbar_display_data::draw_hp_bars(vusk_bitmap &bitmap, int x, int y, int w, int h, int dock,
                                      int group_status) const
{
    const bool vertical = group_status == group_status_vertical;
    const int bw = bar_width_of(w, group_status);
    int tw = 0, th = 0;
    global_button_large_font->GetTextSize(name.c_str(), &tw, &th);
    const int c = std::max((h - th) / 2 + y, 1);
    const int c1 = std::max(c + 1, 1);
    // Beside the bars by default; a member over its side-by-side bars sits
    // at the row's start, or at its end over the main display.
    int nx = bw + name_gap;
    int ny = kind == row_member || (vertical && dock == dock_in_display) ? c1 : c;
    if (kind == row_member && !vertical) {
        nx = dock == dock_in_display ? w - tw : bar_inset;
        ny = y;
    } else if (dock == dock_in_display && !vertical) {
        nx = std::max(bw + name_gap, w - tw);
    }
    bitmap.RenderTextTransparent(*global_button_large_font, name.c_str(), nx, ny, vusk_WHITE);

    const int bx = x + bar_inset;
    if (kind == row_member && !vertical) {
        const int bh = std::max(h / 4, 1);
        const int y0 = std::max(y + h - 3 * bh / 2, 1);
        const int pitch = bw + bar_inset;
        draw_bar(bitmap, health_fill, health_top, hp, hpmax, bx, y0, bw, bh, dock, true);
        draw_bar(bitmap, mana_fill, mana_top, mana, manamax, bx + pitch, y0, bw, bh, dock, true);
        draw_bar(bitmap, move_fill, move_top, move, movemax, bx + 2 * pitch, y0, bw, bh, dock, true);
    } else if (kind == row_member) {
        const bar_stack stack = stack_of((h - 4) / 3);
        const int y0 = std::max(y + 2, 1);
        draw_bar(bitmap, health_fill, health_top, hp, hpmax, bx, y0, bw, stack.height, dock, false);
        draw_bar(bitmap, mana_fill, mana_top, mana, manamax, bx, y0 + stack.step, bw, stack.height, dock, false);
        draw_bar(bitmap, move_fill, move_top, move, movemax, bx, y0 + 2 * stack.step, bw, stack.height, dock,
                 false);
    } else {
        const bar_stack stack = stack_of((h - 3) / 2);
        const int y0 = std::max(y + 1, 1);
        draw_bar(bitmap, health_fill, health_top, hp, hpmax, bx, y0, bw, stack.height, dock, false);
        draw_bar(bitmap, move_fill, move_top, move, movemax, bx, y0 + stack.step, bw, stack.height, dock, false);
    }
}

// An empty bar paints no fill at all, so health 0 shows an empty bar.
void hpbar_display_data::draw_bar(vusk_bitmap &bitmap, const vusk_color &fill, const vusk_color &top, int value,
                                  int maximum, int x, int y, int w, int h, int dock, bool framed)
{
    const int f = bar_fill(value, maximum, w);
    const vusk_color frame = framed ? vusk_GREY : vusk_DARK_GREY;
    if (framed)
        bitmap.DrawLine(x + 1, y + h / 2 - 1, x + w - 2, y + h / 2 - 1, frame);
    if (dock == dock_in_display) {
        const int r = x + w;
        const int s0 = r - f;
        if (f > 0) {
            bitmap.DrawFilledRectangle(s0, y + 1, s0 + f - 1, y + h - 2, fill);
            bitmap.DrawLine(s0, y, r - 1, y, top);
            bitmap.DrawPixel(s0, y, vusk_BLACK);
            if (framed)
                bitmap.DrawPixel(s0, y + h - 2, vusk_BLACK);
        }
        if (framed) {
            bitmap.DrawLine(x, y - 1, x, y + h - 1, frame);
        } else {
            bitmap.DrawLine(x + 1, y + h - 1, r - 1, y + h - 1, frame);
        }
        bitmap.DrawLine(r, y - 1, r, y + h - 1, frame);
        return;
    }
    const int e = x - 1 + f;
    if (f > 0) {
        bitmap.DrawFilledRectangle(x, y + 1, e, y + h - 2, fill);
        bitmap.DrawLine(x, y, e, y, top);
        bitmap.DrawPixel(e, y, vusk_BLACK);
        if (framed)
            bitmap.DrawPixel(e, y + h - 2, vusk_BLACK);
    }
    bitmap.DrawLine(x - 1, y - 1, x - 1, y + h - 1, frame);
    if (framed)
        bitmap.DrawLine(x + w - 1, y - 1, x + w - 1, y + h - 1, frame);
    else
        bitmap.DrawLine(x, y + h - 1, x + w - 2, y + h - 1, frame);
}
