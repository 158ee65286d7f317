#include "status_display_geometry.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int bar_left = 10;
constexpr int exp_only_left = 10;
constexpr int side_margins = 20;
constexpr int bare_bar_gap = 10;
constexpr int bare_bars_margins = 50;
constexpr int minimum_bare_bar_width = 15;
constexpr int four_bar_share = 10;  // each of four bars must beat width / 10
constexpr int three_bar_share = 7;  // each of three bars must beat width / 7
const char exp_only_label[] = " exp:FULL ";

struct mode_labels {
    const char *hp;
    const char *mana;
    const char *move;
    const char *exp;
};

// The texts measured for each mode with labels; values-only keeps the short
// experience label.
const mode_labels labels[] = {
    {" hp:0000/0000   ", " mana:0000/0000   ", " move:0000/0000   ", " exp: FULL "},
    {" hp:0000/0000 ", " mn:0000/0000 ", " mv:0000/0000 ", " xp: FULL"},
    {" hp:0000  ", " mn:0000  ", " mv:0000  ", " xp: FULL"},
};

struct label_widths {
    int hp = 0;
    int mana = 0;
    int move = 0;
    int exp = 0;
};

int text_width(const text_measure &measure, const char *text, int &height)
{
    int width = 0;
    measure(text, &width, &height);
    return width;
}

void lay_out_bars(status_display_geometry &g, int width, bool with_exp, const text_measure &measure,
                  int &text_height)
{
    const int bars = with_exp ? 4 : 3;
    const int limit = width / (with_exp ? four_bar_share : three_bar_share);
    label_widths used;
    g.text_mode = text_none;
    for (int mode = text_long_labels; mode < text_none; ++mode) {
        label_widths w;
        w.hp = text_width(measure, labels[mode].hp, text_height);
        w.mana = text_width(measure, labels[mode].mana, text_height);
        w.move = text_width(measure, labels[mode].move, text_height);
        if (with_exp)
            w.exp = text_width(measure, labels[mode].exp, text_height);
        const int bar_width = (width - side_margins - w.hp - w.mana - w.move - w.exp) / bars;
        if (bar_width > limit) {
            g.text_mode = mode;
            g.bar_width = bar_width;
            used = w;
            break;
        }
    }
    g.hp_x = bar_left;
    if (g.text_mode == text_none) {
        g.bar_width = std::max((width - bare_bars_margins) / bars, minimum_bare_bar_width);
        g.mana_x = g.bar_width + bar_left + bare_bar_gap;
        g.move_x = 2 * g.bar_width + bar_left + 2 * bare_bar_gap;
        g.exp_x = with_exp ? 3 * g.bar_width + bar_left + 3 * bare_bar_gap : g.move_x;
        return;
    }
    g.mana_x = g.hp_x + g.bar_width + used.hp;
    g.move_x = g.mana_x + g.bar_width + used.mana;
    g.exp_x = with_exp ? g.move_x + g.bar_width + used.move : g.move_x;
}

} // namespace

void compute_status_display_geometry(status_display_geometry &g, int width, int height,
                                     const status_display_switches &on, const text_measure &measure)
{
    int text_height = 0;
    if (on.exp && !on.hpbar && !on.enemy) {
        g.exp_x = exp_only_left;
        g.bar_width = 2 * width / 3;
        text_width(measure, exp_only_label, text_height);
    } else {
        lay_out_bars(g, width, on.hpbar && on.exp && !on.enemy, measure, text_height);
    }
    if (on.enemy && on.hpbar) {
        g.bar_height = height / 4;
        g.enemy_row_y = height / 8;
        g.hp_row_y = height / 2 + height / 8;
        g.enemy_text_y = (height / 2 - text_height) / 2;
        g.hp_text_y = g.enemy_text_y + height / 2;
    } else {
        g.bar_height = height / 2;
        g.hp_row_y = g.enemy_row_y = height / 4;
        g.hp_text_y = g.enemy_text_y = (height - text_height) / 2;
    }
}

int bar_fill(int value, int maximum, int width)
{
    const int64_t fill = int64_t(value) * width / std::max(maximum, 1);
    return int(std::clamp<int64_t>(fill, 0, std::max(width, 0)));
}

// A mark t sits at column t * width / maximum; the last mark of a column is
// the largest multiple of the step still below the next column.
std::vector<tick_mark_column> tick_mark_columns(int maximum, int width)
{
    std::vector<tick_mark_column> columns;
    if (maximum <= tick_mark_step || width <= 0)
        return columns;
    const int64_t last_mark = (int64_t(maximum) - 1) / tick_mark_step * tick_mark_step;
    for (int64_t t = tick_mark_step; t <= last_mark;) {
        const int64_t column = t * width / maximum;
        const int64_t column_end = ((column + 1) * maximum - 1) / width;
        const int64_t last = std::min(column_end / tick_mark_step * tick_mark_step, last_mark);
        columns.push_back({int(column), int(t), int(last)});
        t = last + tick_mark_step;
    }
    return columns;
}
