#include "ansi_palette.h"
#include "ansi_parser.h"
#include "log_export.h"
#include "render_list.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {
// A parser recording into a render list, as a text display does.
struct recorded_terminal : ansi_parser_sink {
    render_list_recorder recorder;
    ansi_parser parser{*this};

    recorded_terminal() { parser.reset_colors(); }

    void ansi_write(const char *text) override { recorder.rerender_save_string(text); }
    void ansi_set_color(int rgb, int code, int attribute) override
    {
        recorder.rerender_save_color(rgb, code, attribute);
    }
    int ansi_visible_lines() override { return 2; }

    void feed(const std::string &data) { parser.parse(data.data(), static_cast<int>(data.size())); }

    const render_list_recorder::records_type &records()
    {
        recorder.rerender_flush();
        return recorder.records();
    }

    // The text of every record, joined.
    std::string kept_text()
    {
        std::string kept;
        for (const vusk_render_list &record : records())
            kept += record.text();
        return kept;
    }

    std::vector<vusk_render_list> listed()
    {
        std::vector<vusk_render_list> all;
        for (const vusk_render_list &record : records())
            all.push_back(record);
        return all;
    }
};

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string html_head(const char *title_time)
{
    return std::string("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
                       "<html>\n<head>\n<title>Varn Ossic Logfile - ") +
           title_time +
           "</title>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html;charset=utf-8\" >\n"
           "<style type=\"text/css\">\n"
           "body     {background-color:#000000}\n"
           ".dwhite  {color:606060}\n.white   {color:a0a0a0}\n.bwhite  {color:ffffff}\n"
           ".dred    {color:550000}\n.red     {color:aa0000}\n.bred    {color:ff5555}\n"
           ".dyellow {color:774000}\n.yellow  {color:aa8800}\n.byellow {color:ffff55}\n"
           ".dgreen  {color:005500}\n.green   {color:00aa00}\n.bgreen  {color:55ff55}\n"
           ".dcyan   {color:008060}\n.cyan    {color:0080aa}\n.bcyan   {color:40ffff}\n"
           ".dblue   {color:000088}\n.blue    {color:0000cc}\n.bblue   {color:5050ff}\n"
           ".dpurple {color:550088}\n.purple  {color:aa00cc}\n.bpurple {color:ff40ff}\n"
           "</style>\n</head>\n<body><pre><tt>\n";
}

const char html_tail[] = "\n</tt></pre></body>\n</html>\n";

// 2001-09-09 01:46:40 UTC.
constexpr time_t fixed_time = 1000000000;

class utc_zone {
public:
    utc_zone()
    {
        setenv("TZ", "UTC", 1);
        tzset();
    }
    ~utc_zone()
    {
        unsetenv("TZ");
        tzset();
    }
};

std::string export_html(const render_list_recorder::records_type &records, const TempDir &dir)
{
    std::string path = dir.path() + "/log.html";
    FILE *file = fopen(path.c_str(), "wb");
    EXPECT_NE(file, nullptr);
    EXPECT_TRUE(render_html_to_file(records, file, fixed_time));
    fclose(file);
    return read_file(path);
}
}

TEST(RenderList, RunsOfOneColourMerge)
{
    recorded_terminal t;
    t.feed("one ");
    t.feed("two\n");
    t.feed("\x1b[31mred\x1b[0mwh\x1b[37mite");
    const std::vector<vusk_render_list> records = t.listed();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].text(), "one two\n");
    EXPECT_EQ(records[0].code, ansi_code_white);
    EXPECT_EQ(records[1].text(), "red");
    EXPECT_EQ((rgb_to_color(0xaa0000)), vusk_color(records[1].r, records[1].g, records[1].b));
    // Reset and white share their colour: the run keeps the first code.
    EXPECT_EQ(records[2].text(), "white");
    EXPECT_EQ(records[2].code, ansi_code_reset);
}

TEST(RenderList, ColourChangesWithoutTextLeaveNoRecord)
{
    recorded_terminal t;
    t.feed("\x1b[31m\x1b[32m\x1b[1m\x1b[0m");
    EXPECT_TRUE(t.records().empty());
    t.feed("\x1b[33mx\x1b[34m");
    ASSERT_EQ(t.records().size(), 1u);
    EXPECT_EQ(t.records().front().code, ansi_code_yellow);
    EXPECT_EQ(t.recorder.saved_code(), ansi_code_blue);
}

TEST(RenderList, ClearForgetsEverything)
{
    recorded_terminal t;
    t.feed("\x1b[1m\x1b[35mtext");
    t.recorder.clear();
    EXPECT_TRUE(t.recorder.records().empty());
    EXPECT_EQ(t.recorder.saved_rgb(), 0);
    t.parser.reset_colors();
    t.feed("after");
    ASSERT_EQ(t.records().size(), 1u);
    EXPECT_EQ(t.records().front().text(), "after");
    EXPECT_EQ(t.records().back().attr, 0);
}

// Runs of every length, some longer than a storage block and some growing
// past the end of one, read back in order with their colours, before and
// after the limit drops the oldest.
TEST(RenderList, RecordsReadBackInOrderAcrossStorageBlocks)
{
    recorded_terminal t;
    std::vector<std::pair<std::string, int>> written;
    for (int i = 0; i < 400; ++i) {
        const int code = 1 + i % 7;
        std::string text(size_t(i * 997 % 150000 + 1), char('a' + i % 26));
        text.back() = '\n';
        t.feed("\x1b[3" + std::to_string(code) + "m" + text.substr(0, text.size() / 2));
        t.feed(text.substr(text.size() / 2));
        written.emplace_back(text, ansi_code_red - 1 + code);
    }
    const auto read_back = [&t] {
        std::vector<std::pair<std::string, int>> runs;
        for (const vusk_render_list &record : t.records())
            runs.emplace_back(std::string(record.text()), int(record.code));
        return runs;
    };
    EXPECT_EQ(read_back(), written);
    EXPECT_EQ(t.records().back().text(), written.back().first);

    scrollback_limit limit;
    limit.lines = 80;
    t.recorder.set_scrollback_limit(limit);
    const std::vector<std::pair<std::string, int>> kept = read_back();
    ASSERT_EQ(kept.size(), 70u); // seven eighths of the limit
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), written.end() - std::ptrdiff_t(kept.size())));
    EXPECT_EQ(t.records().front().text(), kept.front().first);
}

TEST(LogExport, ClassNames)
{
    struct name_case {
        int code;
        int attr;
        const char *name;
    };
    const name_case cases[] = {
        {ansi_code_reset, 0, "white"},
        {ansi_code_white, 0, "white"},
        {ansi_code_white, ansi_attr_bold, "bwhite"},
        {ansi_code_red, ansi_attr_dim, "dred"},
        {ansi_code_green, ansi_attr_bold | ansi_attr_dim, "bgreen"},
        {ansi_code_yellow, ansi_attr_reverse, "yellow"},
        {ansi_code_blue, ansi_attr_blink, "blue"},
        {ansi_code_magenta, 0, "purple"},
        {ansi_code_cyan, ansi_attr_dim, "dcyan"},
        {0x30, 0, "bogus"},
    };
    for (const name_case &c : cases) {
        vusk_render_list record;
        record.code = c.code;
        record.attr = c.attr;
        EXPECT_STREQ(render_list_class_name(record), c.name) << c.code << " " << c.attr;
    }
}

TEST(LogExport, GoldenHtml)
{
    utc_zone utc;
    TempDir dir;
    recorded_terminal empty;
    EXPECT_EQ(export_html(empty.records(), dir),
              html_head("Sun Sep  9 01:46:40 2001\n") + html_tail);

    recorded_terminal t;
    t.feed("You see:\n\x1b[1m\x1b[33ma<b&c>\x1b[0m\n\x1b[2m\x1b[36mdim\t\x1b[0m");
    t.parser.set_color(1, '3');
    t.recorder.rerender_save_string("caf\xe9");
    select_ansi_palette(font_colors_gmud);
    EXPECT_EQ(export_html(t.records(), dir),
              html_head("Sun Sep  9 01:46:40 2001\n") +
                  "<span class=\"white\">You see:\n</span>"
                  "<span class=\"byellow\">a&lt;b&amp;c&gt;</span>"
                  "<span class=\"white\">\n</span>"
                  "<span class=\"dcyan\">dim\t</span>"
                  "<span class=\"byellow\">caf\xc3\xa9</span>" +
                  html_tail);
    select_ansi_palette(font_colors_default);
}

TEST(LogExport, GoldenText)
{
    TempDir dir;
    recorded_terminal t;
    t.feed("a\x1b[31m\tb\r\n\xe9\x1b[1m\x1b[32mc<&>");
    t.recorder.rerender_save_string("\xe9");
    std::string path = dir.path() + "/log.txt";
    FILE *file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(render_text_to_file(t.records(), file));
    fclose(file);
    EXPECT_EQ(read_file(path), "a\tb\n.c<&>\xe9");
}

TEST(LogExport, FailedWritesAreReported)
{
    recorded_terminal t;
    t.feed(std::string(100000, 'x'));
    FILE *full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(render_text_to_file(t.records(), full));
    fclose(full);
    full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(render_html_to_file(t.records(), full, fixed_time));
    fclose(full);
    // A short page stays in the stream's buffer: the final flush catches it.
    recorded_terminal empty;
    full = fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    EXPECT_TRUE(render_text_to_file(empty.records(), full));
    EXPECT_FALSE(render_html_to_file(empty.records(), full, fixed_time));
    fclose(full);
    EXPECT_FALSE(render_text_to_file(t.records(), nullptr));
}

TEST(RenderList, OldestWholeLinesGoPastTheLimit)
{
    recorded_terminal t;
    scrollback_limit limit;
    limit.lines = 50;
    t.recorder.set_scrollback_limit(limit);
    std::string all;
    for (int i = 0; i < 500; ++i) {
        std::string line = "line " + std::to_string(i) + "\n";
        all += line;
        t.feed("\x1b[3" + std::to_string(1 + i % 7) + "m" + line);
    }
    const std::string kept = t.kept_text();
    EXPECT_LE(std::count(kept.begin(), kept.end(), '\n'), 50);
    EXPECT_GE(std::count(kept.begin(), kept.end(), '\n'), limit.lines_after_trim());
    EXPECT_EQ(all.substr(all.size() - kept.size()), kept);
    EXPECT_EQ(all[all.size() - kept.size() - 1], '\n');
    // The first record kept still has the colour of its line.
    const int first_line = std::stoi(kept.substr(5));
    EXPECT_EQ(t.records().front().code, ansi_code_red + first_line % 7);
}

TEST(RenderList, ALineLongerThanTheLimitKeepsItsNewestBytes)
{
    recorded_terminal t;
    scrollback_limit limit;
    limit.bytes = 5000;
    t.recorder.set_scrollback_limit(limit);
    std::string line;
    for (int i = 0; line.size() < 100000; ++i) {
        std::string piece = (i % 2 ? "\x1b[31m" : "\x1b[32m") + std::to_string(i) + " ";
        line += std::to_string(i) + " ";
        t.feed(piece);
    }
    const std::string kept = t.kept_text();
    EXPECT_LE(kept.size(), 5000u);
    EXPECT_GE(kept.size(), size_t(limit.bytes_after_trim()) - 10);
    EXPECT_EQ(line.substr(line.size() - kept.size()), kept);
}

// Lines each of a colour of their own: the run limit is reached without a
// trim, passing it keeps exactly seven eighths of it.
TEST(RenderList, PassingTheRunLimitKeepsSevenEighthsOfIt)
{
    recorded_terminal t;
    scrollback_limit limit;
    limit.runs = 800;
    t.recorder.set_scrollback_limit(limit);
    int written = 0;
    const auto write_lines = [&](int count) {
        for (int end = written + count; written < end; ++written)
            t.feed((written % 2 ? "\x1b[31m" : "\x1b[32m") + std::to_string(10000 + written) + "\n");
    };
    // Lines written, then the runs kept.
    const int steps[][2] = {{800, 800}, {1, 700}, {100, 800}, {1, 700}};
    for (const auto &step : steps) {
        write_lines(step[0]);
        EXPECT_EQ(t.records().size(), size_t(step[1])) << written;
    }
    EXPECT_EQ(t.records().front().text(), "10202\n");
}

TEST(RenderList, AColourChangeAtEveryCharacterIsBoundedToo)
{
    for (const char *line_end : {"\n", ""}) {
        SCOPED_TRACE(*line_end ? "lines" : "one line");
        recorded_terminal t;
        scrollback_limit limit;
        limit.runs = 1000;
        t.recorder.set_scrollback_limit(limit);
        std::string written;
        for (int i = 0; i < 20000; ++i) {
            const std::string piece = std::string(1, char('a' + i % 26)) + (i % 10 == 9 ? line_end : "");
            t.feed((i % 2 ? "\x1b[31m" : "\x1b[32m") + piece);
            written += piece;
        }
        EXPECT_LE(t.records().size(), size_t(limit.runs));
        EXPECT_GE(t.records().size(), size_t(limit.runs_after_trim() - 20));
        const std::string kept = t.kept_text();
        EXPECT_EQ(written.substr(written.size() - kept.size()), kept);
        EXPECT_EQ(t.records().back().code, ansi_code_red);
    }
}
