// The scrollback store without a window: appending, wrapping with fixed
// 10-pixel glyphs, re-wrapping, clearing, the view and painting.
#include "fake_textctrl.h"
#include "heap_bytes.h"
#include "render_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using lines_t = std::vector<std::string>;

const vusk_color red{255, 0, 0};
const vusk_color green{0, 255, 0};

// Expands tabs to the next multiple of eight as a terminal does.
std::string expand_tabs(const std::string &text)
{
    std::string out;
    size_t column = 0;
    for (char c : text) {
        if (c == '\t') {
            do {
                out += ' ';
                ++column;
            } while (column % 8 != 0);
        } else {
            out += c;
            column = (c == '\n' || c == '\r') ? 0 : column + 1;
        }
    }
    return out;
}

std::string joined_text(const fake_textctrl &store)
{
    std::string all;
    for (const std::string &line : store.lines())
        all += line;
    return all;
}

std::vector<std::string> painted_texts(const recording_painter &painter)
{
    std::vector<std::string> texts;
    for (const painted_text &drawn : painter.drawn)
        texts.push_back(std::to_string(drawn.y) + ":" + drawn.text);
    return texts;
}

void append_numbered_lines(fake_textctrl &store, int count)
{
    for (int i = 0; i < count; ++i)
        store.append("L" + std::to_string(i) + "\n");
}
}

TEST(TextctrlAppend, NewlinesAtTheVeryStartAreDroppedOnce)
{
    fake_textctrl store;
    store.append("\n\nabc");
    EXPECT_EQ(store.lines(), (lines_t{"abc"}));
    store.append("\n");
    EXPECT_EQ(store.lines(), (lines_t{"abc\n", ""}));
    store.append("\n");
    EXPECT_EQ(store.lines(), (lines_t{"abc\n", "\n", ""}));
}

TEST(TextctrlAppend, TabsReachTheNextMultipleOfEightAcrossAppends)
{
    fake_textctrl store(1000);
    store.append("a\tb\n");
    store.append("12345678\tx\n");
    store.append("abc");
    store.append("\ty\n");
    store.append("abc\r\tz");
    EXPECT_EQ(store.lines(), (lines_t{"a       b\n", "12345678        x\n", "abc     y\n",
                                      "abc\r        z"}));
}

TEST(TextctrlAppend, HighBytesAreTransliterated)
{
    fake_textctrl store(1000);
    store.append("\xE9\x80\xA0|\x85\x93\x9F\xA6\xB5\xD7\xDF\xF7\xFF");
    EXPECT_EQ(store.lines(), (lines_t{"eE |-\"Y|uxS/y"}));
}

TEST(TextctrlAppend, EmptyAppendKeepsNothingButEndsTheStart)
{
    fake_textctrl store;
    store.append("");
    EXPECT_EQ(store.raw_chunk_count(), 0);
    EXPECT_EQ(store.lines(), (lines_t{""}));
    store.append("\nx");
    EXPECT_EQ(store.lines(), (lines_t{"\n", "x"}));
}

TEST(TextctrlAppend, LongAppendIsKeptWholeInChunksOfAtMost7999)
{
    fake_textctrl store(1000);
    store.wrap_enabled = 0;
    std::string text(20000, 'x');
    for (size_t boundary : {7995u, 7998u, 15990u, 15997u, 19999u})
        text[boundary] = '\t';
    text[12000] = '\n';
    store.SetTextColor(red, vusk_BLACK);
    store.append(text);

    const std::string expected = expand_tabs(text);
    EXPECT_EQ(joined_text(store), expected);
    EXPECT_EQ(store.raw_chunk_count(), int((expected.size() + 7998) / 7999));
    for (int line = 0; line <= store.get_current_line(); ++line)
        for (const std::string &chunk : store.chunks(line))
            EXPECT_EQ(chunk.substr(0, 8), "255,0,0:");
}

TEST(TextctrlWrap, BreaksAfterTheLastBlankOrBeforeTheCharacterThatReachesTheWidth)
{
    fake_textctrl blanks;
    blanks.append("aaaa bbbbbbbbb");
    EXPECT_EQ(blanks.lines(), (lines_t{"aaaa ", "bbbbbbbbb"}));
    EXPECT_EQ(blanks.get_bottom_line(), 1);

    fake_textctrl solid;
    solid.append("aaaaaaaaaa");
    EXPECT_EQ(solid.lines(), (lines_t{"aaaaaaaaa", "a"}));

    fake_textctrl long_word;
    long_word.append(std::string(35, 'a') + "\nb");
    EXPECT_EQ(long_word.lines(), (lines_t{std::string(9, 'a'), std::string(9, 'a'), std::string(9, 'a'),
                                          std::string(8, 'a') + "\n", "b"}));
}

TEST(TextctrlWrap, ColoursSurviveASplit)
{
    fake_textctrl after_blank;
    after_blank.SetTextColor(red, vusk_BLACK);
    after_blank.append("aaaa bb");
    after_blank.SetTextColor(green, vusk_BLACK);
    after_blank.append("cccccc");
    EXPECT_EQ(after_blank.chunks(0), (lines_t{"255,0,0:aaaa "}));
    EXPECT_EQ(after_blank.chunks(1), (lines_t{"255,0,0:bb", "0,255,0:cccccc"}));

    fake_textctrl inside;
    inside.SetTextColor(red, vusk_BLACK);
    inside.append("aaaaaaa");
    inside.SetTextColor(green, vusk_BLACK);
    inside.append("bbbbbbb");
    EXPECT_EQ(inside.chunks(0), (lines_t{"255,0,0:aaaaaaa", "0,255,0:bb"}));
    EXPECT_EQ(inside.chunks(1), (lines_t{"0,255,0:bbbbb"}));
}

TEST(TextctrlWrap, BreakBeforeTheFirstCharacterOfAChunkFallsAtTheChunkBoundary)
{
    fake_textctrl store;
    store.SetTextColor(red, vusk_BLACK);
    store.append("aaaaaaaaa");
    store.SetTextColor(green, vusk_BLACK);
    store.append("bbb");
    store.append("ccc");
    EXPECT_EQ(store.chunks(0), (lines_t{"255,0,0:aaaaaaaaa"}));
    EXPECT_EQ(store.chunks(1), (lines_t{"0,255,0:bbbccc"}));
    store.append("dddd");
    EXPECT_EQ(store.lines(), (lines_t{"aaaaaaaaa", "bbbcccddd", "d"}));
}

TEST(TextctrlWrap, GlyphWiderThanTheWindowAndDisabledWrappingStayOnOneLine)
{
    fake_textctrl narrow(8);
    narrow.append("abc");
    EXPECT_EQ(narrow.lines(), (lines_t{"abc"}));

    fake_textctrl unwrapped;
    unwrapped.wrap_enabled = 0;
    unwrapped.append(std::string(35, 'a'));
    EXPECT_EQ(unwrapped.lines(), (lines_t{std::string(35, 'a')}));
}

TEST(TextctrlRewrap, NarrowThenWideGivesBackIdenticalLines)
{
    fake_textctrl store(200);
    store.SetTextColor(red, vusk_BLACK);
    store.append("one two three four five six\tseven \xE9ight\n");
    store.SetTextColor(green, vusk_BLACK);
    store.append("ninety-nine bottles\n\ttail");
    const lines_t before = store.lines();
    std::vector<lines_t> colours_before;
    for (int i = 0; i <= store.get_current_line(); ++i)
        colours_before.push_back(store.chunks(i));

    store.set_view_size(60, 150);
    EXPECT_NE(store.lines(), before);
    EXPECT_EQ(joined_text(store), "one two three four five six     seven eight\nninety-nine bottles\n        tail");

    store.set_view_size(200, 150);
    EXPECT_EQ(store.lines(), before);
    for (int i = 0; i <= store.get_current_line(); ++i)
        EXPECT_EQ(store.chunks(i), colours_before[size_t(i)]);
}

TEST(TextctrlRewrap, FontChangeRewrapsWithTheNewWidths)
{
    fake_textctrl store;
    store.append(std::string(20, 'a'));
    EXPECT_EQ(store.lines(), (lines_t{std::string(9, 'a'), std::string(9, 'a'), "aa"}));
    store.set_font(5, 8);
    EXPECT_EQ(store.lines(), (lines_t{std::string(19, 'a'), "a"}));
    EXPECT_EQ(store.get_line_height(), 8);
}

// The metrics it has already lay the text out as it is: the player's
// selection stays. Other widths at the same height re-wrap it.
TEST(TextctrlRewrap, TheSameMetricsKeepTheLayoutAndOnlyOtherWidthsChangeIt)
{
    fake_textctrl store;
    store.append(std::string(20, 'a'));
    store.handle_mouse({textctrl_mouse_event::left_press, 1, 140});
    store.handle_mouse({textctrl_mouse_event::motion, 50, 140, true});
    ASSERT_TRUE(store.has_mouse_selection());
    store.set_font(10, 15);
    EXPECT_TRUE(store.has_mouse_selection());
    EXPECT_EQ(store.lines(), (lines_t{std::string(9, 'a'), std::string(9, 'a'), "aa"}));

    store.set_font(5, 15);
    EXPECT_FALSE(store.has_mouse_selection());
    EXPECT_EQ(store.lines(), (lines_t{std::string(19, 'a'), "a"}));
}

// A font of the same widths but another height is another font: its line
// height spaces the lines painted and sets how many fit.
TEST(TextctrlRewrap, TheSameWidthsAtAnotherHeightTakeUpTheNewLineHeight)
{
    fake_textctrl store(100, 60);
    append_numbered_lines(store, 3);
    const int taller = store.get_line_height() + 5;
    store.set_font(10, taller);
    EXPECT_EQ(store.get_line_height(), taller);
    EXPECT_EQ(store.get_visible_line_count(), 60 / taller);
    recording_painter painter;
    store.paint(painter);
    // The empty line after the last newline takes the bottom row.
    const int last_row = 60 - 2 * taller - 1;
    EXPECT_EQ(painted_texts(painter),
              (lines_t{std::to_string(last_row) + ":L2", std::to_string(last_row - taller) + ":L1"}));
}

TEST(TextctrlClear, EmptiesEverythingAndStartsAfresh)
{
    fake_textctrl store;
    store.append("abc\ndef\nghi");
    store.append("abc");
    store.Clear();
    EXPECT_EQ(store.lines(), (lines_t{""}));
    EXPECT_EQ(store.raw_chunk_count(), 0);
    EXPECT_EQ(store.get_bottom_line(), 0);

    store.append("\n\n\tx");
    EXPECT_EQ(store.lines(), (lines_t{"        x"}));
    store.set_view_size(50, 150);
    EXPECT_EQ(joined_text(store), "        x");
}

TEST(TextctrlLines, MoreThan65536LinesAreAllKept)
{
    fake_textctrl store;
    std::string text;
    for (int i = 0; i < 70000; ++i)
        text += "L" + std::to_string(i) + "\n";
    store.append(text);
    ASSERT_EQ(store.get_current_line(), 70000);
    for (int i : {0, 65535, 65536, 69999})
        EXPECT_EQ(store.line_text(i), "L" + std::to_string(i));
    EXPECT_EQ(store.get_bottom_line(), 70000);
}

TEST(TextctrlView, HeldViewStaysWhileTextArrives)
{
    fake_textctrl store;
    append_numbered_lines(store, 20);
    store.hold_view = 1;
    store.append("more\n" + std::string(25, 'w'));
    EXPECT_EQ(store.get_bottom_line(), 20);
    store.hold_view = 0;
    store.append("\n");
    EXPECT_EQ(store.get_bottom_line(), store.get_current_line());
}

TEST(TextctrlView, TopAnchoredStoreNeverMovesItsViewByAppending)
{
    fake_textctrl store;
    store.top_anchored = 1;
    append_numbered_lines(store, 20);
    store.append(std::string(25, 'w'));
    EXPECT_EQ(store.get_bottom_line(), 0);
    store.ShowPosition(3);
    EXPECT_EQ(store.get_bottom_line(), 3);
    store.set_view_size(90, 150);
    EXPECT_EQ(store.get_bottom_line(), 0);
    store.ShowPosition(3);
    store.Clear();
    EXPECT_EQ(store.get_bottom_line(), 0);
}

TEST(TextctrlView, RewrapWhileHeldKeepsTheSameTextInView)
{
    fake_textctrl store;
    for (int i = 0; i < 50; ++i)
        store.append("row " + std::to_string(10 + i) + "\n");
    store.hold_view = 1;
    store.ShowPosition(20);
    ASSERT_EQ(store.line_text(20), "row 30");

    store.set_view_size(40, 150);
    EXPECT_EQ(store.line_text(store.get_bottom_line()), " 30");
    EXPECT_EQ(store.line_text(store.get_bottom_line() - 1), "row");

    store.set_view_size(100, 150);
    EXPECT_EQ(store.get_bottom_line(), 20);

    store.ShowPosition(store.get_current_line() + 3);
    store.set_view_size(40, 150);
    EXPECT_EQ(store.get_bottom_line(), store.get_current_line() + 3);
}

TEST(TextctrlView, BottomAnchoredArithmetic)
{
    fake_textctrl store(100, 75);
    append_numbered_lines(store, 12);
    int position = 0, range = 0, page = 0;
    store.get_scrollbar_data(&position, &range, &page);
    EXPECT_EQ(page, 5);
    EXPECT_EQ(range, 12);
    EXPECT_EQ(position, 7);

    EXPECT_EQ(store.set_scrollbar_position(100), 105);
    EXPECT_EQ(store.get_bottom_line(), 17);
    EXPECT_EQ(store.set_scrollbar_position(-50), -45);
    EXPECT_EQ(store.get_bottom_line(), 0);
    store.ShowPosition(12);

    int line = -1, offset = -1;
    store.translate_xy_to_line_and_offset(0, 60, &line, &offset);
    EXPECT_EQ(line, 12);
    store.translate_xy_to_line_and_offset(0, 59, &line, &offset);
    EXPECT_EQ(line, 11);
    store.translate_xy_to_line_and_offset(0, -1, &line, &offset);
    EXPECT_EQ(line, 7);
    store.translate_xy_to_line_and_offset(0, -100000, &line, &offset);
    EXPECT_EQ(line, 0);
    store.translate_xy_to_line_and_offset(0, 100000, &line, &offset);
    EXPECT_EQ(line, 12);
}

TEST(TextctrlView, TopAnchoredArithmetic)
{
    fake_textctrl store(100, 75);
    store.top_anchored = 1;
    append_numbered_lines(store, 12);
    store.ShowPosition(3);

    recording_painter painter;
    store.paint(painter);
    EXPECT_EQ(painted_texts(painter), (lines_t{"0:L3", "15:L4", "30:L5", "45:L6", "60:L7"}));

    int position = 0, range = 0, page = 0;
    store.get_scrollbar_data(&position, &range, &page);
    EXPECT_EQ(page, 5);
    EXPECT_EQ(range, 18);
    EXPECT_EQ(position, 3);

    int line = -1, offset = -1;
    store.translate_xy_to_line_and_offset(5, 2, &line, &offset);
    EXPECT_EQ(line, 3);
    store.translate_xy_to_line_and_offset(5, 31, &line, &offset);
    EXPECT_EQ(line, 5);

    EXPECT_EQ(store.set_scrollbar_position(4), 4);
    EXPECT_EQ(store.get_bottom_line(), 4);
    store.ShowPosition(20);
    EXPECT_EQ(store.get_bottom_line(), 12);

    store.ShowPosition(3);
    store.set_view_size(100, 80);
    recording_painter taller;
    store.paint(taller);
    EXPECT_EQ(painted_texts(taller).back(), "75:L8");
}

TEST(TextctrlView, TopAnchoredShortTextLeavesTheRestBackground)
{
    fake_textctrl store;
    store.top_anchored = 1;
    store.append("ab\ncd\n");
    recording_painter painter;
    store.paint(painter);
    EXPECT_EQ(painted_texts(painter), (lines_t{"0:ab", "15:cd"}));
    int line = -1, offset = -1;
    store.translate_xy_to_line_and_offset(30, 100, &line, &offset);
    EXPECT_EQ(line, 2);
    EXPECT_EQ(offset, 0);
}

TEST(TextctrlView, VisibleLineCountAndCharacterSize)
{
    fake_textctrl no_font(100, 150, 10, 0);
    EXPECT_EQ(no_font.get_visible_line_count(), 20);
    fake_textctrl low(100, 10);
    EXPECT_EQ(low.get_visible_line_count(), 1);

    int widths[256];
    fixed_glyph_widths(widths, 7);
    widths[static_cast<unsigned char>('W')] = 12;
    widths[200] = 40;
    low.set_glyph_metrics(widths, 13);
    int width = 0, height = 0;
    low.get_character_pixel_sizes(&width, &height);
    EXPECT_EQ(width, 12);
    EXPECT_EQ(height, 13);
    low.get_character_pixel_sizes(nullptr, nullptr);
}

TEST(TextctrlView, PointToOffsetUsesTheGlyphRightEdges)
{
    fake_textctrl store;
    store.append("abcdef");
    int line = -1, offset = -1;
    const std::vector<std::pair<int, int>> cases = {{-5, 0}, {0, 0}, {10, 0}, {11, 1}, {59, 5}, {60, 5}, {61, 6}};
    for (auto [x, expected] : cases) {
        store.translate_xy_to_line_and_offset(x, 140, &line, &offset);
        EXPECT_EQ(offset, expected) << "x = " << x;
    }
}

TEST(TextctrlPaint, EmptyStorePaintsOnlyTheBackground)
{
    fake_textctrl store;
    store.SetTextColor(vusk_WHITE, vusk_DARK_GREY);
    recording_painter painter;
    store.paint(painter);
    EXPECT_EQ(painter.clears, 1);
    EXPECT_EQ(painter.background, vusk_DARK_GREY);
    EXPECT_TRUE(painter.drawn.empty());
}

TEST(TextctrlPaint, BottomAnchoredLinesRiseFromTheBottomEdge)
{
    fake_textctrl store(100, 75);
    append_numbered_lines(store, 12);
    recording_painter painter;
    store.paint(painter);
    EXPECT_EQ(painted_texts(painter), (lines_t{"44:L11", "29:L10", "14:L9", "-1:L8"}));
    EXPECT_EQ(painter.drawn[0].x, 1);
}

TEST(TextctrlPaint, ViewBeyondTheLineArraySkipsMissingLines)
{
    fake_textctrl store;
    std::string text;
    for (int i = 0; i < 65535; ++i)
        text += "x\n";
    store.append(text);
    ASSERT_EQ(store.get_current_line(), 65535);

    store.ShowPosition(store.get_current_line() + store.get_visible_line_count());
    recording_painter beyond;
    store.paint(beyond);
    EXPECT_TRUE(beyond.drawn.empty());

    store.ShowPosition(65540);
    recording_painter partly;
    store.paint(partly);
    EXPECT_EQ(painted_texts(partly), (lines_t{"44:x", "29:x", "14:x", "-1:x"}));
}

TEST(TextctrlPaint, SelectionCutsChunksIntoPieces)
{
    fake_textctrl store(200);
    store.SetTextColor(red, vusk_BLACK);
    store.append("abcdef\n");
    store.append("ghi\n");
    store.append("jkl");
    store.sel_start_line = 0;
    store.sel_start_offset = 2;
    store.sel_end_line = 2;
    store.sel_end_offset = 0;
    recording_painter unselected;
    store.paint(unselected);
    EXPECT_EQ(unselected.drawn.size(), 3u);

    store.handle_mouse({textctrl_mouse_event::left_press, 21, 110});
    store.handle_mouse({textctrl_mouse_event::motion, 5, 140, true});
    ASSERT_TRUE(store.has_mouse_selection());
    recording_painter painter;
    store.paint(painter);
    std::vector<std::string> pieces;
    for (const painted_text &drawn : painter.drawn)
        pieces.push_back((drawn.selected ? "[" : "") + drawn.text + (drawn.selected ? "]" : "") + "@" +
                         std::to_string(drawn.x));
    EXPECT_EQ(pieces, (lines_t{"[j]@1", "kl@11", "[ghi]@1", "ab@1", "[cdef]@21"}));
    for (const painted_text &drawn : painter.drawn)
        EXPECT_EQ(drawn.colour, red);
}

TEST(TextctrlPaint, DrawingStopsAtTheRightEdge)
{
    fake_textctrl store;
    store.wrap_enabled = 0;
    store.append(std::string(500, 'a'));
    recording_painter painter;
    store.paint(painter);
    ASSERT_EQ(painter.drawn.size(), 1u);
    EXPECT_EQ(painter.drawn[0].text.size(), 10u);
}

TEST(TextctrlLifetime, DestroyedStoresGiveEverythingBack)
{
    const auto fill_and_destroy = [] {
        fake_textctrl store;
        for (int i = 0; i < 20; ++i)
            store.append("some coloured text that wraps around\n");
        store.set_view_size(50, 150);
    };
    fill_and_destroy();
    const size_t heap_before = heap_bytes_in_use();
    for (int cycle = 0; cycle < 1000; ++cycle)
        fill_and_destroy();
    EXPECT_LT(heap_bytes_in_use(), heap_before + 64 * 1024);
}

TEST(TextctrlLifetime, RewrapKeepsNoMoreThanTheLines)
{
    fake_textctrl store;
    for (int i = 0; i < 2000; ++i)
        store.append("a line of text that the narrow width breaks in two\n");
    store.set_view_size(300, 150);
    const size_t heap = heap_bytes_in_use();
    for (int width : {1000, 300, 1000, 300})
        store.set_view_size(width, 150);
    EXPECT_LT(heap_bytes_in_use(), heap + 16 * 1024);
}


namespace {
// Game-like lines, some wrapping in the 100-pixel store, with a colour each.
void append_game_lines(fake_textctrl &store, int first, int count)
{
    for (int i = first; i < first + count; ++i) {
        store.SetTextColor(i % 2 ? red : green, vusk_BLACK);
        store.append("L" + std::to_string(i) + (i % 3 ? " a longer line\tof text\n" : "\n"));
    }
}
}

// Past any of the limits the oldest lines go down to seven eighths of it, so
// that a full scrollback trims once per eighth of its size, not on every line.
TEST(TextctrlLimit, ATrimKeepsSevenEighthsOfTheLimitItPassed)
{
    constexpr int line_bytes = 10;
    struct limit_case {
        const char *name;
        scrollback_limit limit;
        int64_t (*kept)(const fake_textctrl &);
    };
    scrollback_limit lines, bytes, runs;
    lines.lines = 800;
    bytes.bytes = 800 * line_bytes;
    runs.runs = 800;
    const limit_case cases[] = {
        {"lines", lines, [](const fake_textctrl &store) { return store.kept_lines(); }},
        {"bytes", bytes, [](const fake_textctrl &store) { return store.kept_bytes() / line_bytes; }},
        {"runs", runs, [](const fake_textctrl &store) { return int64_t(store.raw_chunk_count()); }},
    };
    for (const limit_case &c : cases) {
        SCOPED_TRACE(c.name);
        fake_textctrl store;
        store.wrap_enabled = 0;
        store.set_scrollback_limit(c.limit);
        int written = 0;
        // Lines of ten bytes, each a run of its own colour.
        const auto write_lines = [&](int count) {
            for (int end = written + count; written < end; ++written) {
                store.SetTextColor(written % 2 ? red : green, vusk_BLACK);
                store.append("line " + std::to_string(10000 + written).substr(1) + "\n");
            }
        };
        // Lines written, then what is kept and how many trims there were.
        const int steps[][3] = {{800, 800, 0}, {1, 700, 1}, {100, 800, 1}, {1, 700, 2}};
        for (const auto &step : steps) {
            write_lines(step[0]);
            EXPECT_EQ(c.kept(store), step[1]) << written;
            EXPECT_EQ(store.trim_count(), step[2]) << written;
        }
        EXPECT_EQ(store.line_text(0), "line 0202");
        EXPECT_EQ(store.kept_lines(), store.raw_chunk_count());
    }
}

TEST(TextctrlLimit, OldestWholeLinesGoAndTheKeptOnesStayAsTheyWere)
{
    fake_textctrl store;
    scrollback_limit limit;
    limit.lines = 100;
    store.set_scrollback_limit(limit);
    append_game_lines(store, 0, 1000);
    EXPECT_LE(store.kept_lines(), 100);
    EXPECT_GE(store.kept_lines(), limit.lines_after_trim());
    EXPECT_GT(store.trim_count(), 0);

    // The same lines appended to a fresh store give the same display lines,
    // colours included; a re-wrap agrees, so raw text and lines match.
    fake_textctrl fresh;
    const int first_kept = 1000 - int(store.kept_lines());
    append_game_lines(fresh, first_kept, 1000 - first_kept);
    EXPECT_EQ(store.lines(), fresh.lines());
    EXPECT_EQ(store.chunks(0), fresh.chunks(0));
    EXPECT_EQ(store.get_bottom_line(), store.get_current_line());
    store.set_view_size(230, 150);
    store.set_view_size(100, 150);
    EXPECT_EQ(store.lines(), fresh.lines());
}

TEST(TextctrlLimit, AHeldViewKeepsItsTextAndMemoryStaysBounded)
{
    fake_textctrl store;
    scrollback_limit limit;
    limit.lines = 1000;
    store.set_scrollback_limit(limit);
    append_game_lines(store, 0, 900);
    store.hold_view = 1;
    store.ShowPosition(store.get_current_line() - 50);
    const std::string shown = store.line_text(store.get_bottom_line());
    append_game_lines(store, 900, 300);
    EXPECT_LT(store.kept_lines(), 1000);
    EXPECT_EQ(store.line_text(store.get_bottom_line()), shown);

    append_game_lines(store, 1200, 3000);
    const size_t heap_before = heap_bytes_in_use();
    append_game_lines(store, 4200, 20000);
    EXPECT_LT(heap_bytes_in_use(), heap_before + 256 * 1024);
    EXPECT_LE(store.kept_lines(), 1000);
}

// The text a store shows from a render list's copy goes back once neither
// keeps it: the render list keeping more, the store keeping more, or both
// cleared.
TEST(TextctrlLimit, SharedTextGoesBackOnceNeitherHolderKeepsIt)
{
    render_list_recorder recorder;
    fake_textctrl store;
    store.wrap_enabled = 0;
    store.share_text(recorder.text());
    const auto write_lines = [&](int count) {
        for (int i = 0; i < count; ++i) {
            recorder.rerender_save_color(i % 2 ? 0xFF0000 : 0x00FF00, 0, 0);
            store.append_shared_text(recorder.rerender_save_string("a line of the game's text\n"));
        }
    };
    scrollback_limit smaller;
    smaller.bytes = 100000;
    scrollback_limit larger;
    larger.bytes = 300000;
    const size_t most_blocks = 2 * larger.bytes / (64 * 1024) + 2;

    for (int store_keeps_more : {0, 1}) {
        SCOPED_TRACE(store_keeps_more);
        store.set_scrollback_limit(store_keeps_more ? larger : smaller);
        recorder.set_scrollback_limit(store_keeps_more ? smaller : larger);
        write_lines(100000);
        EXPECT_LE(recorder.text()->block_count(), most_blocks);
        EXPECT_GE(store.kept_bytes(), store_keeps_more ? smaller.bytes : smaller.bytes_after_trim());
    }
    recorder.clear();
    EXPECT_GT(recorder.text()->block_count(), 0u);
    EXPECT_EQ(store.line_text(store.get_current_line() - 1), "a line of the game's text");
    store.Clear();
    EXPECT_EQ(recorder.text()->block_count(), 0u);
}

TEST(TextctrlLimit, ALineLongerThanTheLimitKeepsItsNewestBytes)
{
    for (int wrap : {1, 0}) {
        SCOPED_TRACE(wrap);
        fake_textctrl store;
        store.wrap_enabled = wrap;
        scrollback_limit limit;
        limit.bytes = 10000;
        store.set_scrollback_limit(limit);
        store.append("first line\n");
        std::string line;
        for (int i = 0; line.size() < 200000; ++i) {
            std::string piece = "w" + std::to_string(i) + " ";
            line += piece;
            store.append(piece);
        }
        EXPECT_LE(store.kept_bytes(), limit.bytes);
        EXPECT_EQ(store.kept_lines(), 0);
        const std::string kept = joined_text(store);
        EXPECT_EQ(int64_t(kept.size()), store.kept_bytes());
        EXPECT_EQ(line.substr(line.size() - kept.size()), kept);
        store.recalc_line_sizes();
        EXPECT_EQ(joined_text(store), kept);
    }
}

// A colour change at every character, on many lines and on one endless line:
// the runs are bounded as well, the newest text kept in its colours.
TEST(TextctrlLimit, AColourChangeAtEveryCharacterIsBoundedToo)
{
    for (const char *line_end : {"\n", ""}) {
        SCOPED_TRACE(*line_end ? "lines" : "one line");
        fake_textctrl store;
        store.wrap_enabled = 0;
        scrollback_limit limit;
        limit.runs = 1000;
        store.set_scrollback_limit(limit);
        std::string written;
        for (int i = 0; i < 20000; ++i) {
            store.SetTextColor(i % 2 ? red : green, vusk_BLACK);
            const std::string piece = std::string(1, char('a' + i % 26)) + (i % 10 == 9 ? line_end : "");
            store.append(piece);
            written += piece;
        }
        EXPECT_LE(store.raw_chunk_count(), limit.runs);
        EXPECT_GE(store.raw_chunk_count(), limit.runs_after_trim() - 20);
        const std::string kept = joined_text(store);
        EXPECT_EQ(written.substr(written.size() - kept.size()), kept);
        const int newest = store.get_current_line() - (*line_end ? 1 : 0);
        ASSERT_FALSE(store.chunks(newest).empty());
        EXPECT_EQ(store.chunks(newest).back(), "255,0,0:" + std::string(1, char('a' + 19999 % 26)));
    }
}
