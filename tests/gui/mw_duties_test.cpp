// The main frame's smaller duties seen from outside: the shortcut list, the
// warnings before quitting or disconnecting with a character in the game,
// the logo link, the vote menu and its reminder switch.
#include "client_messages.h"
#include "fake_browser.h"
#include "game_server.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "menu_ids.h"
#include "tick_counters.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vote_menu.h"
#include "vusk_main_window.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/menu.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using gui::client_frame;

namespace {

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

wxDialog *warning(const char *title)
{
    return dynamic_cast<wxDialog *>(wxWindow::FindWindowByLabel(wxString::FromAscii(title)));
}

void press(wxDialog &dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(&dialog);
    dialog.ProcessWindowEvent(click);
}

void choose(client_frame &client, int id)
{
    wxCommandEvent event(wxEVT_MENU, id);
    client->ProcessWindowEvent(event);
}

// The dialog's button as the player sees it, pressed as the player presses it.
void press_button(wxDialog &dialog, const char *label)
{
    wxButton *button = nullptr;
    for (wxWindow *child : dialog.GetChildren())
        if (auto *found = dynamic_cast<wxButton *>(child); found && found->GetLabel() == wxString::FromAscii(label))
            button = found;
    ASSERT_NE(button, nullptr) << label;
    ASSERT_TRUE(button->IsShown() && button->IsEnabled()) << label;
    wxCommandEvent click(wxEVT_BUTTON, button->GetId());
    click.SetEventObject(button);
    button->ProcessWindowEvent(click);
}

// A frame connected to a server that records every line and answers none.
class Leaving : public testing::Test {
protected:
    Leaving() : server("expect torvane .*\nhold\n", 60), client(server.port()) {}

    void SetUp() override { ASSERT_TRUE(client.tick_until([&] { return !server.recorded().empty(); })); }

    // The lines after the identification line, as the server got them,
    // without the settings status line, once `expected` of them are there
    // (or the wait ran out).
    std::vector<std::string> sent(size_t expected)
    {
        client.tick_until([&] { return received().size() >= expected; }, 3000);
        return received();
    }

    std::vector<std::string> received() const
    {
        std::vector<std::string> lines;
        std::string recorded = server.recorded();
        for (size_t start = recorded.find('\n') + 1, end; (end = recorded.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string line = recorded.substr(start, end - start);
            if (line.rfind("tqlstatus ", 0) != 0)
                lines.push_back(line);
        }
        return lines;
    }

    scripted_game_server server;
    client_frame client;
};

TEST_F(Leaving, ExitWhileLoggedInAsksTheServerAndShowsTheWarningWhoseLogoffLogsOff)
{
    client.receive(";tlogin;");
    client->verify_program_exit();
    wxDialog *dialog = warning("Logoff Warning");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->IsShown());
    EXPECT_EQ(global_shutdown_flag, 0);
    const wxRect frame = client->GetRect();
    EXPECT_EQ(dialog->GetPosition().x, frame.x + (frame.width - dialog->GetSize().x) / 2);

    press(*dialog, wxID_OK);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(sent(6), (std::vector<std::string>{"quit -check", "", "recall", "quit -f", "recall", "quit -f"}));
    EXPECT_TRUE(client.alive());
}

TEST_F(Leaving, DisconnectWarningLogsOffEchoingOnlyTheLastQuitAndHidesWhenTheLineDrops)
{
    client.receive(";tlogin;");
    client->main_display()->clear_scrollback();
    client->verify_disconnect();
    wxDialog *dialog = warning("Disconnect Warning");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->IsShown());
    press(*dialog, wxID_OK);
    EXPECT_EQ(sent(5), (std::vector<std::string>{"", "recall", "quit", "recall", "quit"}));
    EXPECT_EQ(client.shown_text().find("recall"), std::string::npos);
    EXPECT_TRUE(contains(client.shown_text(), ">quit<"));

    client->verify_disconnect();
    ASSERT_TRUE(dialog->IsShown());
    client->socket_disconnect("Gone.");
    EXPECT_FALSE(dialog->IsShown());
    // With no connection left, Logoff has nothing to send and quits nothing.
    const size_t before = server.recorded().size();
    press(*dialog, wxID_OK);
    EXPECT_EQ(server.recorded().size(), before);
    EXPECT_TRUE(client.alive());
}

TEST_F(Leaving, ExitBeforeLoginQuitsAtOnceAndDisconnectOfNoConnectionShowsNothing)
{
    client->verify_program_exit();
    EXPECT_FALSE(warning("Logoff Warning")->IsShown());
    EXPECT_EQ(global_shutdown_flag, shutdown_countdown_start);
    global_shutdown_flag = 0;
    client->socket_disconnect("Gone.");
    client->verify_disconnect();
    EXPECT_FALSE(warning("Disconnect Warning")->IsShown());
}

TEST_F(Leaving, TheQuitWarningsButtonsCancelLogOffAndQuit)
{
    client.receive(";tlogin;");
    choose(client, id_menu_file_quit);
    wxDialog *dialog = warning("Logoff Warning");
    ASSERT_TRUE(dialog != nullptr && dialog->IsShown());
    press_button(*dialog, "&Cancel");
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(sent(1), std::vector<std::string>{"quit -check"});
    EXPECT_EQ(global_shutdown_flag, 0);

    choose(client, id_menu_file_quit);
    press_button(*dialog, "&Logoff");
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(sent(7), (std::vector<std::string>{"quit -check", "quit -check", "", "recall", "quit -f", "recall",
                                                 "quit -f"}));
    EXPECT_EQ(global_shutdown_flag, 0);

    choose(client, id_menu_file_quit);
    press_button(*dialog, "&Exit Program");
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(global_shutdown_flag, shutdown_countdown_start);
    global_shutdown_flag = 0;
}

// Chosen from the File menu with a character in the game, Disconnect warns
// first; the warning's own buttons cancel, log off, or drop the line as the
// typed "//disconnect" does.
TEST_F(Leaving, DisconnectFromTheMenuWhileLoggedInWarnsAndItsButtonsDecide)
{
    client.receive(";tlogin;");
    choose(client, id_menu_file_disconnect);
    wxDialog *dialog = warning("Disconnect Warning");
    ASSERT_TRUE(dialog != nullptr && dialog->IsShown());
    EXPECT_TRUE(client->connected());
    press_button(*dialog, "&Cancel");
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_TRUE(client->connected());
    EXPECT_TRUE(received().empty());

    choose(client, id_menu_file_disconnect);
    press_button(*dialog, "&Logoff");
    EXPECT_EQ(sent(5), (std::vector<std::string>{"", "recall", "quit", "recall", "quit"}));
    EXPECT_TRUE(client->connected());

    choose(client, id_menu_file_disconnect);
    client->main_display()->clear_scrollback();
    press_button(*dialog, "&Disconnect");
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_FALSE(client->connected());
    EXPECT_FALSE(client->logged_in());
    EXPECT_TRUE(contains(client.shown_text(), "Disconnecting."));
    EXPECT_EQ(received().size(), 5u);
}

TEST(MainFrameHelp, TheShortcutListHasTheFunctionKeysOnlyWhileLoggedIn)
{
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    client.type("//help");
    const std::string logged_out = client.shown_text();
    EXPECT_TRUE(contains(logged_out, "\nControl \\         - (abort) erase current line and stop all aliases"));
    EXPECT_FALSE(contains(logged_out, "F1-F12"));
    EXPECT_TRUE(contains(logged_out, "Up/Down           - look through previous commands\n----"));

    client.receive(";tlogin;");
    client->main_display()->clear_scrollback();
    choose(client, id_menu_help_kb_shortcuts);
    EXPECT_TRUE(contains(client.shown_text(), "\nF1-F12            - trigger aliases 'f01' through 'f12'\nUp/Down"));
}

TEST(MainFrameLogo, APressInsideOpensThePageOnceEvenWhileDraggingAndFollowsTheLayout)
{
    fake_browser browser;
    client_frame client;
    client.tick();
    auto mouse = [&](wxEventType type, int x, int y, bool held) {
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, y));
        event.SetLeftDown(held);
        client->ProcessWindowEvent(event);
    };
    auto click = [&](int x, int y) {
        mouse(wxEVT_LEFT_DOWN, x, y, true);
        mouse(wxEVT_LEFT_UP, x, y, false);
    };
    // Layout 2 (the default) puts the logo top left.
    ASSERT_EQ(TConfig::Instance()->GetLayout(), 2);
    click(192, 5);
    click(0, 5);
    client->main_display()->clear_scrollback();
    mouse(wxEVT_LEFT_DOWN, 5, 5, true);
    for (int step = 0; step < 20; ++step)
        mouse(wxEVT_MOTION, 5 + step, 5, true);
    mouse(wxEVT_LEFT_UP, 30, 5, false);
    ASSERT_TRUE(gui::wait_until([&] { return !browser.opened().empty(); }));
    EXPECT_EQ(browser.opened(), std::vector<std::string>{"http://localhost/?tq"});
    EXPECT_EQ(client.shown_text(), "\n\nOpening the main Varn Ossic web page in your browser...\n");

    TConfig::Instance()->SetLayout(0);
    const wxSize size = client->GetClientSize();
    click(5, 5);
    click(size.x - 192, size.y - 5);
    client.tick();
    EXPECT_EQ(browser.opened().size(), 1u);
    click(size.x - 5, size.y - 5);
    EXPECT_TRUE(gui::wait_until([&] { return browser.opened().size() == 2; }));
}

TEST(MainFrameLogo, WithoutABrowserOnlyTheApologyIsWritten)
{
    fake_browser browser;
    browser.break_it();
    client_frame client;
    client.tick();
    ASSERT_EQ(TConfig::Instance()->GetLayout(), 2);
    client->main_display()->clear_scrollback();
    wxMouseEvent press(wxEVT_LEFT_DOWN);
    press.SetPosition(wxPoint(5, 5));
    press.SetLeftDown(true);
    client->ProcessWindowEvent(press);
    EXPECT_TRUE(client.tick_until([&] {
        return contains(client.shown_text(), "\n\nSorry, but I can't seem open your browser.\n\nhttp://localhost/?tq");
    }));
    EXPECT_FALSE(contains(client.shown_text(), "Opening the main Varn Ossic web page"));
    EXPECT_TRUE(browser.opened().empty());
}

// The labels of the Vote menu's items, separators as "-".
std::vector<std::string> vote_menu_labels(client_frame &client)
{
    std::vector<std::string> labels;
    const int index = client->GetMenuBar()->FindMenu(wxS("Vote"));
    if (index == wxNOT_FOUND)
        return labels;
    for (const wxMenuItem *item : client->GetMenuBar()->GetMenu(size_t(index))->GetMenuItems())
        labels.push_back(item->IsSeparator() ? "-" : std::string(item->GetItemLabel().To8BitData()));
    return labels;
}

TEST(MainFrameVote, BuiltInEntriesUntilTheServerSendsItsOwnThenVotingOpensThePages)
{
    voting_urls.fill(voting_url{});
    fake_browser browser;
    client_frame client;
    client.tick();
    EXPECT_EQ(vote_menu_labels(client),
              (std::vector<std::string>{"Vote For All", "-", "Vote at Listing Site 1", "Vote at Listing Site 2",
                                        "Vote at Listing Site 3", "-", "Enable Voting Reminders"}));
    client.receive(";svotemenu1;Top & Best\nhttp://one.example/v;evotemenu1;"
                   ";svotemenu2;Second\nhttps://two.example/v x;evotemenu2;");
    client.tick();
    EXPECT_EQ(vote_menu_labels(client), (std::vector<std::string>{"Vote For All", "-", "Top && Best", "Second", "-",
                                                                  "Enable Voting Reminders"}));
    global_last_voting_time = 0;
    choose(client, id_menu_vote_all);
    ASSERT_TRUE(gui::wait_until([&] { return browser.opened().size() == 2; }));
    // From the last entry to the first.
    EXPECT_EQ(browser.opened_in_start_order(),
              (std::vector<std::string>{"https://two.example/v", "http://one.example/v"}));
    EXPECT_GT(global_last_voting_time, 0);
}

TEST(MainFrameVote, TheReminderSwitchTellsThePlayerAndTheServer)
{
    global_voting_reminder_enable = 1;
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    TConfig::Instance()->config_update_pending = 0;
    choose(client, id_menu_vote_reminder);
    EXPECT_EQ(global_voting_reminder_enable, 0);
    EXPECT_FALSE(client->GetMenuBar()->IsChecked(id_menu_vote_reminder));
    EXPECT_EQ(TConfig::Instance()->config_update_pending, 1);
    EXPECT_TRUE(contains(client.shown_text(), "\n\nVoting reminders disabled.\n\n"));
    choose(client, id_menu_vote_reminder);
    EXPECT_TRUE(client->GetMenuBar()->IsChecked(id_menu_vote_reminder));
    EXPECT_TRUE(contains(client.shown_text(), "You will now get daily reminders to vote for Varn Ossic.\n"));
}

TEST(MainFrameVote, TheReminderIsBoldYellowBetweenNormalWhite)
{
    client_frame client;
    client.tick();
    client->main_display()->clear_scrollback();
    write_styled(*client->main_display(), voting_reminder_text());
    std::vector<std::string> runs;
    for (const client_frame::shown_run &run : client.shown_runs()) {
        char colour[8];
        snprintf(colour, sizeof colour, "%02x%02x%02x", run.r, run.g, run.b);
        runs.push_back(std::string(colour) + ":" + run.text);
    }
    EXPECT_EQ(runs, (std::vector<std::string>{
                        "a0a0a0:\n\n\n",
                        "ffff55:Don't forget to vote for Varn Ossic (use the links on the voting menu.)\n",
                        "a0a0a0:\n"}));
}

} // namespace
