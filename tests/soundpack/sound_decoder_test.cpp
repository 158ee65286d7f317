#include "sound_decoder.h"

#include "file_text.h"
#include "sox_sound.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <algorithm>

// A pure tone fits in one Ogg page, so a cut end takes the stream's length
// with it; noise spans many pages, and a damaged one in the middle ends the
// stream there.
TEST(SoundDecoder, AnUnknownLengthIsUnusableAndABrokenStreamEndsInSilence)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.ogg";
    decoded_sound sound;
    ASSERT_TRUE(make_ogg(path, {44100, 1, 2.0, 440}));
    write_file(path, read_file(path).substr(0, read_file(path).size() - 100));
    EXPECT_EQ(decode_sound_file(path, sound), decode_result::unusable);

    ASSERT_TRUE(make_ogg(path, {44100, 1, 3.0, 440, "whitenoise"}));
    const std::vector<short> whole = decoded_samples(path);
    std::string bytes = read_file(path);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 20; ++i)
        bytes[i] ^= 0x5a;
    write_file(path, bytes);
    const std::vector<short> damaged = decoded_samples(path);
    ASSERT_EQ(damaged.size(), whole.size());
    const auto broken_at = std::mismatch(damaged.begin(), damaged.end(), whole.begin()).first;
    EXPECT_GT(broken_at - damaged.begin(), 1000);
    EXPECT_NE(broken_at, damaged.end());
    EXPECT_TRUE(std::all_of(broken_at, damaged.end(), [](short s) { return s == 0; }));
}
