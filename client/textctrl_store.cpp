#include "textctrl_store.h"

#include <algorithm>
#include <climits>
#include <cstring>

const char eascii_lookup_table[128] = {
    'E', ' ', '\'', 'f', '"', '-', 't', 't', '^', '%', 'S', '<', 'O', ' ', 'Z', ' ',
    ' ', '\'', '\'', '"', '"', '*', '-', '-', '~', ' ', 's', '>', 'o', ' ', 'z', 'Y',
    ' ', '!', 'c', 'L', 'o', 'Y', '|', 'S', '-', 'C', 'a', '<', '!', '-', 'R', '-',
    'o', 'x', '2', '3', '\'', 'u', 'P', '.', '.', '1', 'o', '>', ' ', ' ', ' ', '?',
    'A', 'A', 'A', 'A', 'A', 'A', 'A', 'C', 'E', 'E', 'E', 'E', 'I', 'I', 'I', 'I',
    'D', 'N', 'O', 'O', 'O', 'O', 'O', 'x', 'O', 'U', 'U', 'U', 'U', 'Y', 'P', 'S',
    'a', 'a', 'a', 'a', 'a', 'a', 'a', 'c', 'e', 'e', 'e', 'e', 'i', 'i', 'i', 'i',
    'o', 'n', 'o', 'o', 'o', 'o', 'o', '/', 'o', 'u', 'u', 'u', 'u', 'y', 'p', 'y',
};

const vusk_color selected_background_color{64, 64, 64};

namespace {
constexpr int tab_width = 8;
constexpr int invisible_lines_fallback = 20;
// Display lines per kept line beyond which old lines go as well: only a
// window a few glyphs wide wraps this much.
constexpr int64_t display_lines_per_line = 4;

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

unsigned char channel(int value)
{
    return static_cast<unsigned char>(std::clamp(value, 0, 255));
}
}

// Where a line is broken: `chunk` keeps its first `offset` characters and the
// upper line ends there, `upper_width` pixels wide.
struct textctrl_store::break_point {
    vusk_textctrl_chunk *chunk = nullptr;
    int offset = 0;
    int64_t upper_width = 0;
};

textctrl_store::textctrl_store()
{
    current_tail = &get_or_create_line(0)->head;
}

textctrl_store::~textctrl_store() = default;

void textctrl_store::SetTextColor(const vusk_color &fg, const vusk_color &bg)
{
    text_color = fg;
    background = bg;
    base_background = bg;
}

void textctrl_store::AppendRawText(const char *text)
{
    if (text == nullptr)
        return;
    wxMutexLocker lock(mutex);
    if (at_start) {
        text += strspn(text, "\n");
        at_start = 0;
    }
    const char *const end = text + strlen(text);
    // A long append becomes as many raw chunks as it needs; even an empty one
    // leaves its (empty) chunk.
    do {
        const size_t longest = std::min<size_t>(size_t(end - text), vusk_textctrl_chunk::longest_raw_chunk) * tab_width;
        const size_t capacity = std::min<size_t>(longest, vusk_textctrl_chunk::longest_raw_chunk);
        char *const chunk_text = raw_text.reserve(capacity);
        char *chunk_end = chunk_text;
        text = expand_text(text, end, &chunk_end, chunk_text + capacity);
        raw_text.commit(size_t(chunk_end - chunk_text));
        add_raw_chunk(chunk_text, int(chunk_end - chunk_text), text_color);
    } while (text < end);
    if (over_limit())
        drop_oldest_lines();
}

// Transliterates and expands [text, end) into the room from *out to out_end;
// returns where the rest begins. A tab that does not fit is left for the next
// room, where it produces the blanks still missing, since the column
// remembers how far it got.
const char *textctrl_store::expand_text(const char *text, const char *end, char **out, char *out_end)
{
    char *to = *out;
    for (; text < end && to < out_end; ++text) {
        const unsigned char byte = static_cast<unsigned char>(*text);
        if (byte >= 0x80) {
            *to++ = eascii_lookup_table[byte - 0x80];
            column = (column + 1) % tab_width;
        } else if (byte == '\t') {
            const int blanks_needed = tab_width - column;
            const int blanks = std::min<int>(blanks_needed, int(out_end - to));
            to = std::fill_n(to, blanks, ' ');
            column = (column + blanks) % tab_width;
            if (blanks < blanks_needed)
                break;
        } else if (byte == '\n' || byte == '\r') {
            *to++ = char(byte);
            column = 0;
        } else {
            *to++ = char(byte);
            column = (column + 1) % tab_width;
        }
    }
    *out = to;
    return text;
}

void textctrl_store::add_raw_chunk(const char *text, int length, const vusk_color &colour)
{
    vusk_textctrl_raw_chunk &raw = raw_chunks.emplace_back();
    raw.text = text;
    raw.length = static_cast<unsigned short>(length);
    raw.red = channel(colour.r);
    raw.green = channel(colour.g);
    raw.blue = channel(colour.b);
    raw_bytes += length;
    raw_lines += std::count(text, text + length, '\n');
    add_chunk_line_array(raw);
}

bool textctrl_store::over_limit() const
{
    return limit.exceeded(raw_lines, raw_bytes) ||
           current_line > std::max<int64_t>(limit.lines, 1) * display_lines_per_line;
}

void textctrl_store::set_scrollback_limit(const scrollback_limit &new_limit)
{
    wxMutexLocker lock(mutex);
    limit = new_limit;
    if (over_limit())
        drop_oldest_lines();
}

// Keeps the newest lines within the limit. Old display lines go from the
// front with the raw text they came from; since every line is wrapped from
// its own start, the kept lines need no new layout. The oldest whole lines
// go, or, when the newest line alone is over the limit, the oldest part of
// it. Storage that only dropped text used goes back.
void textctrl_store::drop_oldest_lines()
{
    const int64_t most_display_lines = std::max<int64_t>(limit.lines, 1) * display_lines_per_line;
    int64_t target_bytes = limit.bytes_after_trim();
    if (current_line > most_display_lines)
        target_bytes = std::min(target_bytes, raw_bytes / current_line * (most_display_lines - most_display_lines / 8));
    int64_t lines_left = raw_lines;
    int64_t bytes_left = raw_bytes;
    auto may_stop_before = [&](int index) {
        const bool within_limit = lines_left <= limit.lines_after_trim() && bytes_left <= target_bytes;
        const vusk_textctrl_line *previous = record(index - 1);
        return within_limit && (lines_left == 0 || previous == nullptr || previous->ends_with_newline);
    };
    int dropped = 0;
    for (; dropped < current_line && !may_stop_before(dropped); ++dropped) {
        if (const vusk_textctrl_line *line = record(dropped)) {
            bytes_left -= line->character_count() + line->ends_with_newline;
            lines_left -= line->ends_with_newline;
        }
    }
    if (dropped == current_line && bytes_left > target_bytes)
        bytes_left -= cut_line_front(get_or_create_line(current_line), bytes_left - target_bytes);
    drop_raw_text(raw_bytes - bytes_left);
    raw_lines = lines_left;
    drop_display_lines(dropped);
    clear_mouse_selection();
    ++trims;
}

// Drops up to `bytes` characters from the front of the current line.
int64_t textctrl_store::cut_line_front(vusk_textctrl_line *line, int64_t bytes)
{
    int64_t removed = 0;
    while (line->head != nullptr && removed < bytes) {
        vusk_textctrl_chunk *chunk = line->head;
        if (chunk->length <= bytes - removed) {
            removed += chunk->length;
            current_width -= calc_chunk_size(chunk->text, chunk->length);
            line->head = chunk->next;
            if (line->head == nullptr)
                current_tail = &line->head;
            continue;
        }
        const int cut = int(bytes - removed);
        current_width -= calc_chunk_size(chunk->text, cut);
        chunk->text += cut;
        chunk->length = static_cast<unsigned short>(chunk->length - cut);
        removed += cut;
    }
    return removed;
}

void textctrl_store::drop_raw_text(int64_t bytes)
{
    raw_bytes -= bytes;
    while (!raw_chunks.empty() && raw_chunks.front().length <= bytes) {
        bytes -= raw_chunks.front().length;
        raw_chunks.pop_front();
    }
    if (raw_chunks.empty()) {
        raw_text.release_before(nullptr);
        return;
    }
    vusk_textctrl_raw_chunk &oldest = raw_chunks.front();
    oldest.text += bytes;
    oldest.length = static_cast<unsigned short>(oldest.length - bytes);
    raw_text.release_before(oldest.text);
}

void textctrl_store::drop_display_lines(int count)
{
    for (int i = 0; i < count; ++i)
        line_records.pop_front();
    current_line -= count;
    bottom_line = std::max(bottom_line - count, 0);
    const vusk_textctrl_chunk *oldest = nullptr;
    for (int i = 0; i <= current_line && oldest == nullptr; ++i)
        if (const vusk_textctrl_line *line = record(i))
            oldest = line->head;
    display_chunk_slabs.release_before(oldest);
}

void textctrl_store::add_chunk_line_array(const vusk_textctrl_raw_chunk &raw)
{
    const char *segment = raw.text;
    const char *const end = raw.text + raw.length;
    while (segment < end) {
        const char *newline = static_cast<const char *>(memchr(segment, '\n', size_t(end - segment)));
        const char *segment_end = newline != nullptr ? newline : end;
        add_chunk_line(segment, int(segment_end - segment), raw);
        if (newline == nullptr)
            break;
        end_line_with_newline();
        segment = newline + 1;
    }
}

void textctrl_store::add_chunk_line(const char *text, int length, const vusk_textctrl_raw_chunk &raw)
{
    if (length == 0)
        return;
    vusk_textctrl_chunk *chunk = display_chunk_slabs.take();
    chunk->text = text;
    chunk->length = static_cast<unsigned short>(length);
    chunk->red = raw.red;
    chunk->green = raw.green;
    chunk->blue = raw.blue;
    vusk_textctrl_line *line = get_or_create_line(current_line);
    *current_tail = chunk;
    current_tail = &chunk->next;
    current_width += calc_chunk_size(text, length);
    if (wrap_enabled && current_width >= view_width)
        break_and_advance_line(line);
}

void textctrl_store::end_line_with_newline()
{
    get_or_create_line(current_line)->ends_with_newline = 1;
    advance_line();
    current_width = 0;
}

void textctrl_store::advance_line()
{
    ++current_line;
    current_tail = &get_or_create_line(current_line)->head;
    if (!hold_view && !top_anchored)
        bottom_line = current_line;
}

// Breaks the line, and then each new line in turn, until the newest line is
// narrower than the window or cannot be broken.
void textctrl_store::break_and_advance_line(vusk_textctrl_line *line)
{
    break_point found;
    while (current_width >= view_width && calc_break_position(line, &found)) {
        vusk_textctrl_chunk *split = found.chunk;
        vusk_textctrl_chunk **const old_tail = current_tail;
        const bool split_was_last = split->next == nullptr;
        vusk_textctrl_chunk *rest = split->next;
        if (found.offset < split->length) {
            vusk_textctrl_chunk *remainder = display_chunk_slabs.take();
            remainder->text = split->text + found.offset;
            remainder->length = static_cast<unsigned short>(split->length - found.offset);
            remainder->red = split->red;
            remainder->green = split->green;
            remainder->blue = split->blue;
            remainder->next = rest;
            rest = remainder;
            split->length = static_cast<unsigned short>(found.offset);
        }
        split->next = nullptr;

        advance_line();
        vusk_textctrl_line *next_line = get_or_create_line(current_line);
        next_line->head = rest;
        if (rest == nullptr)
            current_tail = &next_line->head;
        else if (split_was_last)
            current_tail = &rest->next;
        else
            current_tail = old_tail;
        current_width -= found.upper_width;
        line = next_line;
    }
}

// The break falls after the last blank before the first character that
// reaches the window's width, or before that character when there is no
// blank; never before the first character of the line.
bool textctrl_store::calc_break_position(const vusk_textctrl_line *line, break_point *found) const
{
    break_point last_blank;
    vusk_textctrl_chunk *previous = nullptr;
    int64_t total = 0;
    bool first_character = true;
    for (vusk_textctrl_chunk *chunk = line->head; chunk != nullptr; chunk = chunk->next) {
        for (int i = 0; i < chunk->length; ++i) {
            const int width = char_widths[static_cast<unsigned char>(chunk->text[i])];
            if (total + width >= view_width) {
                if (first_character)
                    return false;
                if (last_blank.chunk != nullptr)
                    *found = last_blank;
                else if (i > 0)
                    *found = {chunk, i, total};
                else
                    *found = {previous, previous->length, total};
                return true;
            }
            total += width;
            first_character = false;
            if (is_blank(chunk->text[i]))
                last_blank = {chunk, i + 1, total};
        }
        previous = chunk;
    }
    return false;
}

int textctrl_store::calc_chunk_size(const char *text, int length) const
{
    int width = 0;
    for (int i = 0; i < length; ++i)
        width += char_widths[static_cast<unsigned char>(text[i])];
    return width;
}

vusk_textctrl_line *textctrl_store::get_or_create_line(int index)
{
    while (line_records.size() <= size_t(index))
        line_records.emplace_back();
    return &line_records[size_t(index)];
}

const vusk_textctrl_line *textctrl_store::record(int index) const
{
    if (index < 0 || size_t(index) >= line_records.size())
        return nullptr;
    return &line_records[size_t(index)];
}

const vusk_textctrl_line *textctrl_store::line_record(int index) const
{
    return record(index);
}

std::string textctrl_store::line_text(int index) const
{
    std::string text;
    if (const vusk_textctrl_line *line = record(index))
        for (const vusk_textctrl_chunk *chunk = line->head; chunk != nullptr; chunk = chunk->next)
            text.append(chunk->text, size_t(chunk->length));
    return text;
}

int textctrl_store::raw_chunk_count() const
{
    return int(raw_chunks.size());
}

void textctrl_store::empty_display_lines()
{
    // Every line after current_line is empty already.
    for (int i = 0; i <= current_line && size_t(i) < line_records.size(); ++i)
        line_records[size_t(i)].empty();
    current_tail = &line_records.front().head;
    display_chunk_slabs.rewind();
}

void textctrl_store::free_raw_chunks()
{
    std::deque<vusk_textctrl_raw_chunk>().swap(raw_chunks);
    raw_text.clear();
    raw_bytes = 0;
    raw_lines = 0;
}

void textctrl_store::Clear()
{
    clear_mouse_selection();
    wxMutexLocker lock(mutex);
    empty_display_lines();
    display_chunk_slabs.release();
    free_raw_chunks();
    current_line = 0;
    current_width = 0;
    column = 0;
    bottom_line = 0;
    at_start = 1;
    get_or_create_line(0);
}

// Rebuilds every display line from the raw chunks. A view that is held keeps
// showing the same text: its place is remembered as a position in the text,
// which wrapping does not change, and found again afterwards.
void textctrl_store::recalc_line_sizes()
{
    clear_mouse_selection();
    wxMutexLocker lock(mutex);
    const bool keep_view = hold_view != 0;
    const int lines_past_end = bottom_line - current_line;
    text_position shown;
    if (keep_view && lines_past_end < 0)
        shown = position_of_line(bottom_line);

    empty_display_lines();
    current_line = 0;
    bottom_line = 0;
    current_width = 0;
    for (const vusk_textctrl_raw_chunk &raw : raw_chunks)
        add_chunk_line_array(raw);

    if (keep_view)
        bottom_line = lines_past_end >= 0 ? current_line + lines_past_end : line_at_position(shown);
}

// The position of a display line's character that identifies the view: the
// first one for a view anchored at the top, else the last one.
textctrl_store::text_position textctrl_store::position_of_line(int index) const
{
    text_position position;
    for (int i = 0; i < index; ++i) {
        const vusk_textctrl_line *line = record(i);
        if (line == nullptr)
            continue;
        if (line->ends_with_newline) {
            ++position.logical_line;
            position.offset = 0;
        } else {
            position.offset += line->character_count();
        }
    }
    if (!top_anchored)
        if (const vusk_textctrl_line *line = record(index))
            position.offset += std::max(line->character_count() - 1, 0);
    return position;
}

int textctrl_store::line_at_position(const text_position &position) const
{
    int64_t logical_line = 0;
    int64_t offset = 0;
    for (int i = 0; i < current_line; ++i) {
        const vusk_textctrl_line *line = record(i);
        if (line == nullptr)
            continue;
        if (logical_line == position.logical_line) {
            offset += line->character_count();
            if (position.offset < offset || line->ends_with_newline)
                return i;
        } else if (line->ends_with_newline) {
            ++logical_line;
        }
    }
    return current_line;
}

void textctrl_store::set_glyph_metrics(const int (&widths)[256], int height)
{
    for (int i = 0; i < 256; ++i)
        char_widths[i] = std::max(widths[i], 0);
    line_height = height;
    recalc_line_sizes();
}

void textctrl_store::set_view_size(int width, int height)
{
    {
        wxMutexLocker lock(mutex);
        view_width = width;
        view_height = height;
    }
    if (width != last_width) {
        last_width = width;
        recalc_line_sizes();
    }
}

void textctrl_store::get_character_pixel_sizes(int *width, int *height) const
{
    if (height != nullptr)
        *height = line_height;
    if (width != nullptr)
        *width = *std::max_element(char_widths + 32, char_widths + 127);
}

int textctrl_store::get_visible_line_count() const
{
    if (line_height < 1)
        return invisible_lines_fallback;
    return std::max(view_height / line_height, 1);
}

void textctrl_store::get_scrollbar_data(int *position, int *range, int *page) const
{
    const int visible = get_visible_line_count();
    *page = visible;
    if (top_anchored) {
        *position = bottom_line;
        *range = current_line + 1 + visible;
    } else {
        *position = bottom_line - visible;
        *range = current_line;
    }
}

void textctrl_store::ShowPosition(int line)
{
    const int64_t last = top_anchored ? current_line : int64_t(current_line) + get_visible_line_count();
    bottom_line = int(std::clamp<int64_t>(line, 0, std::min<int64_t>(last, INT_MAX)));
    refresh_view();
}

int textctrl_store::set_scrollbar_position(int position)
{
    if (top_anchored) {
        ShowPosition(position);
        return position;
    }
    const int64_t line = int64_t(position) + get_visible_line_count();
    const int shown = int(std::clamp<int64_t>(line, INT_MIN, INT_MAX));
    ShowPosition(shown);
    return shown;
}

void textctrl_store::paint(textctrl_painter &painter)
{
    painter.clear(background);
    if (line_height < 1)
        return;
    wxMutexLocker lock(mutex);
    if (top_anchored) {
        int index = std::max(bottom_line, 0);
        for (int y = 0; y < view_height && index <= current_line; y += line_height, ++index)
            paint_line(painter, index, y);
    } else {
        int index = bottom_line;
        for (int y = view_height - line_height - 1; y > -line_height && index >= 0;
             y -= line_height, --index)
            paint_line(painter, index, y);
    }
}

// Draws a line's chunks from x = 1, each cut where the selection begins or
// ends, and stops at the window's right edge.
void textctrl_store::paint_line(textctrl_painter &painter, int index, int y) const
{
    const vusk_textctrl_line *line = record(index);
    if (line == nullptr)
        return;
    int first_selected = INT_MAX;
    int last_selected = INT_MIN;
    selected_columns(index, &first_selected, &last_selected);
    int x = 1;
    int column_start = 0;
    for (const vusk_textctrl_chunk *chunk = line->head; chunk != nullptr && x < view_width;
         chunk = chunk->next) {
        int piece_start = 0;
        while (piece_start < chunk->length) {
            const int column_at = column_start + piece_start;
            const bool selected = column_at >= first_selected && column_at <= last_selected;
            int piece_end = chunk->length;
            if (selected)
                piece_end = int(std::min<int64_t>(piece_end, int64_t(last_selected) - column_start + 1));
            else if (column_at < first_selected)
                piece_end = int(std::min<int64_t>(piece_end, int64_t(first_selected) - column_start));
            const char *piece = chunk->text + piece_start;
            int piece_width = 0;
            const int length = visible_length(piece, piece_end - piece_start, view_width - x, &piece_width);
            const vusk_color colour(chunk->red, chunk->green, chunk->blue);
            if (length > 0)
                painter.draw_text(x, y, piece, length, colour, selected);
            x += piece_width;
            piece_start = piece_end;
        }
        column_start += chunk->length;
    }
}

// How many of `length` characters to draw in `room` pixels: up to and
// including the first one that reaches beyond it.
int textctrl_store::visible_length(const char *text, int length, int room, int *width) const
{
    int drawn = 0;
    *width = 0;
    while (drawn < length && *width < room)
        *width += char_widths[static_cast<unsigned char>(text[drawn++])];
    return drawn;
}

// The selected character columns of a line, both inclusive; false when none.
bool textctrl_store::selected_columns(int index, int *first, int *last) const
{
    if (!has_selection || index < sel_start_line || index > sel_end_line)
        return false;
    *first = index == sel_start_line ? sel_start_offset : 0;
    *last = index == sel_end_line ? sel_end_offset : INT_MAX;
    return *first <= *last;
}
