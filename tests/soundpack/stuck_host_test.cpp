// The sound pack against a web host that holds requests open without an
// answer ("hang") or sends them a byte a second ("trickle"), while it serves
// other names at once: the names it serves are still fetched and heard, and
// the stuck ones are fetched once the host serves them again.
#include "sound_pack_fixture.h"

#include <functional>
#include <thread>

namespace {

constexpr int stuck_names = 300;

std::string numbered(const std::string &prefix, int i)
{
    return prefix + std::to_string(i);
}

class StuckHostTest : public SoundPackTest, public testing::WithParamInterface<const char *> {
protected:
    // Short time limits, so that stuck transfers end within the test.
    static download_timing quick_timing(int attempts)
    {
        download_timing timing;
        timing.attempts = attempts;
        timing.first_pause = std::chrono::milliseconds(20);
        timing.limits.total_timeout = std::chrono::seconds(1);
        return timing;
    }

    void ask(const std::string &prefix, int count, const std::string &words)
    {
        for (int i = 0; i < count; ++i)
            pack->parse_audio_tag((numbered(prefix, i) + words).c_str());
    }

    // Asks for the name again and again, as a server naming it now and then
    // would, after whatever else the server names each time, with the main
    // ticks taking up decodings between, until it plays (or a minute passed).
    samples heard_while_asked_for(const std::string &name, const std::function<void()> &named_before = {})
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (std::chrono::steady_clock::now() < deadline) {
            if (named_before)
                named_before();
            pack->parse_audio_tag(name.c_str());
            pack->take_up_decoded();
            if (vusk_audio_object::playing_count() > 0)
                return mixed_to_silence();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    // Has the host serve one sound, "served.ogg", under each name.
    void serve_sound(const std::vector<std::string> &names, const tone &sound)
    {
        ASSERT_TRUE(make_ogg(local("served.ogg"), sound));
        for (const std::string &name : names)
            server->serve("soundpack/" + name + ".ogg", read_file(local("served.ogg")));
    }
};

// The newest name goes first: once the host has the stuck names' first
// transfers, chime starts with the next transfer to end (which ends at its
// time limit), before the stuck names asked earlier and their further
// attempts.
TEST_P(StuckHostTest, ANameServedAtOnceIsHeardWhileHundredsOfOthersAreStuck)
{
    start_with(GetParam(), false, quick_timing(4));
    serve_sound({"chime"}, door_v3);
    ask("stuck", stuck_names, " 1 preload");
    ASSERT_TRUE(audio_test::wait_until([&] { return fetched().size() >= vusk_download::max_transfers; }));
    const size_t stuck_before = fetched().size();

    EXPECT_EQ(heard_while_asked_for("chime"), sound("served.ogg"));
    const std::vector<std::string> requests = fetched();
    const auto chime = std::find(requests.begin(), requests.end(), "GET /soundpack/chime.ogg HTTP/1.0");
    ASSERT_NE(chime, requests.end());
    EXPECT_LE(size_t(chime - requests.begin()), stuck_before + 2 * vusk_download::max_transfers)
        << "stuck names went first";
}

// A new name that the host holds comes before each request for chime: asked
// for again, chime counts as the newest name, and takes the first transfer
// place that a stuck name gives up.
TEST_P(StuckHostTest, ANameAskedForAgainIsFetchedWhileNewNamesKeepComing)
{
    start_with(GetParam(), false, quick_timing(1));
    serve_sound({"chime"}, door_v3);
    ask("stuck", int(vusk_download::max_transfers), " 1 preload");
    ASSERT_TRUE(audio_test::wait_until([&] { return fetched().size() == vusk_download::max_transfers; }));
    int new_names = 0;

    EXPECT_EQ(heard_while_asked_for("chime", [&] {
        pack->parse_audio_tag((numbered("new", new_names++) + " 1 preload").c_str());
    }),
              sound("served.ogg"));
    const std::vector<std::string> requests = fetched();
    const auto chime = std::find(requests.begin(), requests.end(), "GET /soundpack/chime.ogg HTTP/1.0");
    ASSERT_NE(chime, requests.end());
    EXPECT_LE(size_t(chime - requests.begin()), 2 * vusk_download::max_transfers) << "new names went first";
}

// The stuck names fail at their time limit, are not asked again within the
// pause, and are fetched and heard when asked for after it, once the host
// serves them.
TEST_P(StuckHostTest, StuckNamesAreFetchedWhenAskedForAgainOnceTheHostServesThem)
{
    constexpr int names = 3;
    start_with(GetParam(), false, quick_timing(1));
    ask("stuck", names, " 1 preload");
    wait_for_downloads();
    ASSERT_EQ(fetched().size(), size_t(names));
    EXPECT_TRUE(heard("stuck0").empty());
    wait_for_downloads();
    EXPECT_EQ(fetched().size(), size_t(names)) << "asked again within the pause";
    EXPECT_FALSE(fs::exists(local("soundpack/stuck0.ogg")));

    serve_sound({"stuck0", "stuck1", "stuck2"}, door_v2);
    service_minutes = 1;
    ask("stuck", names, " 1 preload");
    wait_for_downloads();
    EXPECT_EQ(fetched().size(), size_t(2 * names));
    for (int i = 0; i < names; ++i) {
        EXPECT_TRUE(heard(numbered("stuck", i).c_str()).empty()) << "decoding";
        EXPECT_EQ(heard_once_taken_up(), sound("served.ogg")) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(StuckHosts, StuckHostTest, testing::Values("hang", "trickle"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

// A newer version asked for while the service's queue is full of updates
// held by the host pushes the oldest update not started out of the queue.
// That effect is not silenced: it starts again from its file on disk, and
// the next request asks for the newer version again.
TEST_F(SoundPackTest, AnUpdatePushedOutOfTheQueuePlaysTheOldFileAndIsAskedForAgain)
{
    constexpr int effects = int(vusk_download::max_queued) + 1;
    start("files", vusk_soundpack::max_decoded_bytes, answers::held_until_released);
    ASSERT_TRUE(make_ogg(local("soundpack/s0.ogg"), door_v2));
    for (int i = 1; i < effects; ++i)
        fs::create_hard_link(local("soundpack/s0.ogg"), local("soundpack/" + numbered("s", i) + ".ogg"));
    for (int i = 0; i < effects; ++i)
        pack->parse_audio_tag((numbered("s", i) + " 1 preload").c_str());
    settle();
    for (int i = 0; i < effects - 1; ++i)
        pack->parse_audio_tag((numbered("s", i) + " 2 preload").c_str());
    ASSERT_TRUE(audio_test::wait_until([&] { return fetched().size() == vusk_download::max_transfers; }));

    pack->parse_audio_tag(numbered("s", effects - 1).append(" 2 preload").c_str());
    std::string pushed_out;
    ASSERT_TRUE(audio_test::wait_until([&] {
        for (int i = 0; i < effects && pushed_out.empty(); ++i)
            if (!service->is_queued(("soundpack/" + numbered("s", i) + ".ogg").c_str()))
                pushed_out = numbered("s", i);
        return !pushed_out.empty();
    }));
    // While the update is queued a request plays the old sound at once;
    // once it is pushed out, the sound is decoded from the file again.
    const std::string request = pushed_out + " 1";
    ASSERT_TRUE(audio_test::wait_until([&] { return heard(request.c_str()).empty(); }));
    EXPECT_EQ(heard_once_taken_up(), sound("soundpack/s0.ogg"));
    EXPECT_EQ(heard((pushed_out + " 2").c_str()), sound("soundpack/s0.ogg"));
    EXPECT_EQ(service->is_queued(("soundpack/" + pushed_out + ".ogg").c_str()), 1) << "the newer version";
    EXPECT_NE(saved_versions().find(record("soundpack/" + pushed_out + ".ogg", "1")), std::string::npos)
        << "the file on disk is the older version";
}

} // namespace
