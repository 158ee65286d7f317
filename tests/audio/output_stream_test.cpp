// The whole road from `new` to the samples a device plays: the real audio
// library over ALSA, whose default device is a raw file in the test's HOME.
// The stream runs unpaced, so each test stops it itself.
#include "audio_driver_pa.h"
#include "audio_test_support.h"
#include "vusk_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

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

// Silence after each sound, so that its end shows in the file.
constexpr size_t gap_frames = 200;
const unsigned char gap[2 * gap_frames] = {};

bool silent() { return vusk_audio_object::playing_count() == 0; }

// Lets a new sound play to its end, then a gap.
bool play(vusk_audio_object *)
{
    if (!wait_until(silent))
        return false;
    new vusk_audio_playout_mono_memory(gap, sizeof gap);
    return wait_until(silent);
}

// The next sound after `position`, `length` frames long and followed by the
// gap's silence; moves past both. Empty when the file shows no such sound.
std::vector<frame> take_sound(const std::vector<frame> &frames, size_t &position, size_t length)
{
    auto start = std::find_if(frames.begin() + position, frames.end(), [](const frame &f) { return !f.silent(); });
    if (frames.end() - start < static_cast<long>(length + gap_frames) ||
        !std::all_of(start + length, start + length + gap_frames, [](const frame &f) { return f.silent(); }))
        return {};
    position = start - frames.begin() + length + gap_frames;
    return std::vector<frame>(start, start + length);
}

TEST_F(OutputStream, SoundsReachTheDeviceSampleForSampleAfterItsLeadingSilence)
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
    constexpr size_t leading_silence = 2048;
    size_t position = leading_silence;
    ASSERT_GT(frames.size(), position);

    const std::vector<frame> click = take_sound(frames, position, 352);
    ASSERT_FALSE(click.empty());
    EXPECT_EQ(click.front(), (frame{-813, -813}));
    EXPECT_EQ(click.back(), (frame{-1, -1}));
    EXPECT_EQ(take_sound(frames, position, 352), click) << "every click is the same";

    const std::vector<frame> bump = take_sound(frames, position, 661);
    ASSERT_FALSE(bump.empty());
    EXPECT_EQ(std::vector<frame>(bump.begin(), bump.begin() + 3),
              (std::vector<frame>{{74, 74}, {148, 148}, {222, 222}}));
    EXPECT_EQ(bump[110], (frame{8214, 8214}));
    EXPECT_EQ(bump[111], (frame{8140, 8140}));
    EXPECT_EQ(*std::min_element(bump.begin(), bump.end(), [](frame a, frame b) { return a.left < b.left; }),
              (frame{-8214, -8214}));

    const std::vector<frame> noise = take_sound(frames, position, 441);
    ASSERT_FALSE(noise.empty());
    EXPECT_FALSE(noise.back().silent());
    EXPECT_TRUE(std::any_of(noise.begin(), noise.end(), [](frame f) { return f.left != f.right; }));
    EXPECT_TRUE(std::all_of(noise.begin(), noise.end(), [](frame f) {
        return std::min(f.left, f.right) >= -2048 && std::max(f.left, f.right) <= 2047;
    }));
    EXPECT_EQ(take_sound(frames, position, 1).size(), 1u);

    EXPECT_EQ(take_sound(frames, position, 2), (std::vector<frame>{{10000, 10000}, {20000, 20000}}));
    EXPECT_EQ(take_sound(frames, position, 1), (std::vector<frame>{{10000, 20000}}));
    EXPECT_TRUE(std::all_of(frames.begin(), frames.begin() + leading_silence, [](frame f) { return f.silent(); }));
    EXPECT_TRUE(std::all_of(frames.begin() + position, frames.end(), [](frame f) { return f.silent(); }))
        << "nothing playing: silence";
}

// Stops come before and after the first callback; sounds come while output
// runs, while it is off and in between.
TEST_F(OutputStream, TwoHundredStartsAndStopsWithSoundsInBetween)
{
    int stopped_before_a_callback = 0;
    for (int cycle = 0; cycle < 200; ++cycle) {
        ASSERT_EQ(start_audio(), 1) << "cycle " << cycle;
        EXPECT_EQ(counted_sound::alive, 0) << "sounds made while output was off never play";
        ASSERT_EQ(start_audio(), 0) << "only a stopped output starts";
        for (int i = 0; i < cycle % 4; ++i)
            new counted_sound(1000000 * i);
        new vusk_audio_noise_tick;
        stopped_before_a_callback += vusk_audio_object::global_audio_starting;
        stop_audio();
        ASSERT_TRUE(output_off());
        ASSERT_EQ(counted_sound::alive, 0) << "sounds still playing are freed by the stop";
        stop_audio();
        new counted_sound(10);
        EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    }
    // The first callback comes after the device is primed, so most cycles
    // stop before it.
    EXPECT_GT(stopped_before_a_callback, 0);
}

TEST(NoOutputDevice, StartFailsQuietlyAndLeavesOutputOff)
{
    new counted_sound(10);
    EXPECT_EQ(start_audio(), 0);
    EXPECT_TRUE(output_off());
    EXPECT_STREQ(last_audio_failure().what, "no device available");
    new counted_sound(10);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    EXPECT_EQ(start_audio(), 0) << "a failed start can be tried again";
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
            new counted_sound(100000000);
            wait_until([&] { return sink.size() > 1000000; });
            shutdown_audio();
            std::exit(counted_sound::alive == 0 && output_off() ? 0 : 3);
        },
        testing::ExitedWithCode(0), "");
}

}
