#ifndef VUSK_TEST_FAKE_TEXTCTRL_H
#define VUSK_TEST_FAKE_TEXTCTRL_H

// A scrollback store without a window, with fixed-width glyphs, and recording
// fake of the terminal window that it calls.

#include "textctrl_store.h"

#include <string>
#include <vector>

// Records the scroll requests and URLs a store sends to its terminal window.
class recording_owner : public textctrl_owner {
public:
    void open_url(const char *url) override { urls.push_back(url); }
    void disable_scrolling() override { calls.push_back("disable"); }
    void enable_scrolling() override { calls.push_back("enable"); }
    void scroll_up(int lines) override { calls.push_back("up " + std::to_string(lines)); }
    void scroll_down(int lines) override { calls.push_back("down " + std::to_string(lines)); }

    std::vector<std::string> calls;
    std::vector<std::string> urls;
};

// Glyphs of `glyph_width` pixels for the printable characters 32..126, no
// width for any other byte, as a glyph font measures them.
inline void fixed_glyph_widths(int (&widths)[256], int glyph_width)
{
    for (int i = 0; i < 256; ++i)
        widths[i] = (i >= 32 && i <= 126) ? glyph_width : 0;
}

class fake_textctrl : public textctrl_store {
public:
    explicit fake_textctrl(int width = 100, int height = 150, int glyph_width = 10, int line_height = 15)
    {
        set_font(glyph_width, line_height);
        set_view_size(width, height);
        owner = &scroll_owner;
    }

    void set_font(int glyph_width, int line_height)
    {
        int widths[256];
        fixed_glyph_widths(widths, glyph_width);
        set_glyph_metrics(widths, line_height);
    }

    // Display lines 0..current_line; a newline marks a line that ended with
    // one.
    std::vector<std::string> lines() const
    {
        std::vector<std::string> all;
        for (int i = 0; i <= get_current_line(); ++i) {
            const vusk_textctrl_line *line = line_record(i);
            all.push_back(line_text(i) + (line != nullptr && line->ends_with_newline ? "\n" : ""));
        }
        return all;
    }

    // The colours of a line's runs as "r,g,b:text" items.
    std::vector<std::string> chunks(int index) const
    {
        std::vector<std::string> found;
        for (const textctrl_run &run : line_runs(index))
            found.push_back(std::to_string(run.colour.r) + "," + std::to_string(run.colour.g) + "," +
                            std::to_string(run.colour.b) + ":" + run.text);
        return found;
    }

    void append(const std::string &text) { AppendRawText(text.c_str()); }

    recording_owner scroll_owner;
    int refreshes = 0;
    int repaints = 0;
    int animation_starts = 0;
    int hotlinking = 1;
    std::vector<std::string> clipboard;

protected:
    void refresh_view() override { ++refreshes; }
    void repaint_view() override { ++repaints; }
    void begin_animation() override { ++animation_starts; }
    void put_on_clipboard(const std::string &text) override { clipboard.push_back(text); }
    int url_hotlinking() const override { return hotlinking; }
};

// One draw_text call of a paint.
struct painted_text {
    int x;
    int y;
    std::string text;
    vusk_color colour;
    bool selected;
};

class recording_painter : public textctrl_painter {
public:
    void clear(const vusk_color &colour) override
    {
        background = colour;
        ++clears;
    }
    void draw_text(int x, int y, const char *text, int length, const vusk_color &colour, bool selected) override
    {
        drawn.push_back({x, y, std::string(text, size_t(length)), colour, selected});
    }

    vusk_color background;
    int clears = 0;
    std::vector<painted_text> drawn;
};

#endif
