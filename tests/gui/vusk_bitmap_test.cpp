#include "vusk_bitmap.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
const vusk_color PAINT{10, 200, 30};

vusk_color color_of(const vusk_bitmap &bitmap, int x, int y)
{
    vusk_color c;
    bitmap.with_pixels([&](const pixel_view &v) { c = v.color_at(x, y); });
    return c;
}

int alpha_of(const vusk_bitmap &bitmap, int x, int y)
{
    int alpha = -1;
    bitmap.with_pixels([&](const pixel_view &v) { alpha = v.pixel(x, y)[pixel_view::ALPHA]; });
    return alpha;
}

bool all_opaque(const vusk_bitmap &bitmap)
{
    for (int y = 0; y < bitmap.GetHeight(); ++y)
        for (int x = 0; x < bitmap.GetWidth(); ++x)
            if (alpha_of(bitmap, x, y) != 255)
                return false;
    return true;
}
}

TEST(VuskBitmap, NewBitmapsAreOpaqueBlackOf32BitsAndAtLeastOnePixel)
{
    const vusk_bitmap standard, sized(7, 3), empty(0, 0), negative(-4, 5);
    EXPECT_EQ(standard.GetWidth(), vusk_bitmap::DEFAULT_SIZE);
    EXPECT_EQ(standard.GetHeight(), vusk_bitmap::DEFAULT_SIZE);
    EXPECT_EQ(sized.GetDepth(), 32);
    EXPECT_EQ(empty.GetWidth(), 1);
    EXPECT_EQ(empty.GetHeight(), 1);
    EXPECT_EQ(negative.GetWidth(), 1);
    EXPECT_EQ(negative.GetHeight(), 5);
    EXPECT_TRUE(all_opaque(sized));
    EXPECT_TRUE(all_opaque(standard));
    EXPECT_EQ(color_of(sized, 6, 2), vusk_BLACK);
}

TEST(VuskBitmap, ChannelsLandWhereTheToolkitReadsThem)
{
    vusk_bitmap bitmap(3, 1);
    bitmap.DrawPixel(0, 0, vusk_RED);
    bitmap.DrawPixel(1, 0, 0, 255, 0);
    bitmap.DrawPixel(2, 0, vusk_color(1, 2, 3));
    const wxImage image = bitmap.ConvertToImage();
    EXPECT_EQ(image.GetRed(0, 0), 255);
    EXPECT_EQ(image.GetGreen(0, 0), 0);
    EXPECT_EQ(image.GetGreen(1, 0), 255);
    EXPECT_EQ(image.GetBlue(1, 0), 0);
    EXPECT_EQ(image.GetRed(2, 0), 1);
    EXPECT_EQ(image.GetGreen(2, 0), 2);
    EXPECT_EQ(image.GetBlue(2, 0), 3);
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetAlpha(2, 0), 255);
}

TEST(VuskBitmap, ImageWithoutAlphaBecomesAnOpaqueDrawableBitmap)
{
    wxImage image(4, 2);
    image.SetRGB(wxRect(0, 0, 4, 2), 200, 100, 50);
    ASSERT_FALSE(image.HasAlpha());
    vusk_bitmap bitmap(image);
    EXPECT_EQ(bitmap.GetWidth(), 4);
    EXPECT_EQ(color_of(bitmap, 3, 1), vusk_color(200, 100, 50));
    EXPECT_TRUE(all_opaque(bitmap));
    bitmap.DrawPixel(0, 0, PAINT);
    EXPECT_EQ(color_of(bitmap, 0, 0), PAINT);
    EXPECT_FALSE(image.HasAlpha());
}

TEST(VuskBitmap, ImageAlphaIsKeptForComposing)
{
    wxImage image(2, 1);
    image.SetRGB(wxRect(0, 0, 2, 1), 200, 100, 250);
    image.InitAlpha();
    image.SetAlpha(0, 0, 128);
    image.SetAlpha(1, 0, 0);
    const vusk_bitmap icon(image);
    vusk_bitmap target(2, 1);
    target.Clear(vusk_WHITE);
    target.DrawBitmapNukeAlpha(icon, 0, 0);
    EXPECT_EQ(color_of(target, 0, 0), vusk_color(100, 50, 125));
    EXPECT_EQ(color_of(target, 1, 0), vusk_BLACK);
}

TEST(VuskBitmap, EmptyImageGivesOnePixel)
{
    const vusk_bitmap bitmap{wxImage()};
    EXPECT_EQ(bitmap.GetWidth(), 1);
    EXPECT_EQ(bitmap.GetHeight(), 1);
    EXPECT_TRUE(all_opaque(bitmap));
}

TEST(VuskBitmap, CopiesNeverSharePixels)
{
    vusk_bitmap original(5, 5);
    original.DrawFilledRectangle(1, 1, 3, 3, PAINT);
    vusk_bitmap copy(original);
    vusk_bitmap assigned(2, 2);
    assigned = original;
    EXPECT_EQ(assigned.GetWidth(), 5);
    EXPECT_EQ(color_of(copy, 2, 2), PAINT);
    EXPECT_EQ(color_of(assigned, 3, 3), PAINT);

    original.Clear(vusk_BLUE);
    copy.DrawPixel(2, 2, vusk_RED);
    EXPECT_EQ(color_of(copy, 1, 1), PAINT);
    EXPECT_EQ(color_of(assigned, 2, 2), PAINT);
    EXPECT_EQ(color_of(original, 2, 2), vusk_BLUE);
    EXPECT_TRUE(all_opaque(copy));

    const vusk_bitmap &itself = assigned; // assigned through an alias, as a self-assignment happens
    assigned = itself;
    EXPECT_EQ(color_of(assigned, 3, 3), PAINT);
}

TEST(VuskBitmap, BlitPlacesTheSourceAndMayDrawOntoItself)
{
    vusk_bitmap source(2, 2);
    source.Clear(PAINT);
    vusk_bitmap target(6, 6);
    target.DrawBitmap(source, 3, 4);
    EXPECT_EQ(color_of(target, 3, 4), PAINT);
    EXPECT_EQ(color_of(target, 4, 5), PAINT);
    EXPECT_EQ(color_of(target, 2, 4), vusk_BLACK);

    // Shifted right by two as a whole: drawn in place from left to right,
    // column 5 would get column 3 after column 1 had overwritten it.
    target.DrawBitmap(target, 2, 0);
    EXPECT_EQ(color_of(target, 5, 4), PAINT);
    EXPECT_EQ(color_of(target, 5, 5), PAINT);
    EXPECT_EQ(color_of(target, 4, 4), vusk_BLACK);
    EXPECT_EQ(color_of(target, 3, 5), vusk_BLACK);
}

TEST(VuskBitmap, EveryPrimitiveIsClippedAtEachEdgeAndBeyond)
{
    vusk_bitmap target(16, 12), source(5, 5);
    source.Clear(vusk_WHITE);
    const wxPoint triangle[] = {{0, 0}, {9, 2}, {3, 8}};
    const int offsets[] = {INT_MIN, -100, -6, -3, 0, 8, 13, 14, 100, INT_MAX - 20};
    for (int ox : offsets) {
        for (int oy : offsets) {
            target.DrawPixel(ox, oy, PAINT);
            target.DrawLine(ox, oy, ox + 20, oy + 7, PAINT);
            target.DrawGradientLine(ox + 20, oy, ox, oy + 9, vusk_RED, vusk_BLUE);
            target.DrawFilledRectangle(ox, oy, ox + 6, oy + 6, PAINT);
            target.DrawYGradientRectangle(ox, oy, ox + 6, oy + 6, vusk_RED, vusk_BLUE);
            target.DrawXGradientRectangle(ox, oy, ox + 6, oy + 6, vusk_RED, vusk_BLUE);
            target.DrawFilledCircle(ox, oy, 5, PAINT);
            target.DrawPolygon(3, triangle, ox, oy, vusk_RED, PAINT);
            target.DrawBitmap(source, ox, oy);
            target.DrawBitmapNukeAlpha(source, ox, oy);
            target.DrawTextGlyph(source, ox, oy, vusk_WHITE, vusk_BLACK);
            target.DrawTextGlyphTransparent(source, ox, oy, vusk_GREEN);
        }
    }
    EXPECT_EQ(target.GetWidth(), 16);
    EXPECT_TRUE(all_opaque(target));
}
