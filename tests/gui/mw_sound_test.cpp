// Sound output as the main frame switches it: started once the frame is
// built, switched off in the settings when it cannot start, ended with the
// frame.
#include "audio_driver_pa.h"
#include "gui_client.h"
#include "alsa_file_sink.h"
#include "tqconfig.h"
#include "vusk_audio_base.h"

#include <gtest/gtest.h>

using gui::client_frame;

namespace {

bool output_running()
{
    return vusk_audio_object::global_audio_enabled == 1 && audio_stream != nullptr;
}

TEST(MainFrameSound, SoundFollowsTheSwitchAndEndsWithTheFrame)
{
    alsa_file_sink device;
    TConfig &config = *TConfig::Instance();
    config.SetSystemAudio(1);
    {
        client_frame client;
        EXPECT_TRUE(output_running());
        config.SetSystemAudio(0);
        EXPECT_FALSE(output_running());
        config.SetSystemAudio(1);
        EXPECT_TRUE(output_running());
    }
    EXPECT_EQ(audio_stream, nullptr);
}

TEST(MainFrameSound, WithoutADeviceSoundSwitchesItselfOffWithoutAWord)
{
    TConfig &config = *TConfig::Instance();
    config.SetSystemAudio(1);
    config.config_update_pending = 0;
    client_frame client;
    EXPECT_EQ(config.GetSystemAudio(), 0);
    EXPECT_EQ(config.config_update_pending, 1) << "the server learns that sound is off";
    EXPECT_EQ(client.shown_text(), "");
}

}
