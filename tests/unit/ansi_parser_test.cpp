#include "ansi_palette.h"
#include "ansi_parser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {
// Keeps what the parser hands on: the text as one string with the colour in
// force for each byte, and every colour change.
class recording_sink : public ansi_parser_sink {
public:
    void ansi_write(const char *text) override
    {
        std::string run(text);
        EXPECT_FALSE(run.empty());
        EXPECT_LE(run.size(), static_cast<size_t>(ansi_parser::run_capacity));
        shown += run;
        colors.insert(colors.end(), run.size(), color_index());
        ++writes;
    }

    void ansi_set_color(int rgb, int code, int attribute) override
    {
        changes.push_back({rgb, code, attribute});
    }

    int ansi_visible_lines() override { return visible; }

    struct change {
        int rgb;
        int code;
        int attribute;
    };

    // The colour of the last change as an index into `changes`.
    int color_index() const { return static_cast<int>(changes.size()) - 1; }
    int rgb_at(size_t position) const { return changes.at(colors.at(position)).rgb; }
    const change &last() const { return changes.back(); }

    std::string shown;
    std::vector<int> colors;
    std::vector<change> changes;
    int writes = 0;
    int visible = 10;
};

struct parsed {
    recording_sink sink;
    ansi_parser parser{sink};

    explicit parsed(const std::string &data = std::string())
    {
        parser.reset_colors();
        feed(data);
    }

    void feed(const std::string &data) { parser.parse(data.data(), static_cast<int>(data.size())); }
};

int palette_color(int row, int shade)
{
    return ansi_color_default[row * ansi_palette_shades + shade];
}

constexpr int dim = 0;
constexpr int normal = 1;
constexpr int bright = 2;
constexpr int white_row = 0;
constexpr int red_row = 1;
constexpr int yellow_row = 2;
}

TEST(AnsiParser, SgrTable)
{
    struct sgr_case {
        const char *data;
        const char *shown;
        int rgb_of_last_byte;
    };
    const sgr_case cases[] = {
        // One parameter per sequence: bold, then red.
        {"\x1b[1m\x1b[31mred", "red", palette_color(red_row, bright)},
        // A combined sequence applies its parameters in order.
        {"\x1b[1;31mred", "red", palette_color(red_row, bright)},
        {"\x1b[31m\x1b[0mx", "x", palette_color(white_row, normal)},
        {"\x1b[31m\x1b[22mx", "x", palette_color(white_row, normal)},
        {"\x1b[2m\x1b[33mx", "x", palette_color(yellow_row, dim)},
        // The second attribute replaces the first.
        {"\x1b[1m\x1b[2mx", "x", palette_color(white_row, dim)},
        {"\x1b[2m\x1b[1mx", "x", palette_color(white_row, bright)},
        {"\x1b[31m\x1b[40m\x1b[30mx", "x", palette_color(red_row, normal)},
        {"\x1b[33m\x1b[5mx", "x", palette_color(yellow_row, normal)},
        {"\x1b[31m\x1b[7mx", "x", palette_color(red_row, normal)},
        // Unknown final bytes and single-character escapes do nothing.
        {"\x1b[31Hx\x1b" "Dy", "xy", palette_color(white_row, normal)},
        {"a\rb\x01\x7f\x1c\x1f\tc", "ab\x1c\x1f\tc", palette_color(white_row, normal)},
        {"caf\xe9 \x80\xff", "caf. ..", palette_color(white_row, normal)},
    };
    for (const sgr_case &c : cases) {
        SCOPED_TRACE(c.data);
        parsed p(c.data);
        EXPECT_EQ(p.sink.shown, c.shown);
        EXPECT_EQ(p.sink.rgb_at(p.sink.shown.size() - 1), c.rgb_of_last_byte);
    }
}

TEST(AnsiParser, SetResetAndResyncColours)
{
    parsed p("\x1b[1m\x1b[36m");
    EXPECT_EQ(p.sink.last().code, ansi_code_cyan);
    EXPECT_EQ(p.sink.last().attribute, ansi_attr_bold);
    size_t changes = p.sink.changes.size();
    p.feed("\x1b[36mline\n\x1b[1m");
    EXPECT_EQ(p.sink.changes.size(), changes);
    p.parser.resync_colors();
    EXPECT_EQ(p.sink.changes.size(), changes + 1);

    p.parser.set_color(1, '3');
    EXPECT_EQ(p.sink.last().rgb, palette_color(yellow_row, bright));
    // Reset hands over normal white even when it is already in force.
    p.parser.set_color(0, '7');
    changes = p.sink.changes.size();
    p.parser.reset_colors();
    EXPECT_GT(p.sink.changes.size(), changes);
    EXPECT_EQ(p.sink.last().rgb, palette_color(white_row, normal));
    EXPECT_EQ(p.sink.last().code, ansi_code_white);
    EXPECT_EQ(p.sink.last().attribute, 0);
}

TEST(AnsiParser, SequenceSplitAcrossReads)
{
    parsed p("\x1b[3");
    EXPECT_TRUE(p.sink.shown.empty());
    p.feed("1mX");
    EXPECT_EQ(p.sink.shown, "X");
    EXPECT_EQ(p.sink.rgb_at(0), palette_color(red_row, normal));

    parsed q("a\x1b");
    q.feed("[1mb");
    EXPECT_EQ(q.sink.shown, "ab");
    EXPECT_EQ(q.sink.rgb_at(1), palette_color(white_row, bright));
}

TEST(AnsiParser, FullResetPushesTextOutOfView)
{
    parsed p("\x1b[1m\x1b[31mold\x1b" "c");
    EXPECT_EQ(p.sink.shown, "old" + std::string(21, '\n'));
    EXPECT_EQ(p.sink.rgb_at(p.sink.shown.size() - 1), palette_color(white_row, normal));
    EXPECT_EQ(p.parser.attribute(), 0);

    parsed huge;
    huge.sink.visible = 1000000;
    huge.feed("\x1b" "c");
    EXPECT_LE(huge.sink.shown.size(), 10000u);
}

TEST(AnsiParser, LongParameterSaturates)
{
    parsed p("\x1b[31m");
    p.feed("\x1b[" + std::string(200, '9') + "mA");
    p.feed("\x1b[" + std::string(40, '3') + "1mB");
    EXPECT_EQ(p.sink.shown, "AB");
    EXPECT_EQ(p.sink.rgb_at(1), palette_color(red_row, normal));
}

TEST(AnsiParser, RunsAreCutAndFlushedAtNewlines)
{
    parsed p(std::string(1000, 'x'));
    EXPECT_EQ(p.sink.shown, std::string(1000, 'x'));
    EXPECT_EQ(p.sink.writes, 4);
    parsed q("one\ntwo\nthree");
    EXPECT_EQ(q.sink.writes, 3);
}

TEST(AnsiParser, PaletteChangeReachesOnlyNewColours)
{
    parsed p("\x1b[32mA");
    select_ansi_palette(font_colors_zmud);
    p.feed("B\x1b[1mC");
    select_ansi_palette(font_colors_default);
    EXPECT_EQ(p.sink.rgb_at(1), ansi_color_default[3 * ansi_palette_shades + normal]);
    EXPECT_EQ(p.sink.rgb_at(2), 0x00ff00);
}

TEST(AnsiParser, RandomInputYieldsOnlyShowableBytes)
{
    std::mt19937 random(7);
    const std::string pieces[] = {"\x1b[", "\x1b", "m", ";", "1", "3", "\n", "\r", "\x1b" "c",
                                  "99999999999999999999", "\xe9", "text "};
    parsed p;
    p.sink.visible = 3;
    for (int round = 0; round < 2000; ++round) {
        std::string data;
        int length = static_cast<int>(random() % 64);
        for (int i = 0; i < length; ++i) {
            if (random() % 2)
                data += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            else
                data += static_cast<char>(random() % 256);
        }
        p.feed(data);
    }
    for (unsigned char byte : p.sink.shown) {
        bool showable = byte == '\t' || byte == '\n' || (byte >= 28 && byte <= 126);
        ASSERT_TRUE(showable) << static_cast<int>(byte);
    }
    for (const recording_sink::change &change : p.sink.changes)
        EXPECT_TRUE(is_ansi_color_code(change.code));
}
