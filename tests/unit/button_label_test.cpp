// Fitting labels into buttons and wrapping a function key's label, with every
// character 10 pixels wide.
#include "button_label.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int GLYPH_WIDTH = 10;

int fitting_in(int chars, const char *text)
{
    return count_fitting_chars(text, chars * GLYPH_WIDTH, [](char) { return GLYPH_WIDTH; });
}

// The lines of `label` on a key `chars` characters wide; the fitting count is
// never asked about an empty text.
fkey_label_lines wrap(const char *label, int chars)
{
    return wrap_fkey_label(label, [chars](const char *text) {
        EXPECT_NE(*text, '\0') << "counting the characters of nothing";
        return fitting_in(chars, text);
    });
}

void expect_lines(const fkey_label_lines &lines, const std::string &line1, const std::string &line2)
{
    EXPECT_EQ(lines.line1, line1);
    EXPECT_EQ(lines.line2, line2);
}

} // namespace

TEST(ButtonLabel, CountsTheCharactersThatFitAtLeastOneAndAtMost254)
{
    EXPECT_EQ(fitting_in(5, "north"), 5);
    EXPECT_EQ(fitting_in(5, "northwest"), 5);
    EXPECT_EQ(count_fitting_chars("Wide", 3, [](char) { return GLYPH_WIDTH; }), 1);
    EXPECT_EQ(fitting_in(1000, std::string(300, 'x').c_str()), 254);
    EXPECT_EQ(fitting_in(5, ""), 0);
    // Characters without a glyph take no room.
    EXPECT_EQ(count_fitting_chars("a\x01\x02" "b", 20, [](char c) { return c < ' ' ? 0 : GLYPH_WIDTH; }), 4);
}

TEST(FkeyLabel, BreaksAtTheLastBlankThatFits)
{
    expect_lines(wrap("cast heal", 5), "cast", "heal");
    expect_lines(wrap("cast heal", 9), "cast heal", "");
    expect_lines(wrap("say hello to all my friends", 10), "say hello", "to all my");
    expect_lines(wrap("a\tb", 5), "a b", "");
}

TEST(FkeyLabel, AFirstWordTooLongShowsWhatFitsAndGoesOnWithTheNextWord)
{
    expect_lines(wrap("Fireball", 5), "Fireb", "");
    expect_lines(wrap("Fireball at the orc", 5), "Fireb", "at");
}

TEST(FkeyLabel, ASpaceAmongTheLastThreeCharactersEndsTheSecondLine)
{
    // "abcdefg hi" fits: the space third from the end cuts it.
    expect_lines(wrap("one abcdefg hij", 10), "one", "abcdefg");
    // Two characters: only the last is looked at.
    expect_lines(wrap("xx a bc", 2), "xx", "a");
    expect_lines(wrap("xx ab c", 2), "xx", "ab");
}

TEST(FkeyLabel, ALabelEndingInBlanksHasNoSecondLine)
{
    expect_lines(wrap("north ", 5), "north", "");
    expect_lines(wrap("north \t\n ", 5), "north", "");
    expect_lines(wrap("Fireball  ", 5), "Fireb", "");
}

TEST(FkeyLabel, TheSecondLineKeepsAtMost98Characters)
{
    const std::string first(250, 'a'), second(200, 'b');
    expect_lines(wrap((first + " " + second).c_str(), 1000), first, std::string(98, 'b'));
}

TEST(FkeyLabel, NothingToWrapGivesNoLines)
{
    expect_lines(wrap(nullptr, 5), "", "");
    expect_lines(wrap("", 5), "", "");
    // Leading blanks leave line 1 empty.
    expect_lines(wrap("   spaced", 4), "", "spac");
}
