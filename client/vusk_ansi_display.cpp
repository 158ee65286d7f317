#include "vusk_ansi_display.h"

#include "ansi_display_layout.h"
#include "ansi_palette.h"
#include "display_calls.h"
#include "log_export.h"
#include "native_window.h"
#include "newbie_flash.h"
#include "vusk_bitmap.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <new>

namespace {
constexpr int initial_size = 20;
constexpr vusk_color reverse_background = vusk_DARK_GREY;

// The two-pixel frame of a display `w` pixels wide (without the scrollbar)
// and `h` high: the outer lines first, then the inner ones, which run on to
// the outer edge and so take four of the outer lines' pixels. Every line is
// straight, its end points included.
void draw_frame(vusk_bitmap &bitmap, int w, int h, const frame_colors &colors)
{
    const struct {
        int x0, y0, x1, y1;
    } outer[] = {{0, 0, w, 0}, {0, 0, 0, h}, {0, h - 1, w, h - 1}, {w - 1, 0, w - 1, h}},
      inner[] = {{1, 1, w - 1, 1}, {1, 1, 1, h - 1}, {1, h - 2, w - 1, h - 2}, {w - 2, 1, w - 2, h - 1}};
    for (const auto &line : outer)
        bitmap.DrawFilledRectangle(line.x0, line.y0, line.x1, line.y1, colors.outer);
    for (const auto &line : inner)
        bitmap.DrawFilledRectangle(line.x0, line.y0, line.x1, line.y1, colors.inner);
}

// Paints everything but `inside` (which a child window covers): the bands
// above, below, left and right of it.
void clear_around(vusk_bitmap &bitmap, const wxRect &inside, const vusk_color &colour)
{
    const int right = bitmap.GetWidth() - 1;
    const int bottom = bitmap.GetHeight() - 1;
    // Rectangles take their corners in either order: an empty band is skipped.
    auto band = [&](int x0, int y0, int x1, int y1) {
        if (x0 <= x1 && y0 <= y1)
            bitmap.DrawFilledRectangle(x0, y0, x1, y1, colour);
    };
    band(0, 0, right, inside.GetTop() - 1);
    band(0, inside.GetBottom() + 1, right, bottom);
    band(0, inside.GetTop(), inside.GetLeft() - 1, inside.GetBottom());
    band(inside.GetRight() + 1, inside.GetTop(), right, inside.GetBottom());
}

// Set while a trigger line is being fed, so that a trigger hook that writes
// does not feed it again.
int trigger_disable = 0;
}

wxBEGIN_EVENT_TABLE(vusk_ansi_display, vusk_embedded_window)
    EVT_MOUSEWHEEL(vusk_ansi_display::mouseWheelEvent)
    EVT_SET_FOCUS(vusk_ansi_display::OnFocusGot)
    EVT_SCROLL(vusk_ansi_display::handle_scroll_event)
wxEND_EVENT_TABLE()

vusk_ansi_display::vusk_ansi_display(wxWindow *parent, int id, const wxString &name)
    : vusk_embedded_window(parent, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0),
      textctrl_(this, id, name, wxDefaultPosition, wxSize(initial_size, initial_size), 0),
      scrollbar_(this),
      parser(*this)
{
    textctrl_.owner = this;
    textctrl_.share_text(recorder.text());
    reset_colors();
}

vusk_ansi_display::~vusk_ansi_display() = default;

void vusk_ansi_display::display_socket_data(const char *data, int length)
{
    changed_flag_ = true;
    parser.parse(data, length);
}

void vusk_ansi_display::write(const char *text)
{
    if (text == nullptr)
        return;
    try {
        record_and_draw(text);
    } catch (const std::bad_alloc &) {
        // Whatever the server sends, running out of memory costs that text only.
        fprintf(stderr, "Out of memory: %zu bytes of text dropped\n", strlen(text));
        return;
    }
    if (!trigger_disable) {
        trigger_disable = 1;
        try_trigger_line(text);
        trigger_disable = 0;
    }
}

void vusk_ansi_display::record_and_draw(const char *text)
{
    if (text[strspn(text, "\n")] != '\0')
        parser.note_text_shown();
    const std::string_view recorded = recorder.rerender_save_string(text);
    if (!updates_suspended_) {
        textctrl_.append_shared_text(recorded);
        follow_dropped_lines();
    }
}

// When the scrollback dropped old lines, the line numbers of the view moved.
void vusk_ansi_display::follow_dropped_lines()
{
    if (textctrl_.trim_count() == store_trims_seen)
        return;
    store_trims_seen = textctrl_.trim_count();
    view_line = textctrl_.get_bottom_line();
    set_scrollbar();
}

void vusk_ansi_display::set_scrollback_limit(const scrollback_limit &limit)
{
    recorder.set_scrollback_limit(limit);
    textctrl_.set_scrollback_limit(limit);
    follow_dropped_lines();
}

void vusk_ansi_display::write_direct(const char *text)
{
    textctrl_.AppendRawText(text);
}

void vusk_ansi_display::set_color(int first_code, int second_code)
{
    parser.set_color(first_code, second_code);
}

void vusk_ansi_display::reset_colors()
{
    parser.reset_colors();
}

void vusk_ansi_display::resync_colors()
{
    parser.resync_colors();
}

void vusk_ansi_display::ansi_write(const char *text)
{
    write(text);
}

void vusk_ansi_display::ansi_set_color(int rgb, int code, int attribute)
{
    set_color(rgb, code, attribute);
}

int vusk_ansi_display::ansi_visible_lines()
{
    return textctrl_.get_visible_line_count();
}

void vusk_ansi_display::set_color(int rgb, int code, int attribute)
{
    recorder.rerender_save_color(rgb, code, attribute);
    if (!updates_suspended_)
        set_color_direct(rgb, attribute);
}

void vusk_ansi_display::set_color_direct(int rgb, int attribute)
{
    vusk_color background = attribute & ansi_attr_reverse ? reverse_background : vusk_BLACK;
    textctrl_.SetTextColor(rgb_to_color(rgb), background);
}

// After a redraw or a fill the scrollback's colour is whatever was drawn
// last; text written next must appear in the display's own colour.
void vusk_ansi_display::reapply_current_color()
{
    set_color_direct(recorder.saved_rgb(), recorder.saved_attribute());
}

void vusk_ansi_display::clear_scrollback()
{
    recorder.clear();
    if (!updates_suspended_)
        textctrl_.Clear();
    reset_colors();
}

void vusk_ansi_display::rerender()
{
    recorder.rerender_flush();
    textctrl_.Clear();
    for (const vusk_render_list &record : recorder.records()) {
        set_color_direct(color_to_rgb(vusk_color(record.r, record.g, record.b)), record.attr);
        textctrl_.append_shared_text(record.text());
    }
    reapply_current_color();
    scroll_to_bottom();
}

void vusk_ansi_display::set_line_wrap_enable(int flag)
{
    textctrl_.wrap_enabled = flag;
    rerender();
}

void vusk_ansi_display::suspend_updates()
{
    updates_suspended_ = true;
}

void vusk_ansi_display::resume_updates()
{
    if (!updates_suspended_)
        return;
    updates_suspended_ = false;
    rerender();
    refresh();
}

const render_list_recorder::records_type &vusk_ansi_display::render_list()
{
    recorder.rerender_flush();
    return recorder.records();
}

void vusk_ansi_display::single_line_trigger(Buffer &/*line*/) {}

void vusk_ansi_display::try_trigger_line(const char *text)
{
    while (*text != '\0') {
        const char *newline = strchr(text, '\n');
        size_t length = newline ? static_cast<size_t>(newline - text) : strlen(text);
        append_to_trigger_line(text, length);
        if (newline == nullptr)
            return;
        single_line_trigger(trigger_line_);
        buffer_clear(trigger_line_);
        text = newline + 1;
    }
}

// As many of the bytes as the line has room for; the rest is dropped.
void vusk_ansi_display::append_to_trigger_line(const char *bytes, size_t length)
{
    size_t room = static_cast<size_t>(std::max(trigger_line_.size - 1 - trigger_line_.length, 0));
    size_t kept = std::min(length, room);
    memcpy(trigger_line_.data + trigger_line_.length, bytes, kept);
    trigger_line_.length += static_cast<int>(kept);
    trigger_line_.data[trigger_line_.length] = '\0';
}

void vusk_ansi_display::force_trigger_line()
{
    if (trigger_line_.length == 0)
        return;
    trigger_disable = 1;
    single_line_trigger(trigger_line_);
    buffer_clear(trigger_line_);
    trigger_disable = 0;
}

int vusk_ansi_display::trigger_pending()
{
    return trigger_line_.length != 0;
}

int vusk_ansi_display::visible_line_count()
{
    return textctrl_.get_visible_line_count();
}

int vusk_ansi_display::last_line()
{
    return textctrl_.get_current_line();
}

bool vusk_ansi_display::top_anchored()
{
    return textctrl_.top_anchored != 0;
}

void vusk_ansi_display::set_hold_view(bool hold)
{
    textctrl_.hold_view = hold ? 1 : 0;
}

void vusk_ansi_display::show_line(int line)
{
    textctrl_.ShowPosition(line);
}

int vusk_ansi_display::show_scroll_position(int position)
{
    return textctrl_.set_scrollbar_position(position);
}

void vusk_ansi_display::update_scrollbar()
{
    set_scrollbar();
}

void vusk_ansi_display::refresh_view()
{
    refresh();
}

void vusk_ansi_display::open_url(const char *url)
{
    display_frame().open_url(url);
}

void vusk_ansi_display::following_changed()
{
    display_frame().repaint_status_bar();
}

void vusk_ansi_display::set_scrollbar()
{
    int position = 0;
    int range = 0;
    int page = 0;
    textctrl_.get_scrollbar_data(&position, &range, &page);
    // While the text is shorter than the window the thumb fills the bar: GTK
    // asserts on a thumb longer than the range.
    page = std::min(page, range);
    scrollbar_.SetScrollbar(std::max(position - 1, 0), page, range, page, true);
    scrollbar_.SetScrollbar(std::max(position, 0), page, range, page, true);
}

int vusk_ansi_display::get_scroll_position()
{
    return scrollbar_.GetThumbPosition();
}

void vusk_ansi_display::handle_scroll_event(wxScrollEvent &event)
{
    scroll_thumb_moved(event.GetPosition());
    if (!focus_back_to_command_line(this))
        SetFocus();
}

void vusk_ansi_display::mouseWheelEvent(wxMouseEvent &event)
{
    scroll_by_wheel(*this, wheel, event);
}

void vusk_ansi_display::OnFocusGot(wxFocusEvent &event)
{
    if (!focus_back_to_command_line(this))
        event.Skip();
}

void vusk_ansi_display::resize(int /*changed*/)
{
    wxSize size = GetClientSize();
    ansi_display_layout layout = layout_ansi_display(
        size.GetWidth(), size.GetHeight(), scrollbar_.GetSize().GetWidth(), native_minimum_size(scrollbar_).GetHeight(),
        scrollbar_enabled_ != 0, has_frame_ != 0);
    scrollbar_.SetSize(layout.scrollbar.x, layout.scrollbar.y, layout.scrollbar.width,
                      layout.scrollbar.height);
    enable_scrolling();
    scrollbar_.Show(scrollbar_enabled_ != 0);
    textctrl_.SetSize(layout.store.x, layout.store.y, layout.store.width, layout.store.height);
    set_scrollbar();
    repaint();
}

int vusk_ansi_display::get_scrollbar_width()
{
    return scrollbar_enabled_ ? scrollbar_.GetSize().GetWidth() : 0;
}

void vusk_ansi_display::set_scrollbar_enable(int flag)
{
    if ((flag != 0) == scrollbar_enabled_)
        return;
    scrollbar_enabled_ = flag != 0;
    resize(1);
}

void vusk_ansi_display::repaint_dc(vusk_bitmap &bitmap)
{
    // The scrollback covers the middle and paints it itself; this runs again
    // whenever the scrollbar_ moves, so only the rest is painted.
    clear_around(bitmap, textctrl_.GetRect(), vusk_BLACK);
    if (!has_frame_)
        return;
    int w = bitmap.GetWidth() - get_scrollbar_width();
    int h = bitmap.GetHeight();
    draw_frame(bitmap, w, h, ansi_frame_colors(following != 0, flash_count > 0, flash_count));
}

int vusk_ansi_display::animation_callback(int milliseconds)
{
    if (advance_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period}, milliseconds)) {
        repaint();
        set_scrollbar();
    }
    return flash_count > 0;
}

void vusk_ansi_display::start_newbie_demo_mode_flashing()
{
    start_newbie_flash({flash_shown, flash_count, flash_elapsed, flash_period});
    start_animation();
}

void vusk_ansi_display::set_initial_font(vusk_font *font)
{
    textctrl_.set_display_font(font);
}

void vusk_ansi_display::change_font(vusk_font *font)
{
    textctrl_.set_display_font(font);
    resync_colors();
    set_scrollbar();
    refresh();
}

void vusk_ansi_display::refresh()
{
    Refresh(false);
    textctrl_.repaint_soon();
}

void vusk_ansi_display::refresh_text()
{
    textctrl_.repaint_soon();
    set_scrollbar();
}

bool vusk_ansi_display::render_text_to_file(FILE *file)
{
    return ::render_text_to_file(render_list(), file);
}

bool vusk_ansi_display::render_html_to_file(FILE *file)
{
    return ::render_html_to_file(render_list(), file, time(nullptr));
}

void vusk_ansi_display::debug_fill_color(const vusk_color &text, const vusk_color &background)
{
    textctrl_.SetTextColor(text, background);
}

void vusk_ansi_display::debug_fill_append(const char *text)
{
    write_direct(text);
}

void vusk_ansi_display::generate_debug_fill_data(int lines)
{
    long long characters = write_debug_fill(*this, lines);
    char summary[96];
    snprintf(summary, sizeof summary, "%lld characters written (%lld kb).\n", characters,
             characters / 1000);
    write_direct(summary);
    reapply_current_color();
    // A developer's aid: the sizes go to standard error, with the program's
    // other diagnostics.
    fprintf(stderr, "size of vusk_textctrl_chunk %5d\n", static_cast<int>(sizeof(vusk_textctrl_chunk)));
    fprintf(stderr, "size of vusk_textctrl_line  %5d\n", static_cast<int>(sizeof(vusk_textctrl_line)));
    fprintf(stderr, "size of wxString            %5d\n", static_cast<int>(sizeof(wxString)));
    fprintf(stderr, "size of vusk_render_list    %5d\n", static_cast<int>(sizeof(vusk_render_list)));
    fprintf(stderr, "entries in render list   %8d\n", static_cast<int>(render_list().size()));
}
