#ifndef VUSK_STATUS_DISPLAY_GEOMETRY_H
#define VUSK_STATUS_DISPLAY_GEOMETRY_H

// Where the status display puts its bars and texts, and the arithmetic of a
// bar: how much of it a value fills and where its tick marks go. Plain
// numbers; the panel measures its texts through `text_measure`.

#include <functional>
#include <vector>

// Which of the status display's bars are on.
struct status_display_switches {
    bool hpbar = false;
    bool exp = false;
    bool enemy = false;
};

// Label styles, from the widest to none at all.
enum status_text_mode { text_long_labels, text_short_labels, text_values_only, text_none };

struct status_display_geometry {
    int text_mode = text_long_labels;
    int hp_text_y = 0;
    int hp_x = 0;
    int mana_x = 0;
    int move_x = 0;
    int bar_height = 0;
    int bar_width = 0;
    int hp_row_y = 0;
    int exp_x = 0;
    int enemy_row_y = 0;
    int enemy_text_y = 0;
};

// Sets width and height to the size `text` takes.
using text_measure = std::function<void(const char *text, int *width, int *height)>;

// Lays the bars out in a panel of width by height: the widest labels that
// leave each bar more than a tenth (four bars) or a seventh (three bars) of
// the width, else bars alone. Only the experience bar on keeps the text
// mode it had.
void compute_status_display_geometry(status_display_geometry &geometry, int width, int height,
                                     const status_display_switches &on, const text_measure &measure);

// The part of a bar `width` wide that value of maximum fills, 0..width; a
// maximum below 1 counts as 1.
int bar_fill(int value, int maximum, int width);

// Tick marks every tick_mark_step points below the maximum. Marks that fall
// on one column of the bar come as one entry, so there are never more
// entries than columns however large the maximum.
constexpr int tick_mark_step = 100;
struct tick_mark_column {
    int offset;     // from the bar's left edge
    int first_mark; // the smallest and largest of its marks, in points
    int last_mark;
};
std::vector<tick_mark_column> tick_mark_columns(int maximum, int width);

#endif
