// The mixer with the test in the audio thread's place: output is switched on
// without a stream, so sounds created one after another start together.
#include "audio_test_support.h"
#include "vusk_audio.h"

#include <gtest/gtest.h>

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

frame mix()
{
    frame f;
    vusk_audio_object::fetch_channel_data(&f.left, &f.right);
    return f;
}

TEST_F(Mixer, SumsEverySoundBeforeClampingSymmetrically)
{
    EXPECT_EQ(mix(), (frame{0, 0}));
    for (short level : {30000, 30000, -30000})
        new counted_sound(1, level);
    EXPECT_EQ(mix(), (frame{30000, 30000}));
    new counted_sound(1, 30000);
    new counted_sound(1, 30000);
    EXPECT_EQ(mix(), (frame{32767, 32767}));
    new counted_sound(1, -30000);
    new counted_sound(1, -30000);
    EXPECT_EQ(mix(), (frame{-32767, -32767}));
    EXPECT_EQ(mix(), (frame{0, 0}));
}

TEST_F(Mixer, AFloodPlaysOnlyTheCapAndTenThousandSoundsLeaveNothingBehind)
{
    for (int i = 0; i < vusk_audio_object::max_playing + 10; ++i)
        new counted_sound(2);
    EXPECT_EQ(vusk_audio_object::playing_count(), vusk_audio_object::max_playing);
    EXPECT_EQ(mix().left, vusk_audio_object::max_playing);

    for (int i = 0; i < 10000; ++i) {
        new counted_sound(1 + i % 5);
        if (i % 7 == 0)
            mix();
    }
    for (int i = 0; i < 5; ++i)
        mix();
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
    vusk_audio_object::clear_queues();
    EXPECT_EQ(counted_sound::alive, 0);
}

TEST_F(Mixer, ASoundCreatedWhileOutputIsOffNeverPlays)
{
    vusk_audio_object::global_audio_enabled = 0;
    new counted_sound(100);
    vusk_audio_object::global_audio_enabled = 1;
    EXPECT_EQ(mix(), (frame{0, 0}));
    new counted_sound(1);
    EXPECT_EQ(counted_sound::alive, 1) << "freed by the next sound";
}

}
