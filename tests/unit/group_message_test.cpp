// The "group" message as rows, each line on its own, and the heights the
// rows take.
#include "group_message.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

namespace {
constexpr int row_h = 20;
constexpr int short_h = 11;
}

TEST(GroupMessage, MembersPetsAndMountsWithTheirKindsAndNames)
{
    const auto rows = parse_group_message("90 100 40 50 70 80 Alice\n"
                                          "5 10 0 0 6 7 .a wolf\n"
                                          "1 2 3 4 5 6 -Bob-\r\n"
                                          "1 2 3 4 5 6 -.");
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].kind, row_member);
    EXPECT_EQ(rows[0].name, "Alice");
    EXPECT_EQ(rows[0].hp, 90);
    EXPECT_EQ(rows[0].movemax, 80);
    EXPECT_EQ(rows[1].kind, row_dot);
    EXPECT_EQ(rows[1].name, "a wolf");
    EXPECT_EQ(rows[2].kind, row_dash);
    EXPECT_EQ(rows[2].name, "Bob");
    EXPECT_EQ(rows[3].kind, row_dash);
    EXPECT_EQ(rows[3].name, "");
}

// A carriage return ends the name of a '.' or '-' row only; a member's name
// runs to the newline.
TEST(GroupMessage, OnlyMarkedRowsEndTheirNameAtACarriageReturn)
{
    const std::pair<const char *, const char *> names[] = {
        {"1 2 3 4 5 6 Alice\r", "Alice\r"},
        {"1 2 3 4 5 6 Al\rice", "Al\rice"},
        {"1 2 3 4 5 6 .a wolf.\rtail", "a wolf"},
        {"1 2 3 4 5 6 -\r-", ""},
    };
    for (const auto &[line, name] : names) {
        const auto rows = parse_group_message(line);
        ASSERT_EQ(rows.size(), 1u) << line;
        EXPECT_EQ(rows[0].name, name);
    }
}

TEST(GroupMessage, AnInvalidLineEndsTheListAndNeverBorrowsFromTheNext)
{
    EXPECT_EQ(parse_group_message("1 2 3 4 5 6 Alice\nBob 1 2 3 4 5 6\n1 2 3 4 5 6 Carol").size(), 1u);
    EXPECT_TRUE(parse_group_message("").empty());
    EXPECT_TRUE(parse_group_message("\n1 2 3 4 5 6 Alice").empty());
    // Five numbers on a line may not take the sixth from the line below.
    EXPECT_TRUE(parse_group_message("1 2 3 4 5\n6 Alice").empty());
    // Six numbers and nothing else: a member without a name.
    const auto bare = parse_group_message("0 0 0 0 0 0\n1 2 3 4 5 6 Alice");
    ASSERT_EQ(bare.size(), 2u);
    EXPECT_EQ(bare[0].kind, row_member);
    EXPECT_EQ(bare[0].name, "");
    EXPECT_EQ(bare[1].name, "Alice");
    const auto huge = parse_group_message("99999999999 -99999999999 0 0 0 0 X");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].hp, INT_MAX);
    EXPECT_EQ(huge[0].hpmax, INT_MIN);
}

TEST(GroupMessage, RowsAndNamesAreCapped)
{
    std::string many;
    for (int i = 0; i < 200; ++i)
        many += "1 1 1 1 1 1 " + std::string(1000, 'n') + "\n";
    const auto rows = parse_group_message(many.c_str());
    ASSERT_EQ(int(rows.size()), group_row_limit);
    EXPECT_EQ(rows[0].name.size(), member_name_max_length);
}

TEST(GroupMessage, HeightEachRowPlusOneAndSixMoreForShortRows)
{
    auto rows = parse_group_message("1 1 1 1 1 1 Alice");
    EXPECT_EQ(group_ysize({}, row_h, short_h), 1);
    EXPECT_EQ(group_ysize(rows, row_h, short_h), 1 + 1 + row_h);
    rows = parse_group_message("1 1 1 1 1 1 Alice\n1 1 1 1 1 1 Bob");
    EXPECT_EQ(group_ysize(rows, row_h, short_h), 1 + 2 * (row_h + 1));
    rows = parse_group_message("1 1 1 1 1 1 Alice\n1 1 1 1 1 1 Bob\n1 1 1 1 1 1 -horse");
    EXPECT_EQ(group_ysize(rows, row_h, short_h), 1 + 2 * (row_h + 1) + short_h + 1 + 6);

    // Alice's row from y 1, Bob's from 22, the gap and the horse's from 47.
    EXPECT_EQ(group_row_at(rows, 0, row_h, short_h), -1);
    EXPECT_EQ(group_row_at(rows, 1, row_h, short_h), 0);
    EXPECT_EQ(group_row_at(rows, 21, row_h, short_h), 0);
    EXPECT_EQ(group_row_at(rows, 23, row_h, short_h), 1);
    EXPECT_EQ(group_row_at(rows, 46, row_h, short_h), 2);
    EXPECT_EQ(group_row_at(rows, 56, row_h, short_h), 2);
    EXPECT_EQ(group_row_at(rows, 58, row_h, short_h), -1);
}

TEST(GroupMessage, RandomMessagesGiveBoundedRowsOfKnownKinds)
{
    std::mt19937 random(11);
    const std::string alphabet = "0123456789 -.\n\r\tAb";
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 300, ' ');
        for (char &c : text)
            c = random() % 4 ? alphabet[random() % alphabet.size()] : char(random() % 255 + 1);
        const auto rows = parse_group_message(text.c_str());
        ASSERT_LE(int(rows.size()), group_row_limit);
        for (const hpbar_display_data &row : rows) {
            EXPECT_TRUE(row.kind >= row_member && row.kind <= row_dash);
            EXPECT_EQ(row.name.find('\n'), std::string::npos);
            EXPECT_LE(row.name.size(), member_name_max_length);
        }
    }
}
