#include "borders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The bitmap as rows of letters: '.' black, 'W' white, 'G' grey, 'C' cyan,
// '?' anything else.
std::vector<std::string> picture(const vusk_bitmap &bitmap)
{
    std::vector<std::string> rows;
    bitmap.with_pixels([&](const pixel_view &v) {
        for (int y = 0; y < v.height(); ++y) {
            std::string row;
            for (int x = 0; x < v.width(); ++x) {
                const vusk_color c = v.color_at(x, y);
                row += c == vusk_BLACK ? '.' : c == vusk_WHITE ? 'W' : c == vusk_GREY ? 'G' : c == vusk_CYAN ? 'C' : '?';
            }
            rows.push_back(row);
        }
    });
    return rows;
}
}

TEST(Borders, ThinBorderHasBlackCorners)
{
    vusk_bitmap bitmap(5, 4);
    bitmap.Clear(vusk_WHITE);
    draw_thin_border(bitmap, vusk_CYAN, 5, 4);
    EXPECT_EQ(picture(bitmap), (std::vector<std::string>{
                                   ".CCC.",
                                   "CWWWC",
                                   "CWWWC",
                                   ".CCC.",
                               }));
}

TEST(Borders, ThinBorderSmallerThanTheBitmap)
{
    vusk_bitmap bitmap(5, 4);
    draw_thin_border(bitmap, vusk_CYAN, 3, 3);
    EXPECT_EQ(picture(bitmap), (std::vector<std::string>{
                                   ".C...",
                                   "C.C..",
                                   ".C...",
                                   ".....",
                               }));
}

TEST(Borders, StrongBorderDefaultColoursOnEachSide)
{
    vusk_bitmap left(4, 3), right(4, 3), top(4, 3), bottom(4, 3);
    draw_strong_border(left, 4, 3, BORDER_LEFT, nullptr);
    draw_strong_border(right, 4, 3, BORDER_RIGHT, nullptr);
    draw_strong_border(top, 4, 3, BORDER_TOP, nullptr);
    draw_strong_border(bottom, 4, 3, BORDER_BOTTOM, nullptr);
    EXPECT_EQ(picture(left), (std::vector<std::string>{"WG..", "WG..", "WG.."}));
    EXPECT_EQ(picture(right), (std::vector<std::string>{"..WW", "..WW", "..WW"}));
    EXPECT_EQ(picture(top), (std::vector<std::string>{"WWWW", "....", "...."}));
    EXPECT_EQ(picture(bottom), (std::vector<std::string>{"....", "....", "WWWW"}));
}

TEST(Borders, StrongBorderAllSidesInOneColourAndNoSides)
{
    vusk_bitmap all(5, 4), none(5, 4);
    draw_strong_border(all, 5, 4, BORDER_LEFT | BORDER_RIGHT | BORDER_TOP | BORDER_BOTTOM, &vusk_CYAN);
    draw_strong_border(none, 5, 4, 0, &vusk_CYAN);
    EXPECT_EQ(picture(all), (std::vector<std::string>{
                                "CCCCC",
                                "CC.CC",
                                "CC.CC",
                                "CCCCC",
                            }));
    EXPECT_EQ(picture(none), (std::vector<std::string>(4, ".....")));
}
