// Popup windows without a window: the "window_create" message read from
// hostile bytes, the pixel arithmetic of their sizes and places, and the
// Windows menu's list of them.
#include "popup_definition.h"
#include "popup_geometry.h"
#include "popup_menu_list.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <random>
#include <string>

namespace {

popup_definition parsed(const std::string &data, bool expect_valid = true)
{
    popup_definition definition;
    EXPECT_EQ(parse_popup_definition(data.c_str(), definition), expect_valid) << data;
    return definition;
}

std::string label(const std::string &name)
{
    return std::string(popup_menu_label(name).To8BitData());
}

} // namespace

TEST(PopupDefinition, TheWhoWindowReadsItsFiveLines)
{
    const popup_definition who = parsed("Who\nWho is on\n40 20\nwho\nnoscroll nowrap");
    EXPECT_EQ(who.name, "Who");
    EXPECT_EQ(who.title, "Who is on");
    EXPECT_EQ(who.cols, 40);
    EXPECT_EQ(who.rows, 20);
    EXPECT_EQ(who.refresh_command, "who");
    EXPECT_TRUE(who.noscroll);
    EXPECT_TRUE(who.nowrap);
    EXPECT_FALSE(who.menuonly);

    // Flag words are whole words in any case; others, and later lines, count for nothing.
    const popup_definition flags = parsed("Q\n\n5 5\n\n  MenuOnly noscrolling x\nnowrap");
    EXPECT_TRUE(flags.menuonly);
    EXPECT_FALSE(flags.noscroll);
    EXPECT_FALSE(flags.nowrap);
    EXPECT_EQ(flags.refresh_command, "");
}

TEST(PopupDefinition, MissingLinesOrSizeWordsMakeItMalformed)
{
    parsed("Who\nWho is on\n40 20\nwho", false);
    parsed("Who\nWho is on\n40\nwho\n", false);
    parsed("Who\nWho is on\n40 \t\nwho\n", false);
    parsed("Who\nWho is on\n\nwho\n", false);
    parsed("Who\nWho is on\n \t \nwho\n", false);
    // Four newlines are enough: the flag line may be empty.
    EXPECT_EQ(parsed("Who\nWho is on\n\t7 3\nwho\n").rows, 3);
}

// A size word counts its leading digits, as atoi does; one without any
// counts 0, which the clamp makes 1.
TEST(PopupDefinition, ASizeWordIsReadUpToItsFirstNonDigit)
{
    popup_definition size = parsed("Who\nWho is on\nforty 20\nwho\n");
    EXPECT_EQ(size.cols, 1);
    EXPECT_EQ(size.rows, 20);
    size = parsed("Who\nWho is on\n40x 2rows\nwho\n");
    EXPECT_EQ(size.cols, 40);
    EXPECT_EQ(size.rows, 2);
    size = parsed("Who\nWho is on\n+12 -\nwho\n");
    EXPECT_EQ(size.cols, 12);
    EXPECT_EQ(size.rows, 1);
}

TEST(PopupDefinition, SizesAreClampedAndNamesCutOnArrival)
{
    const popup_definition huge = parsed("W\nT\n99999999999999999999 -5\nc\n");
    EXPECT_EQ(huge.cols, popup_text_max);
    EXPECT_EQ(huge.rows, 1);

    const std::string long_name(150, 'n');
    const std::string long_command(500, 'c');
    const popup_definition cut = parsed(long_name + "\n" + std::string(9000, 't') + "\n3 3\n" + long_command + "\n");
    EXPECT_EQ(cut.name, long_name.substr(0, popup_name_max));
    EXPECT_EQ(cut.title.size(), 7999u);
    EXPECT_EQ(cut.refresh_command, long_command.substr(0, popup_command_max));
}

TEST(PopupGeometry, TextSizesAreComputedWideAndKeptOnTheDisplay)
{
    popup_extent size = popup_text_client_size(40, 20, 8, 16, 1280, 1024);
    EXPECT_EQ(size.width, 320);
    EXPECT_EQ(size.height, 20 * 16 + 8);
    // Products beyond int are each cut to their side of the display.
    size = popup_text_client_size(INT_MAX, INT_MAX, INT_MAX, INT_MAX, 640, 480);
    EXPECT_EQ(size.width, 640);
    EXPECT_EQ(size.height, 480);
    size = clamp_to_display(-40, 5000, 1280, 1024);
    EXPECT_EQ(size.width, 1);
    EXPECT_EQ(size.height, 1024);
}

TEST(PopupGeometry, SizesOfNormalPlayKeepWhatTheFontGives)
{
    // 100 by 37 characters in a 10-point font, 20 by 5 in a 24-point one,
    // 80 by 40 in a 14-point one.
    popup_extent size = popup_text_client_size(100, 37, 8, 15, 1920, 1080);
    EXPECT_EQ(size.width, 800);
    EXPECT_EQ(size.height, 37 * 15 + 7);
    size = popup_text_client_size(20, 5, 19, 45, 1920, 1080);
    EXPECT_EQ(size.width, 380);
    EXPECT_EQ(size.height, 5 * 45 + 22);
    size = popup_text_client_size(80, 40, 11, 22, 1280, 1024);
    EXPECT_EQ(size.width, 880);
    EXPECT_EQ(size.height, 40 * 22 + 11);
}

// Text keeps its size in any window, so a side the display could hold is
// never cut: 160 by 63 characters of 8 by 16 pixels fill a display of 1280
// by 1016 exactly, and on a display a pixel narrower or lower only that side
// is cut.
TEST(PopupGeometry, OnlyASideLongerThanTheDisplayIsCutToIt)
{
    popup_extent size = popup_text_client_size(160, 63, 8, 16, 1280, 1016);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 1016);
    size = popup_text_client_size(160, 63, 8, 16, 1279, 1016);
    EXPECT_EQ(size.width, 1279);
    EXPECT_EQ(size.height, 1016);
    size = popup_text_client_size(160, 63, 8, 16, 1280, 1015);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 1015);
    // A wide one keeps all its rows, a tall one all its columns.
    size = popup_text_client_size(170, 10, 8, 18, 1280, 1016);
    EXPECT_EQ(size.width, 1280);
    EXPECT_EQ(size.height, 10 * 18 + 9);
    size = popup_text_client_size(60, 60, 8, 18, 1280, 1016);
    EXPECT_EQ(size.width, 60 * 8);
    EXPECT_EQ(size.height, 1016);
    // The largest text size in a 150-point font fills the display.
    size = popup_text_client_size(popup_text_max, popup_text_max, 120, 230, 2560, 1440);
    EXPECT_EQ(size.width, 2560);
    EXPECT_EQ(size.height, 1440);
    // Without a known display only int bounds a side.
    size = popup_text_client_size(popup_text_max, popup_text_max, 120, 230, 0, 0);
    EXPECT_EQ(size.width, 120 * popup_text_max);
    EXPECT_EQ(size.height, 230 * popup_text_max + 115);
}

TEST(PopupGeometry, AWindowOffTheDisplayOpensAtFifty)
{
    auto at = [](int x, int y, int w) {
        const popup_position p = bring_onto_display(x, y, w, 1280, 1024);
        return std::to_string(p.x) + "," + std::to_string(p.y);
    };
    EXPECT_EQ(at(-400, 10, 600), "50,10");
    EXPECT_EQ(at(-400, 10, 900), "-400,10");
    EXPECT_EQ(at(1280 - 300, 10, 600), "50,10");
    EXPECT_EQ(at(1280 - 301, 10, 600), "979,10");
    EXPECT_EQ(at(5, -1, 100), "5,50");
    EXPECT_EQ(at(5, 1004, 100), "5,50");
    EXPECT_EQ(at(INT_MIN, INT_MAX, INT_MAX), "50,50");
}

TEST(PopupMenuList, LabelsFromServerNamesAreSafe)
{
    EXPECT_EQ(label("Bread & Ale"), "Bread && Ale");
    EXPECT_EQ(label("Who\tCtrl+Q\x01"), "WhoCtrl+Q");
    EXPECT_EQ(label("\t\x7f"), "(unnamed window)");
    EXPECT_EQ(label("Caf\xe9"), "Caf\xe9");
}

// Random and mutated definitions: whatever the bytes, a definition that is
// taken holds sizes and names within their limits.
TEST(PopupDefinition, RandomAndMutatedBytesStayWithinTheLimits)
{
    std::mt19937 random(7);
    const std::string seed = "Who\nWho is on\n40 20\nwho\nnoscroll nowrap menuonly";
    static const char meaningful[] = "\n \t-+0123456789noscrlwapmeuy\xff";
    int taken = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string data = seed;
        for (int edits = int(random() % 6); edits > 0; --edits) {
            const size_t at = random() % (data.size() + 1);
            const char byte = random() % 2 ? meaningful[random() % (sizeof meaningful - 1)] : char(1 + random() % 255);
            if (random() % 2 && at < data.size())
                data[at] = byte;
            else
                data.insert(at, std::string(random() % 3 ? 1 : 300, byte));
        }
        popup_definition definition;
        if (!parse_popup_definition(data.c_str(), definition))
            continue;
        ++taken;
        ASSERT_GE(definition.cols, 1);
        ASSERT_LE(definition.cols, popup_text_max);
        ASSERT_GE(definition.rows, 1);
        ASSERT_LE(definition.rows, popup_text_max);
        ASSERT_LE(definition.name.size(), size_t(popup_name_max));
        ASSERT_LE(definition.refresh_command.size(), size_t(popup_command_max));
        ASSERT_EQ(definition.name.find('\n'), std::string::npos);
    }
    EXPECT_GT(taken, 100);
}
