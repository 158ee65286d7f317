#include "sound_decoder.h"

#include "audio_test_support.h"
#include "file_text.h"
#include "sound_decode_queue.h"
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

// Decoded sounds that nobody takes hold the worker back once they reach the
// limit; taking them lets it go on with the next job.
TEST(SoundDecodeQueue, UntakenSoundsAtTheLimitPauseTheWorkerUntilTaken)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.ogg";
    ASSERT_TRUE(make_ogg(path, {44100, 1, 0.1, 440}));
    decoded_sound sound;
    ASSERT_EQ(decode_sound_file(path, sound), decode_result::decoded);

    sound_decode_queue queue(2 * sound.length);
    for (int job = 0; job < 5; ++job)
        queue.add({nullptr, "", path, job, false});
    const auto taken_once_idle = [&queue] {
        EXPECT_TRUE(audio_test::wait_until([&queue] { return !queue.busy(); }));
        std::vector<int> versions;
        for (const sound_decode_outcome &outcome : queue.take_finished())
            versions.push_back(outcome.job.version);
        return versions;
    };
    EXPECT_EQ(taken_once_idle(), (std::vector<int>{0, 1}));
    EXPECT_EQ(taken_once_idle(), (std::vector<int>{2, 3}));
    EXPECT_EQ(taken_once_idle(), std::vector<int>{4});
}
