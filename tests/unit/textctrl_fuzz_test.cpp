// Random appends, resizes, font changes, view moves, mouse events and colour
// flashes against one store, under the sanitizers; after every few steps the
// display lines must still hold exactly the text appended and be wrapped to
// the window.
#include "fake_textctrl.h"

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
        ASSERT_EQ(store.line_record(store.get_current_line() + 1) == nullptr ||
                      store.line_record(store.get_current_line() + 1)->head == nullptr,
                  true);
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

TEST(TextctrlFuzz, RandomAppendsResizesAndMouseKeepTheTextIntact)
{
    for (unsigned seed = 1; seed <= 4; ++seed) {
        fuzzed_store fuzz(seed);
        for (int step = 0; step < 1500; ++step) {
            fuzz.step();
            if (step % 25 == 0) {
                ASSERT_NO_FATAL_FAILURE(fuzz.check()) << "seed " << seed << " step " << step;
            }
        }
        ASSERT_NO_FATAL_FAILURE(fuzz.check()) << "seed " << seed;
    }
}
