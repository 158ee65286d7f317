#ifndef VUSK_BUTTON_ROW_LAYOUT_H
#define VUSK_BUTTON_ROW_LAYOUT_H

// Where the buttons of the direction pad, the hint column and the
// function-key row sit inside their holders. Windowless.

#include <array>

struct button_rect {
    int x;
    int y;
    int width;
    int height;
};

// The direction pad: Dn and Up on top, then the compass in three rows.
enum direction_pad_button { pad_nw, pad_n, pad_ne, pad_w, pad_out, pad_e, pad_sw, pad_s, pad_se, pad_up, pad_dn };
constexpr int direction_pad_button_count = 11;
constexpr int direction_pad_width = 97;
constexpr int direction_pad_height = 130;
std::array<button_rect, direction_pad_button_count> direction_pad_rects(int x, int y);

// The hint column: each run of consecutive shown buttons starts a little
// further down; hidden buttons take no room.
constexpr int hint_button_width = 97;
constexpr int hint_button_height = 26;
constexpr int hint_button_pitch = 33;
constexpr int hint_run_gap = 16;
// Walks the column from the top: `next_hint_top` gives the top of a shown
// button, given the y reached so far and whether the button before it was
// hidden (or there is none); the y after it is top + hint_button_pitch.
int next_hint_top(int y, bool follows_hidden);

// The function-key row: eight square keys of the row's height less 5 (at
// least 1), 3 pixels apart and from the row's top and left edges.
constexpr int fkey_row_keys = 8;
// The width the row needs at `height`.
int fkey_row_min_width(int height);
button_rect fkey_key_rect(int row_x, int row_y, int row_height, int index);

#endif
