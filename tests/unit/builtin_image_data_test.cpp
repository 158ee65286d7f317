#include "builtin_image_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {
struct embedded_png {
    const char *name;
    const unsigned char *bytes;
    size_t size;
    uint32_t width;
    uint32_t height;
};

const embedded_png all_images[] = {
    {"logo", varn_ossic_text_transparent_white_png, varn_ossic_text_transparent_white_png_size, 192, 43},
    {"lock", lock_png, lock_png_size, 21, 21},
    {"unwield", unwield_png, unwield_png_size, 17, 17},
    {"sleep", sleep_png, sleep_png_size, 17, 17},
    {"burn", burn2_png, burn2_png_size, 17, 17},
    {"shock", shock2_png, shock2_png_size, 17, 17},
    {"sicken", sicken2_png, sicken2_png_size, 17, 17},
};

uint32_t big_endian_at(const unsigned char *p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

constexpr unsigned char png_signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr size_t ihdr_offset = 8;
constexpr size_t iend_chunk_size = 12;
}

// The whole file is embedded: it starts with the PNG signature and an IHDR
// chunk of the image's size in 8-bit RGBA, and its last chunk is IEND.
TEST(BuiltinImageData, EveryImageIsAWhole8BitRgbaPngOfItsSize)
{
    for (const embedded_png &image : all_images) {
        SCOPED_TRACE(image.name);
        ASSERT_GT(image.size, sizeof png_signature + 25 + iend_chunk_size);
        EXPECT_EQ(std::memcmp(image.bytes, png_signature, sizeof png_signature), 0);
        const unsigned char *ihdr = image.bytes + ihdr_offset;
        EXPECT_EQ(big_endian_at(ihdr), 13u);
        EXPECT_EQ(std::memcmp(ihdr + 4, "IHDR", 4), 0);
        EXPECT_EQ(big_endian_at(ihdr + 8), image.width);
        EXPECT_EQ(big_endian_at(ihdr + 12), image.height);
        EXPECT_EQ(ihdr[16], 8) << "bit depth";
        EXPECT_EQ(ihdr[17], 6) << "colour type RGBA";
        const unsigned char *iend = image.bytes + image.size - iend_chunk_size;
        EXPECT_EQ(big_endian_at(iend), 0u);
        EXPECT_EQ(std::memcmp(iend + 4, "IEND", 4), 0);
    }
}
