#include "stream_parser.h"
#include "stream_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using log_lines = std::vector<std::string>;

const std::string IAC = "\xff";
const std::string WILL = "\xfb";
const std::string WONT = "\xfc";
const std::string DO = "\xfd";
const std::string DONT = "\xfe";
const std::string ECHO = "\x01";

class StreamParser : public testing::Test {
protected:
    recording_stream_sink sink;
    vusk_stream_parser parser{sink, sink};

    void SetUp() override { parser.reset(); }

    void feed(const std::string &bytes)
    {
        parser.process_socket_data(bytes.data(), static_cast<int>(bytes.size()));
    }
};

std::string repeated(char c, size_t count)
{
    return std::string(count, c);
}

TEST(StreamParserIdle, DropsEverythingUntilTheFirstReset)
{
    recording_stream_sink sink;
    vusk_stream_parser parser(sink, sink);
    const std::string bytes = "hello;thp;" + IAC + DONT + ECHO + "\a";
    parser.process_socket_data(bytes.data(), static_cast<int>(bytes.size()));
    EXPECT_TRUE(sink.log.empty());
    EXPECT_EQ(parser.parse_state, vusk_stream_parser::parse_idle);

    parser.reset();
    parser.process_socket_data("hello", 5);
    EXPECT_EQ(sink.log, log_lines{"text:hello"});
}

TEST_F(StreamParser, PlainTextGoesOnInRunsOfBoundedLength)
{
    feed(repeated('x', 6000));
    ASSERT_EQ(sink.log.size(), 3u);
    EXPECT_EQ(sink.log[0].size(), 5u + 2560);
    EXPECT_EQ(sink.log[1].size(), 5u + 2560);
    EXPECT_EQ(sink.log[2].size(), 5u + 880);
    // However many runs, the displays repaint once per chunk.
    EXPECT_EQ(sink.chunks_started, 1);
    EXPECT_EQ(sink.chunks_finished, 1);
}

TEST_F(StreamParser, EmptyOrMissingChunksOnlyBracketTheUpdate)
{
    parser.process_socket_data(nullptr, 40);
    parser.process_socket_data("abc", 0);
    parser.process_socket_data("abc", -7);
    EXPECT_TRUE(sink.log.empty());
    EXPECT_EQ(sink.chunks_started, 3);
    EXPECT_EQ(sink.chunks_finished, 3);
}

TEST_F(StreamParser, NulBytesInTextAreKeptByLength)
{
    feed(std::string("a\0b", 3));
    EXPECT_EQ(sink.log, log_lines{std::string("text:a\0b", 8)});
}

TEST_F(StreamParser, SemicolonsInPlainText)
{
    feed("a;;b");
    EXPECT_EQ(sink.shown_text(), "a;b");

    sink.log.clear();
    feed("5;x and ;9");
    EXPECT_EQ(sink.shown_text(), "5;x and ;9");

    sink.log.clear();
    feed("end;");
    feed(";start");
    EXPECT_EQ(sink.shown_text(), "end;start");

    // ";e" starts a closing name, so everything to the next ';' is hidden.
    sink.log.clear();
    feed("see;everything here;shown");
    EXPECT_EQ(sink.shown_text(), "seeshown");
}

TEST_F(StreamParser, TagsWithAndWithoutData)
{
    feed("before;shp;1 2 3 4 5 6;ehp;after");
    EXPECT_EQ(sink.log, (log_lines{"text:before", "tag:hp|1 2 3 4 5 6", "text:after"}));

    sink.log.clear();
    feed(";tbclear;");
    EXPECT_EQ(sink.log, log_lines{"tag:bclear|"});
}

TEST_F(StreamParser, TagDataDropsCarriageReturnsAndKeepsOtherBytes)
{
    feed(";smap;row1\r\nrow2\r\n;emap;");
    EXPECT_EQ(sink.log, log_lines{"tag:map|row1\nrow2\n"});

    sink.log.clear();
    feed(";ssound;a" + IAC + "b\a;esound;");
    EXPECT_EQ(sink.log, log_lines{"tag:sound|a\xff" "b\a"});
}

TEST_F(StreamParser, EmptyDataIsEmptyNotThePreviousTagsData)
{
    // The first tag has no closing name: nothing in between empties the data.
    feed(";sgroup;a long description;x");
    feed(";slogin;;elogin;");
    EXPECT_EQ(sink.log, (log_lines{"tag:group|a long description", "text:;x", "tag:login|"}));
}

TEST_F(StreamParser, WhatFollowsTheClosingSemicolonOfData)
{
    // Anything but the letters of a tag form: the tag is delivered and the
    // semicolon shows with that byte.
    feed(";sareaname;Vale;xyz");
    EXPECT_EQ(sink.log, (log_lines{"tag:areaname|Vale", "text:;xyz"}));

    // A tag without data may follow at once, with no closing name.
    sink.log.clear();
    feed(";sareaname;Vale;tbclear;rest");
    EXPECT_EQ(sink.log, (log_lines{"tag:areaname|Vale", "tag:bclear|", "text:rest"}));

    // The closing name need not match the opening one.
    sink.log.clear();
    feed(";sareaname;Vale;ewhatever;rest");
    EXPECT_EQ(sink.log, (log_lines{"tag:areaname|Vale", "text:rest"}));
}

TEST_F(StreamParser, OverlongTagNamesAreDiscarded)
{
    const std::string fits = repeated('n', vusk_stream_parser::tag_name_max_length);
    feed(";t" + fits + ";");
    EXPECT_EQ(sink.log, log_lines{"tag:" + fits + "|"});

    // The name and the byte that overflowed it are lost; the rest is text.
    sink.log.clear();
    feed(";t" + fits + "Xrest of line;;");
    EXPECT_EQ(sink.merged(), log_lines{"text:rest of line;"});

    sink.log.clear();
    feed(";s" + fits + "Xmore;data;e" + fits + ";");
    EXPECT_EQ(sink.shown_text(), "more;data");
}

TEST_F(StreamParser, OverlongClosingNamesAreDiscarded)
{
    feed(";shp;1;e" + repeated('e', 63) + ";after");
    EXPECT_EQ(sink.log, (log_lines{"tag:hp|1", "text:after"}));

    sink.log.clear();
    feed(";shp;1;e" + repeated('e', 64) + "after");
    EXPECT_EQ(sink.log, (log_lines{"tag:hp|1", "text:after"}));
}

TEST_F(StreamParser, OverlongTagDataIsDiscarded)
{
    const std::string fits = repeated('d', vusk_stream_parser::tag_data_max_length);
    feed(";smap;" + fits + ";emap;");
    ASSERT_EQ(sink.log.size(), 1u);
    EXPECT_EQ(sink.log[0], "tag:map|" + fits);

    sink.log.clear();
    feed(";smap;" + fits + "Xtail;emap;");
    // The tag is lost; after it ";emap;" hides its name again.
    EXPECT_EQ(sink.log, log_lines{"text:tail"});
}

TEST_F(StreamParser, ResetForgetsATagInProgress)
{
    feed("text;shp;1 2 3");
    parser.reset();
    feed(" 4;ehp;more");
    EXPECT_EQ(sink.log, (log_lines{"text:text", "text: 4", "text:more"}));
}

TEST_F(StreamParser, EchoNegotiation)
{
    feed("Password: " + IAC + DONT + ECHO);
    EXPECT_EQ(sink.log, (log_lines{"text:Password: ", "text:\n", "echo:off"}));

    sink.log.clear();
    feed(IAC + DO + ECHO + "ok");
    EXPECT_EQ(sink.log, (log_lines{"echo:on", "text:ok"}));

    sink.log.clear();
    feed(IAC + WILL + ECHO + IAC + WONT + ECHO + "x");
    EXPECT_EQ(sink.log, log_lines{"text:x"});
}

TEST_F(StreamParser, OtherTelnetCommandsAreSkipped)
{
    // Negotiations of other options: three bytes dropped.
    feed("a" + IAC + DO + "\x18" + "b" + IAC + WILL + "\x1f" + "c" + IAC + DONT + "\x03" + "d");
    EXPECT_EQ(sink.shown_text(), "abcd");

    // Any other command byte: both bytes dropped, IAC IAC included.
    sink.log.clear();
    feed("e" + IAC + IAC + "f" + IAC + "\xf1" + "g" + IAC + "h");
    EXPECT_EQ(sink.shown_text(), "efg");
    EXPECT_EQ(parser.parse_state, vusk_stream_parser::parse_text);
}

TEST_F(StreamParser, BellRingsAtOnceAndShowsNothing)
{
    feed("ab\acd");
    EXPECT_EQ(sink.log, (log_lines{"bell", "text:abcd"}));
}

} // namespace
