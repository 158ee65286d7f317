// The sound pack inside the real main frame: the server's sound tag and
// "//soundtest" reach it while sound is on, its main tick plays what the pack
// decoded, and the frame's saves write its version file.
#include "alsa_file_sink.h"
#include "file_text.h"
#include "gui_client.h"
#include "gui_harness.h"
#include "sox_sound.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_download.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

using gui::client_frame;

namespace {

bool records(const std::string &versions, const std::string &filename, int version)
{
    return versions.find("    <filename>" + filename + "</filename>\n    <version>" + std::to_string(version) +
                         "</version>\n") != std::string::npos;
}

TEST(MainFrameSoundPack, SoundRequestsReachThePackAndEverySaveWritesItsVersions)
{
    alsa_file_sink device;
    TConfig::Instance()->SetSystemAudio(1);
    client_frame client;
    client.tick();
    client->stream_parser().reset();
    const std::string directory = global_config_directory_path;
    ASSERT_TRUE(make_ogg(directory + "/soundpack/door.ogg"));
    for (const char *name : {"bell", "chime", "gong"})
        ASSERT_TRUE(make_ogg(directory + "/soundpack/" + name + ".ogg"));
    const std::string versions = directory + "/sound_version.cfg";
    const std::string shown = client.shown_text();

    client.receive(";ssound;door 4;esound;");
    client.type("//soundtest bell 6");
    client.type("//soundtest");
    EXPECT_EQ(client.shown_text(), shown);
    wxTimerEvent save(const_cast<wxTimer &>(client->save_timer()));
    client->SaveTimer(save);
    // The settings writer's thread writes the file.
    EXPECT_TRUE(client.tick_until([&] { return records(read_file(versions), "soundpack/door.ogg", 4); }));
    EXPECT_TRUE(records(read_file(versions), "soundpack/bell.ogg", 6));

    // With sound off the pack hears nothing.
    TConfig::Instance()->SetSystemAudio(0);
    client.receive(";ssound;chime;esound;");
    TConfig::Instance()->SetSystemAudio(1);
    client.type("//soundtest gong");
    client.type("//quit");
    client.tick(4);
    EXPECT_TRUE(gui::wait_until([&] { return !client.alive(); }));
    EXPECT_TRUE(records(read_file(versions), "soundpack/gong.ogg", 1));
    EXPECT_EQ(read_file(versions).find("chime"), std::string::npos);
    EXPECT_EQ(vusk_download::Instance()->download("soundpack/late.ogg", nullptr, nullptr), 0)
        << "downloads end with the program";
}

// The output device's file as it grows: the stream runs unpaced, so each
// look reads on from where the last one stopped. The silence is compared a
// block at a time: a byte-by-byte look in this instrumented build is slower
// than the stream writes, and would reach a sound only long after it played.
class played_output {
public:
    explicit played_output(std::string path) : path_(std::move(path)), chunk_(block_bytes), silence_(block_bytes) {}

    // Whether the device has played anything but silence so far.
    bool holds_sound()
    {
        std::ifstream in(path_, std::ios::binary);
        in.seekg(read_);
        while (!heard_ && in.read(chunk_.data(), block_bytes).gcount() > 0) {
            const std::streamsize got = in.gcount();
            read_ += got;
            heard_ = memcmp(chunk_.data(), silence_.data(), size_t(got)) != 0;
        }
        return heard_;
    }

private:
    static constexpr std::streamsize block_bytes = 1 << 20;
    const std::string path_;
    std::vector<char> chunk_;
    const std::vector<char> silence_;
    std::streamoff read_ = 0;
    bool heard_ = false;
};

// Decoding ends on the pack's worker; the ticks that follow take the sound
// up and play it, with no further request.
TEST(MainFrameSoundPack, TheFirstRequestForAnEffectIsHeardOnceItIsDecoded)
{
    alsa_file_sink device(std::string(std::getenv("HOME")) + "/played.raw");
    TConfig::Instance()->SetSystemAudio(1);
    client_frame client;
    ASSERT_EQ(TConfig::Instance()->GetSystemAudio(), 1);
    client.tick();
    ASSERT_TRUE(make_ogg(std::string(global_config_directory_path) + "/soundpack/door.ogg"));
    played_output output(device.output());

    client.type("//soundtest door");
    EXPECT_FALSE(output.holds_sound()) << "nothing to play before the decoding ends";
    EXPECT_TRUE(client.tick_until([&] { return output.holds_sound(); }));
    TConfig::Instance()->SetSystemAudio(0);
}

} // namespace
