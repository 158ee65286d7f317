#include "vusk_background.h"

#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

namespace {
// A block of memory laid out as a 32-bit bitmap.
class canvas {
public:
    canvas(int width, int height)
        : width_(width), height_(height),
          bytes_(size_t(width) * size_t(height) * pixel_view::BYTES_PER_PIXEL),
          view_(bytes_.data(), width, height, width * pixel_view::BYTES_PER_PIXEL)
    {
    }
    canvas(const canvas &) = delete;

    pixel_view &view() { return view_; }
    vusk_color at(int x, int y) const { return view_.color_at(x, y); }
    bool operator==(const canvas &other) const { return bytes_ == other.bytes_; }

    bool same_in(const canvas &other, int width, int height) const
    {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != other.at(x, y))
                    return false;
        return true;
    }

    // The distinct colours from `first_row` down, in order of appearance.
    std::vector<vusk_color> colours(int first_row = 0) const
    {
        std::vector<vusk_color> seen;
        for (int y = first_row; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (std::find(seen.begin(), seen.end(), at(x, y)) == seen.end())
                    seen.push_back(at(x, y));
        return seen;
    }

private:
    int width_;
    int height_;
    std::vector<unsigned char> bytes_;
    pixel_view view_;
};

// Whether both hold the same colours, in any order.
bool same_colours(std::vector<vusk_color> a, std::vector<vusk_color> b)
{
    auto by_value = [](const vusk_color &x, const vusk_color &y) {
        return std::tie(x.r, x.g, x.b) < std::tie(y.r, y.g, y.b);
    };
    std::sort(a.begin(), a.end(), by_value);
    std::sort(b.begin(), b.end(), by_value);
    return a == b;
}

const vusk_color *const every_background_theme[] = {
    background_theme_red,   background_theme_brown, background_theme_yellow,
    background_theme_ygreen, background_theme_green, background_theme_cyan,
    background_theme_blue,  background_theme_purple, background_theme_grey,
};

const int known_styles[] = {background_style_black, background_style_solid, background_style_maze1,
                            background_style_maze2, background_style_circles};

constexpr int picture_width = 237;
constexpr int picture_height = 151;
}

TEST(BackgroundPainters, EveryStyleGivesTheSamePictureEachTime)
{
    for (int style : {0, 1, 2, 3, 4, 7}) {
        SCOPED_TRACE(style);
        canvas first(picture_width, picture_height), second(picture_width, picture_height);
        paint_background(first.view(), style, background_theme_cyan);
        // Another pattern in between leaves the generator elsewhere.
        canvas other(picture_width, picture_height);
        paint_background(other.view(), style == 2 ? 4 : 2, background_theme_cyan);
        paint_background(second.view(), style, background_theme_cyan);
        EXPECT_TRUE(first == second);
    }
}

TEST(BackgroundPainters, EachStyleUsesExactlyItsColoursInEveryTheme)
{
    for (const vusk_color *theme : every_background_theme) {
        const vusk_color bright = theme[background_bright], mid = theme[background_mid],
                         dark = theme[background_dark], black = vusk_BLACK;
        const std::vector<vusk_color> expected[] = {
            {black}, {dark}, {black, mid}, {black, mid, bright}, {black, dark, mid, bright}};
        for (int style : known_styles) {
            SCOPED_TRACE(style);
            canvas picture(320, 240);
            paint_background(picture.view(), style, theme);
            EXPECT_TRUE(same_colours(picture.colours(), expected[style]));
        }
    }
}

TEST(BackgroundPainters, UnknownStylesPaintMaze2)
{
    canvas maze2(picture_width, picture_height);
    paint_maze2_background(maze2.view(), background_theme_green);
    for (int style : {7, 5, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(style);
        canvas picture(picture_width, picture_height);
        paint_background(picture.view(), style, background_theme_green);
        EXPECT_TRUE(picture == maze2);
    }
}

TEST(BackgroundPainters, Maze2HasTheWallsOfMaze1WithSomeBright)
{
    canvas maze1(picture_width, picture_height), maze2(picture_width, picture_height);
    paint_maze1_background(maze1.view(), background_theme_purple);
    paint_maze2_background(maze2.view(), background_theme_purple);
    int bright_pixels = 0;
    for (int y = 0; y < picture_height; ++y)
        for (int x = 0; x < picture_width; ++x) {
            EXPECT_EQ(maze1.at(x, y) == vusk_BLACK, maze2.at(x, y) == vusk_BLACK) << x << "," << y;
            bright_pixels += maze2.at(x, y) == background_theme_purple[background_bright];
        }
    // A wall is bright when three bits of its draw are 0: about one in eight.
    EXPECT_GT(bright_pixels, 0);
}

TEST(BackgroundPainters, GrowingTheAreaKeepsTheOldPicture)
{
    // A wall of the maze reaches 5 pixels back into the old area from a new
    // row or column; rings never reach back.
    const struct {
        int style;
        int reach_back;
    } cases[] = {{background_style_maze1, 5}, {background_style_maze2, 5}, {background_style_circles, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.style);
        canvas small(200, 100), large(300, 160);
        paint_background(small.view(), c.style, background_theme_yellow);
        paint_background(large.view(), c.style, background_theme_yellow);
        EXPECT_TRUE(small.same_in(large, 200 - c.reach_back, 100 - c.reach_back));
    }
}

TEST(BackgroundPainters, RingsGoOnDownATallArea)
{
    // Rows far down seed the generator past 2^31: the seeds wrap as unsigned
    // numbers and the rings go on.
    canvas tall(48, 2800);
    paint_circles_background(tall.view(), background_theme_red);
    EXPECT_EQ(tall.colours(2700).size(), 4u);
}

TEST(BackgroundExtent, RoundsUpToTheNextStepOf256)
{
    EXPECT_EQ(background_extent(984), 1024);
    EXPECT_EQ(background_extent(1024), 1280);
    EXPECT_EQ(background_extent(0), 256);
    EXPECT_EQ(background_extent(255), 256);
    EXPECT_EQ(background_extent(256), 512);
    EXPECT_EQ(background_extent(-40), 256);
    EXPECT_EQ(background_extent(INT_MIN), 256);
    // Absurd sizes are bounded instead of overflowing.
    EXPECT_EQ(background_extent(INT_MAX), background_extent(1 << 14));
    EXPECT_LE(background_extent(INT_MAX), 20000);
}

namespace {
constexpr int maze2 = background_style_maze2;
constexpr int cyan = theme_code_cyan;
}

TEST(BackgroundSizing, RepaintsOnlyWhenOutgrownOrChanged)
{
    background_sizing sizing;
    EXPECT_EQ(sizing.width(), -1);
    ASSERT_TRUE(sizing.update(0, 984, 728, maze2, cyan));
    EXPECT_EQ(sizing.width(), 1024);
    EXPECT_EQ(sizing.height(), 768);

    EXPECT_FALSE(sizing.update(0, 984, 728, maze2, cyan));
    EXPECT_FALSE(sizing.update(0, 1000, 740, maze2, cyan)) << "growing within the margin";
    EXPECT_FALSE(sizing.update(0, 300, 200, maze2, cyan)) << "shrinking";
    EXPECT_FALSE(sizing.update(0, 1024, 768, maze2, cyan)) << "exactly the picture's size";

    EXPECT_TRUE(sizing.update(0, 984, 728, maze2, theme_code_red)) << "colour changed";
    EXPECT_TRUE(sizing.update(0, 984, 728, background_style_maze1, theme_code_red)) << "style changed";
    EXPECT_FALSE(sizing.update(0, 984, 728, background_style_maze1, theme_code_red));
    EXPECT_EQ(sizing.width(), 1024);
    EXPECT_EQ(sizing.height(), 768);
}

TEST(BackgroundSizing, ForcedRedrawsKeepTheSizeWhileTheClientAreaFits)
{
    background_sizing sizing;
    sizing.update(0, 984, 728, maze2, cyan);
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(sizing.update(1, 984, 728, maze2, cyan));
        ASSERT_EQ(sizing.width(), 1024);
        ASSERT_EQ(sizing.height(), 768);
    }
    EXPECT_TRUE(sizing.update(1, 400, 300, maze2, cyan));
    EXPECT_EQ(sizing.width(), 1024) << "a smaller client area keeps the larger picture";
    EXPECT_EQ(sizing.height(), 768);
}

TEST(BackgroundSizing, OnlyTheOutgrownSideGrows)
{
    background_sizing sizing;
    sizing.update(0, 984, 728, maze2, cyan);
    EXPECT_TRUE(sizing.update(0, 1100, 700, maze2, cyan));
    EXPECT_EQ(sizing.width(), 1280);
    EXPECT_EQ(sizing.height(), 768);
    EXPECT_TRUE(sizing.update(1, 1100, 800, maze2, cyan));
    EXPECT_EQ(sizing.width(), 1280);
    EXPECT_EQ(sizing.height(), 1024);
}

TEST(BackgroundSizing, StaysWithinTheLargestClientAreaOverManyRedraws)
{
    background_sizing sizing;
    int widest = 0, tallest = 0;
    for (int i = 0; i < 50; ++i) {
        int w = 200 + (i * 397) % 1100, h = 150 + (i * 241) % 850;
        widest = std::max(widest, w);
        tallest = std::max(tallest, h);
        sizing.update(i % 3 == 0, w, h, i % 5, i % 2 ? cyan : theme_code_grey);
        ASSERT_GE(sizing.width(), w);
        ASSERT_GE(sizing.height(), h);
        ASSERT_LE(sizing.width(), background_extent(widest));
        ASSERT_LE(sizing.height(), background_extent(tallest));
    }
}

TEST(BackgroundSizing, EmptyOrNegativeClientAreasGiveTheSmallestPicture)
{
    background_sizing sizing;
    EXPECT_TRUE(sizing.update(0, 0, -5, maze2, cyan));
    EXPECT_EQ(sizing.width(), 256);
    EXPECT_EQ(sizing.height(), 256);
    background_sizing huge;
    EXPECT_TRUE(huge.update(1, INT_MAX, INT_MAX, maze2, cyan));
    EXPECT_EQ(huge.width(), background_extent(INT_MAX));
}
