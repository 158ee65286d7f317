#include "url.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int untouched = -99;

struct UrlCase {
    const char *text;
    int click;
    const char *url; // null when nothing is found
    int start;
    int end;
};

void expect_case(const UrlCase &c)
{
    Buffer out;
    int start = untouched;
    int end = untouched;
    int found = extract_url(out, c.text, c.click, &start, &end);
    SCOPED_TRACE(std::string("\"") + c.text + "\" clicked at " + std::to_string(c.click));
    if (c.url == nullptr) {
        EXPECT_EQ(found, 0);
        EXPECT_EQ(start, untouched);
        EXPECT_EQ(end, untouched);
        EXPECT_STREQ(out.data, "");
        return;
    }
    EXPECT_EQ(found, 1);
    EXPECT_STREQ(out.data, c.url);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
}

}

TEST(ExtractUrl, TableOfCases)
{
    const UrlCase cases[] = {
        {"see http://example.com/page. Next", 4, "http://example.com/page", 4, 26},
        {"see http://example.com/page. Next", 27, "http://example.com/page", 4, 26},
        {"(www.example.com)", 5, "www.example.com", 1, 15},
        {"(www.example.com)", 0, nullptr, 0, 0},
        {"mail bob@example.com now", 8, nullptr, 0, 0},
        {"visit example.com now", 8, "example.com", 6, 16},
        {"visit example.abcde now", 8, nullptr, 0, 0},
        {"go example.com:8080", 5, nullptr, 0, 0},
        {"go example.com/:8080 x", 5, "example.com/:8080", 3, 19},
        {"go example.com/a:b", 5, nullptr, 0, 0},
        {"host:80.example.com", 2, "host:80.example.com", 0, 18},
        {"host:x.example.com", 2, nullptr, 0, 0},
        {"the end of a word.", 14, nullptr, 0, 0},
        {"e.g. this", 1, nullptr, 0, 0},
        {"version 1.5 now", 9, nullptr, 0, 0},
        {"click here", 5, nullptr, 0, 0},
        {"http://user@example.com/x", 10, "http://user@example.com/x", 0, 24},
        {"Visit Example.COM today", 8, nullptr, 0, 0},
        {"...example.com...", 8, "example.com", 3, 13},
        {"get ftp://files.example.org/a?", 10, "ftp://files.example.org/a", 4, 28},
        {"xhttps://a.b/c", 10, "https://a.b/c", 1, 13},
        {"HTTP://EXAMPLE.COM", 3, nullptr, 0, 0},
        {"www.example", 2, "www.example", 0, 10},
        {"caf\xe9.com", 5, nullptr, 0, 0},
        {"a.co/x", 0, "a.co/x", 0, 5},
        {"", 0, nullptr, 0, 0},
    };
    for (const UrlCase &c : cases)
        expect_case(c);
}

TEST(ExtractUrl, ClickOnEveryCharacterFindsTheSameLink)
{
    const char text[] = "Vote at https://vote.example.net/site?id=5, please.";
    const int first = 8;
    const int last = 41;
    for (int click = first; click <= last + 1; ++click)
        expect_case({text, click, "https://vote.example.net/site?id=5", first, last});
    expect_case({text, first - 1, nullptr, 0, 0});
}

TEST(ExtractUrl, PositionsOutsideTheTextFindNothing)
{
    expect_case({"example.com", -1, nullptr, 0, 0});
    expect_case({"example.com", 11, nullptr, 0, 0});
    expect_case({"example.com", 5000, nullptr, 0, 0});
    Buffer out;
    EXPECT_EQ(extract_url(out, nullptr, 0, nullptr, nullptr), 0);
}

TEST(ExtractUrl, VeryLongLinkIsCutToTheBuffer)
{
    std::string text = "http://a.com/" + std::string(9000, 'x');
    Buffer out;
    int start = untouched;
    int end = untouched;
    ASSERT_EQ(extract_url(out, text.c_str(), 5000, &start, &end), 1);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, static_cast<int>(text.size()) - 1);
    EXPECT_EQ(strlen(out.data), static_cast<size_t>(buffer_capacity - 1));
    EXPECT_EQ(std::string(out.data), text.substr(0, buffer_capacity - 1));
}

TEST(UrlCharacters, ExactlyThePrintableSetWithoutQuotesAndBrackets)
{
    const std::string excluded = "'\"`!()*<>";
    for (int code = 0; code < 256; ++code) {
        char character = static_cast<char>(code);
        bool expected = code >= '!' && code <= '~' && excluded.find(character) == std::string::npos;
        EXPECT_EQ(is_allowed_url_char(character), expected) << code;
    }
}

TEST(UrlCharacters, HeadersAreLowerCaseAndComplete)
{
    EXPECT_TRUE(is_url_header("http://x"));
    EXPECT_TRUE(is_url_header("https://x"));
    EXPECT_TRUE(is_url_header("ftp://"));
    EXPECT_FALSE(is_url_header("HTTP://x"));
    EXPECT_FALSE(is_url_header("https:/x"));
    EXPECT_FALSE(is_url_header("ftp:"));
    EXPECT_FALSE(is_url_header("mailto:x"));
    EXPECT_FALSE(is_url_header(""));
}
