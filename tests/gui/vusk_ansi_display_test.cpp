// The text display on a (virtual) display: server text through the ANSI
// parser into a real scrollback, redraws, the follow/freeze states with the
// frame, layout, the scrollbar, trigger lines and log export.
#include "ansi_palette.h"
#include "gui_fake_frame.h"
#include "gui_harness.h"
#include "gui_test_window.h"
#include "heap_bytes.h"
#include "native_window.h"
#include "temp_home.h"
#include "vusk_ansi_display.h"
#include "vusk_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using gui::test_frame;

namespace {
const wxSize DISPLAY_SIZE(400, 300);
constexpr int TEXT_POINTS = 10;

int palette_rgb(int row, int shade)
{
    return ansi_color_default[row * ansi_palette_shades + shade];
}

std::string color_text(int rgb)
{
    vusk_color c = rgb_to_color(rgb);
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

// The scrollback's display lines; a newline marks a line that ended with one.
std::vector<std::string> store_lines(const textctrl_store &store)
{
    std::vector<std::string> all;
    for (int i = 0; i <= store.get_current_line(); ++i) {
        const vusk_textctrl_line *line = store.line_record(i);
        all.push_back(store.line_text(i) + (line != nullptr && line->ends_with_newline ? "\n" : ""));
    }
    return all;
}

// Every line as its runs of one colour, "r,g,b:text", then "|" (where the
// scrollback cut a run into chunks does not matter).
std::vector<std::string> store_chunks(const textctrl_store &store)
{
    std::vector<std::string> found;
    for (int i = 0; i <= store.get_current_line(); ++i) {
        std::string last_colour;
        for (const textctrl_run &run : store.line_runs(i)) {
            std::string colour = std::to_string(run.colour.r) + "," + std::to_string(run.colour.g) + "," +
                                 std::to_string(run.colour.b);
            if (colour == last_colour && !found.empty())
                found.back() += run.text;
            else
                found.push_back(colour + ":" + run.text);
            last_colour = colour;
        }
        found.push_back("|");
    }
    return found;
}

// The colour of the last chunk holding text.
std::string last_chunk_color(const textctrl_store &store)
{
    std::vector<std::string> chunks = store_chunks(store);
    for (auto it = chunks.rbegin(); it != chunks.rend(); ++it) {
        if (*it != "|")
            return it->substr(0, it->find(':'));
    }
    return "";
}

// The records of the render list as "code/attr/r,g,b:text".
std::vector<std::string> records_of(vusk_ansi_display &display)
{
    std::vector<std::string> found;
    for (const vusk_render_list &record : display.render_list()) {
        found.push_back(std::to_string(record.code) + "/" + std::to_string(record.attr) + "/" +
                        std::to_string(record.r) + "," + std::to_string(record.g) + "," +
                        std::to_string(record.b) + ":" + std::string(record.text()));
    }
    return found;
}

std::string joined_text(const textctrl_store &store)
{
    std::string text;
    for (const std::string &line : store_lines(store))
        text += line;
    return text;
}

// A display that keeps the lines its trigger hook receives; the hook may
// write into the display itself.
class triggered_display : public vusk_ansi_display {
public:
    using vusk_ansi_display::vusk_ansi_display;

    void single_line_trigger(Buffer &line) override
    {
        lines.push_back(line.data);
        if (echo)
            write("echoed\n");
    }

    std::vector<std::string> lines;
    bool echo = false;
};

class AnsiDisplay : public testing::Test {
protected:
    void SetUp() override
    {
        font = std::make_unique<vusk_font>(TEXT_POINTS, wxFONTFAMILY_TELETYPE, wxFONTSTYLE_NORMAL,
                                           wxFONTWEIGHT_NORMAL);
        window_frame = new test_frame(wxSize(600, 400));
        display = make_display();
        ASSERT_TRUE(gui::show_and_wait(window_frame));
    }

    void TearDown() override { EXPECT_TRUE(gui::destroy_and_wait(window_frame)); }

    template <class Display = vusk_ansi_display>
    Display *make_display(const wxPoint &at = wxPoint(0, 0))
    {
        Display *made = new Display(window_frame->area, wxID_ANY, wxS("main"));
        made->set_initial_font(font.get());
        made->SetSize(at.x, at.y, DISPLAY_SIZE.x, DISPLAY_SIZE.y);
        return made;
    }

    void make_popup_style(vusk_ansi_display *popup)
    {
        popup->never_freeze = 1;
        popup->set_has_frame(false);
        popup->resize(1);
        popup->textctrl().top_anchored = 1;
    }

    void feed(const std::string &data) { feed_to(display, data); }
    static void feed_to(vusk_ansi_display *target, const std::string &data)
    {
        target->display_socket_data(data.data(), static_cast<int>(data.size()));
    }

    void fill_lines(int count)
    {
        for (int i = 0; i < count; ++i)
            feed("line " + std::to_string(i) + "\n");
    }

    int scrollbar_width() { return display->scrollbar().GetSize().GetWidth(); }

    // What an export of the display writes into a file.
    std::string exported(const TempDir &dir, bool (vusk_ansi_display::*render)(FILE *))
    {
        std::string path = dir.path() + "/log";
        FILE *file = fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        EXPECT_TRUE((display->*render)(file));
        fclose(file);
        std::ifstream in(path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    fake_frame frame;
    std::unique_ptr<vusk_font> font;
    test_frame *window_frame = nullptr;
    vusk_ansi_display *display = nullptr;
};

// A session with colours, attributes, tabs, high bytes, long wrapped lines
// and the client's own messages in between.
std::string mixed_session()
{
    std::string session = "Welcome!\r\n\x1b[1m\x1b[33mThe Inn\x1b[0m\n";
    for (int i = 0; i < 40; ++i) {
        session += "\x1b[3" + std::to_string(1 + i % 7) + "m" + (i % 3 ? "\x1b[2m" : "\x1b[1m");
        session += "row " + std::to_string(i) + "\tcaf\xe9 " + std::string(i * 7 % 150, 'a' + i % 26);
        session += i % 4 ? " \x1b[0mplain\n" : "\n";
    }
    return session;
}
}

TEST_F(AnsiDisplay, ServerTextIsColouredIntoTheScrollback)
{
    display->clear_changed();
    feed("\x1b[1m\x1b[31mred\x1b[0m plain\r\n\x1b[1;31mx caf\xe9\n");
    EXPECT_TRUE(display->changed());
    std::vector<std::string> chunks = store_chunks(display->textctrl());
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0], color_text(palette_rgb(1, 2)) + ":red");
    EXPECT_EQ(chunks[1], color_text(palette_rgb(7, 1)) + ": plain");
    EXPECT_EQ(display->textctrl().line_text(1), "x caf.");

    // The client's own text keeps its bytes; the scrollback transliterates them.
    display->clear_changed();
    display->set_color(1, '3');
    display->write("caf\xe9\n");
    EXPECT_FALSE(display->changed());
    EXPECT_EQ(display->textctrl().line_text(2), "cafe");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(2, 2)));
    display->write(nullptr);
    EXPECT_EQ(display->render_list().back().text(), "caf\xe9\n");
}

// Sequences with several parameters, extended colours and sequences that are
// not colours, each fed whole, cut in two at every byte and byte by byte: the
// text shows no residue and takes the colour of the parameters in order.
TEST_F(AnsiDisplay, ControlSequencesWithSeveralParameters)
{
    constexpr int white = 0, red = 1, yellow = 2, green = 3, cyan = 4, blue = 5, magenta = 6;
    constexpr int dim = 0, normal = 1, bright = 2;
    struct sequence_case {
        std::string data;
        std::string shown;
        int rgb_of_last_byte;
    };
    const sequence_case cases[] = {
        {"\x1b[1;31mred", "red", palette_rgb(red, bright)},
        {"\x1b[1;37;44mX", "X", palette_rgb(white, bright)},
        {"\x1b[0;1;33mX", "X", palette_rgb(yellow, bright)},
        {"\x1b[1;2;36mX", "X", palette_rgb(cyan, dim)},
        {"\x1b[31;1;22mX", "X", palette_rgb(white, normal)},
        {"\x1b[31m\x1b[;32mX", "X", palette_rgb(green, normal)},
        {"\x1b[5;7;34mX", "X", palette_rgb(blue, normal)},
        // Extended colours take their parameters with them and change nothing.
        {"\x1b[32m\x1b[38;5;208mX", "X", palette_rgb(green, normal)},
        {"\x1b[32m\x1b[48;2;10;20;30;1mX", "X", palette_rgb(green, bright)},
        {"\x1b[33m\x1b[38:5:208mX", "X", palette_rgb(yellow, normal)},
        {"\x1b[38:2::1:2:3;35mX", "X", palette_rgb(magenta, normal)},
        // A saturated parameter is ignored.
        {"\x1b[1;99999999999999999999;34mX", "X", palette_rgb(blue, bright)},
        // Other sequences are swallowed whole.
        {"\x1b[?25lX\x1b[?1049h", "X", palette_rgb(white, normal)},
        {"\x1b[31m\x1b[?1mX", "X", palette_rgb(red, normal)},
        {"\x1b[2J\x1b[Hx\x1b[1;1Hy\x1b[1 qz", "xyz", palette_rgb(white, normal)},
        // A new escape ends an unfinished sequence; a control byte drops it.
        {"\x1b[3\x1b[35mX", "X", palette_rgb(magenta, normal)},
        {"\x1b[31\nX", "X", palette_rgb(white, normal)},
        // One parameter per sequence, as ever.
        {"\x1b[1m\x1b[31mred", "red", palette_rgb(red, bright)},
        {"\x1b[36mX", "X", palette_rgb(cyan, normal)},
    };
    auto check = [&](const sequence_case &c, const std::vector<std::string> &pieces) {
        display->clear_scrollback();
        for (const std::string &piece : pieces)
            feed(piece);
        EXPECT_EQ(joined_text(display->textctrl()), c.shown);
        EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(c.rgb_of_last_byte));
    };
    for (const sequence_case &c : cases) {
        SCOPED_TRACE(c.data);
        for (size_t cut = 0; cut <= c.data.size(); ++cut)
            check(c, {c.data.substr(0, cut), c.data.substr(cut)});
        std::vector<std::string> bytes;
        for (char byte : c.data)
            bytes.emplace_back(1, byte);
        check(c, bytes);
    }

    // Past the kept parameters the rest is ignored, the sequence still swallowed.
    std::string many = "\x1b[";
    for (int i = 0; i < ansi_parser::most_parameters; ++i)
        many += "1;";
    display->clear_scrollback();
    feed(many + "31mX");
    EXPECT_EQ(joined_text(display->textctrl()), "X");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(white, bright)));
}

TEST_F(AnsiDisplay, RedrawGivesBackEveryRecordAndLine)
{
    feed(mixed_session());
    display->write("\nA message of the client.\n");
    feed("\x1b[36mtail");
    std::vector<std::string> records = records_of(*display);
    std::vector<std::string> chunks = store_chunks(display->textctrl());
    ASSERT_GT(display->textctrl().get_current_line(), 40);

    display->rerender();
    EXPECT_EQ(records_of(*display), records);
    EXPECT_EQ(store_chunks(display->textctrl()), chunks);

    // Narrower and back: the same lines again.
    display->SetSize(0, 0, 200, 300);
    display->set_line_wrap_enable(1);
    EXPECT_NE(store_chunks(display->textctrl()), chunks);
    display->SetSize(0, 0, DISPLAY_SIZE.x, DISPLAY_SIZE.y);
    display->rerender();
    EXPECT_EQ(store_chunks(display->textctrl()), chunks);

    // Without wrapping a long line stays one line.
    display->set_line_wrap_enable(0);
    EXPECT_LT(display->textctrl().get_current_line(), 45);
    EXPECT_EQ(records_of(*display), records);
}

TEST_F(AnsiDisplay, RedrawKeepsTheDisplaysCurrentColour)
{
    // The last record is red, but the colour in force is green.
    feed("\x1b[31mred text\x1b[32m");
    display->rerender();
    feed("next");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(3, 1)));

    feed("\x1b[1m\x1b[34mblue\x1b[0m\x1b[7m");
    display->suspend_updates();
    display->resume_updates();
    display->write("after");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(7, 1)));

    feed("\x1b[0m\x1b[35m");
    display->set_line_wrap_enable(1);
    feed("more");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(6, 1)));
}

TEST_F(AnsiDisplay, PaletteChangeReachesOldTextOnlyAsRecorded)
{
    feed("\x1b[32mgreen\n");
    select_ansi_palette(font_colors_zmud);
    display->rerender();
    feed("\x1b[1mbright");
    select_ansi_palette(font_colors_default);
    std::vector<std::string> chunks = store_chunks(display->textctrl());
    EXPECT_EQ(chunks[0], color_text(palette_rgb(3, 1)) + ":green");
    EXPECT_EQ(last_chunk_color(display->textctrl()), "0,255,0");
}

TEST_F(AnsiDisplay, DivertedTextReplacesTheOldOnResume)
{
    feed("old text\n");
    display->suspend_updates();
    display->clear_scrollback();
    feed("\x1b[33mnew\nlines\n");
    display->write("mine\n");
    EXPECT_EQ(display->textctrl().line_text(0), "old text");
    display->resume_updates();
    EXPECT_EQ(store_lines(display->textctrl()), (std::vector<std::string>{"new\n", "lines\n", "mine\n", ""}));
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(2, 1)));
    EXPECT_EQ(display->render_list().size(), 1u);
    // Resuming twice redraws nothing more.
    display->write("x");
    display->resume_updates();
    EXPECT_EQ(display->textctrl().line_text(3), "x");
}

TEST_F(AnsiDisplay, PopupHoldsFiftyKilobytesOfOneColourThroughSuspension)
{
    vusk_ansi_display *popup = make_display(wxPoint(0, 0));
    make_popup_style(popup);
    std::string text;
    for (int i = 0; text.size() < 50000; ++i)
        text += "popup line " + std::to_string(i) + " " + std::string(60, 'p') + "\n";
    feed_to(popup, text);
    ASSERT_EQ(popup->render_list().size(), 1u);
    EXPECT_EQ(popup->render_list().front().text().size(), text.size());
    std::vector<std::string> before = store_lines(popup->textctrl());

    popup->suspend_updates();
    popup->resume_updates();
    EXPECT_EQ(store_lines(popup->textctrl()), before);
    EXPECT_EQ(joined_text(popup->textctrl()), text);
}

TEST_F(AnsiDisplay, FreezingTurnsTheFrameRed)
{
    fill_lines(100);
    display->disable_scrolling();
    EXPECT_EQ(display->following, 0);
    EXPECT_EQ(display->textctrl().hold_view, 1);
    EXPECT_TRUE(frame.called("repaint_status_bar"));
    feed("more\n");
    EXPECT_EQ(display->textctrl().get_bottom_line(), 100);
    EXPECT_TRUE(gui::wait_until([&] {
        wxImage shot = gui::capture_window(display);
        return gui::pixel_of(shot, 0, 150) == vusk_color(255, 0, 0) &&
               gui::pixel_of(shot, 1, 150) == vusk_color(192, 0, 0);
    }));

    frame.forget();
    display->enable_scrolling();
    EXPECT_EQ(display->following, 1);
    EXPECT_EQ(display->textctrl().hold_view, 0);
    EXPECT_EQ(display->textctrl().get_bottom_line(), 101);
    EXPECT_TRUE(frame.called("repaint_status_bar"));
    EXPECT_TRUE(gui::wait_until([&] {
        wxImage shot = gui::capture_window(display);
        return gui::pixel_of(shot, 0, 150) == vusk_WHITE && gui::pixel_of(shot, 1, 150) == vusk_GREY;
    }));
}

// The inner frame lines run on to the outer edge, so four pixels of the
// outer lines take the inner colour, frozen or not.
TEST_F(AnsiDisplay, InnerFrameLinesReachTheOuterEdge)
{
    const int w = DISPLAY_SIZE.x - scrollbar_width();
    const int h = DISPLAY_SIZE.y;
    auto expect_frame = [&](const vusk_color &outer, const vusk_color &inner) {
        display->repaint();
        wxImage drawn = display->backing_bitmap().ConvertToImage();
        for (wxPoint at : {wxPoint(w - 1, 1), wxPoint(w - 1, h - 2), wxPoint(1, h - 1), wxPoint(w - 2, h - 1)})
            EXPECT_EQ(gui::pixel_of(drawn, at.x, at.y), inner) << at.x << "," << at.y;
        for (wxPoint at : {wxPoint(0, 0), wxPoint(w - 1, 0), wxPoint(0, h - 1), wxPoint(w - 1, h - 1),
                           wxPoint(w - 1, h - 3), wxPoint(2, h - 1)})
            EXPECT_EQ(gui::pixel_of(drawn, at.x, at.y), outer) << at.x << "," << at.y;
        EXPECT_EQ(gui::pixel_of(drawn, 1, 1), inner);
    };
    expect_frame(vusk_WHITE, vusk_GREY);
    display->disable_scrolling();
    expect_frame(vusk_color(255, 0, 0), vusk_color(192, 0, 0));
}

TEST_F(AnsiDisplay, WheelFreezesAndScrolls)
{
    fill_lines(100);
    gui::send_wheel(display, wxPoint(1, 1), 120);
    EXPECT_EQ(display->following, 0);
    EXPECT_EQ(display->view_line, 97);
    gui::send_wheel(display, wxPoint(1, 1), -120);
    gui::send_wheel(display, wxPoint(1, 1), -120);
    EXPECT_EQ(display->following, 1);
    EXPECT_EQ(display->view_line, 100);
    gui::send_wheel(display, wxPoint(1, 1), 120, wxMOUSE_WHEEL_HORIZONTAL);
    EXPECT_EQ(display->following, 1);
}

// GTK asserts when a scrollbar's thumb is longer than its range, and a low
// display's scrollbar keeps the height GTK needs.
TEST_F(AnsiDisplay, ShortTextFillsTheScrollbarAndALowDisplayKeepsItsMinimum)
{
    fill_lines(3);
    display->refresh_text();
    ASSERT_GT(display->textctrl().get_visible_line_count(), 3);
    EXPECT_EQ(display->scrollbar().GetThumbSize(), display->scrollbar().GetRange());
    EXPECT_EQ(display->scrollbar().GetPageSize(), display->scrollbar().GetRange());

    display->SetSize(0, 0, DISPLAY_SIZE.x, 10);
    EXPECT_EQ(display->scrollbar().GetSize().GetHeight(), native_minimum_size(display->scrollbar()).GetHeight());
    EXPECT_GT(display->scrollbar().GetSize().GetHeight(), 10);
}

TEST_F(AnsiDisplay, ScrollbarFollowsTheViewAndHandsBackTheFocus)
{
    EXPECT_EQ(display->scrollbar().GetName(), wxS("scrollBar"));
    fill_lines(100);
    display->refresh_text();
    EXPECT_TRUE(gui::refresh_and_wait(&display->textctrl()));
    int page = display->textctrl().get_visible_line_count();
    EXPECT_EQ(display->get_scroll_position(), 100 - page);
    EXPECT_EQ(display->scrollbar().GetRange(), 100);
    // Setting the scrollbar is no scroll of the user's.
    EXPECT_EQ(display->following, 1);

    frame.focus_handed_back_by.clear();
    wxScrollEvent track(wxEVT_SCROLL_THUMBTRACK, display->scrollbar().GetId(), 40, wxVERTICAL);
    track.SetEventObject(&display->scrollbar());
    display->scrollbar().HandleWindowEvent(track);
    EXPECT_EQ(display->following, 0);
    EXPECT_EQ(display->view_line, 40 + page);
    EXPECT_EQ(display->textctrl().get_bottom_line(), 40 + page);
    EXPECT_EQ(frame.focus_transfers_from(display), 1);

    wxScrollEvent bottom(wxEVT_SCROLL_THUMBRELEASE, display->scrollbar().GetId(), 100 - page, wxVERTICAL);
    bottom.SetEventObject(&display->scrollbar());
    display->scrollbar().HandleWindowEvent(bottom);
    EXPECT_EQ(display->following, 1);

    display->disable_and_set_scroll_position(10);
    EXPECT_EQ(display->following, 1);
    EXPECT_EQ(display->textctrl().get_bottom_line(), 10 + page);
}

TEST_F(AnsiDisplay, LayoutWithAndWithoutTheFrame)
{
    int bar = scrollbar_width();
    ASSERT_GT(bar, 0);
    EXPECT_EQ(display->textctrl().GetPosition(), wxPoint(2, 2));
    EXPECT_EQ(display->textctrl().GetSize(), wxSize(DISPLAY_SIZE.x - 4 - bar, DISPLAY_SIZE.y - 4));
    EXPECT_EQ(display->scrollbar().GetPosition(), wxPoint(DISPLAY_SIZE.x - bar, 0));
    EXPECT_EQ(display->scrollbar().GetSize().GetHeight(), DISPLAY_SIZE.y);
    EXPECT_EQ(display->get_scrollbar_width(), bar);

    display->set_scrollbar_enable(0);
    EXPECT_FALSE(display->scrollbar().IsShown());
    EXPECT_EQ(display->get_scrollbar_width(), 0);
    EXPECT_EQ(display->textctrl().GetSize(), wxSize(DISPLAY_SIZE.x - 4, DISPLAY_SIZE.y - 4));
    display->set_scrollbar_enable(1);
    EXPECT_TRUE(display->scrollbar().IsShown());

    make_popup_style(display);
    EXPECT_EQ(display->textctrl().GetPosition(), wxPoint(0, 0));
    EXPECT_EQ(display->textctrl().GetSize(), wxSize(DISPLAY_SIZE.x - bar, DISPLAY_SIZE.y));

    // A resize follows new text again.
    display->set_has_frame(true);
    display->never_freeze = 0;
    display->disable_scrolling();
    display->SetSize(0, 0, 300, 200);
    EXPECT_EQ(display->following, 1);
    display->SetSize(0, 0, 0, 0);
    EXPECT_EQ(display->textctrl().GetSize(), wxSize(1, 1));
}

TEST_F(AnsiDisplay, TriggerLinesAreWholeLinesOfEveryWrite)
{
    triggered_display *triggered = make_display<triggered_display>();
    feed_to(triggered, "\x1b[31mfirst\nsec");
    triggered->write("ond\nthi");
    EXPECT_EQ(triggered->lines, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(triggered->trigger_pending(), 1);
    triggered->force_trigger_line();
    EXPECT_EQ(triggered->lines.back(), "thi");
    EXPECT_EQ(triggered->trigger_pending(), 0);
    triggered->force_trigger_line();
    EXPECT_EQ(triggered->lines.size(), 3u);

    // A hook that writes is not fed its own text.
    triggered->echo = true;
    triggered->write("loud\n");
    EXPECT_EQ(triggered->lines.back(), "loud");
    EXPECT_EQ(triggered->lines.size(), 4u);
    EXPECT_EQ(triggered->textctrl().line_text(triggered->textctrl().get_current_line() - 1), "echoed");

    triggered->echo = false;
    triggered->write(std::string(9000, 'w').c_str());
    triggered->write("\n");
    EXPECT_EQ(triggered->lines.back(), std::string(7999, 'w'));
}

TEST_F(AnsiDisplay, ExportsWhatWasReceived)
{
    TempDir dir;
    feed("\x1b[1m\x1b[33ma<b&c\x1b[0m\nplain\tline\n");
    EXPECT_EQ(exported(dir, &vusk_ansi_display::render_text_to_file), "a<b&c\nplain\tline\n");
    EXPECT_NE(exported(dir, &vusk_ansi_display::render_html_to_file)
                  .find("<span class=\"byellow\">a&lt;b&amp;c</span><span class=\"white\">\nplain\tline\n</span>"),
              std::string::npos);

    FILE *full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(display->render_html_to_file(full));
    fclose(full);
}

TEST_F(AnsiDisplay, ClearingForgetsTheRecordAndTheText)
{
    feed("\x1b[1m\x1b[31mbefore\n");
    display->clear_scrollback();
    EXPECT_TRUE(display->render_list().empty());
    EXPECT_EQ(display->textctrl().get_current_line(), 0);
    EXPECT_EQ(display->textctrl().line_text(0), "");
    display->write("after");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(0, 1)));
    EXPECT_EQ(records_of(*display).front(), "55/0/160,160,160:after");
}

TEST_F(AnsiDisplay, NewcomerFlashingBlinksTheFrame)
{
    display->start_newbie_demo_mode_flashing();
    EXPECT_TRUE(display->is_animating());
    vusk_embedded_window::animation_update(20);
    wxImage drawn = display->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(drawn, 1, 100), vusk_BLACK);
    for (int tick = 0; tick < 10; ++tick)
        vusk_embedded_window::animation_update(20);
    drawn = display->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(drawn, 1, 100), vusk_WHITE);
    for (int tick = 0; tick < 200 && display->is_animating(); ++tick)
        vusk_embedded_window::animation_update(20);
    EXPECT_FALSE(display->is_animating());
    drawn = display->backing_bitmap().ConvertToImage();
    EXPECT_EQ(gui::pixel_of(drawn, 1, 100), vusk_GREY);
}

TEST_F(AnsiDisplay, DestroyedDisplaysGiveTheirMemoryBack)
{
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += "\x1b[3" + std::to_string(1 + i % 7) + "mline " + std::to_string(i) + " of the session\n";
    auto cycle = [&] {
        vusk_ansi_display *made = make_display(wxPoint(0, 0));
        feed_to(made, text);
        made->suspend_updates();
        made->resume_updates();
        delete made;
    };
    for (int i = 0; i < 5; ++i)
        cycle();
    size_t before = heap_bytes_in_use();
    for (int i = 0; i < 40; ++i)
        cycle();
    size_t after = heap_bytes_in_use();
    EXPECT_LT(after, before + 2 * 1024 * 1024);
}

TEST_F(AnsiDisplay, RandomServerBytesAndEscapes)
{
    std::mt19937 random(20240607);
    const std::string pieces[] = {"\x1b[", "\x1b", "m", ";", "1", "3", "7", "\n", "\r", "\t", "\x1b" "c",
                                  "\x1b[1m\x1b[31m", "123456789012345678901234567890", "\xe9\xff\x80",
                                  " word", std::string(300, 'z')};
    for (int round = 0; round < 1500; ++round) {
        std::string data;
        int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i) {
            if (random() % 3)
                data += pieces[random() % (sizeof pieces / sizeof pieces[0])];
            else
                data += static_cast<char>(random() % 256);
        }
        feed(data);
        switch (random() % 40) {
        case 0:
            display->SetSize(0, 0, 20 + static_cast<int>(random() % 500), 20 + static_cast<int>(random() % 300));
            break;
        case 1:
            display->suspend_updates();
            break;
        case 2:
            display->resume_updates();
            break;
        case 3:
            display->disable_scrolling();
            display->scroll_up();
            break;
        case 4:
            display->clear_scrollback();
            break;
        default:
            break;
        }
    }
    display->resume_updates();
    for (const std::string &line : store_lines(display->textctrl())) {
        for (unsigned char byte : line)
            ASSERT_TRUE(byte == '\n' || (byte >= 28 && byte <= 126)) << static_cast<int>(byte);
    }
    std::vector<std::string> chunks = store_chunks(display->textctrl());
    display->rerender();
    EXPECT_EQ(store_chunks(display->textctrl()), chunks);
}

TEST_F(AnsiDisplay, DebugFillGoesStraightToTheScrollback)
{
    feed("\x1b[1m\x1b[36m");
    display->generate_debug_fill_data(2000);
    EXPECT_GE(display->textctrl().get_current_line(), 2001);
    EXPECT_TRUE(display->render_list().empty());
    std::string summary = display->textctrl().line_text(display->textctrl().get_current_line() - 1);
    EXPECT_NE(summary.find(" characters written ("), std::string::npos);
    // Text written next has the display's colour, not the last random one.
    display->write("mine");
    EXPECT_EQ(last_chunk_color(display->textctrl()), color_text(palette_rgb(4, 2)));
}

// ESC c pushes text out of view only when text came since the last one: a
// flood of it writes a screenful once. With text in between, the lines it
// writes stay within the scrollback's limit, and the view follows.
TEST_F(AnsiDisplay, ResetFloodStaysSmall)
{
    feed("some text");
    std::string flood;
    for (int i = 0; i < 1000000; ++i)
        flood += "\x1b" "c";
    const size_t heap_before = heap_bytes_in_use();
    feed(flood);
    const int visible = display->textctrl().get_visible_line_count();
    EXPECT_EQ(display->textctrl().get_current_line(), 2 * visible + 1);
    EXPECT_LT(heap_bytes_in_use(), heap_before + 256 * 1024);

    scrollback_limit limit;
    limit.lines = 5000;
    display->set_scrollback_limit(limit);
    std::string with_text;
    for (int i = 0; i < 2000; ++i)
        with_text += "x\x1b" "c";
    feed(with_text);
    EXPECT_LE(display->textctrl().kept_lines(), limit.lines);
    EXPECT_EQ(display->textctrl().get_bottom_line(), display->textctrl().get_current_line());
    size_t recorded_lines = 0;
    for (const vusk_render_list &record : display->render_list())
        recorded_lines += size_t(std::count(record.text().begin(), record.text().end(), '\n'));
    EXPECT_LE(recorded_lines, size_t(limit.lines));
}

// A 100 MB line, then many megabytes of lines, keep only the newest text
// within the limit, in the scrollback and the record alike; memory stays
// within a bound set by the limit, not by what was received.
TEST_F(AnsiDisplay, HundredMegabyteLineStaysWithinTheLimit)
{
    constexpr size_t bound = 64u << 20;
    scrollback_limit limit;
    limit.bytes = 4 << 20;
    display->set_scrollback_limit(limit);
    std::string piece = "\x1b[32m";
    for (int i = 0; piece.size() < 256 * 1024; ++i)
        piece += "word" + std::to_string(i) + " ";
    const size_t heap_start = heap_bytes_in_use();
    size_t peak = heap_start;
    for (size_t fed = 0; fed < 100u << 20; fed += piece.size()) {
        feed(piece);
        peak = std::max(peak, heap_bytes_in_use());
    }
    EXPECT_LE(display->textctrl().kept_bytes(), limit.bytes);
    EXPECT_EQ(display->textctrl().kept_lines(), 0);
    EXPECT_NE(display->textctrl().line_text(display->textctrl().get_current_line()).find("word"), std::string::npos);

    std::string lines;
    for (int i = 0; lines.size() < 1024 * 1024; ++i)
        lines += "line " + std::to_string(i) + " \x1b[1;32mof a long session\x1b[0m\r\n";
    for (int round = 0; round < 20; ++round) {
        feed(lines);
        peak = std::max(peak, heap_bytes_in_use());
    }
    EXPECT_LE(display->textctrl().kept_bytes(), limit.bytes);
    EXPECT_EQ(display->textctrl().line_text(0).rfind("line ", 0), 0u);
    EXPECT_EQ(display->render_list().front().text().rfind("line ", 0), 0u);
    EXPECT_LT(peak, heap_start + bound);
}
