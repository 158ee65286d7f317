#include "text_bytes.h"

#include <gtest/gtest.h>

TEST(TextBytes, EveryByteRoundTrips)
{
    std::string all;
    for (int code = 1; code < 256; ++code)
        all.push_back(static_cast<char>(code));
    wxString text = bytes_to_wx(all);
    ASSERT_EQ(text.length(), all.size());
    EXPECT_EQ(text[0x7F].GetValue(), 0x80u);
    EXPECT_EQ(text[0xE8].GetValue(), 0xE9u);
    EXPECT_EQ(wx_to_bytes(text), all);
}

TEST(TextBytes, HighBytesAreNotLost)
{
    // A plain conversion in the C locale turns this whole string empty.
    const char game_text[] = "caf\xe9 \xbb north";
    EXPECT_EQ(bytes_to_wx(game_text).length(), sizeof game_text - 1);
    EXPECT_EQ(wx_to_bytes(bytes_to_wx(game_text)), game_text);
}

TEST(TextBytes, CharactersAbove8BitsBecomeQuestionMarks)
{
    wxString typed = wxString::FromUTF8("say \xe2\x82\xac 5 \xc3\xa9t\xc3\xa9 \xf0\x9f\x98\x80!");
    EXPECT_EQ(wx_to_bytes(typed), "say ? 5 \xe9t\xe9 ?!");
}

TEST(TextBytes, EmbeddedNulAndEmptyInput)
{
    std::string with_nul("a\0b", 3);
    EXPECT_EQ(wx_to_bytes(bytes_to_wx(with_nul)), with_nul);
    EXPECT_TRUE(bytes_to_wx(static_cast<const char *>(nullptr)).empty());
    EXPECT_TRUE(bytes_to_wx("", 0).empty());
    EXPECT_EQ(wx_to_bytes(wxString()), "");
}
