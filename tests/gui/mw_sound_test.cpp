// Sound output as the main frame switches it: started once the frame is
// built, switched off in the settings when it cannot start, and ended with
// the frame.
#include "audio_driver_pa.h"
#include "gui_client.h"
#include "null_sound_device.h"
#include "tqconfig.h"
#include "vusk_audio.h"
#include "vusk_audio_base.h"

#include <gtest/gtest.h>

using gui::client_frame;

namespace {

bool output_running()
{
    return vusk_audio_object::global_audio_enabled == 1 && audio_stream != nullptr;
}

// Sound on in the settings, as the frame finds them.
TConfig &sound_switched_on()
{
    TConfig &config = *TConfig::Instance();
    config.SetSystemAudio(1);
    config.config_update_pending = 0;
    return config;
}

TEST(MainFrameSound, WithoutADeviceSoundSwitchesItselfOffQuietly)
{
    TConfig &config = sound_switched_on();
    client_frame client;
    EXPECT_EQ(config.GetSystemAudio(), 0);
    EXPECT_EQ(config.config_update_pending, 1) << "the server learns that sound is off";
    EXPECT_FALSE(output_running());
    EXPECT_EQ(client.shown_text(), "") << "nothing is shown";

    config.SetSystemAudio(1);
    EXPECT_EQ(config.GetSystemAudio(), 0);
    new vusk_audio_noise_tick;
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
}

TEST(MainFrameSound, WithADeviceSoundRunsWithTheFrameAndFollowsTheSwitch)
{
    null_sound_device device;
    TConfig &config = sound_switched_on();
    {
        client_frame client;
        EXPECT_EQ(config.GetSystemAudio(), 1);
        EXPECT_TRUE(output_running());

        config.SetSystemAudio(0);
        EXPECT_FALSE(output_running());
        config.SetSystemAudio(1);
        EXPECT_EQ(config.GetSystemAudio(), 1);
        EXPECT_TRUE(output_running());
        new vusk_audio_white_noise(60000);
        EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    }
    EXPECT_EQ(vusk_audio_object::global_audio_enabled, 0);
    EXPECT_EQ(audio_stream, nullptr);
    EXPECT_EQ(vusk_audio_object::playing_count(), 0);
}

}
