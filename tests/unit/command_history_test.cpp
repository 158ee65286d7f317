#include "command_history.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Drives a history as the command line does: the text in the line is
// replaced whenever the history shows another.
struct browsing {
    command_history history;
    wxString line;

    void up()
    {
        wxString shown;
        if (history.history_up(line, &shown))
            line = shown;
    }

    void down()
    {
        wxString shown;
        if (history.history_down(line, &shown))
            line = shown;
    }

    void send(const wxString &text)
    {
        history.history_store(text);
        line.clear();
    }
};
}

TEST(CommandHistory, StartsWithConnect)
{
    browsing b;
    b.up();
    EXPECT_EQ(b.line, wxS("connect"));
    b.up();
    EXPECT_EQ(b.line, wxS("connect"));
    b.history.swap_history(1);
    b.line.clear();
    b.up();
    EXPECT_EQ(b.line, wxS(""));
}

TEST(CommandHistory, RepeatedCommandIsStoredOnce)
{
    browsing b;
    b.send(wxS("look"));
    b.send(wxS("look"));
    b.send(wxS("north"));
    b.send(wxS("look"));
    const char *expected[] = {"look", "north", "look", "connect", "connect"};
    for (const char *command : expected) {
        b.up();
        EXPECT_EQ(b.line, wxString::FromAscii(command));
    }
}

TEST(CommandHistory, ScratchSlotKeepsThePartialCommand)
{
    browsing b;
    b.send(wxS("kill orc"));
    b.line = wxS("say hel");
    b.up();
    EXPECT_EQ(b.line, wxS("kill orc"));
    b.down();
    EXPECT_EQ(b.line, wxS("say hel"));
    b.down();
    EXPECT_EQ(b.line, wxS(""));
    b.down();
    EXPECT_EQ(b.line, wxS(""));
    b.up();
    EXPECT_EQ(b.line, wxS("say hel"));
    b.up();
    EXPECT_EQ(b.line, wxS("kill orc"));
    // Sending ends browsing and empties the scratch slot.
    b.send(wxS("score"));
    b.down();
    EXPECT_EQ(b.line, wxS(""));
    b.up();
    EXPECT_EQ(b.line, wxS(""));
    b.up();
    EXPECT_EQ(b.line, wxS("score"));
}

TEST(CommandHistory, KeepsNinetyEightCommandsPerSet)
{
    browsing b;
    b.history.swap_history(2);
    for (int i = 0; i < 100; ++i)
        b.send(wxString::Format(wxS("cmd%d"), i));
    int steps = 0;
    wxString previous;
    do {
        previous = b.line;
        b.up();
        ++steps;
    } while (b.line != previous);
    EXPECT_EQ(steps - 1, 98);
    EXPECT_EQ(b.line, wxS("cmd2"));
    EXPECT_EQ(b.history.history_position(), 99);
}

TEST(CommandHistory, SetsKeepTheirOwnPositions)
{
    browsing b;
    b.history.swap_history(1);
    b.send(wxS("one-a"));
    b.send(wxS("one-b"));
    b.up();
    b.up();
    EXPECT_EQ(b.line, wxS("one-a"));
    b.history.swap_history(2);
    EXPECT_EQ(b.history.history_position(), 1);
    b.send(wxS("two-a"));
    b.up();
    EXPECT_EQ(b.line, wxS("two-a"));
    b.history.swap_history(1);
    EXPECT_EQ(b.history.history_position(), 3);
    b.down();
    EXPECT_EQ(b.line, wxS("one-b"));
    b.history.swap_history(7);
    b.history.swap_history(-1);
    EXPECT_EQ(b.history.current_history(), 1);
}

TEST(CommandHistory, Listing)
{
    command_history history;
    history.swap_history(1);
    EXPECT_EQ(history.listing(), "\nRecent Command History:\n");
    for (int i = 1; i <= 25; ++i)
        history.history_store(wxString::Format(wxS("c%d"), i));
    history.history_store(wxString::FromUTF8("say caf\xc3\xa9 \xe2\x82\xac"));
    std::string expected = "\nRecent Command History:";
    for (int n = 19; n >= 2; --n)
        expected += "\n" + std::string(n < 10 ? " " : "") + std::to_string(n) + " - c" +
                    std::to_string(27 - n);
    expected += "\n 1 - say caf\xe9 ?\n";
    EXPECT_EQ(history.listing(), expected);
}

TEST(CommandHistory, LineForSending)
{
    EXPECT_EQ(line_for_sending(wxString(wxUniChar('x'), 6000)), std::string(4999, 'x'));
    EXPECT_EQ(line_for_sending(wxString::FromUTF8("\xc3\xa9\xe2\x82\xac!")), "\xe9?!");
    wxString wide(wxUniChar(0x20ac), 5000);
    EXPECT_EQ(line_for_sending(wide), std::string(4999, '?'));
    EXPECT_EQ(line_for_sending(wxString()), "");
}
