// The incoming stream through the real main frame: text, colours, tags and
// telnet commands cut at every place, the tags whose panels do not exist yet,
// diversions, the trigger-line forcing, and random streams under the
// sanitizers.
#include "gui_client.h"
#include "gui_harness.h"
#include "tqconfig.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using gui::client_frame;

namespace {

const std::string IAC = "\xff";
const std::string ESC = "\x1b";
const char MISSING_POPUP[] = "\nSorry, no popup window by that name has been defined.\n\n";

std::string with_data(const std::string &tag, const std::string &data)
{
    return ";s" + tag + ";" + data + ";e" + tag + ";";
}

std::string without_data(const std::string &tag)
{
    return ";t" + tag + ";";
}

// A frame whose connect on the first tick failed, its parser taking text as
// after a connect.
class StreamFrame : public testing::Test {
protected:
    void SetUp() override
    {
        client.tick();
        start_over();
    }

    void start_over()
    {
        client->main_display()->clear_scrollback();
        client->stream_parser().reset();
    }

    std::vector<std::string> runs() const
    {
        std::vector<std::string> out;
        for (const client_frame::shown_run &run : client.shown_runs())
            out.push_back(std::to_string((run.r << 16) | (run.g << 8) | run.b) + "/" +
                          std::to_string(run.attr) + ":" + run.text);
        return out;
    }

    client_frame client;
};

} // namespace

TEST_F(StreamFrame, EveryCutOfTheStreamShowsTheSame)
{
    const std::string stream = "plain " + ESC + "[1m" + ESC + "[31mred" + ESC + "[0m;;semi;x " +
                               with_data("hp", "1 2\r 3 4 5 6") + without_data("bclear") + IAC + "\xfb\x01" +
                               IAC + "\xfd\x01" + IAC + IAC + "\x07" + ESC + "[2m" + ESC + "[33mdim" +
                               with_data("event", "tqpong") + " end\n";
    client.receive(stream);
    const std::vector<std::string> whole = runs();
    EXPECT_EQ(client.shown_text(), "plain red;semi;x dim end\n");
    EXPECT_EQ(client->stream_parser().parse_state, vusk_stream_parser::parse_text);

    for (size_t cut = 1; cut < stream.size(); ++cut) {
        start_over();
        client.receive(stream.substr(0, cut));
        client.receive(stream.substr(cut));
        ASSERT_EQ(runs(), whole) << "cut at " << cut;
    }
    start_over();
    for (char byte : stream)
        client.receive(std::string(1, byte));
    EXPECT_EQ(runs(), whole);
}

TEST_F(StreamFrame, TelnetEchoHidesTypingOnlyBeforeLogin)
{
    vusk_line_edit &line = client->input_window()->line_edit;
    client.receive(IAC + "\xfe\x01");
    EXPECT_EQ(client.shown_text(), "\n");
    EXPECT_EQ(line.echo_off, 1);
    client.receive(IAC + "\xfd\x01");
    EXPECT_EQ(line.echo_off, 0);
    client.receive(IAC + "\xfb\x01" + IAC + "\xfc\x01");
    EXPECT_EQ(line.echo_off, 0);

    client.receive(without_data("login"));
    client.receive(IAC + "\xfe\x01");
    EXPECT_EQ(client.shown_text(), "\n\n");
    EXPECT_EQ(line.echo_off, 0);
}

TEST_F(StreamFrame, TagsOfPanelsStillToComeLeaveTheFrameAsItWas)
{
    const std::string huge_number = "99999999999999999999999";
    const std::string long_data(14999, 'Q');
    const std::vector<std::string> tags = {
        "map", "walkfail", "dirs", "areaname", "combat", "ncombat", "enemyhp", "group", "xpp", "hp",
        "sound", "bclear", "window_create", "chdiv", "chudiv", "config", "skystate", "icons", "votemenu",
        "votemenu1", "votemenu8", "votemenu9", "votemenu" + huge_number, "b", "b0", "b1", "b12", "b13",
        "b-1", "b" + huge_number, "bf", "bf0", "bf1", "bf8", "bf9", "bf" + huge_number, "event"};
    const std::vector<std::string> payloads = {
        "", "on NE", "off ZZ", "on ab", "1 2 3 4 5 6", "50 a goblin", huge_number + " " + huge_number,
        "-" + huge_number, "automap flash", "tqpong", "tqpong late", "\x01\x02\x7f\x80\xfe", "   ",
        "name\nsecond line", long_data};
    const wxString title = client->GetTitle();

    for (const std::string &tag : tags) {
        client.receive(without_data(tag));
        for (const std::string &data : payloads)
            client.receive(with_data(tag, data));
        client.receive(" after " + tag + "\n");
        ASSERT_EQ(client.shown_text().substr(client.shown_text().size() - tag.size() - 8), " after " + tag + "\n");
    }
    EXPECT_FALSE(client->logged_in());
    EXPECT_EQ(client->GetTitle(), title);
    EXPECT_EQ(client->current_display(), client->main_display());
    EXPECT_EQ(client->stream_parser().parse_state, vusk_stream_parser::parse_text);
}

TEST_F(StreamFrame, DivertAndAppendToAnUnknownPopupKeepTheTextHere)
{
    client.receive(with_data("divert", "nosuch") + "diverted\n");
    EXPECT_EQ(client.shown_text(), std::string(MISSING_POPUP) + "diverted\n");
    EXPECT_EQ(client->current_display(), client->main_display());

    start_over();
    client.receive(with_data("append", "") + "appended\n" + without_data("unappend") +
                   without_data("undivert") + "still here\n");
    EXPECT_EQ(client.shown_text(), std::string(MISSING_POPUP) + "appended\nstill here\n");
    EXPECT_EQ(client->current_display(), client->main_display());
}

TEST_F(StreamFrame, ALoginNameThatCannotBeAFileNameLogsInWithoutSwitchingConfiguration)
{
    const std::string configuration = TConfig::Instance()->GetName();
    client.receive(with_data("login", "../../escape\x01") + "text\n");
    client.tick();
    EXPECT_TRUE(client->logged_in());
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic - Player ../../escape\x01"));
    EXPECT_EQ(TConfig::Instance()->GetName(), configuration);
    EXPECT_EQ(client.shown_text(), "text\n");
}

TEST_F(StreamFrame, AClientIdFromTheServerIsTakenAndCut)
{
    const std::string id(40, 'K');
    client.receive(with_data("uuid", id));
    EXPECT_EQ(std::string(global_uuid), id.substr(0, 32));
    EXPECT_EQ(client.shown_text(), "");
}

TEST_F(StreamFrame, AColourFlashTintsTheCurrentDisplayOnlyWhileFlashingIsOn)
{
    const vusk_textctrl &store = client->main_display()->textctrl();
    const vusk_color resting = store.get_background();
    TConfig::Instance()->SetColorFlash(0);
    client.receive(with_data("event", "colorflash ff0000 000000 5"));
    EXPECT_EQ(store.get_background(), resting);

    TConfig::Instance()->SetColorFlash(1);
    client.receive(with_data("event", "colorflash ff0000 000000 5"));
    EXPECT_NE(store.get_background(), resting);
    client.tick(10);
    EXPECT_EQ(store.get_background(), resting);
    EXPECT_EQ(client.shown_text(), "");
}

TEST_F(StreamFrame, APartialLineIsForcedOnTheThirdTickItWaits)
{
    client.receive("prompt> ");
    ASSERT_TRUE(client->main_display()->trigger_pending());
    client.tick(2);
    EXPECT_TRUE(client->main_display()->trigger_pending());
    client.tick();
    EXPECT_FALSE(client->main_display()->trigger_pending());

    client.receive("again> ");
    client.tick(2);
    client.receive("more\n");
    client.tick();
    client.receive("next> ");
    client.tick(2);
    EXPECT_TRUE(client->main_display()->trigger_pending());
    client.tick();
    EXPECT_FALSE(client->main_display()->trigger_pending());
}

// Random streams built from the pieces the parsers react to, and mutations of
// a realistic one: the frame must survive all of them with its state sane.
TEST_F(StreamFrame, RandomAndMutatedStreamsLeaveTheFrameSane)
{
    const std::vector<std::string> pieces = {
        ";", ";;", ";t", ";s", ";e", "t", "s", "e", "hp", "map", "divert", "undivert", "append", "unappend",
        "chdiv", "chudiv", "event", "colorflash", "tqpong", "login", "dirs", "b3", "bf2", "votemenu2", " ",
        "1", "-7", "99999999999999999999", IAC, "\xfb", "\xfc", "\xfd", "\xfe", "\x01", "\x07", "\r", "\n",
        ESC, ESC + "[", "[1m", "[3", "1m", "m", "c", "\x80", "\xe9", std::string(70, 'n'), std::string(300, 'd')};
    const std::string session = "\x1b[1m\x1b[32mThe Town Gate\x1b[0m\r\n" + with_data("hp", "100 100 80 80 120 120") +
                                with_data("dirs", "on NS") + with_data("divert", "notes") + "secret" +
                                without_data("undivert") + IAC + "\xfe\x01" + "Password: " + IAC + "\xfd\x01" +
                                with_data("event", "colorflash 3 red") + "<100hp>;; \x07\n";
    std::mt19937 random(20240601);
    for (int round = 0; round < 400; ++round) {
        std::string stream;
        if (round % 2 == 0) {
            const int count = std::uniform_int_distribution<int>(1, 200)(random);
            for (int i = 0; i < count; ++i)
                stream += pieces[random() % pieces.size()];
        } else {
            stream = session;
            const int edits = std::uniform_int_distribution<int>(1, 12)(random);
            for (int i = 0; i < edits; ++i) {
                const size_t at = random() % (stream.size() + 1);
                switch (random() % 3) {
                case 0: stream.insert(at, pieces[random() % pieces.size()]); break;
                case 1: if (at < stream.size()) stream.erase(at, 1 + random() % 8); break;
                default: if (at < stream.size()) stream[at] = static_cast<char>(random()); break;
                }
            }
        }
        size_t start = 0;
        while (start < stream.size()) {
            const size_t size = 1 + random() % 64;
            client.receive(stream.substr(start, size));
            start += size;
        }
        const int state = client->stream_parser().parse_state;
        ASSERT_TRUE(state == vusk_stream_parser::parse_text || state >= vusk_stream_parser::parse_after_iac);
        ASSERT_GE(client->stream_parser().tag_index, 0);
        ASSERT_LE(client->stream_parser().tag_index, vusk_stream_parser::tag_data_max_length);
        ASSERT_EQ(client->current_display(), client->main_display());
        if (round % 50 == 49) {
            client.tick();
            start_over();
        }
    }
    EXPECT_EQ(client.shown_text().find('\x1b'), std::string::npos);
}
