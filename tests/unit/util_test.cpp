#include "util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <memory>
#include <string>

namespace {

void expect_intact_full_buffer(const Buffer &buffer, const std::string &expected_text)
{
    EXPECT_EQ(buffer.size, buffer_capacity);
    EXPECT_EQ(buffer.data[buffer_capacity - 1], '\0');
    EXPECT_EQ(std::string(buffer.data), expected_text);
}

}

TEST(Buffer, StringAppendIsCutTo7999Characters)
{
    auto buffer = std::make_unique<Buffer>();
    std::string text(8005, 'x');
    text[7998] = 'L';
    buffer_append(*buffer, text.c_str());
    EXPECT_EQ(buffer->length, buffer_capacity);
    expect_intact_full_buffer(*buffer, text.substr(0, 7999));
}

TEST(Buffer, AppendsToACutBufferWriteNothing)
{
    auto buffer = std::make_unique<Buffer>();
    const std::string kept(7999, 'a');
    buffer_append(*buffer, std::string(9000, 'a').c_str());
    for (int round = 0; round < 100; ++round) {
        buffer_append(*buffer, "");
        buffer_append(*buffer, "more text");
        buffer_append_char(*buffer, 'z');
        ASSERT_EQ(buffer->length, buffer_capacity);
    }
    expect_intact_full_buffer(*buffer, kept);
}

TEST(Buffer, ExactFitIsNotCutButTheNextAppendIs)
{
    Buffer buffer;
    const std::string fill(7999, 'b');
    buffer_append(buffer, fill.c_str());
    EXPECT_EQ(buffer.length, 7999);
    buffer_append(buffer, "");
    buffer_append_char(buffer, 'c');
    EXPECT_EQ(buffer.length, 7999);
    buffer_append(buffer, "d");
    EXPECT_EQ(buffer.length, buffer_capacity);
    expect_intact_full_buffer(buffer, fill);
}

TEST(Buffer, PiecesAppendAndClear)
{
    Buffer buffer;
    EXPECT_STREQ(buffer.data, "");
    buffer_append(buffer, "look");
    buffer_append_char(buffer, ' ');
    buffer_append(buffer, "north");
    buffer_append(buffer, nullptr);
    EXPECT_STREQ(buffer.data, "look north");
    EXPECT_EQ(buffer.length, 10);
    buffer_clear(buffer);
    EXPECT_EQ(buffer.length, 0);
    EXPECT_STREQ(buffer.data, "");
}

struct AbbrevCase {
    const char *typed;
    const char *full;
    int minimum;
    int expected;
};

TEST(CommandWords, AbbreviationsWithTheDispatchersMinimums)
{
    const AbbrevCase cases[] = {
        {"//c", "//commands", 3, 3},      {"//com", "//commands", 3, 5},
        {"//", "//commands", 3, 0},       {"//h", "//help", 3, 3},
        {"//hi", "//help", 3, 0},         {"//hi", "//history", 3, 4},
        {"//e", "//echo", 3, 3},          {"//b", "//break", 3, 3},
        {"//qui", "//quit", 6, 0},        {"//quit", "//quit", 6, 6},
        {"//exi", "//exit", 6, 0},        {"//exit now", "//exit", 6, 6},
        {"//disc", "//disconnect", 6, 6}, {"//dis", "//disconnect", 6, 0},
        {"//cl", "//clear", 4, 4},        {"//c", "//clear", 4, 0},
        {"c 4000", "connect", 1, 1},      {"co", "connect", 1, 2},
        {"connect 4000", "connect", 1, 7}, {"re", "restart", 2, 2},
        {"r", "restart", 2, 0},           {"st", "start", 2, 2},
        {"log", "login", 4, 0},           {"logi", "login", 4, 4},
        {"qui", "quit", 3, 3},            {"q", "quit", 3, 0},
        {"ex", "exit", 2, 2},             {"e", "exit", 2, 0},
        {"NOR", "north", 3, 3},           {"no", "north", 3, 0},
        {"northwest", "north", 3, 0},     {"co", "connect", 0, 2},
        {"CONNECT\t5", "connect", 1, 7},  {"con\nx", "connect", 1, 3},
        {"cx", "connect", 1, 0},          {"", "connect", 0, 0},
        {" co", "connect", 0, 0},         {"\xc9", "\xe9", 0, 0},
    };
    for (const AbbrevCase &c : cases)
        EXPECT_EQ(is_abbrev(c.typed, c.full, c.minimum), c.expected) << '"' << c.typed << "\" / " << c.full;
    EXPECT_EQ(is_abbrev(nullptr, "connect", 0), 0);
    EXPECT_EQ(is_abbrev("connect", nullptr, 0), 0);
}

TEST(CommandWords, VeryLongWordsNeverMatch)
{
    const std::string longest(max_command_word_length - 1, 'a');
    const std::string too_long(max_command_word_length, 'a');
    EXPECT_EQ(is_abbrev(longest.c_str(), longest.c_str(), 1), max_command_word_length - 1);
    EXPECT_EQ(is_abbrev(too_long.c_str(), too_long.c_str(), 1), 0);
    EXPECT_EQ(wordcmp(longest.c_str(), longest.c_str()), 1);
    EXPECT_EQ(wordcmp(too_long.c_str(), too_long.c_str()), 0);
}

TEST(CommandWords, WordcmpComparesWholeFirstWords)
{
    EXPECT_EQ(wordcmp("Look here", "look"), 1);
    EXPECT_EQ(wordcmp("look", "looking"), 0);
    EXPECT_EQ(wordcmp("looking", "look"), 0);
    EXPECT_EQ(wordcmp("LOOK\n", "look\tat me"), 1);
    EXPECT_EQ(wordcmp("preload", "PRELOAD"), 1);
    EXPECT_EQ(wordcmp("look", "lock"), 0);
    EXPECT_EQ(wordcmp("\xc9t\xc9", "\xe9t\xe9"), 0);
    EXPECT_EQ(wordcmp(nullptr, "look"), 0);
    EXPECT_EQ(wordcmp("look", nullptr), 0);
}

TEST(CommandWords, NextArgFindsTheSecondWord)
{
    const char two_words[] = "  look north";
    EXPECT_EQ(next_arg(two_words), two_words + 7);
    const char separated[] = "a\t\n b c";
    EXPECT_EQ(next_arg(separated), separated + 4);
    EXPECT_EQ(next_arg("look   "), nullptr);
    EXPECT_EQ(next_arg("look"), nullptr);
    EXPECT_EQ(next_arg(""), nullptr);
    EXPECT_EQ(next_arg(" \t\n "), nullptr);
    EXPECT_EQ(next_arg(static_cast<const char *>(nullptr)), nullptr);

    char writable[] = "sound rain 2";
    char *second = next_arg(writable);
    ASSERT_EQ(second, writable + 6);
    EXPECT_STREQ(next_arg(second), "2");
}

TEST(Strings, SafeStrcpyAlwaysTerminates)
{
    char dest[8];
    safe_strcpy(dest, "hello world", 4);
    EXPECT_STREQ(dest, "hel");
    safe_strcpy(dest, "hello", 6);
    EXPECT_STREQ(dest, "hello");
    safe_strcpy(dest, nullptr, 8);
    EXPECT_STREQ(dest, "");
    strcpy(dest, "old");
    safe_strcpy(dest, "new", 1);
    EXPECT_STREQ(dest, "");
    strcpy(dest, "old");
    safe_strcpy(dest, "new", 0);
    EXPECT_STREQ(dest, "old");
}

TEST(Strings, CopiesAreOwnedAndReplaced)
{
    const char original[] = "the scroll";
    char *slot = copy_string(original);
    ASSERT_NE(slot, nullptr);
    EXPECT_NE(slot, original);
    EXPECT_STREQ(slot, original);

    replace_string(&slot, "a new text");
    EXPECT_STREQ(slot, "a new text");
    replace_string(&slot, slot);
    EXPECT_STREQ(slot, "a new text");
    free_string(&slot);
    EXPECT_EQ(slot, nullptr);
    free_string(&slot);
    EXPECT_EQ(copy_string(nullptr), nullptr);
}

TEST(Strings, CopyOfACountStopsAtTheTextsEnd)
{
    char *first = copy_string("abcdef", 3);
    EXPECT_STREQ(first, "abc");
    free_string(&first);

    // A source shorter than the count is copied whole and never overread.
    auto short_source = std::make_unique<char[]>(3);
    strcpy(short_source.get(), "ab");
    char *whole = copy_string(short_source.get(), 100);
    EXPECT_STREQ(whole, "ab");
    free_string(&whole);

    char *none = copy_string("abc", -2);
    EXPECT_STREQ(none, "");
    free_string(&none);
}

namespace {

// An in-memory file holding exactly the given bytes (NULs included).
struct MemoryFile {
    std::string bytes;
    FILE *file;

    explicit MemoryFile(std::string content) : bytes(std::move(content))
    {
        file = fmemopen(bytes.data(), bytes.size(), "rb");
    }
    ~MemoryFile() { fclose(file); }
};

void expect_line(FILE *file, int size, int result, const char *text)
{
    std::string buffer(static_cast<size_t>(size > 0 ? size : 1), '#');
    EXPECT_EQ(fget_line(file, buffer.data(), size), result);
    EXPECT_STREQ(buffer.c_str(), text);
}

}

TEST(FgetLine, ReadsLinesAndALastLineWithoutLineFeed)
{
    MemoryFile memory("<?xml version=\"1.0\"?>\n\nsecond\r\nlast");
    expect_line(memory.file, 100, 22, "<?xml version=\"1.0\"?>");
    expect_line(memory.file, 100, 1, "");
    expect_line(memory.file, 100, 8, "second\r");
    expect_line(memory.file, 100, 5, "last");
    expect_line(memory.file, 100, 0, "");
    expect_line(memory.file, 100, 0, "");
}

TEST(FgetLine, NulEndsALine)
{
    MemoryFile memory(std::string("ab\0cd\n", 6));
    expect_line(memory.file, 10, 3, "ab");
    expect_line(memory.file, 10, 3, "cd");
    expect_line(memory.file, 10, 0, "");
}

TEST(FgetLine, LongLinesContinueWithoutLosingACharacter)
{
    MemoryFile memory("abcdefg\nxyz\n");
    expect_line(memory.file, 4, 4, "abc");
    expect_line(memory.file, 4, 4, "def");
    expect_line(memory.file, 4, 2, "g");
    expect_line(memory.file, 4, 4, "xyz");
    expect_line(memory.file, 4, 0, "");
}

TEST(FgetLine, TinyBuffersConsumeOneCharacter)
{
    MemoryFile memory("ab");
    expect_line(memory.file, 1, 1, "");
    expect_line(memory.file, 1, 1, "");
    expect_line(memory.file, 1, 0, "");
    EXPECT_EQ(fget_line(nullptr, nullptr, 10), 0);
}

TEST(IsInt, RecognisesLeadingIntegers)
{
    int value = 99;
    EXPECT_EQ(is_int("-", &value), 0);
    EXPECT_EQ(is_int("+", &value), 0);
    EXPECT_EQ(is_int(" 5", &value), 0);
    EXPECT_EQ(is_int("x1", &value), 0);
    EXPECT_EQ(is_int("", &value), 0);
    EXPECT_EQ(is_int(nullptr, &value), 0);
    EXPECT_EQ(value, 99);
    EXPECT_EQ(is_int("+5", &value), 1);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(is_int("-7a", &value), 1);
    EXPECT_EQ(value, -7);
    EXPECT_EQ(is_int("007 12", &value), 1);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(is_int("42", nullptr), 1);
}

TEST(IsInt, OutOfRangeNumbersAreClamped)
{
    struct {
        std::string text;
        int expected;
    } const cases[] = {
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {std::string(200, '9'), INT_MAX},
        {"-" + std::string(200, '9'), INT_MIN},
        {"+" + std::string(30, '0') + "12", 12},
    };
    for (const auto &c : cases) {
        int value = 0;
        EXPECT_EQ(is_int(c.text.c_str(), &value), 1) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }
}

TEST(CalcAngle, KnownDirections)
{
    struct {
        int dx, dy, degrees;
    } const cases[] = {
        {0, 0, 0},      {1, 0, 0},       {0, 1, 89},      {-1, 0, 180},   {0, -1, 271},
        {1, 1, 44},     {-1, 1, 135},    {-1, -1, 225},   {1, -1, 316},   {3, 4, 53},
        {-5, -12, 247}, {1000, -1, 0},   {-1000, -1, 180},
        {INT_MAX, INT_MIN, 316}, {INT_MIN, 0, 180}, {INT_MIN, -1, 180},
    };
    for (const auto &c : cases)
        EXPECT_EQ(calc_angle(c.dx, c.dy), c.degrees) << c.dx << ", " << c.dy;
}
