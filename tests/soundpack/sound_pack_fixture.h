#ifndef VUSK_TEST_SOUND_PACK_FIXTURE_H
#define VUSK_TEST_SOUND_PACK_FIXTURE_H

// The sound pack with real Ogg files made by sox, Tremor decoding them on
// the pack's worker, a real web host, the mixer run by hand in the audio
// thread's place, so that what a request plays can be read back sample by
// sample, and a clock that moves only when a test moves it.

#include "vusk_soundpack.h"

#include "audio_test_support.h"
#include "file_text.h"
#include "http_server.h"
#include "sox_sound.h"
#include "vusk_audio_base.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using samples = std::vector<short>;

const tone door_v2{44100, 1, 0.3, 440};
const tone door_v3{44100, 1, 0.2, 880};

inline std::string record(const std::string &filename, const std::string &version)
{
    return "<version_info>\n    <filename>" + filename + "</filename>\n    <version>" + version +
           "</version>\n</version_info>\n";
}

const std::string head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n\n<comment>\n"
                         "\tThis file contains version info for offical Varn Ossic sound effects.\n"
                         "\tTo create a custom sound pack, create a folder named 'custom' in the\n"
                         "\t'soundpack' folder and place your .ogg files directly in the 'custom'\n"
                         "\tfolder.\n</comment>\n\n";

class SoundPackTest : public testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(config);
        vusk_audio_object::global_audio_enabled = 1;
    }
    void TearDown() override
    {
        // No callback may reach the pack once it is gone.
        if (service)
            service->stop();
        vusk_audio_object::global_audio_enabled = 0;
        vusk_audio_object::clear_queues();
    }

    // How the web host answers: at once, or only once released (at the
    // latest 20 s after the request), either past the service's time-out or
    // within it.
    enum class answers { at_once, held_past_time_out, held_until_released };

    // The web host, the service and the pack (which reads the version file).
    void start(const char *mode = "files", long byte_budget = vusk_soundpack::max_decoded_bytes,
               answers host_answers = answers::at_once)
    {
        download_timing timing;
        timing.attempts = 1;
        if (host_answers == answers::held_past_time_out)
            timing.limits.total_timeout = std::chrono::seconds(1);
        start_with(mode, host_answers != answers::at_once, timing, byte_budget);
    }

    // The same with the service's timing (its clock of minutes aside), and
    // a host that holds every request until released when hold is set.
    void start_with(const char *mode, bool hold, download_timing timing,
                    long byte_budget = vusk_soundpack::max_decoded_bytes)
    {
        server = std::make_unique<http_test_server>(mode, hold);
        timing.now = [this] { return std::chrono::steady_clock::time_point(std::chrono::minutes(service_minutes)); };
        service = std::make_unique<vusk_download>(config, "127.0.0.1", server->port(), timing);
        pack = std::make_unique<vusk_soundpack>(config, *service, byte_budget, [this] { return now; });
    }

    // The pack made again, as the next start makes it: it reads the version
    // file.
    void start_pack_again() { pack = std::make_unique<vusk_soundpack>(config, *service); }

    // Until every decoding started so far has ended and been taken up, as the
    // main ticks take it up.
    void settle()
    {
        ASSERT_TRUE(audio_test::wait_until([&] {
            pack->take_up_decoded();
            return !pack->decoding();
        }));
    }

    // What plays once the main ticks have taken up a decoding, without
    // another request; empty when nothing did by the time every decoding
    // ended.
    samples heard_once_taken_up()
    {
        audio_test::wait_until([&] {
            pack->take_up_decoded();
            return vusk_audio_object::playing_count() > 0 || !pack->decoding();
        });
        return mixed_to_silence();
    }

    std::string local(const std::string &relative) const { return config + "/" + relative; }
    samples sound(const std::string &relative) const { return decoded_samples(local(relative)); }

    std::string saved_versions()
    {
        pack->save_version_info();
        return read_file(local("sound_version.cfg"));
    }

    // Mixes until nothing plays. The last sound ends on a call that adds
    // nothing: that frame is not counted.
    static samples mixed_to_silence()
    {
        samples heard;
        while (vusk_audio_object::playing_count() > 0) {
            short left = 0, right = 0;
            vusk_audio_object::fetch_channel_data(&left, &right);
            EXPECT_EQ(left, right);
            heard.push_back(left);
        }
        if (!heard.empty())
            heard.pop_back();
        return heard;
    }

    samples heard(const char *request)
    {
        pack->parse_audio_tag(request);
        return mixed_to_silence();
    }

    // Until every download asked for so far has called back.
    void wait_for_downloads()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!service->idle() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ASSERT_TRUE(service->idle());
    }

    // The sound files the host was asked for.
    std::vector<std::string> fetched() const { return server->requests(); }

    // The configuration directory sits alone in a directory of its own, so
    // that anything written beside it shows.
    TempDir root;
    const std::string config = root.path() + "/config";
    std::unique_ptr<http_test_server> server;
    std::unique_ptr<vusk_download> service;
    std::unique_ptr<vusk_soundpack> pack;
    std::chrono::steady_clock::time_point now;
    // The clock of the service's pause after a host gave no answer (read on
    // its worker).
    std::atomic<int> service_minutes{0};
};

#endif
