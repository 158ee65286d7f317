#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
struct parsed {
    command_line_outcome outcome;
    connect_settings settings;
};

parsed parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "varn-ossic");
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    parsed result;
    result.outcome = parse_command_line(int(words.size()), argv.data(), result.settings);
    return result;
}

void expect_failure(const std::vector<std::string> &words)
{
    const parsed p = parse(words);
    EXPECT_EQ(p.outcome.action, command_line_action::fail) << words.back();
    EXPECT_NE(p.outcome.message.find("Usage"), std::string::npos) << p.outcome.message;
    const connect_settings defaults;
    EXPECT_EQ(p.settings.game_host, defaults.game_host);
    EXPECT_EQ(p.settings.game_port, defaults.game_port);
    EXPECT_EQ(p.settings.web_host, defaults.web_host);
    EXPECT_EQ(p.settings.web_port, defaults.web_port);
}
}

TEST(CommandLine, NoArgumentsKeepTheBuildDefaults)
{
    const parsed p = parse({});
    EXPECT_EQ(p.outcome.action, command_line_action::run);
    EXPECT_EQ(p.settings.game_host, VUSK_GAME_HOST);
    EXPECT_EQ(p.settings.game_port, 23);
    EXPECT_EQ(p.settings.web_host, VUSK_WEB_HOST);
    EXPECT_EQ(p.settings.web_port, 80);
}

TEST(CommandLine, HostAndPortOfTheGame)
{
    parsed p = parse({"game.example.org"});
    EXPECT_EQ(p.outcome.action, command_line_action::run);
    EXPECT_EQ(p.settings.game_host, "game.example.org");
    EXPECT_EQ(p.settings.game_port, 23);

    p = parse({"127.0.0.1", "4000"});
    EXPECT_EQ(p.outcome.action, command_line_action::run);
    EXPECT_EQ(p.settings.game_host, "127.0.0.1");
    EXPECT_EQ(p.settings.game_port, 4000);
}

TEST(CommandLine, WebHostWithAndWithoutPort)
{
    parsed p = parse({"--web-host", "web.example.org"});
    EXPECT_EQ(p.outcome.action, command_line_action::run);
    EXPECT_EQ(p.settings.web_host, "web.example.org");
    EXPECT_EQ(p.settings.web_port, 80);

    p = parse({"--web-host=localhost:8080", "game_host", "65535"});
    EXPECT_EQ(p.outcome.action, command_line_action::run);
    EXPECT_EQ(p.settings.web_host, "localhost");
    EXPECT_EQ(p.settings.web_port, 8080);
    EXPECT_EQ(p.settings.game_host, "game_host");
    EXPECT_EQ(p.settings.game_port, 65535);
}

TEST(CommandLine, HelpGivesTheUsage)
{
    for (const char *flag : {"--help", "-h"}) {
        const parsed p = parse({flag});
        EXPECT_EQ(p.outcome.action, command_line_action::show_help);
        EXPECT_NE(p.outcome.message.find("--web-host"), std::string::npos);
        EXPECT_NE(p.outcome.message.find("HOST"), std::string::npos);
        EXPECT_NE(p.outcome.message.find("PORT"), std::string::npos);
    }
}

TEST(CommandLine, BadPortsAreRefused)
{
    for (const char *port : {"0", "65536", "-1", "23x", "", "99999999999999999999", "+23"})
        expect_failure({"localhost", port});
    expect_failure({"--web-host", "localhost:0"});
    expect_failure({"--web-host", "localhost:"});
    expect_failure({"--web-host", "localhost:80:80"});
}

TEST(CommandLine, BadHostsAreRefused)
{
    for (const char *host : {"a b", "host;rm -rf", "$(id)", ".hidden", "caf\xe9.org", "a/b"})
        expect_failure({host});
    expect_failure({std::string(254, 'a')});
    expect_failure({"--web-host", ""});
    expect_failure({"--web-host", ":80"});
}

TEST(CommandLine, UnknownOptionsAndExtraArgumentsAreRefused)
{
    expect_failure({"--colour"});
    expect_failure({"localhost", "23", "extra"});
    expect_failure({"--web-host"});
}

TEST(CommandLine, AppliedSettingsReachTheConnectGlobals)
{
    connect_settings settings;
    settings.game_host = "127.0.0.1";
    settings.game_port = 4000;
    settings.web_host = "web";
    settings.web_port = 8080;
    apply_connect_settings(settings);
    settings.game_host = "changed later";
    EXPECT_STREQ(connect_address, "127.0.0.1");
    EXPECT_EQ(connect_port, 4000);
    EXPECT_STREQ(web_host_name, "web");
    EXPECT_EQ(web_host_port, 8080);
}
