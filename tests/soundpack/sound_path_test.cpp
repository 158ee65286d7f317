// The sound pack on the client's real roads: a tag from the server through
// the stream parser and the dispatcher, heard on a device (the real audio
// library writing to an ALSA file sink); the process-wide pack fetching
// from the web host of the command line; and random requests under the
// sanitizers.
#include "audio_driver_pa.h"
#include "audio_test_support.h"
#include "command_line.h"
#include "file_text.h"
#include "http_server.h"
#include "sox_sound.h"
#include "stream_parser.h"
#include "tag_dispatch.h"
#include "temp_home.h"
#include "tqconfig.h"
#include "tqconfig_files.h"
#include "vusk_audio_base.h"
#include "vusk_soundpack.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

using namespace audio_test;

namespace {

namespace fs = std::filesystem;

class quiet_display : public vusk_stream_sink {
public:
    void clear_all_displays_changed_flag() override {}
    void update_all_displays_changed_flag() override {}
    void display_socket_data(const char *, int) override {}
    void enable_local_echo() override {}
    void disable_local_echo() override {}
    void ring_bell() override {}
};

size_t occurrences(const std::vector<frame> &haystack, const std::vector<frame> &needle)
{
    size_t count = 0;
    for (auto at = haystack.begin(); (at = std::search(at, haystack.end(), needle.begin(), needle.end())) != haystack.end();
         at += needle.size())
        ++count;
    return count;
}

download_timing single_attempt()
{
    download_timing timing;
    timing.attempts = 1;
    return timing;
}

TEST(SoundPath, ASoundTagFromTheServerIsHeardOnTheDevice)
{
    TempDir config;
    file_sink device;
    ASSERT_TRUE(make_ogg(config.path() + "/soundpack/door.ogg"));
    std::vector<frame> door;
    for (short sample : decoded_samples(config.path() + "/soundpack/door.ogg"))
        door.push_back({sample, sample});
    refused_port nobody;
    vusk_download service(config.path(), "127.0.0.1", nobody.port(), single_attempt());
    vusk_soundpack pack(config.path(), service);
    vusk_tag_dispatcher dispatcher;
    dispatcher.owners.sound = &pack;
    quiet_display display;
    vusk_stream_parser parser(display, dispatcher);
    parser.reset();
    const std::string stream = "You open the door.\r\n;ssound;door;esound;";
    const std::string preload = ";ssound;door 1 preload;esound;";

    TConfig::Instance()->SetSystemAudio(0);
    ASSERT_EQ(start_audio(), 1);
    parser.process_socket_data(preload.data(), int(preload.size()));
    parser.process_socket_data(stream.data(), int(stream.size()));
    EXPECT_FALSE(pack.decoding());
    EXPECT_EQ(vusk_audio_object::playing_count(), 0) << "sound is off in the settings";
    TConfig::Instance()->SetSystemAudio(1);
    parser.process_socket_data(stream.data(), int(stream.size()));
    // The main ticks take up what the worker decoded.
    ASSERT_TRUE(wait_until([&] {
        pack.take_up_decoded();
        return !pack.decoding();
    }));
    ASSERT_TRUE(wait_until([] { return vusk_audio_object::playing_count() == 0; }));
    stop_audio();
    shutdown_audio();

    EXPECT_EQ(occurrences(device.frames(), door), 1u);
}

TEST(SoundPath, TheProcessWidePackFetchesFromTheWebHostOfTheCommandLine)
{
    TempDir config;
    http_test_server server;
    ASSERT_TRUE(make_ogg(config.path() + "/door.ogg"));
    server.serve("soundpack/door.ogg", read_file(config.path() + "/door.ogg"));
    connect_settings settings;
    settings.web_host = "127.0.0.1";
    settings.web_port = server.port();
    apply_connect_settings(settings);
    global_config_directory_path = config.path();

    EXPECT_EQ(vusk_soundpack::Instance()->get_sound_data("door", 1), nullptr);
    for (int i = 0; i < 6000 && !fs::exists(config.path() + "/soundpack/door.ogg"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    vusk_download::Instance()->stop();
    EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
}

// Random bytes and mutations of good requests: nothing crashes, and nothing
// is written but the pack's own files.
TEST(SoundPath, RandomRequestsStayInsideThePack)
{
    TempDir config;
    refused_port nobody;
    vusk_download service(config.path() + "/config", "127.0.0.1", nobody.port(), single_attempt());
    fs::create_directory(config.path() + "/config");
    vusk_soundpack pack(config.path() + "/config", service);
    std::mt19937 random(17);
    const std::string seeds[] = {"door", "door 3 preload", "sub/door 1000", "a-b_c.d 2", "door -5 x preload"};
    const std::string alphabet = "ab./-_ \t\n;0123456789\x80\xff%?#\\~";

    for (int round = 0; round < 3000; ++round) {
        std::string request = seeds[random() % std::size(seeds)];
        for (int edits = random() % 6; edits > 0; --edits) {
            const size_t at = random() % (request.size() + 1);
            request.insert(request.begin() + long(at), alphabet[random() % alphabet.size()]);
        }
        pack.parse_audio_tag(request.c_str());
    }
    service.stop();
    for (const auto &entry : fs::recursive_directory_iterator(config.path())) {
        const std::string relative = fs::relative(entry.path(), config.path()).string();
        EXPECT_TRUE(relative == "config" || relative.rfind("config/soundpack", 0) == 0) << relative;
        EXPECT_FALSE(entry.is_regular_file()) << relative << ": nothing was downloaded";
    }
}

} // namespace
