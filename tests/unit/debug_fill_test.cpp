#include "debug_fill.h"

#include <gtest/gtest.h>

#include <string>

namespace {
struct collected : debug_fill_target {
    std::string text;
    int colour_changes = 0;
    bool colours_in_range = true;

    void debug_fill_color(const vusk_color &fg, const vusk_color &bg) override
    {
        ++colour_changes;
        for (int channel : {fg.r, fg.g, fg.b, bg.r, bg.g, bg.b})
            colours_in_range = colours_in_range && channel >= 0 && channel < 255;
    }
    void debug_fill_append(const char *piece) override { text += piece; }
};
}

TEST(DebugFill, WordsCountDownToB)
{
    EXPECT_EQ(debug_fill_word(1), "b");
    EXPECT_EQ(debug_fill_word(3), "dcb");
    EXPECT_EQ(debug_fill_word(10), "kjihgfedcb");
}

TEST(DebugFill, LinesOfColouredWords)
{
    collected fill;
    long long characters = write_debug_fill(fill, 500);
    EXPECT_TRUE(fill.colours_in_range);
    int lines = 0;
    long long letters_and_blanks = 0;
    int words = 0;
    size_t start = 0;
    while (start < fill.text.size()) {
        size_t end = fill.text.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        std::string line = fill.text.substr(start, end - start);
        letters_and_blanks += static_cast<long long>(line.size());
        size_t word_start = 0;
        int line_words = 0;
        while (word_start < line.size()) {
            size_t blank = line.find(' ', word_start);
            ASSERT_NE(blank, std::string::npos);
            std::string word = line.substr(word_start, blank - word_start);
            ASSERT_GE(word.size(), 1u);
            ASSERT_LE(word.size(), 10u);
            EXPECT_EQ(word, debug_fill_word(static_cast<int>(word.size())));
            word_start = blank + 1;
            ++line_words;
        }
        EXPECT_LT(line_words, 50);
        words += line_words;
        start = end + 1;
        ++lines;
    }
    EXPECT_EQ(lines, 500);
    EXPECT_EQ(characters, letters_and_blanks);
    EXPECT_EQ(fill.colour_changes, words);
    EXPECT_GT(words, 500 * 10);
}
