#ifndef VUSK_TEXTCTRL_STORE_H
#define VUSK_TEXTCTRL_STORE_H

#include "colorflash.h"
#include "scrollback_limit.h"
#include "shared_text.h"
#include "text_arena.h"
#include "textctrl_chunk.h"
#include "textctrl_owner.h"
#include "vusk_color.h"

#include <wx/thread.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Replacements for bytes 0x80..0xFF, indexed by byte - 0x80.
extern const char eascii_lookup_table[128];

// Background behind selected text.
extern const vusk_color selected_background_color;

// Where the store's paint goes: the drawn window renders into its bitmap,
// tests record the calls.
class textctrl_painter {
public:
    virtual void clear(const vusk_color &background) = 0;
    // `length` bytes of `text` (not NUL-terminated) with their left edge at
    // x and top at y; selected text goes on selected_background_color.
    virtual void draw_text(int x, int y, const char *text, int length, const vusk_color &colour,
                           bool selected) = 0;

protected:
    ~textctrl_painter() = default;
};

// A mouse event as the store sees it.
struct textctrl_mouse_event {
    enum kind_type {
        left_press,
        left_double_click,
        left_release,
        other_press, // right or middle button pressed
        motion,
        wheel,
        other,
    };
    kind_type kind = other;
    int x = 0;
    int y = 0;
    bool button_held = false; // for motion: any button is down
    int wheel_rotation = 0;
    int wheel_delta = 120;
};

// What the window must do with the mouse capture after an event.
enum class textctrl_capture { keep, take, release };

// The animation counter shared by the colour flash and the drag auto-scroll:
// steps still to run, milliseconds per step, milliseconds gathered toward the
// next step and the step last painted.
struct textctrl_animation_counter {
    int remaining = 0;
    int period = 15;
    int elapsed = 0;
    int painted = 0;
};

// A run of one colour on a display line, as the tests read it back.
struct textctrl_run {
    std::string text;
    vusk_color colour;
};

// The scrollback of one terminal window without the window: the text as it
// was appended (raw chunks), the display lines wrapped from it, the view, the
// mouse selection and the colour flash. `vusk_textctrl` puts it on screen;
// the hooks at the end are how the store reaches its window.
class textctrl_store {
public:
    textctrl_store();
    virtual ~textctrl_store();
    textctrl_store(const textctrl_store &) = delete;
    textctrl_store &operator=(const textctrl_store &) = delete;

    // Text and layout.
    void SetTextColor(const vusk_color &fg, const vusk_color &bg);
    void AppendRawText(const char *text);
    // The text the display keeps for its render list, shown from that copy
    // where it needs no expansion (else as AppendRawText). `text` must lie in
    // the shared text given to share_text() and stay there until the store
    // stops holding it.
    void append_shared_text(std::string_view text);
    void share_text(std::shared_ptr<shared_text> text);
    void Clear();
    // Glyph width of every byte value and the line height, then a re-wrap.
    void set_glyph_metrics(const int (&widths)[256], int height);
    // The window's size; a changed width re-wraps everything.
    void set_view_size(int width, int height);
    void get_character_pixel_sizes(int *width, int *height) const;
    void recalc_line_sizes();
    // How much is kept; past it the oldest lines go.
    void set_scrollback_limit(const scrollback_limit &limit);
    // Counts the times old lines were dropped (the view's lines moved).
    int trim_count() const { return trims; }

    // The view.
    int get_visible_line_count() const;
    void get_scrollbar_data(int *position, int *range, int *page) const;
    void ShowPosition(int line);
    int set_scrollbar_position(int position);
    void translate_xy_to_line_and_offset(int x, int y, int *line, int *offset);
    void paint(textctrl_painter &painter);

    // The mouse and the selection.
    textctrl_capture handle_mouse(const textctrl_mouse_event &event);
    void mouse_capture_lost();
    int has_mouse_selection() const { return has_selection; }
    void clear_mouse_selection();
    void mouse_sync_and_copy_selection();
    void copy_selection_to_clipboard();
    int url_clicked_on(int line, int offset);

    // Colour flash and auto-scroll.
    int animation_step(int milliseconds);
    void parse_colorflash(const char *args);
    vusk_color calc_colorflash_color();

    // Read-only views for the terminal window and the tests.
    int get_current_line() const { return current_line; }
    int get_bottom_line() const { return bottom_line; }
    int get_line_height() const { return line_height; }
    const vusk_textctrl_line *line_record(int index) const;
    std::string line_text(int index) const;
    std::vector<textctrl_run> line_runs(int index) const;
    int raw_chunk_count() const;
    int64_t kept_bytes() const { return raw_bytes; }
    int64_t kept_lines() const { return raw_lines; }
    vusk_color get_background() const { return background; }
    const textctrl_animation_counter &animation() const { return counter; }
    int get_auto_scroll() const { return auto_scroll; }
    int get_ignore_until_release() const { return ignore_until_release; }
    int get_dragging() const { return dragging; }

    // Set by the terminal window.
    textctrl_owner *owner = nullptr;
    int top_anchored = 0;
    int hold_view = 0;
    int wrap_enabled = 1;

    int sel_start_line = 0;
    int sel_start_offset = 0;
    int sel_end_line = 0;
    int sel_end_offset = 0;

protected:
    // The window's content changed: paint it soon.
    virtual void refresh_view() = 0;
    // An animation step changed the picture: paint it now.
    virtual void repaint_view() = 0;
    // Put the window on the animation list (no effect when it is on it).
    virtual void begin_animation() = 0;
    virtual void put_on_clipboard(const std::string &text) = 0;
    virtual int url_hotlinking() const = 0;

private:
    struct break_point;
    struct selection_range {
        int start_line;
        int start_offset;
        int end_line;
        int end_offset;
        bool operator==(const selection_range &other) const
        {
            return start_line == other.start_line && start_offset == other.start_offset &&
                   end_line == other.end_line && end_offset == other.end_offset;
        }
    };
    struct text_position {
        int64_t logical_line = 0;
        int64_t offset = 0;
    };

    const vusk_textctrl_line *record(int index) const;
    const vusk_textctrl_chunk &chunk_numbered(uint32_t number) const;
    textctrl_place end_of_text() const;
    textctrl_place end_of_line(int index) const;
    // Calls visit(chunk, place, length) for each piece of a line's text in
    // order, up to the first call that returns false.
    template <class Visit> void for_each_run(int index, Visit &&visit) const;
    int character_count(int index) const;

    void append_text(std::string_view text, bool may_share);
    void add_shared(std::string_view text);
    void add_expanded(std::string_view text);
    const char *expand_text(const char *text, const char *end, char **out, char *out_end);
    void advance_column(std::string_view text);
    void add_raw_chunk(const char *text, int length, bool shared);
    bool joins_last_chunk(const char *text, int length, bool shared) const;
    bool over_limit() const;
    void drop_oldest_lines();
    textctrl_place kept_start(int index) const;
    int64_t chunks_from(textctrl_place start) const;
    int64_t bytes_in_first_chunks(int64_t count) const;
    int64_t cut_line_front(int64_t bytes);
    void drop_chunks_before(textctrl_place start);
    void release_unused_text();
    void drop_display_lines(int count);
    void add_chunk_line_array(uint32_t number, int from, int to);
    void add_chunk_line(const vusk_textctrl_chunk &raw, int from, int to);
    void end_line_with_newline(textctrl_place next_line);
    void break_and_advance_line();
    bool calc_break_position(break_point *found) const;
    int calc_chunk_size(const char *text, int length) const;
    void advance_line(textctrl_place start);
    void restart_lines(textctrl_place start);
    void free_raw_chunks();
    text_position position_of_line(int index) const;
    int line_at_position(const text_position &position) const;

    void paint_line(textctrl_painter &painter, int index, int y) const;
    int visible_length(const char *text, int length, int room, int *width) const;
    bool selected_columns(int index, int *first, int *last) const;
    int line_from_y(int y) const;
    void locate(int x, int y, int *line, int *offset);
    void press_at(int x, int y, bool may_open_url);
    void move_cursor(int x, int y);
    selection_range ordered_selection() const;
    void settle_selection();
    void wheel_turned(int rotation, int delta);
    void arm_auto_scroll();
    void arm_animation(int steps);
    void auto_scroll_step();
    void advance_counter(int milliseconds);
    bool select_url_at(int line, int offset, std::string *url);
    bool selection_text(std::string *text);
    void append_columns(std::string &text, int index, int first, int last) const;

    wxMutex mutex;
    int last_width = -1;
    int view_width = 1;
    int view_height = 1;
    int char_widths[256] = {};
    int line_height = 0;
    vusk_color background = vusk_BLACK;
    vusk_color base_background = vusk_BLACK;
    vusk_color text_color = vusk_WHITE;
    int bottom_line = 0;

    int auto_scroll = 0;
    colorflash_list flashes;
    int ignore_until_release = 0;
    int dragging = 0;
    int has_selection = 0;
    int anchor_line = 0;
    int anchor_offset = 0;
    int cursor_line = 0;
    int cursor_offset = 0;
    int wheel_total = 0;
    textctrl_animation_counter counter;

    // raw_chunks.front() is chunk number first_chunk; the counts say whether
    // any chunk holds shared or own text.
    std::deque<vusk_textctrl_chunk> raw_chunks;
    uint32_t first_chunk = 0;
    int64_t shared_chunks = 0;
    int64_t own_chunks = 0;
    std::shared_ptr<shared_text> shared;
    text_arena raw_text;
    int64_t raw_bytes = 0;
    int64_t raw_lines = 0;
    scrollback_limit limit;
    int trims = 0;
    int current_line = 0;
    int64_t current_width = 0;
    // Only the column's place between tab stops matters, so it is kept
    // modulo the tab width and can never overflow.
    int column = 0;
    int at_start = 1;
    // Display line i is line_records[i], the newest one current_line.
    std::deque<vusk_textctrl_line> line_records;
};

template <class Visit> void textctrl_store::for_each_run(int index, Visit &&visit) const
{
    const vusk_textctrl_line *line = record(index);
    if (line == nullptr)
        return;
    const textctrl_place end = end_of_line(index);
    // Unsigned differences: a number before the first chunk counts as past the end.
    for (uint32_t number = line->chunk; number - first_chunk < raw_chunks.size(); ++number) {
        const vusk_textctrl_chunk &chunk = chunk_numbered(number);
        const int from = number == line->chunk ? line->offset : 0;
        const int to = number == end.chunk ? end.offset : chunk.length;
        if (from < to && !visit(chunk, textctrl_place{number, static_cast<unsigned short>(from)}, to - from))
            return;
        if (number == end.chunk)
            return;
    }
}

#endif
