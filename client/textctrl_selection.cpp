// The store's mouse handling: hit-testing, drag selection, copying, wheel
// scrolling and URL clicks.
#include "textctrl_store.h"

#include "url.h"
#include "util.h"

#include <algorithm>
#include <climits>

namespace {
constexpr int wheel_scroll_lines = 3;
constexpr int default_wheel_delta = 120;
constexpr int max_wheel_notches = 1000;
constexpr int max_auto_scroll = 1 << 20;

int64_t floor_divide(int64_t value, int64_t divisor)
{
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

int clamp_to_int(int64_t value, int64_t limit)
{
    return int(std::clamp<int64_t>(value, -limit, limit));
}
}

int textctrl_store::line_from_y(int y) const
{
    int64_t line;
    if (top_anchored)
        line = std::max(bottom_line, 0) + floor_divide(y, line_height);
    else
        line = bottom_line + floor_divide(int64_t(y) - (view_height - line_height), line_height);
    return int(std::clamp<int64_t>(line, 0, current_line));
}

void textctrl_store::translate_xy_to_line_and_offset(int x, int y, int *line, int *offset)
{
    if (line_height < 1)
        return;
    wxMutexLocker lock(mutex);
    const int index = line_from_y(y);
    *line = index;
    const int64_t target = std::max(x, 0);
    int64_t right_edge = 0;
    int column = 0;
    for_each_run(index, [&](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        for (int i = 0; i < length; ++i, ++column) {
            right_edge += char_widths[static_cast<unsigned char>(chunk.text[at.offset + i])];
            if (right_edge >= target)
                return false;
        }
        return true;
    });
    *offset = column;
}

// A point left of the window stands for the end of the line above it.
void textctrl_store::locate(int x, int y, int *line, int *offset)
{
    if (x < 0)
        translate_xy_to_line_and_offset(view_width, clamp_to_int(int64_t(y) - line_height, INT_MAX),
                                        line, offset);
    else
        translate_xy_to_line_and_offset(x, y, line, offset);
}

textctrl_capture textctrl_store::handle_mouse(const textctrl_mouse_event &event)
{
    using kind = textctrl_mouse_event;
    auto_scroll = 0;
    const bool ignored = event.kind == kind::other || (event.kind == kind::motion && !event.button_held) ||
                         (event.kind == kind::wheel && event.wheel_rotation == 0);
    if (ignored)
        return textctrl_capture::keep;
    if (ignore_until_release) {
        if (event.kind == kind::left_release)
            ignore_until_release = 0;
        return textctrl_capture::keep;
    }
    switch (event.kind) {
    case kind::wheel:
        wheel_turned(event.wheel_rotation, event.wheel_delta);
        return textctrl_capture::keep;
    case kind::other_press:
        if (owner != nullptr)
            owner->enable_scrolling();
        return textctrl_capture::keep;
    case kind::left_press:
    case kind::left_double_click:
        press_at(event.x, event.y, event.kind == kind::left_press);
        return dragging ? textctrl_capture::take : textctrl_capture::keep;
    case kind::motion:
        if (!dragging)
            return textctrl_capture::keep;
        move_cursor(event.x, event.y);
        settle_selection();
        return textctrl_capture::keep;
    case kind::left_release:
        if (!dragging)
            return textctrl_capture::keep;
        dragging = 0;
        locate(event.x, event.y, &cursor_line, &cursor_offset);
        settle_selection();
        return textctrl_capture::release;
    default:
        return textctrl_capture::keep;
    }
}

// Small wheel steps (a touchpad's) add up; every full notch scrolls three
// lines.
void textctrl_store::wheel_turned(int rotation, int delta)
{
    if (delta <= 0)
        delta = default_wheel_delta;
    const int64_t total = int64_t(wheel_total) + rotation;
    const int64_t notches = std::clamp<int64_t>(total / delta, -max_wheel_notches, max_wheel_notches);
    wheel_total = int(std::clamp<int64_t>(total - notches * delta, -int64_t(delta), delta));
    if (notches == 0 || owner == nullptr)
        return;
    owner->disable_scrolling();
    if (notches > 0)
        owner->scroll_up(int(notches) * wheel_scroll_lines);
    else
        owner->scroll_down(int(-notches) * wheel_scroll_lines);
}

// A press on a URL opens it (a double-click only selects it again, so a URL
// opens once); anywhere else it starts a drag selection.
void textctrl_store::press_at(int x, int y, bool may_open_url)
{
    int line = 0;
    int offset = 0;
    locate(x, y, &line, &offset);
    if (may_open_url ? url_clicked_on(line, offset) != 0 : select_url_at(line, offset, nullptr))
        return;
    dragging = 1;
    has_selection = 0;
    anchor_line = cursor_line = line;
    anchor_offset = cursor_offset = offset;
    refresh_view();
}

// Follows the pointer during a drag; held above or below the window it sets
// the auto-scroll speed and pins the cursor to the window's edge.
void textctrl_store::move_cursor(int x, int y)
{
    locate(x, y, &cursor_line, &cursor_offset);
    const int64_t height = std::max(view_height, 1);
    if (y < 0) {
        auto_scroll = clamp_to_int(2 * int64_t(y) * line_height / height, max_auto_scroll);
        arm_auto_scroll();
        translate_xy_to_line_and_offset(0, 0, &cursor_line, &cursor_offset);
    } else if (y > height) {
        auto_scroll = clamp_to_int(2 * int64_t(line_height) * (y - height) / height, max_auto_scroll);
        arm_auto_scroll();
        translate_xy_to_line_and_offset(0, clamp_to_int(2 * height, INT_MAX), &cursor_line, &cursor_offset);
    } else if ((anchor_line != cursor_line || anchor_offset != cursor_offset) && owner != nullptr) {
        owner->disable_scrolling();
    }
}

// The selection that anchor and cursor span: the earlier of the two starts
// it, the cursor when both are the same.
textctrl_store::selection_range textctrl_store::ordered_selection() const
{
    const bool cursor_first = cursor_line < anchor_line ||
                              (cursor_line == anchor_line && cursor_offset <= anchor_offset);
    if (cursor_first)
        return {cursor_line, cursor_offset, anchor_line, anchor_offset};
    return {anchor_line, anchor_offset, cursor_line, cursor_offset};
}

// Turns anchor and cursor into the selection once they differ, and copies the
// selection whenever it changes.
void textctrl_store::settle_selection()
{
    if (!has_selection && anchor_line == cursor_line && anchor_offset == cursor_offset)
        return;
    const selection_range wanted = ordered_selection();
    if (has_selection && wanted == selection_range{sel_start_line, sel_start_offset, sel_end_line, sel_end_offset})
        return;
    has_selection = 1;
    mouse_sync_and_copy_selection();
}

void textctrl_store::mouse_sync_and_copy_selection()
{
    const selection_range ordered = ordered_selection();
    sel_start_line = ordered.start_line;
    sel_start_offset = ordered.start_offset;
    sel_end_line = ordered.end_line;
    sel_end_offset = ordered.end_offset;
    copy_selection_to_clipboard();
    refresh_view();
}

void textctrl_store::mouse_capture_lost()
{
    if (has_selection)
        mouse_sync_and_copy_selection();
    has_selection = 0;
    dragging = 0;
    refresh_view();
}

void textctrl_store::clear_mouse_selection()
{
    has_selection = 0;
    sel_start_line = sel_start_offset = sel_end_line = sel_end_offset = 0;
    anchor_line = anchor_offset = cursor_line = cursor_offset = 0;
    refresh_view();
}

void textctrl_store::copy_selection_to_clipboard()
{
    std::string text;
    if (selection_text(&text))
        put_on_clipboard(text);
}

// Lines broken by wrapping are joined again: a newline goes only where a line
// was ended by one. False (and nothing built) when a line record is missing.
bool textctrl_store::selection_text(std::string *text)
{
    wxMutexLocker lock(mutex);
    text->clear();
    for (int index = sel_start_line; index <= sel_end_line; ++index)
        if (record(index) == nullptr)
            return false;
    for (int index = sel_start_line; index <= sel_end_line; ++index) {
        const int first = index == sel_start_line ? sel_start_offset : 0;
        const int last = index == sel_end_line ? sel_end_offset : INT_MAX;
        append_columns(*text, index, first, last);
        if (index < sel_end_line && record(index)->ends_with_newline)
            text->push_back('\n');
    }
    return true;
}

// Appends the characters of columns first..last (inclusive) of a line.
void textctrl_store::append_columns(std::string &text, int index, int first, int last) const
{
    int column = 0;
    for_each_run(index, [&](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        const int from = std::max(first - column, 0);
        const int to = int(std::min<int64_t>(length, int64_t(last) - column + 1));
        if (from < to)
            text.append(chunk.text + at.offset + from, size_t(to - from));
        column += length;
        return column <= last;
    });
}

int textctrl_store::url_clicked_on(int line, int offset)
{
    if (owner == nullptr)
        return 0;
    std::string url;
    if (!select_url_at(line, offset, &url))
        return 0;
    owner->open_url(url.c_str());
    return 1;
}

// Finds a URL at a character and selects it, copied to the clipboard, the
// mouse ignored until the button is released.
bool textctrl_store::select_url_at(int line, int offset, std::string *url)
{
    if (!url_hotlinking())
        return false;
    Buffer found;
    int start = 0;
    int end = 0;
    {
        wxMutexLocker lock(mutex);
        if (record(line) == nullptr)
            return false;
        Buffer text;
        for_each_run(line, [&text](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
            for (int i = 0; i < length; ++i)
                buffer_append_char(text, chunk.text[at.offset + i]);
            return true;
        });
        if (!extract_url(found, text.data, offset, &start, &end))
            return false;
    }
    if (url != nullptr)
        *url = found.data;
    has_selection = 1;
    sel_start_line = sel_end_line = anchor_line = cursor_line = line;
    sel_start_offset = anchor_offset = start;
    sel_end_offset = cursor_offset = end;
    copy_selection_to_clipboard();
    refresh_view();
    ignore_until_release = 1;
    return true;
}
