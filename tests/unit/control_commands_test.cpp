#include "control_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {
enum class state { disconnected, connected, logged_in };

control_rule rule_of(const char *line, state s)
{
    return match_control_command(line, s == state::logged_in, s != state::disconnected).rule;
}

// The rule while logged in, while connected and while disconnected.
void expect_everywhere(const char *line, control_rule rule)
{
    for (state s : {state::logged_in, state::connected, state::disconnected})
        EXPECT_EQ(rule_of(line, s), rule) << '"' << line << "\" in state " << int(s);
}

// A line that is no command of the client: sent while connected, dropped otherwise.
void expect_not_a_command(const char *line)
{
    EXPECT_EQ(rule_of(line, state::logged_in), control_rule::send_to_server) << line;
    EXPECT_EQ(rule_of(line, state::connected), control_rule::send_to_server) << line;
    EXPECT_EQ(rule_of(line, state::disconnected), control_rule::ignore) << line;
}
}

TEST(ControlCommands, SlashCommandsActInEveryStateWithTheirShortestForms)
{
    expect_everywhere("//c", control_rule::command_help);
    expect_everywhere("//com", control_rule::command_help);
    expect_everywhere("//h", control_rule::keyboard_help);
    expect_everywhere("//HeLp", control_rule::keyboard_help);
    expect_everywhere("//hi", control_rule::history);
    expect_everywhere("//ech", control_rule::echo);
    expect_everywhere("//b", control_rule::send_break);
    expect_everywhere("//cl", control_rule::clear);
    expect_everywhere("//quit", control_rule::quit_now);
    expect_everywhere("//exit now", control_rule::quit_now);
    expect_everywhere("//disc", control_rule::disconnect);
    expect_everywhere("//debugfill", control_rule::debug_fill);
    expect_everywhere("//icons", control_rule::icons);
    expect_everywhere("//soundtest 3", control_rule::sound_test);
    expect_everywhere("//CHANCLEAR", control_rule::channel_clear);
}

TEST(ControlCommands, TooShortOrWrongCommandWordsAreOrdinaryLines)
{
    for (const char *line : {"//", "//qui", "//exi", "//dis", "//icon", "//debug", "//commandsx",
                             "//hx", " //help", "/help"})
        expect_not_a_command(line);
}

TEST(ControlCommands, ArgumentIsTheTextAfterTheFirstWord)
{
    control_match m = match_control_command("//echo  hello there", false, false);
    EXPECT_EQ(m.rule, control_rule::echo);
    EXPECT_STREQ(m.argument, "hello there");
    m = match_control_command("//echo", false, false);
    EXPECT_EQ(m.rule, control_rule::echo);
    EXPECT_EQ(m.argument, nullptr);
    m = match_control_command("//icons   ", true, true);
    EXPECT_EQ(m.argument, nullptr);
}

TEST(ControlCommands, PingWordIsTheClientsOnlyWhileLoggedIn)
{
    EXPECT_EQ(rule_of("tqping", state::logged_in), control_rule::ping);
    EXPECT_EQ(rule_of("TQPING", state::logged_in), control_rule::ping);
    EXPECT_EQ(rule_of("tqping", state::connected), control_rule::send_to_server);
    EXPECT_EQ(rule_of("tqping", state::disconnected), control_rule::ignore);
    EXPECT_EQ(rule_of("tqpingx", state::logged_in), control_rule::send_to_server);
}

TEST(ControlCommands, ConnectWordsWhileDisconnected)
{
    for (const char *line : {"c", "co", "connect", "CONNECT 4000", "re", "restart", "st", "start",
                             "logi", "login"})
        EXPECT_EQ(rule_of(line, state::disconnected), control_rule::connect) << line;
    const control_match m = match_control_command("c 4000", false, false);
    EXPECT_STREQ(m.argument, "4000");
    EXPECT_EQ(match_control_command("connect", false, false).argument, nullptr);
}

TEST(ControlCommands, QuitWordsWhileDisconnected)
{
    for (const char *line : {"qui", "quit", "ex", "exit", "EXI"})
        EXPECT_EQ(rule_of(line, state::disconnected), control_rule::quit) << line;
}

TEST(ControlCommands, ShortOrUnknownWordsDoNothingWhileDisconnected)
{
    for (const char *line : {"q", "e", "log", "r", "s", "connectx", "look", "", "   "})
        EXPECT_EQ(rule_of(line, state::disconnected), control_rule::ignore) << line;
}

TEST(ControlCommands, DisconnectedWordsGoToTheServerWhileConnected)
{
    for (const char *line : {"connect", "quit", "exit", "login", "start 23", "look"})
        for (state s : {state::connected, state::logged_in})
            EXPECT_EQ(rule_of(line, s), control_rule::send_to_server) << line;
}

TEST(ControlCommands, NullLineCountsAsEmpty)
{
    const control_match m = match_control_command(nullptr, true, true);
    EXPECT_EQ(m.rule, control_rule::send_to_server);
    EXPECT_STREQ(m.line, "");
    EXPECT_EQ(rule_of(nullptr, state::disconnected), control_rule::ignore);
}

TEST(ControlCommands, OverlongWordsMatchNothing)
{
    const std::string long_word = "//commands" + std::string(500, 's');
    expect_not_a_command(long_word.c_str());
    const std::string long_connect = "c" + std::string(450, 'o');
    EXPECT_EQ(rule_of(long_connect.c_str(), state::disconnected), control_rule::ignore);
}
