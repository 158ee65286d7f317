#include "sound_decoder.h"

#include "sox_sound.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

TEST(SoundDecoder, TakesOnlyMonoAt44100HzUnderTenSeconds)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.ogg";
    decoded_sound sound;

    ASSERT_TRUE(make_ogg(path, {44100, 1, 9.9, 440}));
    ASSERT_EQ(decode_sound_file(path, sound), decode_result::decoded);
    EXPECT_EQ(sound.length, 9.9 * 44100 * 2);
    EXPECT_EQ(sound.channels, 1);
    for (const tone &refused : {tone{44100, 2, 0.3, 440}, tone{22050, 1, 0.3, 440}, tone{44100, 1, 10.0, 440}}) {
        ASSERT_TRUE(make_ogg(path, refused));
        EXPECT_EQ(decode_sound_file(path, sound), decode_result::unusable) << refused.rate << " " << refused.channels;
    }
    std::ofstream(path, std::ios::binary) << "not an ogg file";
    EXPECT_EQ(decode_sound_file(path, sound), decode_result::unusable);
    EXPECT_EQ(decode_sound_file(directory.path() + "/none.ogg", sound), decode_result::missing);
}

// A pure tone fits in one Ogg page, so a cut end takes the stream's length
// with it.
TEST(SoundDecoder, ACutFileOfUnknownLengthIsUnusable)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.ogg";
    ASSERT_TRUE(make_ogg(path, {44100, 1, 2.0, 440}));
    const std::string bytes = read_file(path);
    std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 100);

    decoded_sound sound;
    EXPECT_EQ(decode_sound_file(path, sound), decode_result::unusable);
}

TEST(SoundDecoder, AStreamThatBreaksOffEndsInSilence)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.ogg";
    ASSERT_TRUE(make_ogg(path, {44100, 1, 3.0, 440, "whitenoise"}));
    const std::vector<short> whole = decoded_samples(path);
    std::string bytes = read_file(path);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 20; ++i)
        bytes[i] ^= 0x5a;
    std::ofstream(path, std::ios::binary) << bytes;

    const std::vector<short> damaged = decoded_samples(path);
    ASSERT_EQ(damaged.size(), whole.size());
    const auto first_difference = std::mismatch(damaged.begin(), damaged.end(), whole.begin()).first;
    ASSERT_NE(first_difference, damaged.end());
    EXPECT_GT(first_difference - damaged.begin(), 1000);
    EXPECT_TRUE(std::all_of(first_difference, damaged.end(), [](short s) { return s == 0; }));
}

} // namespace
