#include "ansi_view_state.h"

#include <algorithm>
#include <climits>

namespace {
int saturated_sum(int a, int b)
{
    long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}
}

int ansi_view_state::half_page()
{
    return std::max(visible_line_count() / 2, 1);
}

int ansi_view_state::end_line()
{
    int last = last_line();
    return top_anchored() ? last + 1 - visible_line_count() : last;
}

void ansi_view_state::freeze()
{
    following = 0;
    set_hold_view(true);
}

void ansi_view_state::disable_scrolling()
{
    if (!following)
        return;
    if (!never_freeze) {
        freeze();
        scroll_to_bottom();
    }
    refresh_view();
    following_changed();
}

void ansi_view_state::enable_scrolling()
{
    if (following)
        return;
    following = 1;
    set_hold_view(false);
    scroll_to_bottom();
    refresh_view();
    following_changed();
}

void ansi_view_state::scroll_to_bottom()
{
    view_line = end_line();
    show_line(view_line);
    update_scrollbar();
}

void ansi_view_state::scroll_amount(int delta)
{
    int lowest = top_anchored() ? 0 : visible_line_count() - 1;
    int end = end_line();
    view_line = std::max(saturated_sum(view_line, delta), lowest);
    if (view_line >= end) {
        view_line = end;
        enable_scrolling();
    }
    show_line(view_line);
    update_scrollbar();
}

void ansi_view_state::scroll_up()
{
    scroll_amount(-half_page());
}

void ansi_view_state::scroll_down()
{
    scroll_amount(half_page());
}

void ansi_view_state::scroll_up(int lines)
{
    scroll_amount(-std::max(std::min(half_page(), lines), 1));
}

void ansi_view_state::scroll_down(int lines)
{
    scroll_amount(std::max(std::min(half_page(), lines), 1));
}

void ansi_view_state::scroll_thumb_moved(int position)
{
    int visible = visible_line_count();
    int end = top_anchored() ? last_line() + visible : last_line();
    if (end <= visible) {
        view_line = position;
        enable_scrolling();
        return;
    }
    view_line = show_scroll_position(position);
    if (view_line >= end) {
        enable_scrolling();
    } else if (following && !never_freeze) {
        freeze();
        refresh_view();
        following_changed();
    } else {
        refresh_view();
    }
}

void ansi_view_state::disable_and_set_scroll_position(int position)
{
    refresh_view();
    view_line = show_scroll_position(position);
    update_scrollbar();
}
