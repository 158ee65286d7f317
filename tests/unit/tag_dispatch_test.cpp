#include "tag_dispatch.h"
#include "tag_recorder.h"
#include "tqconfig.h"
#include "util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <utility>
#include <vector>

namespace {

using log_lines = std::vector<std::string>;

// Colour flashing and sound on, every owner registered.
class TagDispatch : public testing::Test {
protected:
    TagDispatch()
    {
        tqconfig record;
        record.name = "tags";
        record.colorflash_enable = 1;
        TConfig::Instance()->add(record);
        TConfig::Instance()->select("tags");
        TConfig::Instance()->SetSystemAudio(1);
        owners.attach(dispatcher);
    }

    recording_tag_owners owners;
    vusk_tag_dispatcher dispatcher;

    log_lines dispatch(const std::string &tag, const std::string &data = "")
    {
        owners.log.clear();
        dispatcher.process_tagged_data(tag.c_str(), data.c_str(), static_cast<int>(data.size()));
        return owners.log;
    }
};

TEST_F(TagDispatch, EveryRowReachesItsOwner)
{
    EXPECT_EQ(dispatch("map", "m1"), log_lines{"map:m1"});
    EXPECT_EQ(dispatch("walkfail", "w"), log_lines{"walkfail:w"});
    EXPECT_EQ(dispatch("areaname", "The Vale"), log_lines{"areaname:The Vale"});
    EXPECT_EQ(dispatch("combat", "c"), log_lines{"combat:c"});
    EXPECT_EQ(dispatch("ncombat", "n"), (log_lines{"ncombat:n", "noenemy"}));
    EXPECT_EQ(dispatch("uuid", "0123"), log_lines{"uuid:0123"});
    EXPECT_EQ(dispatch("group", "g"), log_lines{"group:g"});
    EXPECT_EQ(dispatch("sound", "bell 2"), log_lines{"sound:bell 2"});
    EXPECT_EQ(dispatch("bclear"), log_lines{"bclear"});
    EXPECT_EQ(dispatch("window_create", "w\nx"), log_lines{"window_create:w\nx"});
    EXPECT_EQ(dispatch("append", "who"), log_lines{"append:who"});
    EXPECT_EQ(dispatch("unappend"), log_lines{"unappend"});
    EXPECT_EQ(dispatch("divert", "who"), log_lines{"divert:who"});
    EXPECT_EQ(dispatch("undivert"), log_lines{"undivert"});
    EXPECT_EQ(dispatch("chdiv", "gossip"), log_lines{"chdiv:gossip"});
    EXPECT_EQ(dispatch("chudiv"), log_lines{"chudiv"});
    EXPECT_EQ(dispatch("config", "automap flash"), log_lines{"config:automap flash"});
    EXPECT_EQ(dispatch("skystate", "101 3 500 noon"), log_lines{"skystate:101 3 500 noon"});
    EXPECT_EQ(dispatch("icons", "10101"), log_lines{"icons:10101"});
}

TEST_F(TagDispatch, NamesMatchWholeAndCaseSensitively)
{
    EXPECT_TRUE(dispatch("Map", "m").empty());
    EXPECT_TRUE(dispatch("maps", "m").empty());
    EXPECT_TRUE(dispatch("ma", "m").empty());
    EXPECT_TRUE(dispatch("", "m").empty());
    EXPECT_TRUE(dispatch("unknown", "m").empty());
    EXPECT_TRUE(dispatch("x" + std::string(63, 'y'), "m").empty());
}

TEST_F(TagDispatch, LoginTakesTheFirstLineAsTheName)
{
    EXPECT_EQ(dispatch("login", "Arwen"), log_lines{"login:Arwen"});
    EXPECT_EQ(dispatch("login", "Arwen\nsecond line"), log_lines{"login:Arwen"});
    EXPECT_EQ(dispatch("login"), log_lines{"login:"});
    // A first line that is empty is no name at all, not a name "".
    EXPECT_EQ(dispatch("login", "\nArwen"), log_lines{"login:"});
    EXPECT_EQ(dispatch("login", std::string(9000, 'a')), log_lines{"login:" + std::string(7999, 'a')});
}

TEST_F(TagDispatch, DirsSwitchesThePadAndGivesTheExitMaskToPadAndAutomap)
{
    EXPECT_EQ(dispatch("dirs", "on"), log_lines{"pad:on"});
    EXPECT_EQ(dispatch("dirs", "OFF"), log_lines{"pad:off"});
    const std::string ne = std::to_string(13 * 32 + 4);
    EXPECT_EQ(dispatch("dirs", "on NE"), (log_lines{"pad:on", "pad:" + ne, "exits:" + ne}));
    EXPECT_EQ(dispatch("dirs", "off AB"), (log_lines{"pad:off", "pad:1", "exits:1"}));
    EXPECT_EQ(dispatch("dirs", "on\n\t ZZ"), (log_lines{"pad:on", "pad:825", "exits:825"}));
    EXPECT_EQ(dispatch("dirs", "maybe AA"), (log_lines{"pad:0", "exits:0"}));
    EXPECT_TRUE(dispatch("dirs", "only").empty());
    EXPECT_EQ(dispatch("dirs", "onward AB"), (log_lines{"pad:1", "exits:1"}));
}

// Whatever the two characters, the mask is (c0 - 'A') * 32 | (c1 - 'A') of
// their signed codes; a word of one character pairs it with the end.
TEST_F(TagDispatch, DirsMaskComesFromAnyTwoCharacters)
{
    const std::pair<const char *, int> masks[] = {
        {"ne", ('n' - 'A') * 32 | ('e' - 'A')}, {"N", 13 * 32 | -'A'},     {"N E", 13 * 32 | (' ' - 'A')},
        {"@A", -32},                            {"1A", ('1' - 'A') * 32}, {"\xff\xff", -66 * 32 | -66},
        {"A[", '[' - 'A'},
    };
    for (const auto &[word, mask] : masks) {
        const std::string m = std::to_string(mask);
        EXPECT_EQ(dispatch("dirs", std::string("on ") + word), (log_lines{"pad:on", "pad:" + m, "exits:" + m}))
            << word;
    }
    EXPECT_TRUE(dispatch("dirs", "").empty());
}

TEST_F(TagDispatch, HpReadsUpToSixNumbers)
{
    EXPECT_EQ(dispatch("hp", "10 20 30 40 50 60"), log_lines{"hp:10 20 30 40 50 60"});
    EXPECT_EQ(dispatch("hp", "1 2 3 4 5"), log_lines{"hp:1 2 3 4 5"});
    EXPECT_EQ(dispatch("hp", "1 2 3 4 5 6 7 8"), log_lines{"hp:1 2 3 4 5 6"});
    EXPECT_EQ(dispatch("hp", "  -5\t+7\nx 9z"), log_lines{"hp:-5 7 0 9"});
    EXPECT_EQ(dispatch("hp", ""), log_lines{"hp:"});
    EXPECT_EQ(dispatch("hp", " \t\n"), log_lines{"hp:"});
}

TEST_F(TagDispatch, NumbersBeyondIntSaturate)
{
    EXPECT_EQ(dispatch("hp", "99999999999999999999999 -99999999999999999999 2147483648 -2147483649"),
              log_lines{"hp:" + std::to_string(INT_MAX) + " " + std::to_string(INT_MIN) + " " +
                        std::to_string(INT_MAX) + " " + std::to_string(INT_MIN)});
    EXPECT_EQ(dispatch("enemyhp", "77777777777777777777 orc"),
              log_lines{"enemyhp:" + std::to_string(INT_MAX) + "|orc"});
}

TEST_F(TagDispatch, XppFillsMissingPercentagesWithZero)
{
    EXPECT_EQ(dispatch("xpp", "500 250 125"), log_lines{"xpp:500 250 125 0 0 0 0 0"});
    EXPECT_EQ(dispatch("xpp", "1 2 3 4 5 6 7 8 9 10"), log_lines{"xpp:1 2 3 4 5 6 7 8"});
    EXPECT_EQ(dispatch("xpp"), log_lines{"xpp:0 0 0 0 0 0 0 0"});
}

TEST_F(TagDispatch, EnemyHp)
{
    EXPECT_EQ(dispatch("enemyhp"), log_lines{"noenemy"});
    EXPECT_EQ(dispatch("enemyhp", "40"), log_lines{"enemyhp:40|<none>"});
    EXPECT_EQ(dispatch("enemyhp", "40 a  big orc"), log_lines{"enemyhp:40|a  big orc"});
    EXPECT_EQ(dispatch("enemyhp", "orc"), log_lines{"enemyhp:0|<none>"});
    EXPECT_EQ(dispatch("enemyhp", "   "), log_lines{"enemyhp:0|<none>"});
}

TEST_F(TagDispatch, EventColorFlashAndPing)
{
    EXPECT_EQ(dispatch("event", "colorflash ff0000 000000 10"),
              log_lines{"colorflash:ff0000 000000 10"});
    EXPECT_EQ(dispatch("event", "ColorFlash"), log_lines{"colorflash:"});
    EXPECT_TRUE(dispatch("event", "colorflashes ff0000").empty());
    EXPECT_EQ(dispatch("event", "tqpong"), log_lines{"pong"});
    EXPECT_TRUE(dispatch("event", "tqpong 5").empty());
    EXPECT_TRUE(dispatch("event", "TQPONG").empty());
    EXPECT_TRUE(dispatch("event", "").empty());

    TConfig::Instance()->SetColorFlash(0);
    EXPECT_TRUE(dispatch("event", "colorflash ff0000 000000 10").empty());
}

TEST_F(TagDispatch, SoundOnlyWhileAudioIsOn)
{
    TConfig::Instance()->SetSystemAudio(0);
    EXPECT_TRUE(dispatch("sound", "bell").empty());
}

TEST_F(TagDispatch, VoteMenuTagsPassTheirNumberText)
{
    EXPECT_EQ(dispatch("votemenu3", "Vote here\nhttp://x"), log_lines{"vote:3|Vote here\nhttp://x"});
    EXPECT_EQ(dispatch("votemenu", "v"), log_lines{"vote:|v"});
    EXPECT_EQ(dispatch("votemenu999999999999", "v"), log_lines{"vote:999999999999|v"});
    EXPECT_TRUE(dispatch("votemen", "v").empty());
}

TEST_F(TagDispatch, ButtonTagsGoToTheirRow)
{
    EXPECT_EQ(dispatch("bf3", "look"), log_lines{"fkey:3|bf3|look"});
    EXPECT_EQ(dispatch("bf8"), log_lines{"fkey:8|bf8|"});
    EXPECT_EQ(dispatch("b3", "Look\nlook"), log_lines{"hint:3|b3|Look\nlook"});
    EXPECT_EQ(dispatch("b12"), log_lines{"hint:12|b12|"});
    EXPECT_EQ(dispatch("b1t", "x"), log_lines{"hint:1|b1t|x"});
    EXPECT_EQ(dispatch("b 4", "x"), log_lines{"hint:4|b 4|x"});
}

TEST_F(TagDispatch, ButtonNumbersOutOfRangeDoNothing)
{
    for (const char *tag : {"b", "bf", "b0", "bf0", "b-1", "bf-3", "b13", "bf9", "bx", "bfx",
                            "b99999999999999999999", "bf99999999999999999999",
                            "b-99999999999999999999", "b4294967297", "bf4294967297"})
        EXPECT_TRUE(dispatch(tag, "label\ncmd").empty()) << tag;
}

TEST_F(TagDispatch, ChannelDiversionDecidesWhereTextGoes)
{
    auto route = [&](bool window, bool dupe) {
        text_route r = dispatcher.route_text(window, dupe);
        return std::string(r.channel ? "C" : "") + (r.main ? "M" : "") + (r.current ? "c" : "");
    };
    EXPECT_EQ(route(true, false), "c");
    EXPECT_EQ(route(false, false), "c");

    dispatch("chdiv", "gossip");
    EXPECT_TRUE(dispatcher.channel_divert_active());
    EXPECT_EQ(route(true, false), "C");
    EXPECT_EQ(route(true, true), "CM");
    EXPECT_EQ(route(false, false), "CM");
    EXPECT_EQ(route(false, true), "CM");

    dispatch("chudiv");
    EXPECT_FALSE(dispatcher.channel_divert_active());
    EXPECT_EQ(route(true, false), "c");
}

TEST_F(TagDispatch, NullAndMismatchedArgumentsAreSafe)
{
    dispatcher.process_tagged_data(nullptr, "x", 1);
    EXPECT_TRUE(owners.log.empty());

    // The debugging commands inject tags with no data and a length of 1.
    dispatcher.process_tagged_data("icons", nullptr, 1);
    dispatcher.process_tagged_data("map", nullptr, 1);
    EXPECT_EQ(owners.log, (log_lines{"icons:", "map:"}));

    // The data is the terminated text, whatever length comes with it.
    owners.log.clear();
    dispatcher.process_tagged_data("map", "abc", 500);
    dispatcher.process_tagged_data("walkfail", "abc", -4);
    dispatcher.process_tagged_data("map", "ab\0cd", 5);
    EXPECT_EQ(owners.log, (log_lines{"map:abc", "walkfail:abc", "map:ab"}));
}

// Subsystems come one at a time: a tag whose owner is not registered is
// dropped, and the registered owners still get theirs.
TEST_F(TagDispatch, TagsOfUnregisteredOwnersAreIgnored)
{
    dispatcher.owners = tag_owners{};
    dispatcher.owners.status_display = &owners;
    for (const char *tag : {"login", "map", "dirs", "uuid", "group", "sound", "bclear", "b3", "bf3",
                            "window_create", "divert", "undivert", "chdiv", "config", "skystate",
                            "votemenu1", "event"})
        EXPECT_TRUE(dispatch(tag, "on AB").empty()) << tag;
    EXPECT_EQ(dispatch("hp", "1 2"), log_lines{"hp:1 2"});
    EXPECT_EQ(dispatch("ncombat", "x"), log_lines{"noenemy"});

    dispatcher.owners = tag_owners{};
    for (const char *tag : {"hp", "enemyhp", "xpp", "ncombat", "chudiv"})
        EXPECT_TRUE(dispatch(tag, "40 orc").empty()) << tag;
    dispatch("chdiv", "gossip");
    EXPECT_TRUE(dispatcher.channel_divert_active());
}

// The rows that later panels own: whatever the server puts in them reaches
// that row's owner only, as a terminated string (checked by the recorder).
TEST_F(TagDispatch, MalformedDataForEveryRowReachesOnlyItsOwner)
{
    const std::vector<std::pair<std::string, std::vector<std::string>>> rows = {
        {"login", {"login"}}, {"map", {"map"}}, {"walkfail", {"walkfail"}}, {"dirs", {"pad", "exits"}},
        {"areaname", {"areaname"}}, {"combat", {"combat"}}, {"ncombat", {"ncombat", "noenemy"}},
        {"uuid", {"uuid"}}, {"enemyhp", {"enemyhp", "noenemy"}}, {"group", {"group"}},
        {"xpp", {"xpp"}}, {"event", {"colorflash", "pong"}}, {"hp", {"hp"}},
        {"sound", {"sound"}}, {"bclear", {"bclear"}}, {"window_create", {"window_create"}},
        {"append", {"append"}}, {"unappend", {"unappend"}}, {"chdiv", {"chdiv"}},
        {"chudiv", {"chudiv"}}, {"divert", {"divert"}}, {"undivert", {"undivert"}},
        {"config", {"config"}}, {"skystate", {"skystate"}}, {"icons", {"icons"}},
        {"votemenu1", {"vote"}}, {"votemenu-99999999999", {"vote"}}, {"b1", {"hint"}},
        {"bf1", {"fkey"}}};
    const std::vector<std::string> payloads = {
        "", " ", "\n\n\n", std::string(14999, 'Z'), std::string(14999, ' '),
        "\xff\xfe\x01\x07\x1b[1;31m", std::string("a\0b", 3), "-", "+", "--5",
        "99999999999999999999999999 -99999999999999999999999999",
        "on \xff\xff", "colorflash", "colorflash zz zz zz", "1 2 3 4 5 6 7 8 9 10 11 12",
        "%s%n%x", "../../etc/passwd", "$(reboot)`id`;|&"};
    for (const auto &[tag, owners] : rows) {
        for (const std::string &payload : payloads) {
            for (const std::string &entry : dispatch(tag, payload)) {
                const std::string effect = entry.substr(0, entry.find(':'));
                EXPECT_NE(std::find(owners.begin(), owners.end(), effect), owners.end())
                    << tag << " reached " << effect;
            }
        }
    }
}

TEST(ReadIntClamped, ReadsLikeAtoiWithinIntRange)
{
    EXPECT_EQ(read_int_clamped("42"), 42);
    EXPECT_EQ(read_int_clamped("  \t-17abc"), -17);
    EXPECT_EQ(read_int_clamped("+8"), 8);
    EXPECT_EQ(read_int_clamped("abc"), 0);
    EXPECT_EQ(read_int_clamped(""), 0);
    EXPECT_EQ(read_int_clamped(nullptr), 0);
    EXPECT_EQ(read_int_clamped("2147483647"), INT_MAX);
    EXPECT_EQ(read_int_clamped("2147483648"), INT_MAX);
    EXPECT_EQ(read_int_clamped("-2147483648"), INT_MIN);
    EXPECT_EQ(read_int_clamped("-2147483649"), INT_MIN);
    EXPECT_EQ(read_int_clamped(std::string(500, '9').c_str()), INT_MAX);
    EXPECT_EQ(read_int_clamped(("-" + std::string(500, '9')).c_str()), INT_MIN);
}

} // namespace
