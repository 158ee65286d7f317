// Random appends, resizes, font changes, view moves, mouse events and colour
// flashes against one store, under the sanitizers; after every few steps the
// display lines must still hold exactly the text appended and be wrapped to
// the window.
#include "fake_textctrl.h"
#include "render_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {
// What the store must show: the appended bytes transliterated, tabs
// expanded, newlines at the start of a fresh store dropped.
class text_model {
public:
    void append(const std::string &bytes)
    {
        size_t i = 0;
        if (at_start)
            while (i < bytes.size() && bytes[i] == '\n')
                ++i;
        at_start = false;
        for (; i < bytes.size(); ++i)
            add(static_cast<unsigned char>(bytes[i]));
    }

    void clear()
    {
        text.clear();
        column = 0;
        at_start = true;
    }

    std::string text;

private:
    void add(unsigned char byte)
    {
        if (byte == '\t') {
            do
                text += ' ';
            while (++column % 8 != 0);
            return;
        }
        text += byte >= 0x80 ? eascii_lookup_table[byte - 0x80] : char(byte);
        column = (byte == '\n' || byte == '\r') ? 0 : column + 1;
    }

    long column = 0;
    bool at_start = true;
};

class fuzzed_store {
public:
    explicit fuzzed_store(unsigned seed) : random(seed)
    {
        store.owner = &owner;
        fixed_glyph_widths(glyph_widths, 10);
    }

    void step()
    {
        switch (pick(14)) {
        case 0:
        case 1:
        case 2:
            append(random_text(pick(4) == 0 ? 20000 : 200));
            break;
        case 3:
            store.SetTextColor({pick(256), pick(256), pick(256)}, {pick(256), pick(256), pick(256)});
            break;
        case 4:
            window_width = 1 + pick(300);
            store.set_view_size(window_width, pick(300) + 1);
            break;
        case 5:
            set_random_font();
            break;
        case 6:
            store.wrap_enabled = pick(4) != 0;
            store.hold_view = pick(2);
            store.top_anchored = pick(5) == 0;
            store.recalc_line_sizes();
            break;
        case 7:
            store.ShowPosition(pick(4000) - 100);
            store.set_scrollbar_position(pick(4000) - 2000);
            break;
        case 8: {
            recording_painter painter;
            store.paint(painter);
            break;
        }
        case 9:
        case 10:
            mouse();
            break;
        case 11:
            store.parse_colorflash(random_flash().c_str());
            break;
        case 12:
            store.animation_step(pick(40) - 5);
            break;
        default:
            if (pick(10) == 0 || store.get_current_line() > 3000) {
                store.Clear();
                model.clear();
            }
            break;
        }
    }

    void check()
    {
        std::string shown;
        for (const std::string &line : store.lines())
            shown += line;
        ASSERT_EQ(shown, model.text);
        ASSERT_GE(store.get_bottom_line(), 0);
        ASSERT_EQ(store.line_record(store.get_current_line() + 1), nullptr);
        if (!store.wrap_enabled)
            return;
        for (int i = 0; i <= store.get_current_line(); ++i) {
            ASSERT_TRUE(wrapped_to_width(store.line_text(i))) << "line " << i;
        }
    }

private:
    int pick(int range) { return int(random() % unsigned(range)); }

    void append(const std::string &text)
    {
        store.append(text);
        model.append(text);
    }

    // Mostly plain words, with every kind of byte the server might send.
    std::string random_text(int longest)
    {
        static const std::string words[] = {"the ", "quick ", "http://example.com/a ", "\n", "\t", "\r",
                                            "\xE9", "\x80", "\xFF", "\x1b[31m", "aaaaaaaaaaaaaaaaaaaa"};
        std::string text;
        const int length = pick(longest);
        while (int(text.size()) < length) {
            if (pick(3) == 0)
                text += char(1 + pick(255));
            else
                text += words[pick(int(std::size(words)))];
        }
        return text;
    }

    std::string random_flash()
    {
        std::string args;
        for (int words = pick(12); words > 0; --words) {
            static const char *choices[] = {"ff0000", "00FF00", "zz", "7", "-3", "0", "99999999999", "", "123abc"};
            args += choices[pick(int(std::size(choices)))];
            args += ' ';
        }
        return args;
    }

    void set_random_font()
    {
        for (int &width : glyph_widths)
            width = pick(5) == 0 ? 0 : pick(20);
        store.set_glyph_metrics(glyph_widths, pick(20));
    }

    void mouse()
    {
        textctrl_mouse_event event;
        event.kind = textctrl_mouse_event::kind_type(pick(7));
        event.x = pick(1200) - 400;
        event.y = pick(1200) - 400;
        event.button_held = pick(2);
        event.wheel_rotation = pick(400) - 200;
        event.wheel_delta = pick(200) - 20;
        store.hotlinking = pick(2);
        store.handle_mouse(event);
        if (pick(20) == 0)
            store.mouse_capture_lost();
    }

    // Narrower than the window, or unbreakable: its first glyph alone
    // reaches the window's width.
    bool wrapped_to_width(const std::string &line) const
    {
        long width = 0;
        for (char c : line)
            width += glyph_widths[static_cast<unsigned char>(c)];
        return width < window_width || glyph_widths[static_cast<unsigned char>(line[0])] >= window_width;
    }

    std::mt19937 random;
    recording_owner owner;
    fake_textctrl store{100, 150};
    text_model model;
    int glyph_widths[256] = {};
    int window_width = 100;
};
}

// Runs 1500 random steps from each seed, checking every `check_every`.
template <class Fuzz> void run_fuzz(unsigned seeds, int check_every)
{
    for (unsigned seed = 1; seed <= seeds; ++seed) {
        Fuzz fuzz(seed);
        for (int step = 0; step < 1500; ++step) {
            fuzz.step();
            if (step % check_every == 0) {
                ASSERT_NO_FATAL_FAILURE(fuzz.check()) << "seed " << seed << " step " << step;
            }
        }
        ASSERT_NO_FATAL_FAILURE(fuzz.check()) << "seed " << seed;
    }
}

TEST(TextctrlFuzz, RandomAppendsResizesAndMouseKeepTheTextIntact)
{
    run_fuzz<fuzzed_store>(4, 25);
}

namespace {
// Two stores given the same text, one from the render list's copy that it
// shares and one copying it, while the render list and the stores trim,
// clear and re-wrap on their own.
class shared_and_own_stores {
public:
    explicit shared_and_own_stores(unsigned seed) : random(seed) { shared.share_text(recorder.text()); }

    void step()
    {
        switch (pick(12)) {
        case 0:
        case 1:
        case 2:
        case 3:
            write(random_text(pick(6) == 0 ? 12000 : 120));
            break;
        case 4:
            recorder.rerender_save_color(pick(0x1000000), 0, pick(2));
            if (pick(3) == 0)
                recorder.rerender_flush();
            break;
        case 5:
            for_both([colour = vusk_color(pick(256), pick(256), pick(256))](fake_textctrl &store) {
                store.SetTextColor(colour, vusk_BLACK);
            });
            break;
        case 6:
            recorder.set_scrollback_limit(random_limit());
            break;
        case 7:
            for_both([limit = random_limit()](fake_textctrl &store) { store.set_scrollback_limit(limit); });
            break;
        case 8:
            for_both([width = 1 + pick(300)](fake_textctrl &store) { store.set_view_size(width, 150); });
            break;
        case 9:
            if (pick(4) == 0)
                recorder.clear();
            break;
        case 10:
            if (pick(8) == 0)
                for_both([](fake_textctrl &store) { store.Clear(); });
            break;
        default:
            // A redraw: both stores again from the records.
            if (pick(6) == 0)
                for_both([this](fake_textctrl &store) {
                    store.Clear();
                    for (const vusk_render_list &record : recorder.records())
                        append(store, record.text());
                });
            break;
        }
    }

    void check() const
    {
        ASSERT_EQ(shared.lines(), own.lines());
        for (int i = 0; i <= own.get_current_line(); ++i)
            ASSERT_EQ(colour_runs(shared, i), colour_runs(own, i)) << "line " << i;
    }

private:
    int pick(int range) { return int(random() % unsigned(range)); }

    template <class F> void for_both(F &&change)
    {
        change(shared);
        change(own);
    }

    void write(const std::string &text)
    {
        const std::string_view recorded = recorder.rerender_save_string(text.c_str());
        for_both([recorded, this](fake_textctrl &store) { append(store, recorded); });
    }

    void append(fake_textctrl &store, std::string_view text)
    {
        if (&store == &shared)
            store.append_shared_text(text);
        else
            store.append(std::string(text));
    }

    scrollback_limit random_limit()
    {
        scrollback_limit limit;
        limit.lines = 1 + pick(400);
        limit.bytes = 1 + pick(40000);
        return limit;
    }

    std::string random_text(int longest)
    {
        static const std::string pieces[] = {"word ", "\n", "\t", "\r", "\xE9", "aaaaaaaaaaaaaaaaaaaa", "\n\n\n"};
        std::string text;
        for (const int length = pick(longest); int(text.size()) < length;)
            text += pieces[pick(int(std::size(pieces)))];
        return text;
    }

    // A line's text in runs of one colour, however the store cut it.
    static std::vector<std::string> colour_runs(const fake_textctrl &store, int line)
    {
        std::vector<std::string> runs;
        vusk_color last(-1, -1, -1);
        for (const textctrl_run &run : store.line_runs(line)) {
            if (runs.empty() || !(run.colour == last))
                runs.emplace_back();
            runs.back() += run.text;
            last = run.colour;
        }
        return runs;
    }

    std::mt19937 random;
    render_list_recorder recorder;
    fake_textctrl shared;
    fake_textctrl own;
};
}

TEST(TextctrlFuzz, SharedTextShowsAsTheStoresOwnCopyThroughTrimsAndClears)
{
    run_fuzz<shared_and_own_stores>(6, 10);
}
