// Random and mutated bytes through the text parsers that eat server input.
// The sanitizers watch every access; the checks below hold for any input.
#include "url.h"
#include "util.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace {

constexpr int rounds = 3000;

const char *const seeds[] = {
    "see http://example.com/page. Next", "(www.example.com) or ftp://a.b/c?",
    "bob@example.com", "host:80.example.com/x:1", "//disconnect now",
    "connect 4000", "  -2147483649 +17 x", "99999999999999999999",
    "look\tat\nthe sky", "e.g. 1.5 v.",
};

// Bytes the parsers react to are drawn more often than the others.
char random_byte(std::mt19937 &random)
{
    static const char meaningful[] = " \t\n.:/@?,-+0123456789hptfw()*'\"!<>AZaz\xe9\xff";
    if (random() % 2 == 0)
        return meaningful[random() % (sizeof meaningful - 1)];
    char byte = static_cast<char>(random() & 0xff);
    return byte == '\0' ? 'x' : byte;
}

std::string random_text(std::mt19937 &random)
{
    std::string text(random() % 600, ' ');
    for (char &byte : text)
        byte = random_byte(random);
    return text;
}

std::string mutated_seed(std::mt19937 &random)
{
    std::string text = seeds[random() % (sizeof seeds / sizeof seeds[0])];
    for (int edits = static_cast<int>(random() % 4); edits > 0 && !text.empty(); --edits) {
        size_t at = random() % text.size();
        switch (random() % 3) {
        case 0: text[at] = random_byte(random); break;
        case 1: text.insert(at, 1, random_byte(random)); break;
        default: text.erase(at, 1); break;
        }
    }
    return text;
}

std::string next_input(std::mt19937 &random, int round)
{
    return round % 2 == 0 ? random_text(random) : mutated_seed(random);
}

bool is_space(char character)
{
    return character == ' ' || character == '\t' || character == '\n';
}

size_t first_word_length(const std::string &text)
{
    size_t length = 0;
    while (length < text.size() && !is_space(text[length]))
        ++length;
    return length;
}

int reference_int(const char *text)
{
    long long value = strtoll(text, nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

}

TEST(TextFuzz, ExtractUrlOnEveryPosition)
{
    std::mt19937 random(1);
    for (int round = 0; round < rounds; ++round) {
        const std::string text = next_input(random, round);
        for (int position = -1; position <= static_cast<int>(text.size()); ++position) {
            Buffer out;
            int start = -7;
            int end = -7;
            if (!extract_url(out, text.c_str(), position, &start, &end))
                continue;
            ASSERT_LE(0, start);
            ASSERT_LE(start, end);
            ASSERT_LT(end, static_cast<int>(text.size()));
            std::string url = text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start + 1));
            ASSERT_EQ(std::string(out.data), url);
            ASSERT_NE(url.find('.'), std::string::npos);
            for (char character : url)
                ASSERT_TRUE(is_allowed_url_char(character)) << text;
        }
    }
}

TEST(TextFuzz, CommandWords)
{
    std::mt19937 random(2);
    for (int round = 0; round < rounds * 10; ++round) {
        const std::string typed = next_input(random, round);
        const std::string full = next_input(random, round + 1);
        const size_t word = first_word_length(typed);

        int length = is_abbrev(typed.c_str(), full.c_str(), 0);
        ASSERT_TRUE(length == 0 || static_cast<size_t>(length) == word);
        ASSERT_LT(length, max_command_word_length);
        if (word > 0 && word < static_cast<size_t>(max_command_word_length)) {
            ASSERT_EQ(static_cast<size_t>(is_abbrev(typed.c_str(), typed.c_str(), 0)), word);
            ASSERT_EQ(wordcmp(typed.c_str(), typed.c_str()), 1);
        }
        if (wordcmp(typed.c_str(), full.c_str()) && word > 0) {
            ASSERT_EQ(static_cast<size_t>(is_abbrev(typed.c_str(), full.c_str(), 0)), word);
        }

        const char *second = next_arg(typed.c_str());
        if (second != nullptr) {
            ASSERT_GT(second, typed.c_str());
            ASSERT_LT(second, typed.c_str() + typed.size());
            ASSERT_FALSE(is_space(*second));
            ASSERT_TRUE(is_space(second[-1]));
        }
    }
}

TEST(TextFuzz, IsIntAgreesWithAClampedConversion)
{
    std::mt19937 random(3);
    for (int round = 0; round < rounds * 10; ++round) {
        const std::string text = next_input(random, round);
        int value = 0;
        const bool digit_first = !text.empty() && (isdigit(static_cast<unsigned char>(text[0])) ||
                                                   ((text[0] == '-' || text[0] == '+') && text.size() > 1 &&
                                                    isdigit(static_cast<unsigned char>(text[1]))));
        ASSERT_EQ(is_int(text.c_str(), &value), digit_first ? 1 : 0) << text;
        if (digit_first) {
            ASSERT_EQ(value, reference_int(text.c_str())) << text;
        }
    }
}
