#include "vusk_background.h"

#include "vusk_bitmap.h"
#include "vusk_theme.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// Whether the bitmap holds exactly what the painters paint for `style`, and
// is opaque everywhere.
bool shows_style(const vusk_bitmap &bitmap, int style, const vusk_color *theme)
{
    const int width = bitmap.GetWidth(), height = bitmap.GetHeight();
    const int stride = width * pixel_view::BYTES_PER_PIXEL;
    std::vector<unsigned char> bytes(size_t(stride) * height);
    pixel_view expected(bytes.data(), width, height, stride);
    paint_background(expected, style, theme);
    bool same = true;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                same = same && view.color_at(x, y) == expected.color_at(x, y) &&
                       view.pixel(x, y)[pixel_view::ALPHA] == 255;
    });
    return same;
}
}

TEST(VuskBackground, HoldsThePictureOfTheCurrentStyleAndColour)
{
    vusk_background background;
    EXPECT_EQ(background.bitmap(), nullptr);

    ASSERT_TRUE(background.redraw_background(0, 984, 728, background_style_circles,
                                             theme_code_cyan, background_theme_cyan));
    ASSERT_NE(background.bitmap(), nullptr);
    EXPECT_EQ(background.bitmap()->GetWidth(), 1024);
    EXPECT_EQ(background.bitmap()->GetHeight(), 768);
    EXPECT_TRUE(shows_style(*background.bitmap(), background_style_circles, background_theme_cyan));

    const vusk_bitmap *painted = background.bitmap();
    EXPECT_FALSE(background.redraw_background(0, 1000, 740, background_style_circles,
                                              theme_code_cyan, background_theme_cyan));
    EXPECT_EQ(background.bitmap(), painted);

    ASSERT_TRUE(background.redraw_background(1, 1000, 740, background_style_maze1,
                                             theme_code_red, background_theme_red));
    EXPECT_EQ(background.width(), 1024);
    EXPECT_EQ(background.height(), 768);
    EXPECT_EQ(background.bitmap()->GetWidth(), 1024);
    EXPECT_TRUE(shows_style(*background.bitmap(), background_style_maze1, background_theme_red));
}
