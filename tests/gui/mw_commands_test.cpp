// The control-command dispatcher of the real main frame: the client's own
// commands, the words typed while disconnected, local echo, break and abort,
// and the work the main tick does for other code (delayed writes, URLs).
#include "command_line.h"
#include "fake_browser.h"
#include "game_server.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "temp_home.h"
#include "tick_counters.h"
#include "tqconfig.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using gui::client_frame;

namespace {

const char HELP_HEADING[] = "\nTorvane Control Commands -------------------------------";
const char HINTS[] = "To open another session, type 'connect'.\nTo exit this program, type 'exit' or 'quit'.\n\n";
const std::string DASHES(73, '-');

// The runs of the main display as "rrggbb:text".
std::vector<std::string> coloured(const client_frame &client)
{
    std::vector<std::string> pieces;
    for (const client_frame::shown_run &run : client.shown_runs()) {
        char colour[8];
        snprintf(colour, sizeof colour, "%02x%02x%02x", run.r, run.g, run.b);
        pieces.push_back(std::string(colour) + ":" + run.text);
    }
    return pieces;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// A frame connected to a server that records every line and answers none
// (and waits out the long debug fill).
class ConnectedFrame : public testing::Test {
protected:
    ConnectedFrame() : server("expect torvane .*\nhold\n", 120), client(server.port()) {}

    void SetUp() override
    {
        ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
        clear();
    }

    void clear() { client->main_display()->clear_scrollback(); }

    bool at_server(const std::string &line) const { return contains(server.recorded(), "\n" + line + "\n"); }

    // Types the line and gives the client time to send it.
    bool reaches_server(const std::string &line)
    {
        client.type(line);
        return client.tick_until([&] { return at_server(line); }, 3000);
    }

    // A line sent after the ones a test checks: once it is at the server,
    // so is everything the client sent before it.
    bool everything_sent_reached_server() { return reaches_server("marker line"); }

    void log_in()
    {
        client.receive(";tlogin;");
        clear();
    }

    scripted_game_server server;
    client_frame client;
};

} // namespace

TEST_F(ConnectedFrame, HelpEchoAndClearActLocally)
{
    for (const char *abbreviation : {"//c", "//com", "//COMMANDS"}) {
        client.type(abbreviation);
        EXPECT_TRUE(contains(client.shown_text(), HELP_HEADING)) << abbreviation;
        EXPECT_TRUE(contains(client.shown_text(), "\nquit                     - quick program exit\n"));
        client.type("//cl");
        EXPECT_EQ(client.shown_text(), "");
    }
    client.type("//echo a few   words");
    EXPECT_EQ(client.shown_text(), "\na few   words");
    client.type("//echo");
    EXPECT_EQ(client.shown_text(), "\na few   words\n");
    client.type("//help");
    EXPECT_TRUE(contains(client.shown_text(), "\nKeyboard controls you can use with this client:"));

    ASSERT_TRUE(everything_sent_reached_server());
    for (const char *line : {"//c", "//com", "//cl", "//echo", "//help"})
        EXPECT_FALSE(at_server(line)) << line;
}

TEST_F(ConnectedFrame, ShortOrBareSlashWordsGoToTheServer)
{
    for (const char *line : {"//", "//qui", "//exi", "//d", "connect 4000", "quit", "exit", "tqping"})
        EXPECT_TRUE(reaches_server(line)) << line;
    EXPECT_EQ(global_shutdown_flag, 0);
    EXPECT_NE(global_socket_fd, -1);
}

TEST_F(ConnectedFrame, HistoryListsTheStoredCommandsNewestLast)
{
    client->input_window()->line_edit.history_store(wxS("look"));
    client->input_window()->line_edit.history_store(wxS("north"));
    client.type("//hi");
    EXPECT_TRUE(contains(client.shown_text(), "\nRecent Command History:\n 2 - look\n 1 - north\n"));
    ASSERT_TRUE(everything_sent_reached_server());
    EXPECT_FALSE(at_server("//hi"));
}

TEST_F(ConnectedFrame, DebuggingCommandsStayLocal)
{
    for (const char *line : {"//icons", "//icons 1 0 1", "//soundtest walk", "//chanclear"}) {
        client.type(line);
        EXPECT_EQ(client.shown_text(), "") << line;
    }
    client.type("//debugfill");
    EXPECT_GE(client->main_display()->textctrl().get_current_line(), vusk_ansi_display::debug_fill_lines);
    EXPECT_EQ(client.shown_text(), "");
    ASSERT_TRUE(everything_sent_reached_server());
    for (const char *line : {"//icons", "//soundtest walk", "//chanclear", "//debugfill"})
        EXPECT_FALSE(at_server(line)) << line;
    EXPECT_NE(global_socket_fd, -1);
}

TEST_F(ConnectedFrame, PingWordIsSentOnceWhileLoggedIn)
{
    log_in();
    client->ping_stopwatch().Start(100000);
    ASSERT_TRUE(reaches_server("tqping"));
    EXPECT_LT(client->ping_stopwatch().Time(), 100000);
    const std::string recorded = server.recorded();
    EXPECT_EQ(recorded.find("\ntqping\n"), recorded.rfind("\ntqping\n"));
}

TEST_F(ConnectedFrame, LocalEchoShowsTheLineBetweenAngleBrackets)
{
    client.type("look");
    EXPECT_EQ(client.shown_text(), ""); // not logged in yet
    log_in();

    client.type("look");
    EXPECT_EQ(coloured(client), (std::vector<std::string>{"a0a0a0:\n\n", "ffff55:>", "a0a0a0:look", "ffff55:<",
                                                          "ffffff:\n" + DASHES}));
    clear();
    client.type("");
    EXPECT_EQ(coloured(client), (std::vector<std::string>{"a0a0a0:\n", "ffff55:><"}));

    clear();
    TConfig::Instance()->SetCommandSeparator(0);
    client.type("look");
    EXPECT_EQ(coloured(client), (std::vector<std::string>{"a0a0a0:\n", "ffff55:>", "a0a0a0:look", "ffff55:<"}));

    clear();
    client->handle_async_control_command("north", 0);
    TConfig::Instance()->SetLocalEcho(0);
    client.type("south");
    EXPECT_EQ(client.shown_text(), "");
    EXPECT_TRUE(client.tick_until([&] { return at_server("north") && at_server("south"); }));
}

TEST_F(ConnectedFrame, BreakAndAbortDropWhatWaitsAndResetTheParser)
{
    client.receive("before;shp;1 2");
    client.type("//br");
    ASSERT_TRUE(client.tick_until([&] { return at_server("\x03"); }));
    client.receive("3 4;ehp;after\n");
    EXPECT_TRUE(contains(client.shown_text(), "before\n3 4after\n"));

    client.receive(";s");
    client->handle_async_control_abort();
    ASSERT_TRUE(client.tick_until([&] { return at_server("\x1a"); }));
    client.receive("hp;plain\n");
    EXPECT_TRUE(contains(client.shown_text(), "hp;plain\n"));

    client->handle_async_control_break();
    EXPECT_TRUE(client.tick_until([&] {
        const std::string recorded = server.recorded();
        return recorded.find("\x03\n") != recorded.rfind("\x03\n");
    }));
}

TEST_F(ConnectedFrame, DisconnectThenOnlyTheDisconnectedWordsAct)
{
    client.receive(";schdiv;gossip;echdiv;");
    ASSERT_EQ(client->tag_dispatcher().channel_divert_active(), true);
    client.type("//disc");
    EXPECT_EQ(client.shown_text(), std::string("\n\nDisconnecting.\n\n") + HINTS);
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(client->tag_dispatcher().channel_divert_active(), false);
    EXPECT_EQ(server.wait(5), 0);
    clear();

    for (const char *line : {"look", "log", "q", "e", "//", "x connect"})
        client.type(line);
    EXPECT_EQ(client.shown_text(), "");
    EXPECT_EQ(global_shutdown_flag, 0);

    connect_port = gui::refused_port();
    for (const char *line : {"c", "co", "connect", "re", "st", "logi", "RESTART now"}) {
        clear();
        client.type(line);
        EXPECT_EQ(client.shown_text(),
                  std::string("\n\nConnecting...\n\n\nUnable to connect to server.\n\n") + HINTS)
            << line;
        EXPECT_EQ(client->input_window()->line_edit.histories.current_history(), 1);
    }
    for (const char *line : {"qui", "quit", "ex", "EXIT"}) {
        global_shutdown_flag = 0;
        client.type(line);
        EXPECT_EQ(global_shutdown_flag, 5) << line;
    }
    global_shutdown_flag = 0;
}

TEST(MainFrameCommands, ConnectTakesThePortAfterTheWord)
{
    scripted_game_server server("expect torvane .*\nhold\n");
    client_frame client(gui::refused_port());
    client.tick();
    ASSERT_EQ(global_socket_fd, -1);
    client.type("connect " + std::to_string(server.port()));
    EXPECT_NE(global_socket_fd, -1);
    EXPECT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
}

TEST(MainFrameCommands, QuitSavesAndClosesOnTheFourthTickAfterTheLastRequest)
{
    client_frame client;
    client.tick();
    client.type("//quit");
    client.tick(2);
    client.type("//exit");
    client.tick(3);
    ASSERT_TRUE(client.alive());
    client.tick();
    EXPECT_TRUE(gui::wait_until([&] { return !client.alive(); }));
    EXPECT_EQ(main_window, nullptr);

    EXPECT_TRUE(std::ifstream(std::string(getenv("HOME")) + "/Library/Varn Ossic/varn_ossic.cfg").good());
}

TEST(MainFrameCommands, ClosingTheWindowQuitsThroughTheCountdown)
{
    client_frame client;
    client.tick();
    EXPECT_FALSE(client->Close());
    EXPECT_EQ(global_shutdown_flag, 5);
    client.tick(4);
    EXPECT_TRUE(gui::wait_until([&] { return !client.alive(); }));
}

TEST(MainFrameTick, DelayedWritesAreShownByTheNextTickInOnePiece)
{
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    client->delayed_write("first ");
    client->delayed_write(nullptr);
    client->delayed_write(" last\n");
    EXPECT_EQ(client.shown_text(), "");
    client.tick();
    EXPECT_EQ(client.shown_text(), "\nfirst (null) last\n");
    client.tick();
    EXPECT_EQ(client.shown_text(), "\nfirst (null) last\n");

    client->main_display()->clear_scrollback();
    client->delayed_write(std::string(9000, 'x').c_str());
    client.tick();
    EXPECT_EQ(client.shown_text(), "\n" + std::string(buffer_capacity - 1, 'x'));
}

TEST(MainFrameTick, AQueuedUrlOpensOnTheNextTickOrTheApologyFollows)
{
    client_frame client;
    client.tick();
    fake_browser browser;
    const char url[] = "http://localhost/?tq";
    client->open_url(url);
    client.tick();
    EXPECT_TRUE(gui::wait_until([&] { return !browser.opened().empty(); }));
    EXPECT_EQ(browser.opened(), std::vector<std::string>{url});

    client->main_display()->clear_scrollback();
    browser.break_it();
    client->open_url("http://localhost/page");
    client.tick();
    EXPECT_EQ(client.shown_text(), "");
    client.tick();
    EXPECT_EQ(client.shown_text(),
              "\n\n\nSorry, but I can't seem open your browser.\n\nhttp://localhost/page\n\n");
}
