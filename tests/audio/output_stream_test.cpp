// The whole road from `new` to the samples a device plays: the real audio
// library over ALSA, whose default device is a raw file in the test's HOME.
#include "audio_driver_pa.h"
#include "audio_test_support.h"
#include "vusk_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

using namespace audio_test;

namespace {

bool output_off()
{
    return vusk_audio_object::global_audio_enabled == 0 && vusk_audio_object::global_audio_starting == 0 &&
           audio_stream == nullptr;
}

class OutputStream : public testing::Test {
protected:
    void TearDown() override
    {
        shutdown_audio();
        EXPECT_TRUE(output_off());
        EXPECT_EQ(counted_sound::alive, 0);
    }
    file_sink sink;
};

// Silence between two sounds, so that each one's end shows in the file.
constexpr int gap_frames = 200;
const unsigned char gap[2 * gap_frames] = {};

// Lets a new sound play to its end, then a gap.
bool play(vusk_audio_object *)
{
    if (!wait_until_silent())
        return false;
    new vusk_audio_playout_mono_memory(gap, sizeof gap);
    return wait_until_silent();
}

// The frames of the next sound, `length` long, after `position`; moves past it.
std::vector<frame> take_sound(const std::vector<frame> &frames, size_t &position, size_t length)
{
    const size_t start = next_sound(frames, position);
    if (start + length > frames.size())
        return {};
    position = start + length;
    return std::vector<frame>(frames.begin() + start, frames.begin() + start + length);
}

bool silent_from(const std::vector<frame> &frames, size_t position, size_t count)
{
    const size_t end = std::min(position + count, frames.size());
    return std::all_of(frames.begin() + std::min(position, end), frames.begin() + end,
                       [](const frame &f) { return f.silent(); });
}

TEST_F(OutputStream, WithNothingPlayingTheDeviceGetsSilenceAfterItsLeadingSilence)
{
    ASSERT_EQ(start_audio(), 1);
    ASSERT_TRUE(wait_until([&] { return sink.size() > 400000; }));
    EXPECT_EQ(vusk_audio_object::global_audio_starting, 0) << "the first callback has run";
    EXPECT_EQ(vusk_audio_object::global_audio_enabled, 1);
    stop_audio();
    const std::vector<frame> frames = sink.frames();
    ASSERT_GT(frames.size(), 100000u);
    EXPECT_EQ(next_sound(frames, 0), frames.size());
}

TEST_F(OutputStream, GeneratedSoundsAndPlayoutsReachTheDeviceSampleForSample)
{
    const unsigned char pcm[] = {0x10, 0x27, 0x20, 0x4e, 0x99, 0x01, 0x02};
    ASSERT_EQ(start_audio(), 1);
    ASSERT_TRUE(play(new vusk_audio_noise_tick));
    ASSERT_TRUE(play(new vusk_audio_noise_tick));
    ASSERT_TRUE(play(new vusk_audio_wall_bump));
    ASSERT_TRUE(play(new vusk_audio_white_noise(10)));
    ASSERT_TRUE(play(new vusk_audio_white_noise(0)));
    ASSERT_TRUE(play(new vusk_audio_playout_mono_memory(pcm, 5)));
    ASSERT_TRUE(play(new vusk_audio_playout_stereo_memory(pcm, 7)));
    stop_audio();

    const std::vector<frame> frames = sink.frames();
    ASSERT_GT(frames.size(), leading_silence_frames);
    size_t position = leading_silence_frames;
    EXPECT_TRUE(silent_from(frames, 0, leading_silence_frames));

    const std::vector<frame> click = take_sound(frames, position, 352);
    ASSERT_FALSE(click.empty());
    EXPECT_EQ(click.front(), (frame{-813, -813}));
    EXPECT_EQ(click.back(), (frame{-1, -1}));
    EXPECT_TRUE(silent_from(frames, position, gap_frames));
    EXPECT_EQ(take_sound(frames, position, 352), click);
    EXPECT_TRUE(silent_from(frames, position, gap_frames));

    const std::vector<frame> bump = take_sound(frames, position, 661);
    ASSERT_FALSE(bump.empty());
    EXPECT_EQ(std::vector<frame>(bump.begin(), bump.begin() + 3),
              (std::vector<frame>{{74, 74}, {148, 148}, {222, 222}}));
    EXPECT_EQ(bump[110], (frame{8214, 8214}));
    EXPECT_EQ(bump[111], (frame{8140, 8140}));
    EXPECT_EQ(bump.back(), (frame{370, 370}));
    EXPECT_TRUE(silent_from(frames, position, gap_frames));

    const std::vector<frame> noise = take_sound(frames, position, 441);
    ASSERT_FALSE(noise.empty());
    EXPECT_FALSE(noise.back().silent());
    EXPECT_TRUE(silent_from(frames, position, gap_frames));
    ASSERT_FALSE(take_sound(frames, position, 1).empty());
    EXPECT_TRUE(silent_from(frames, position, gap_frames));

    EXPECT_EQ(take_sound(frames, position, 2), (std::vector<frame>{{10000, 10000}, {20000, 20000}}));
    EXPECT_TRUE(silent_from(frames, position, gap_frames));
    EXPECT_EQ(take_sound(frames, position, 1), (std::vector<frame>{{10000, 20000}}));
    EXPECT_TRUE(silent_from(frames, position, gap_frames));
    EXPECT_EQ(next_sound(frames, position), frames.size());
}

TEST_F(OutputStream, SoundsStartingTogetherClampAtFullScale)
{
    constexpr int length = 100;
    ASSERT_EQ(start_audio(), 1);
    for (short level : {short(30000), short(-30000)}) {
        sound_gate gate;
        new gated_sound(gate, true, length, level);
        new gated_sound(gate, false, length, level);
        gate.released = true;
        ASSERT_TRUE(wait_until_silent());
    }
    stop_audio();

    const std::vector<frame> frames = sink.frames();
    size_t position = 0;
    const std::vector<frame> loud = take_sound(frames, position, length);
    EXPECT_EQ(loud, std::vector<frame>(length, frame{32767, 32767}));
    EXPECT_EQ(frames[position], (frame{0, 0}));
    const std::vector<frame> quiet = take_sound(frames, position, length);
    EXPECT_EQ(quiet, std::vector<frame>(length, frame{-32767, -32767}));
    EXPECT_EQ(next_sound(frames, position), frames.size());
}

TEST_F(OutputStream, StartsOnlyFromOffAndStopWhileOffDoesNothing)
{
    stop_audio();
    EXPECT_TRUE(output_off());
    ASSERT_EQ(start_audio(), 1);
    EXPECT_EQ(start_audio(), 0);
    EXPECT_NE(audio_stream, nullptr);
    stop_audio();
    EXPECT_TRUE(output_off());
    stop_audio();
    EXPECT_TRUE(output_off());
}

TEST_F(OutputStream, ASoundCreatedWhileOutputIsOffNeverPlays)
{
    new counted_sound(1000, 1000);
    ASSERT_EQ(start_audio(), 1);
    EXPECT_EQ(counted_sound::alive, 0) << "freed by the start";
    stop_audio();
    new counted_sound(1000, 1000);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    ASSERT_EQ(start_audio(), 1);
    EXPECT_EQ(counted_sound::alive, 0);
    stop_audio();
    EXPECT_EQ(next_sound(sink.frames(), 0), sink.frames().size());
}

TEST_F(OutputStream, StopBeforeTheFirstCallbackAllowsTheNextStart)
{
    int stopped_before_a_callback = 0;
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(start_audio(), 1) << "cycle " << cycle;
        for (int i = 0; i < cycle % 4; ++i)
            new counted_sound(500 * i, 100);
        if (cycle % 3 == 0)
            new vusk_audio_noise_tick;
        stopped_before_a_callback += vusk_audio_object::global_audio_starting;
        stop_audio();
        ASSERT_TRUE(output_off());
        ASSERT_EQ(counted_sound::alive, 0);
        if (cycle % 5 == 0)
            new counted_sound(10, 100);
    }
    // The stream's first callback comes after the device is primed, so most
    // cycles stop before it.
    EXPECT_GT(stopped_before_a_callback, 0);
}

TEST_F(OutputStream, SoundsStillPlayingAreFreedByTheStop)
{
    ASSERT_EQ(start_audio(), 1);
    for (int i = 0; i < 10; ++i)
        new counted_sound(100000000, 1);
    ASSERT_TRUE(wait_until([&] { return sink.size() > 1000000; }));
    EXPECT_EQ(counted_sound::alive, 10);
    stop_audio();
    EXPECT_EQ(counted_sound::alive, 0);
}

TEST(NoOutputDevice, StartFailsQuietlyAndLeavesOutputOff)
{
    remove_alsa_config();
    new counted_sound(10, 1);
    EXPECT_EQ(start_audio(), 0);
    EXPECT_TRUE(output_off());
    EXPECT_STREQ(last_audio_failure().what, "no device available");
    EXPECT_EQ(counted_sound::alive, 0);
    new counted_sound(10, 1);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    stop_audio();
    EXPECT_EQ(start_audio(), 0);
    shutdown_audio();
    EXPECT_EQ(counted_sound::alive, 0);
}

TEST(AudioShutdown, ExitingWhileSoundsPlayEndsCleanly)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            file_sink sink;
            if (start_audio() != 1)
                std::exit(2);
            for (int i = 0; i < 32; ++i)
                new vusk_audio_white_noise(60000);
            new counted_sound(100000000, 1);
            wait_until([&] { return sink.size() > 1000000; });
            shutdown_audio();
            std::exit(counted_sound::alive == 0 && output_off() ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

}
