#include "client_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace {
// Records what a display is told, colours as markers in the text.
struct recording_display {
    std::string log;
    void reset_colors() { log += "{reset}"; }
    void set_color(int attribute, int colour)
    {
        log += "{" + std::to_string(attribute) + ";3" + char(colour) + "}";
    }
    void write(const char *text) { log += text; }
};

std::string rendered(const styled_text &text)
{
    recording_display display;
    write_styled(display, text);
    return display.log;
}

std::string plain(const styled_text &text)
{
    std::string all;
    for (const styled_piece &piece : text)
        all += piece.text;
    return all;
}
}

TEST(LocalEcho, ShowsTheLineBetweenBoldYellowAngleBrackets)
{
    EXPECT_EQ(rendered(local_echo_text("look", false)),
              "{reset}\n{1;33}>{reset}look{1;33}<{reset}");
}

TEST(LocalEcho, SeparatorAddsABlankLineBeforeAndADashedLineAfter)
{
    EXPECT_EQ(rendered(local_echo_text("look", true)),
              "{reset}\n\n{1;33}>{reset}look{1;33}<{1;37}\n" + std::string(73, '-') + "{reset}");
}

TEST(LocalEcho, EmptyLineShowsTheBracketsAloneWithoutSeparator)
{
    const std::string expected = "{reset}\n{1;33}>{reset}{1;33}<{reset}";
    EXPECT_EQ(rendered(local_echo_text("", true)), expected);
    EXPECT_EQ(rendered(local_echo_text(nullptr, true)), expected);
}

TEST(LocalEcho, LineBytesPassUnchanged)
{
    const char line[] = "say caf\xe9 \x1b[31m;;";
    EXPECT_EQ(plain(local_echo_text(line, false)), std::string("\n><").insert(2, line));
}

TEST(CommandHelp, ListsTheCommandsInTheDefaultColours)
{
    const styled_text help = command_help_text();
    ASSERT_EQ(help.size(), 1u);
    EXPECT_EQ(help[0].style, text_style::defaults);
    EXPECT_EQ(help[0].text,
              "\n"
              "\nTorvane Control Commands -------------------------------"
              "\n//commands               - this help screen"
              "\n//help                   - show keyboard shortcuts"
              "\n//echo                   - echo the given string"
              "\n//break                  - send TTY *break*"
              "\n//history                - show recent client history"
              "\n//clear                  - quick clear of all backscroll"
              "\n//quit                   - quick program exit"
              "\n//disconnect             - quick disconnect"
              "\n"
              "\nCommands Used While Disconnected -----------------------"
              "\nconnect <port>           - connect on a specified port"
              "\nquit                     - quick program exit"
              "\n");
}

TEST(DisconnectMessage, FramesTheReasonAndHighlightsTheConnectWord)
{
    EXPECT_EQ(rendered(disconnect_message_text("Unable to connect to server.")),
              "{0;37}\n\nUnable to connect to server.\n\nTo open another session, type '"
              "{1;33}connect{0;37}'.\nTo exit this program, type 'exit' or 'quit'.\n\n");
    EXPECT_EQ(plain(disconnect_message_text(nullptr)).substr(0, 5), "\n\n\n\nT");
}

TEST(BrowserFailure, NamesTheUrlBetweenBlankLines)
{
    EXPECT_EQ(browser_failure_text("http://example.invalid/a b"),
              "\n\nSorry, but I can't seem open your browser.\n\nhttp://example.invalid/a b\n\n");
}
