// The mixer and the generated sounds, with the test in the audio thread's
// place: output is switched on without a stream and the test mixes frames.
#include "audio_test_support.h"
#include "vusk_audio.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace audio_test;

namespace {

class Mixer : public testing::Test {
protected:
    void SetUp() override { vusk_audio_object::global_audio_enabled = 1; }
    void TearDown() override
    {
        vusk_audio_object::global_audio_enabled = 0;
        vusk_audio_object::clear_queues();
        EXPECT_EQ(counted_sound::alive, 0);
    }
};

std::vector<short> lefts(const std::vector<frame> &frames)
{
    std::vector<short> samples;
    for (const frame &f : frames)
        samples.push_back(f.left);
    return samples;
}

bool mono(const std::vector<frame> &frames)
{
    return std::all_of(frames.begin(), frames.end(), [](const frame &f) { return f.left == f.right; });
}

bool all_silent(const std::vector<frame> &frames)
{
    return std::all_of(frames.begin(), frames.end(), [](const frame &f) { return f.silent(); });
}

TEST_F(Mixer, NothingPlayingGivesSilence)
{
    EXPECT_TRUE(all_silent(mix(2048)));
}

TEST_F(Mixer, FullScaleSoundsSumAndClampSymmetrically)
{
    const unsigned char loud[] = {0x30, 0x75}; // 30000
    const unsigned char quiet[] = {0xd0, 0x8a}; // -30000
    new vusk_audio_playout_mono_memory(loud, sizeof loud);
    new vusk_audio_playout_mono_memory(loud, sizeof loud);
    new vusk_audio_playout_mono_memory(quiet, sizeof quiet);
    EXPECT_EQ(mix(1)[0], (frame{30000, 30000}));

    new vusk_audio_playout_mono_memory(loud, sizeof loud);
    new vusk_audio_playout_mono_memory(loud, sizeof loud);
    EXPECT_EQ(mix(1)[0], (frame{32767, 32767}));
    new vusk_audio_playout_mono_memory(quiet, sizeof quiet);
    new vusk_audio_playout_mono_memory(quiet, sizeof quiet);
    EXPECT_EQ(mix(1)[0], (frame{-32767, -32767}));
}

TEST_F(Mixer, TheClickIsTheSameFadingBurstEveryTime)
{
    new vusk_audio_noise_tick;
    const std::vector<frame> first = mix(353);
    EXPECT_TRUE(mono(first));
    const std::vector<short> samples = lefts(first);
    // Noise -1627 at full amplitude 2048, over 4096; the last sample is the 352nd.
    EXPECT_EQ(std::vector<short>(samples.begin(), samples.begin() + 5),
              (std::vector<short>{-813, -574, -898, -140, -748}));
    EXPECT_EQ(std::vector<short>(samples.begin() + 347, samples.end()),
              (std::vector<short>{-11, -5, -5, -2, -1, 0}));
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 3103);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -2015);

    new vusk_audio_noise_tick;
    EXPECT_EQ(mix(353), first);
}

TEST_F(Mixer, TheWallBumpIsATriangleOf661Samples)
{
    new vusk_audio_wall_bump;
    const std::vector<frame> bump = mix(662);
    EXPECT_TRUE(mono(bump));
    const std::vector<short> samples = lefts(bump);
    EXPECT_EQ(std::vector<short>(samples.begin(), samples.begin() + 3), (std::vector<short>{74, 148, 222}));
    EXPECT_EQ(samples[110], 8214);
    EXPECT_EQ(samples[111], 8140);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -8214);
    EXPECT_EQ(samples[110 + 444], 8214);
    EXPECT_EQ(samples[660], 370);
    EXPECT_EQ(samples[661], 0);
}

TEST_F(Mixer, WhiteNoiseLastsItsLengthOnTwoIndependentChannels)
{
    new vusk_audio_white_noise(10);
    const std::vector<frame> noise = mix(441);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    EXPECT_FALSE(mono(noise));
    for (const frame &f : noise) {
        ASSERT_GE(std::min(f.left, f.right), -2048);
        ASSERT_LE(std::max(f.left, f.right), 2047);
    }

    new vusk_audio_white_noise(0);
    mix(1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    new vusk_audio_white_noise(-5);
    mix(1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
}

TEST_F(Mixer, PlayoutsDropTrailingBytesOfAnIncompleteSample)
{
    const unsigned char bytes[] = {0x10, 0x27, 0x00, 0x80, 0x99, 0x01, 0x02};
    new vusk_audio_playout_mono_memory(bytes, 5);
    EXPECT_EQ(mix(3), (std::vector<frame>{{10000, 10000}, {-32768 + 1, -32768 + 1}, {0, 0}}))
        << "-32768 alone clamps to -32767";
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);

    new vusk_audio_playout_stereo_memory(bytes, 7);
    EXPECT_EQ(mix(2), (std::vector<frame>{{10000, -32767}, {0, 0}}));
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);

    for (long length : {0L, 1L}) {
        new vusk_audio_playout_mono_memory(bytes, length);
        new vusk_audio_playout_stereo_memory(bytes, length + 2);
        EXPECT_TRUE(all_silent(mix(1)));
        EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    }
    new vusk_audio_playout_mono_memory(nullptr, 100);
    EXPECT_TRUE(all_silent(mix(1)));
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
}

TEST_F(Mixer, FinishedSoundsAreFreedByTheNextSoundNotByTheMixer)
{
    new counted_sound(1);
    new counted_sound(3);
    mix(1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    EXPECT_EQ(counted_sound::alive, 2);
    new counted_sound(1);
    EXPECT_EQ(counted_sound::alive, 2);
    mix(3);
    vusk_audio_object::clear_queues();
    EXPECT_EQ(counted_sound::alive, 0);
}

TEST_F(Mixer, ASoundCreatedWhileOutputIsOffNeverPlaysAndIsFreed)
{
    vusk_audio_object::global_audio_enabled = 0;
    new counted_sound(100, 1000);
    vusk_audio_object::global_audio_enabled = 1;
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    EXPECT_TRUE(all_silent(mix(100)));
    vusk_audio_object::clear_queues();
    EXPECT_EQ(counted_sound::alive, 0);
}

TEST_F(Mixer, AFloodOfSoundsPlaysOnlyTheCapAndFreesTheRest)
{
    for (int i = 0; i < vusk_audio_object::max_playing + 10; ++i)
        new counted_sound(2, 1);
    EXPECT_EQ(vusk_audio_object::playing_count(), vusk_audio_object::max_playing);
    EXPECT_EQ(mix(1)[0].left, vusk_audio_object::max_playing);
    mix(1);
    new counted_sound(1, 1);
    EXPECT_EQ(counted_sound::alive, 1);
    EXPECT_EQ(mix(1)[0].left, 1);
}

TEST_F(Mixer, TenThousandShortSoundsLeaveNothingBehind)
{
    for (int i = 0; i < 10000; ++i) {
        new counted_sound(1 + i % 5, 1);
        if (i % 7 == 0)
            mix(2);
    }
    mix(5);
    vusk_audio_object::clear_queues();
    EXPECT_EQ(counted_sound::alive, 0);
}

}
