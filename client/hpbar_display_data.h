#ifndef VUSK_HPBAR_DISPLAY_DATA_H
#define VUSK_HPBAR_DISPLAY_DATA_H

// One member row of the group display: the member's numbers, what kind of
// row it is and its name, and how a row and its small bars are painted.

#include "vusk_bitmap.h"
#include "vusk_color.h"

#include <string>

// Kinds of rows: a member shows health, mana and movement; rows whose text
// began with '.' or '-' show health and movement only.
enum hpbar_row_kind { row_member = 0, row_dot = 1, row_dash = 2 };

// Where the group display sits: on the main frame, or over the main display.
enum group_dock { dock_on_frame = 1, dock_in_display = 2 };
// The group-status setting that stacks a member's bars beside the name.
constexpr int group_status_vertical = 1;

struct hpbar_display_data {
    int hp = 0;
    int hpmax = 0;
    int mana = 0;
    int manamax = 0;
    int move = 0;
    int movemax = 0;
    int kind = row_member;
    std::string name;

    // Paints the row into x, y, w by h; group_status is the setting.
    void draw_hp_bars(vusk_bitmap &bitmap, int x, int y, int w, int h, int dock, int group_status) const;
    // One bar: filled from the left on the frame, from the right over the
    // main display; `framed` adds the middle line and side edges.
    static void draw_bar(vusk_bitmap &bitmap, const vusk_color &fill, const vusk_color &top, int value,
                         int maximum, int x, int y, int w, int h, int dock, bool framed);
};

#endif
