// The real main frame against the scripted game server: connecting, the
// identification line, logging in, the ping, and the ways a connection ends.
#include "builtin_images.h"
#include "game_server.h"
#include "global_fonts.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "held_disk.h"
#include "alsa_file_sink.h"
#include "menu_ids.h"
#include "silent_host.h"
#include "stderr_capture.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_input_window.h"
#include "vusk_main_window.h"
#include "vusk_status_bar.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <string>

#include <wx/event.h>
#include <wx/gdicmn.h>
#include <wx/menu.h>

using gui::client_frame;

namespace {

const char DISCONNECT_HINTS[] =
    "\n\nTo open another session, type 'connect'.\nTo exit this program, type 'exit' or 'quit'.\n\n";

std::string framed(const std::string &message)
{
    return "\n\n" + message + DISCONNECT_HINTS;
}

bool ends_with(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int history_set(client_frame &client)
{
    return client->input_window()->line_edit.histories.current_history();
}

// A script that logs the client in as `name` and then answers pings.
std::string login_script(const std::string &name)
{
    return "expect torvane .*\n"
           "send ;slogin;" + name + ";elogin;\n"
           "reply tqping => ;sevent;tqpong;eevent;\n"
           "hold\n";
}

bool recorded_line(const scripted_game_server &server, const std::string &line)
{
    return server.recorded().find(line + "\n") != std::string::npos;
}

// Sends a plain line and waits until it is at the server: by then, so is
// everything the client sent before it.
bool everything_sent_reached(const scripted_game_server &server, client_frame &client)
{
    client.type("marker line");
    return client.tick_until([&] { return recorded_line(server, "marker line"); });
}

std::string last_recorded_line(const scripted_game_server &server)
{
    std::string text = server.recorded();
    if (!text.empty())
        text.pop_back();
    return text.substr(text.rfind('\n') + 1);
}

// With the disk taking nothing, characters log in and change a setting
// until the settings writes are so far behind that the game is not read.
bool hold_reading_back_for_the_disk()
{
    TConfig &config = *TConfig::Instance();
    const int most_logins = record_list_capacity + static_cast<int>(max_only_copies);
    for (int login = 0; login < most_logins && !settings_writes_backlogged(); ++login) {
        config.UseConfig("Waiting" + std::to_string(login));
        config.SetInputHeight(input_height_min + login % 2);
    }
    return settings_writes_backlogged();
}

} // namespace

TEST(MainFrameStart, StartingBuildsShowsAndMeasuresTheFrameWithoutConnecting)
{
    vusk_mw *frame = start_client();
    frame->stop_main_tick();
    EXPECT_TRUE(gui::wait_until([&] { return frame->IsShownOnScreen(); }));
    EXPECT_EQ(main_window, frame);
    EXPECT_EQ(wxTheApp->GetTopWindow(), frame);
    EXPECT_EQ(frame->GetTitle(), wxS("Varn Ossic"));
    // The size the program asks for: a window manager's decorations take
    // their room inside it at first, and around it once the toolkit has
    // learnt their size.
    const wxSize asked(main_frame_width, main_frame_height);
    const wxSize inside_decorations = frame->GetClientSize() + wxSize(0, frame->GetMenuBar()->GetSize().GetHeight());
    EXPECT_TRUE(frame->GetSize() == asked || inside_decorations == asked)
        << frame->GetSize().x << "x" << frame->GetSize().y << ", inside the decorations "
        << inside_decorations.x << "x" << inside_decorations.y;
    // The area of the screen a frame may take, as the toolkit reports it.
    EXPECT_EQ(wxSize(global_display_xsize, global_display_ysize), wxGetClientDisplayRect().GetSize());
    EXPECT_EQ(mw_constructor_finished, 1);
    EXPECT_TRUE(frame->ping_timer().IsRunning());
    EXPECT_TRUE(frame->save_timer().IsRunning());
    EXPECT_EQ(frame->save_timer().GetInterval(), 300000);
    EXPECT_NE(global_font, nullptr);
    EXPECT_NE(varn_ossic_logo_bitmap, nullptr);
    EXPECT_EQ(std::string(global_uuid).size(), 32u);
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_TRUE(gui::destroy_and_wait(frame));
    EXPECT_EQ(main_window, nullptr);
    EXPECT_EQ(mw_constructor_finished, 0);
}

TEST(MainFrameStart, TheConfiguredFontColoursApplyToTheFirstText)
{
    gui::prepare_client();
    TConfig::Instance()->SetFontColors(1);
    client_frame client;
    client.tick();
    const client_frame::shown_run first = client.shown_runs().front();
    EXPECT_EQ((first.r << 16) | (first.g << 8) | first.b, 0xcccccc);
}

TEST(MainFrameConnection, NothingHappensBeforeTheFirstTickThenItConnectsAndIdentifiesItself)
{
    scripted_game_server server("expect torvane .*\nhold\n");
    ASSERT_NE(server.port(), 0);
    client_frame client(server.port());
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(client.shown_text(), "");

    ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
    EXPECT_EQ(server.recorded(), "torvane " + std::string(global_uuid) + " 1.089-mac\n");
    EXPECT_EQ(std::string(global_uuid).size(), 32u);
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n");
    EXPECT_EQ(history_set(client), 1);
    EXPECT_NE(global_socket_fd, -1);
}

TEST(MainFrameConnection, ServerClosingShowsTheFramedMessageWithTheHints)
{
    scripted_game_server server("expect torvane .*\nsend Goodbye.\\r\\n\nclose\n");
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), DISCONNECT_HINTS); }));
    EXPECT_TRUE(ends_with(client.shown_text(), "Goodbye.\n" + framed("Connection closed by foreign host.")));
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(history_set(client), 0);
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic"));
    EXPECT_EQ(server.wait(5), 0);

    // The hints are in normal white with the command word in bold yellow.
    const auto runs = client.shown_runs();
    ASSERT_GE(runs.size(), 3u);
    const client_frame::shown_run &word = runs[runs.size() - 2];
    EXPECT_EQ(word.text, "connect");
    EXPECT_EQ((word.r << 16) | (word.g << 8) | word.b, 0xffff55);
    const client_frame::shown_run &after = runs.back();
    EXPECT_EQ((after.r << 16) | (after.g << 8) | after.b, 0xa0a0a0);
}

TEST(MainFrameConnection, ARefusedPortGivesUnableToConnectAndStaysInHistorySetOne)
{
    client_frame client(gui::refused_port());
    client.tick();
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n" + framed("Unable to connect to server."));
    EXPECT_EQ(history_set(client), 1);
}

TEST(MainFrameConnection, LoginSetsTitleHistoryAndSendsTheSettingsLineOnce)
{
    scripted_game_server server(login_script("Arden"));
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return client->logged_in(); }));
    EXPECT_EQ(client->GetTitle(), wxS("Varn Ossic - Player Arden"));
    EXPECT_EQ(history_set(client), 2);
    EXPECT_EQ(TConfig::Instance()->GetName(), "Arden");

    // The defaults of a new configuration, as the server learns them; with
    // no sound device here, sound has switched itself off.
    ASSERT_TRUE(client.tick_until([&] { return last_recorded_line(server).rfind("tqlstatus ", 0) == 0; }));
    EXPECT_EQ(last_recorded_line(server), "tqlstatus 01010111111" "1" "2" "11011" "0" "1" "  0 70  3");
    client.tick(5);
    ASSERT_TRUE(everything_sent_reached(server, client));
    EXPECT_EQ(server.recorded().find("tqlstatus "), server.recorded().rfind("tqlstatus "));
}

TEST(MainFrameConnection, TheSettingsLineOfEveryFlagOnMatchesTheWorkedExample)
{
    alsa_file_sink device;
    scripted_game_server server(login_script(""));
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return client->logged_in(); }));
    ASSERT_TRUE(client.tick_until([&] { return server.recorded().find("tqlstatus ") != std::string::npos; }));

    TConfig &config = *TConfig::Instance();
    for (auto setter : {&TConfig::SetSystemAudio, &TConfig::SetCommandSeparator, &TConfig::SetDirectionButton,
                        &TConfig::SetHintButton, &TConfig::SetFkeyButton, &TConfig::SetStatusBar,
                        &TConfig::SetSkyBar, &TConfig::SetExpDisplay, &TConfig::SetHpbarEnable,
                        &TConfig::SetEnemyHpbarEnable, &TConfig::SetPopupDisplay, &TConfig::SetAutomapEnable,
                        &TConfig::SetAutomapDocked, &TConfig::SetChannelWindow, &TConfig::SetChannelDupe,
                        &TConfig::SetColorFlash})
        (config.*setter)(1);
    config.SetGroupStatus(2);
    config.SetLayout(1);
    config.SetFontColors(7);
    config.SetButtonTheme(3);
    config.SetBackgroundColor(12);
    config.SetBackgroundStyle(0);
    global_voting_reminder_enable = 1;

    const std::string expected = "tqlstatus 11111111111" "2" "1" "11111" "9" "1" "  3 12  0";
    EXPECT_TRUE(client.tick_until([&] { return last_recorded_line(server) == expected; }))
        << last_recorded_line(server);
}

TEST(MainFrameConnection, PingsOnlyWhileLoggedInAndTheReplyChangesNothingShown)
{
    scripted_game_server server(login_script("Bryn"));
    client_frame client(server.port());
    EXPECT_TRUE(client->ping_timer().IsRunning());
    EXPECT_EQ(client->ping_timer().GetInterval(), 15000);

    client.tick();
    ASSERT_FALSE(client->logged_in());
    client->ping_timer().Notify();
    client.tick(3);
    ASSERT_TRUE(everything_sent_reached(server, client));
    EXPECT_FALSE(recorded_line(server, "tqping"));

    ASSERT_TRUE(client.tick_until([&] { return client->logged_in(); }));
    client.tick(2);
    const std::string shown = client.shown_text();
    client->ping_stopwatch().Start(100000);
    client->ping_timer().Notify();
    EXPECT_LT(client->ping_stopwatch().Time(), 100000);
    ASSERT_TRUE(client.tick_until([&] { return recorded_line(server, "tqping"); }));
    EXPECT_TRUE(client.tick_until([&] { return client->status_bar()->ping_count == 1; }));
    EXPECT_EQ(client.shown_text(), shown);
}

TEST(MainFrameConnection, TextWithColoursTagsAndTelnetArrivesWholeWhenSentByteByByte)
{
    scripted_game_server server("expect torvane .*\n"
                                "chunk 1\n"
                                "send \\e[1m\\e[31mred\\e[0m;;x\\xff\\xfb\\x01;shp;1 2 3 4 5 6;ehp;\\xff\\xfe\\x01ok\\r\\n\n"
                                "hold\n",
                                30);
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), "ok\n"); }, 20000));
    EXPECT_TRUE(ends_with(client.shown_text(), "Connecting...\nred;x\nok\n"));
    EXPECT_EQ(client->input_window()->line_edit.echo_off, 1);
    bool red_shown = false;
    for (const client_frame::shown_run &run : client.shown_runs())
        red_shown |= run.text == "red" && ((run.r << 16) | (run.g << 8) | run.b) == 0xff5555;
    EXPECT_TRUE(red_shown);
}

// A host that drops connect requests (down, or behind a firewall): the ticks
// go on while the client waits for its answer, and the player's lines are
// carried out as when not connected, until the connect times out.
TEST(MainFrameConnection, ASilentHostLeavesTheTicksRunningUntilTheConnectTimesOut)
{
    silent_host host;
    connect_timeout_ms = 3000;
    stderr_capture errors;
    client_frame client(host.port());
    client.tick();
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n");
    EXPECT_EQ(host.waiting_connects(), 1);
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(history_set(client), 1);

    client->queue_control_command("look");
    client->queue_control_command("//echo still here");
    ASSERT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), "still here"); }));
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n\nstill here");

    ASSERT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), DISCONNECT_HINTS); }));
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n\nstill here" + framed("Unable to connect to server."));
    EXPECT_EQ(history_set(client), 1);
    EXPECT_EQ(global_socket_fd, -1);
    EXPECT_EQ(host.waiting_connects(), 0);
    EXPECT_NE(errors.text().find("Unable to connect: Connection timed out\n"), std::string::npos);
}

TEST(MainFrameConnection, ConnectingAgainOrDisconnectingWhileConnectingLeavesNoSocketBehind)
{
    silent_host host;
    client_frame client(host.port());
    client.tick();
    ASSERT_EQ(host.waiting_connects(), 1);

    client.type("connect " + std::to_string(host.port()));
    client.tick();
    EXPECT_EQ(client.shown_text(), "\n\nConnecting...\n\n\nConnecting...\n");
    EXPECT_EQ(host.waiting_connects(), 1);

    wxCommandEvent disconnect(wxEVT_MENU, id_menu_file_disconnect);
    client->ProcessWindowEvent(disconnect);
    EXPECT_EQ(host.waiting_connects(), 0);
    EXPECT_TRUE(ends_with(client.shown_text(), framed("Disconnecting.")));
    EXPECT_EQ(history_set(client), 0);
}

TEST(MainFrameConnection, ClosingTheWindowWhileConnectingEndsTheProgramThroughTheCountdown)
{
    silent_host host;
    client_frame client(host.port());
    client.tick();
    ASSERT_EQ(host.waiting_connects(), 1);
    EXPECT_FALSE(client->Close());
    EXPECT_TRUE(client.tick_until([&] { return !client.alive(); }));
    EXPECT_EQ(host.waiting_connects(), 0);
}

// Reading waits for the disk, sending does not: a line typed meanwhile
// reaches the server, and its answer is shown once the disk catches up.
TEST(MainFrameConnection, ALineTypedWhileReadingWaitsForTheDiskReachesTheServer)
{
    scripted_game_server server("expect torvane .*\nexpect say hello\nsendln The answer.\nhold\n");
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
    held_disk disk;
    ASSERT_TRUE(hold_reading_back_for_the_disk());

    client.type("say hello");
    EXPECT_TRUE(client.tick_until([&] { return recorded_line(server, "say hello"); }));
    EXPECT_TRUE(settings_writes_backlogged());
    disk.let_go();
    EXPECT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), "The answer.\n"); }));
    save_system_config();
}

// A server that answers, sends a last line and closes cleanly while reading
// waits for the disk: the close is not shown before the text sent before it.
// Once the disk catches up, the answer, the last line and then the close.
TEST(MainFrameConnection, AServerClosingWhileReadingWaitsForTheDiskIsShownAfterItsLastText)
{
    scripted_game_server server("expect torvane .*\nexpect say hello\nsendln The answer.\nsendln Last line.\nclose\n");
    client_frame client(server.port());
    ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); }));
    held_disk disk;
    ASSERT_TRUE(hold_reading_back_for_the_disk());

    client.type("say hello");
    ASSERT_TRUE(client.tick_until([&] {
        pollfd closed{global_socket_fd, POLLRDHUP, 0};
        return global_socket_fd == -1 || poll(&closed, 1, 0) == 1;
    })) << "the server never closed";
    client.tick(3);
    EXPECT_NE(global_socket_fd, -1) << "the close was taken before the text sent before it";
    EXPECT_TRUE(settings_writes_backlogged());
    disk.let_go();
    EXPECT_TRUE(client.tick_until([&] { return ends_with(client.shown_text(), DISCONNECT_HINTS); }));
    EXPECT_TRUE(ends_with(client.shown_text(), "The answer.\nLast line.\n" + framed("Connection closed by foreign host.")))
        << client.shown_text();
    EXPECT_EQ(global_socket_fd, -1);
    save_system_config();
}
