#include "download_path.h"

#include <gtest/gtest.h>

#include <string>

TEST(DownloadPath, AcceptsOnlyRelativePathsThatStayInside)
{
    for (const char *good : {"door.ogg", "soundpack/door.ogg", "soundpack/custom/x y?#%\xe9.ogg", "a/.hidden", "a/b..c"})
        EXPECT_TRUE(is_valid_download_path(good)) << good;
    for (const char *bad : {"", "/etc/passwd", "soundpack//door.ogg", "soundpack/", "../x", "a/../../x", "a/..",
                            "./a", "a/./b", "a\nb", "a\x7f", "tab\there"})
        EXPECT_FALSE(is_valid_download_path(bad)) << bad;
    EXPECT_FALSE(is_valid_download_path(nullptr));
    EXPECT_TRUE(is_valid_download_path(std::string(99, 'x').c_str()));
    EXPECT_FALSE(is_valid_download_path(std::string(100, 'x').c_str()));
}

TEST(DownloadPath, PercentEncodesEverythingButUnreservedBytesAndSlashes)
{
    EXPECT_EQ(percent_encode_path("/soundpack/door-1_a.b~c.ogg"), "/soundpack/door-1_a.b~c.ogg");
    EXPECT_EQ(percent_encode_path("/a b?c#d%e&f+g"), "/a%20b%3Fc%23d%25e%26f%2Bg");
    EXPECT_EQ(percent_encode_path("/\x80\xe9\xff"), "/%80%E9%FF");
    EXPECT_EQ(percent_encode_path(std::string("a\0b", 3)), "a%00b");
}
