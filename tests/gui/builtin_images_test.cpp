#include "builtin_images.h"

#include "builtin_image_data.h"
#include "vusk_bitmap.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
struct alpha_census {
    int transparent = 0;
    int partial = 0;
    int opaque = 0;
};

alpha_census count_alpha(const vusk_bitmap &bitmap)
{
    alpha_census census;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x) {
                int alpha = view.pixel(x, y)[pixel_view::ALPHA];
                (alpha == 0 ? census.transparent : alpha == 255 ? census.opaque : census.partial)++;
            }
    });
    return census;
}

bool visible_pixels_are_white(const vusk_bitmap &bitmap)
{
    bool white = true;
    bitmap.with_pixels([&](const pixel_view &view) {
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                if (view.pixel(x, y)[pixel_view::ALPHA] > 0 && view.color_at(x, y) != vusk_WHITE)
                    white = false;
    });
    return white;
}

// Drawn shapes with soft edges on a transparent ground.
void expect_antialiased_art(const vusk_bitmap *bitmap, int width, int height, int least_opaque)
{
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), width);
    EXPECT_EQ(bitmap->GetHeight(), height);
    EXPECT_EQ(bitmap->GetDepth(), 32);
    EXPECT_TRUE(bitmap->HasAlpha());
    alpha_census census = count_alpha(*bitmap);
    EXPECT_GE(census.opaque, least_opaque);
    EXPECT_GE(census.transparent, least_opaque);
    EXPECT_GT(census.partial, 0);
}

std::vector<unsigned char> lock_file()
{
    return std::vector<unsigned char>(lock_png, lock_png + lock_png_size);
}

void expect_blank(const vusk_bitmap *bitmap, int width, int height)
{
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->GetWidth(), width);
    EXPECT_EQ(bitmap->GetHeight(), height);
    EXPECT_EQ(count_alpha(*bitmap).transparent, width * height);
}

constexpr size_t png_signature_size = 8;
constexpr size_t first_image_data_byte = 8 + 25 + 8 + 2;  // signature, IHDR, IDAT head, zlib head
}

TEST(BuiltinImages, AllSevenDecodeWithAlphaAtTheirSizes)
{
    construct_all_images();
    expect_antialiased_art(varn_ossic_logo_bitmap, logo_width, logo_height, 500);
    EXPECT_TRUE(visible_pixels_are_white(*varn_ossic_logo_bitmap));
    expect_antialiased_art(lock_bitmap, lock_icon_size, lock_icon_size, 100);
    for (int i = 0; i < status_icon_count; ++i) {
        SCOPED_TRACE(i);
        expect_antialiased_art(icon_bitmaps[i], status_icon_size, status_icon_size, 20);
    }

    // Built again, every image is replaced.
    const vusk_bitmap *old_lock = lock_bitmap;
    construct_all_images();
    EXPECT_NE(lock_bitmap, old_lock);
    expect_antialiased_art(lock_bitmap, lock_icon_size, lock_icon_size, 100);
}

TEST(BuiltinImages, DamagedDataGivesATransparentImageOfTheIntendedSize)
{
    std::vector<unsigned char> truncated = lock_file();
    truncated.resize(truncated.size() / 2);
    std::vector<unsigned char> corrupted = lock_file();
    for (size_t i = first_image_data_byte; i < corrupted.size() - 12; i += 7)
        corrupted[i] ^= 0x5a;
    std::vector<unsigned char> signature_only = lock_file();
    signature_only.resize(png_signature_size);
    std::vector<unsigned char> noise(400);
    std::mt19937 random(4);
    for (unsigned char &byte : noise)
        byte = static_cast<unsigned char>(random());

    const std::vector<unsigned char> *damaged[] = {&truncated, &corrupted, &signature_only, &noise};
    for (const std::vector<unsigned char> *bytes : damaged) {
        SCOPED_TRACE(bytes->size());
        std::unique_ptr<vusk_bitmap> bitmap(decode_png_bitmap(bytes->data(), bytes->size(), 21, 13));
        expect_blank(bitmap.get(), 21, 13);
    }
    std::unique_ptr<vusk_bitmap> nothing(decode_png_bitmap(lock_png, 0, 5, 6));
    expect_blank(nothing.get(), 5, 6);
}
