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

// Where a line is broken: the next line starts at `place` and the upper line
// ends there, `upper_width` pixels wide.
struct textctrl_store::break_point {
    textctrl_place place;
    int64_t upper_width = 0;
};

textctrl_store::textctrl_store()
{
    line_records.emplace_back();
}

textctrl_store::~textctrl_store()
{
    if (shared != nullptr)
        shared->hold(shared_text::scrollback_holder, nullptr);
}

void textctrl_store::SetTextColor(const vusk_color &fg, const vusk_color &bg)
{
    text_color = fg;
    background = bg;
    base_background = bg;
}

void textctrl_store::share_text(std::shared_ptr<shared_text> text)
{
    Clear();
    shared = std::move(text);
}

void textctrl_store::AppendRawText(const char *text)
{
    if (text != nullptr)
        append_text(text, false);
}

void textctrl_store::append_shared_text(std::string_view text)
{
    append_text(text, shared != nullptr);
}

void textctrl_store::append_text(std::string_view text, bool may_share)
{
    wxMutexLocker lock(mutex);
    if (at_start) {
        text.remove_prefix(std::min(text.find_first_not_of('\n'), text.size()));
        at_start = 0;
    }
    const auto needs_expansion = [](char c) { return c == '\t' || static_cast<unsigned char>(c) >= 0x80; };
    if (may_share && std::none_of(text.begin(), text.end(), needs_expansion))
        add_shared(text);
    else
        add_expanded(text);
    if (over_limit())
        drop_oldest_lines();
}

void textctrl_store::add_shared(std::string_view text)
{
    advance_column(text);
    while (!text.empty()) {
        const size_t length = std::min<size_t>(text.size(), vusk_textctrl_chunk::longest);
        add_raw_chunk(text.data(), int(length), true);
        text.remove_prefix(length);
    }
}

// Text that needs no expansion moves the tab column by its length since its
// last line end.
void textctrl_store::advance_column(std::string_view text)
{
    const size_t line_end = text.find_last_of("\r\n");
    if (line_end == std::string_view::npos)
        column = int((size_t(column) + text.size()) % tab_width);
    else
        column = int((text.size() - line_end - 1) % tab_width);
}

// A long append becomes as many chunks as it needs.
void textctrl_store::add_expanded(std::string_view text)
{
    const char *from = text.data();
    const char *const end = from + text.size();
    while (from < end) {
        const size_t longest = std::min<size_t>(size_t(end - from), vusk_textctrl_chunk::longest) * tab_width;
        const size_t capacity = std::min<size_t>(longest, vusk_textctrl_chunk::longest);
        char *const chunk_text = raw_text.reserve(capacity);
        char *chunk_end = chunk_text;
        from = expand_text(from, end, &chunk_end, chunk_text + capacity);
        raw_text.commit(size_t(chunk_end - chunk_text));
        add_raw_chunk(chunk_text, int(chunk_end - chunk_text), false);
    }
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

// New text joins the newest chunk when it follows that chunk's text in
// memory, in the same colour, from the same storage. Storage blocks are
// separate heap allocations, so the text of one never follows another's.
bool textctrl_store::joins_last_chunk(const char *text, int length, bool shared_copy) const
{
    if (raw_chunks.empty())
        return false;
    const vusk_textctrl_chunk &last = raw_chunks.back();
    return last.shared == shared_copy && last.text + last.length == text &&
           last.length + length <= vusk_textctrl_chunk::longest && last.red == channel(text_color.r) &&
           last.green == channel(text_color.g) && last.blue == channel(text_color.b);
}

void textctrl_store::add_raw_chunk(const char *text, int length, bool shared_copy)
{
    if (length == 0)
        return;
    int from = 0;
    if (joins_last_chunk(text, length, shared_copy)) {
        from = raw_chunks.back().length;
        raw_chunks.back().length = static_cast<unsigned short>(from + length);
    } else {
        vusk_textctrl_chunk &raw = raw_chunks.emplace_back();
        raw.text = text;
        raw.length = static_cast<unsigned short>(length);
        raw.red = channel(text_color.r);
        raw.green = channel(text_color.g);
        raw.blue = channel(text_color.b);
        raw.shared = shared_copy;
        if (!shared_copy)
            ++own_chunks;
        else if (++shared_chunks == 1)
            shared->hold(shared_text::scrollback_holder, text);
    }
    raw_bytes += length;
    raw_lines += std::count(text, text + length, '\n');
    add_chunk_line_array(first_chunk + uint32_t(raw_chunks.size() - 1), from, from + length);
}

bool textctrl_store::over_limit() const
{
    return limit.exceeded(raw_lines, raw_bytes, int64_t(raw_chunks.size())) ||
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
        const bool within_limit = lines_left <= limit.lines_after_trim() && bytes_left <= target_bytes &&
                                  chunks_from(kept_start(index)) <= limit.runs_after_trim();
        const vusk_textctrl_line *previous = record(index - 1);
        return within_limit && (lines_left == 0 || previous == nullptr || previous->ends_with_newline);
    };
    int dropped = 0;
    for (; dropped < current_line && !may_stop_before(dropped); ++dropped) {
        const vusk_textctrl_line *line = record(dropped);
        bytes_left -= character_count(dropped) + line->ends_with_newline;
        lines_left -= line->ends_with_newline;
    }
    if (dropped == current_line) {
        const int64_t too_many_chunks = chunks_from(kept_start(dropped)) - limit.runs_after_trim();
        const int64_t cut = std::max(bytes_left - target_bytes, bytes_in_first_chunks(too_many_chunks));
        if (cut > 0)
            bytes_left -= cut_line_front(cut);
    }
    drop_display_lines(dropped);
    const textctrl_place start = kept_start(0);
    line_records.front().chunk = start.chunk;
    line_records.front().offset = start.offset;
    drop_chunks_before(start);
    raw_bytes = bytes_left;
    raw_lines = lines_left;
    clear_mouse_selection();
    ++trims;
}

// Where the text kept from a line on begins. A line that starts just after
// the newline that ended a chunk begins in the next chunk: the one before
// holds none of its text and goes with the lines before it.
textctrl_place textctrl_store::kept_start(int index) const
{
    const textctrl_place start = record(index)->start();
    if (start.chunk != end_of_text().chunk && start.offset == chunk_numbered(start.chunk).length)
        return {start.chunk + 1, 0};
    return start;
}

// The chunks from `start` to the end of the text.
int64_t textctrl_store::chunks_from(textctrl_place start) const
{
    return int64_t(uint32_t(first_chunk + uint32_t(raw_chunks.size()) - start.chunk));
}

// The newest line's characters in its first `count` chunks.
int64_t textctrl_store::bytes_in_first_chunks(int64_t count) const
{
    int64_t bytes = 0;
    const uint32_t first = kept_start(current_line).chunk;
    for_each_run(current_line, [&](const vusk_textctrl_chunk &, textctrl_place at, int length) {
        if (int64_t(at.chunk - first) >= count)
            return false;
        bytes += length;
        return true;
    });
    return bytes;
}

// Moves the start of the newest line past up to `bytes` characters.
int64_t textctrl_store::cut_line_front(int64_t bytes)
{
    int64_t removed = 0;
    textctrl_place start = end_of_text();
    for_each_run(current_line, [&](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        const int cut = int(std::min<int64_t>(length, bytes - removed));
        current_width -= calc_chunk_size(chunk.text + at.offset, cut);
        removed += cut;
        if (removed < bytes)
            return true;
        // A start at the end of a chunk is the start of the next one, so that
        // the chunk can go.
        if (at.offset + cut == chunk.length)
            start = {at.chunk + 1, 0};
        else
            start = {at.chunk, static_cast<unsigned short>(at.offset + cut)};
        return false;
    });
    vusk_textctrl_line &line = line_records.back();
    line.chunk = start.chunk;
    line.offset = start.offset;
    return removed;
}

void textctrl_store::drop_chunks_before(textctrl_place start)
{
    while (!raw_chunks.empty() && first_chunk != start.chunk) {
        --(raw_chunks.front().shared ? shared_chunks : own_chunks);
        raw_chunks.pop_front();
        ++first_chunk;
    }
    release_unused_text();
}

// Tells each storage where the oldest text still shown from it starts.
void textctrl_store::release_unused_text()
{
    const auto oldest_text = [this](bool shared_copy) -> const char * {
        if ((shared_copy ? shared_chunks : own_chunks) == 0)
            return nullptr;
        return std::find_if(raw_chunks.begin(), raw_chunks.end(),
                            [shared_copy](const vusk_textctrl_chunk &c) { return c.shared == shared_copy; })
            ->text;
    };
    if (shared != nullptr)
        shared->hold(shared_text::scrollback_holder, oldest_text(true));
    raw_text.release_before(oldest_text(false));
}

void textctrl_store::drop_display_lines(int count)
{
    line_records.erase(line_records.begin(), line_records.begin() + count);
    current_line -= count;
    bottom_line = std::max(bottom_line - count, 0);
}

// Lays out bytes from..to of a chunk, which follow the text laid out so far.
void textctrl_store::add_chunk_line_array(uint32_t number, int from, int to)
{
    const vusk_textctrl_chunk &raw = chunk_numbered(number);
    while (from < to) {
        const void *newline = memchr(raw.text + from, '\n', size_t(to - from));
        const int segment_end = newline != nullptr ? int(static_cast<const char *>(newline) - raw.text) : to;
        add_chunk_line(raw, from, segment_end);
        if (newline == nullptr)
            break;
        from = segment_end + 1;
        end_line_with_newline({number, static_cast<unsigned short>(from)});
    }
}

void textctrl_store::add_chunk_line(const vusk_textctrl_chunk &raw, int from, int to)
{
    if (from == to)
        return;
    current_width += calc_chunk_size(raw.text + from, to - from);
    if (wrap_enabled && current_width >= view_width)
        break_and_advance_line();
}

void textctrl_store::end_line_with_newline(textctrl_place next_line)
{
    line_records.back().ends_with_newline = 1;
    advance_line(next_line);
    current_width = 0;
}

void textctrl_store::advance_line(textctrl_place start)
{
    ++current_line;
    line_records.push_back({start.chunk, start.offset, 0});
    if (!hold_view && !top_anchored)
        bottom_line = current_line;
}

// Breaks the newest line, and then each new line in turn, until the newest
// line is narrower than the window or cannot be broken.
void textctrl_store::break_and_advance_line()
{
    break_point found;
    while (current_width >= view_width && calc_break_position(&found)) {
        advance_line(found.place);
        current_width -= found.upper_width;
    }
}

// The break falls after the last blank before the first character of the
// newest line that reaches the window's width, or before that character when
// there is no blank; never before the first character of the line.
bool textctrl_store::calc_break_position(break_point *found) const
{
    bool have_blank = false;
    break_point last_blank;
    int64_t total = 0;
    bool first_character = true;
    bool broken = false;
    for_each_run(current_line, [&](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        const char *const text = chunk.text + at.offset;
        for (int i = 0; i < length; ++i) {
            const int width = char_widths[static_cast<unsigned char>(text[i])];
            if (total + width >= view_width) {
                broken = !first_character;
                if (broken)
                    *found = have_blank ? last_blank
                                        : break_point{{at.chunk, static_cast<unsigned short>(at.offset + i)}, total};
                return false;
            }
            total += width;
            first_character = false;
            if (is_blank(text[i])) {
                last_blank = {{at.chunk, static_cast<unsigned short>(at.offset + i + 1)}, total};
                have_blank = true;
            }
        }
        return true;
    });
    return broken;
}

int textctrl_store::calc_chunk_size(const char *text, int length) const
{
    int width = 0;
    for (int i = 0; i < length; ++i)
        width += char_widths[static_cast<unsigned char>(text[i])];
    return width;
}

const vusk_textctrl_line *textctrl_store::record(int index) const
{
    if (index < 0 || index > current_line)
        return nullptr;
    return &line_records[size_t(index)];
}

const vusk_textctrl_line *textctrl_store::line_record(int index) const
{
    return record(index);
}

const vusk_textctrl_chunk &textctrl_store::chunk_numbered(uint32_t number) const
{
    return raw_chunks[number - first_chunk];
}

textctrl_place textctrl_store::end_of_text() const
{
    return {first_chunk + uint32_t(raw_chunks.size()), 0};
}

// Where the next line starts, less the newline that ended this one; the
// newest line runs to the end of the text.
textctrl_place textctrl_store::end_of_line(int index) const
{
    if (index >= current_line)
        return end_of_text();
    const vusk_textctrl_line &line = line_records[size_t(index)];
    const vusk_textctrl_line &next = line_records[size_t(index) + 1];
    textctrl_place end = next.start();
    if (line.ends_with_newline) {
        while (end.offset == 0 && end.chunk != line.chunk)
            end.offset = chunk_numbered(--end.chunk).length;
        if (end.offset > 0)
            --end.offset;
    }
    return end;
}

int textctrl_store::character_count(int index) const
{
    int count = 0;
    for_each_run(index, [&count](const vusk_textctrl_chunk &, textctrl_place, int length) {
        count += length;
        return true;
    });
    return count;
}

std::string textctrl_store::line_text(int index) const
{
    std::string text;
    for_each_run(index, [&text](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        text.append(chunk.text + at.offset, size_t(length));
        return true;
    });
    return text;
}

std::vector<textctrl_run> textctrl_store::line_runs(int index) const
{
    std::vector<textctrl_run> runs;
    for_each_run(index, [&runs](const vusk_textctrl_chunk &chunk, textctrl_place at, int length) {
        runs.push_back({std::string(chunk.text + at.offset, size_t(length)),
                        vusk_color(chunk.red, chunk.green, chunk.blue)});
        return true;
    });
    return runs;
}

int textctrl_store::raw_chunk_count() const
{
    return int(raw_chunks.size());
}

// Line 0 starts at `start`; there are no other lines.
void textctrl_store::restart_lines(textctrl_place start)
{
    std::deque<vusk_textctrl_line>(1, vusk_textctrl_line{start.chunk, start.offset, 0}).swap(line_records);
    current_line = 0;
    current_width = 0;
}

void textctrl_store::free_raw_chunks()
{
    std::deque<vusk_textctrl_chunk>().swap(raw_chunks);
    first_chunk = 0;
    shared_chunks = 0;
    own_chunks = 0;
    release_unused_text();
    raw_text.clear();
    raw_bytes = 0;
    raw_lines = 0;
}

void textctrl_store::Clear()
{
    clear_mouse_selection();
    wxMutexLocker lock(mutex);
    free_raw_chunks();
    restart_lines({});
    column = 0;
    bottom_line = 0;
    at_start = 1;
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

    const textctrl_place start = line_records.front().start();
    restart_lines(start);
    bottom_line = 0;
    for (uint32_t number = start.chunk; number - first_chunk < raw_chunks.size(); ++number)
        add_chunk_line_array(number, number == start.chunk ? start.offset : 0, chunk_numbered(number).length);

    if (keep_view)
        bottom_line = lines_past_end >= 0 ? current_line + lines_past_end : line_at_position(shown);
}

// The position of a display line's character that identifies the view: the
// first one for a view anchored at the top, else the last one.
textctrl_store::text_position textctrl_store::position_of_line(int index) const
{
    text_position position;
    for (int i = 0; i < index && i <= current_line; ++i) {
        if (record(i)->ends_with_newline) {
            ++position.logical_line;
            position.offset = 0;
        } else {
            position.offset += character_count(i);
        }
    }
    if (!top_anchored && record(index) != nullptr)
        position.offset += std::max(character_count(index) - 1, 0);
    return position;
}

int textctrl_store::line_at_position(const text_position &position) const
{
    int64_t logical_line = 0;
    int64_t offset = 0;
    for (int i = 0; i < current_line; ++i) {
        const vusk_textctrl_line *line = record(i);
        if (logical_line == position.logical_line) {
            offset += character_count(i);
            if (position.offset < offset || line->ends_with_newline)
                return i;
        } else if (line->ends_with_newline) {
            ++logical_line;
        }
    }
    return current_line;
}

// The same metrics lay the text out as it is: a font switched away and back
// within one read re-wraps nothing.
void textctrl_store::set_glyph_metrics(const int (&widths)[256], int height)
{
    int clamped[256];
    for (int i = 0; i < 256; ++i)
        clamped[i] = std::max(widths[i], 0);
    if (height == line_height && std::equal(clamped, clamped + 256, char_widths))
        return;
    std::copy(clamped, clamped + 256, char_widths);
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

// Draws a line's runs from x = 1, each cut where the selection begins or
// ends, and stops at the window's right edge.
void textctrl_store::paint_line(textctrl_painter &painter, int index, int y) const
{
    int first_selected = INT_MAX;
    int last_selected = INT_MIN;
    selected_columns(index, &first_selected, &last_selected);
    int x = 1;
    int column_start = 0;
    for_each_run(index, [&](const vusk_textctrl_chunk &chunk, textctrl_place at, int run_length) {
        const char *const text = chunk.text + at.offset;
        const vusk_color colour(chunk.red, chunk.green, chunk.blue);
        int piece_start = 0;
        while (piece_start < run_length && x < view_width) {
            const int column_at = column_start + piece_start;
            const bool selected = column_at >= first_selected && column_at <= last_selected;
            int piece_end = run_length;
            if (selected)
                piece_end = int(std::min<int64_t>(piece_end, int64_t(last_selected) - column_start + 1));
            else if (column_at < first_selected)
                piece_end = int(std::min<int64_t>(piece_end, int64_t(first_selected) - column_start));
            const char *const piece = text + piece_start;
            int piece_width = 0;
            const int length = visible_length(piece, piece_end - piece_start, view_width - x, &piece_width);
            if (length > 0)
                painter.draw_text(x, y, piece, length, colour, selected);
            x += piece_width;
            piece_start = piece_end;
        }
        column_start += run_length;
        return x < view_width;
    });
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
