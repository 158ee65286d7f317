// The bound on the effects the sound pack keeps: which effects a full list
// forgets, in which order, and what forgetting gives back.
#include "sound_pack_fixture.h"

#include "download_path.h"
#include "settings_files.h"
#include "sound_names.h"
#include "sound_version_file.h"

#include <climits>
#include <string>

namespace {

constexpr int effect_bound = int(vusk_soundpack::max_effects);
// What one read from the server may name before its downloads are waited
// for: fewer than the service queues.
constexpr int names_per_read = 200;
static_assert(names_per_read < int(vusk_download::max_queued), "a read must not fill the service's queue");

const tone short_tone{44100, 1, 0.01, 660};

std::string numbered(const std::string &prefix, int i)
{
    return prefix + std::to_string(i);
}

class SoundPackBoundTest : public SoundPackTest {
protected:
    // One sound under the names prefix0 to prefix<count - 1> in folder
    // ("soundpack/" or "soundpack/custom/"), linked, not copied.
    void put_sounds(const std::string &folder, const std::string &prefix, int count, const tone &sound = short_tone)
    {
        const std::string first = local(folder + numbered(prefix, 0) + ".ogg");
        ASSERT_TRUE(make_ogg(first, sound));
        for (int i = 1; i < count; ++i)
            fs::create_hard_link(first, local(folder + numbered(prefix, i) + ".ogg"));
    }

    // Has the host serve one sound under the names prefix0 onwards.
    void serve_sounds(const std::string &prefix, int count)
    {
        ASSERT_TRUE(make_ogg(local("served.ogg"), short_tone));
        const std::string content = read_file(local("served.ogg"));
        for (int i = 0; i < count; ++i)
            server->serve("soundpack/" + numbered(prefix, i) + ".ogg", content);
    }

    // Requests prefix<first> to prefix<end - 1>, each followed by words.
    void ask(const std::string &prefix, int first, int end, const std::string &words = " 1 preload")
    {
        for (int i = first; i < end; ++i)
            pack->parse_audio_tag((numbered(prefix, i) + words).c_str());
    }

    // Requests prefix0 to prefix<count - 1> once each, a read at a time, and
    // lets the downloads of each read end before the next.
    void ask_in_reads(const std::string &prefix, int count)
    {
        for (int first = 0; first < count; first += names_per_read) {
            ask(prefix, first, std::min(first + names_per_read, count));
            wait_for_downloads();
        }
    }
};

// The list full of effects in one state, each asked for before a new name,
// "chime", which is on the host. An effect that nothing waits for is
// forgotten to make room for it, so chime is fetched and heard. One that a
// download or a decoding points at stays; while every effect is such, a new
// name is refused, and taken again once they are free. The service queues
// only so many downloads: the list is topped up with effects that decode.
struct full_list {
    const char *name;
    sound_effect_state state;
    bool forgettable;
};

void PrintTo(const full_list &list, std::ostream *out)
{
    *out << list.name;
}

class FullEffectListTest : public SoundPackBoundTest, public testing::WithParamInterface<full_list> {
protected:
    // Puts the list full of effects in state (those of a download topped up
    // with decodings).
    void fill(sound_effect_state state)
    {
        switch (state) {
        case effect_unknown:
            // Decoded, then let go of at once: no byte fits the budget.
            start("files", 4);
            put_and_settle("soundpack/", effect_bound);
            return;
        case effect_downloading:
            start("files", vusk_soundpack::max_decoded_bytes, answers::held_until_released);
            ask("s", 0, queued_downloads);
            top_up_with_decodings();
            return;
        case effect_downloaded:
            start();
            serve_sounds("s", effect_bound);
            ask_in_reads("s", effect_bound);
            return;
        case effect_loaded:
            start();
            put_and_settle("soundpack/", effect_bound);
            return;
        case effect_updating:
            start("files", vusk_soundpack::max_decoded_bytes, answers::held_until_released);
            put_and_settle("soundpack/", queued_downloads);
            ask("s", 0, queued_downloads, " 2 preload");
            top_up_with_decodings();
            return;
        case effect_custom:
            start();
            put_and_settle("soundpack/custom/", effect_bound);
            return;
        case effect_decoding:
            start();
            put_sounds("soundpack/", "s", effect_bound);
            ask("s", 0, effect_bound);
            return;
        case effect_missing:
            start();
            ask_in_reads("s", effect_bound);
            return;
        case effect_failed:
            start();
            put_and_settle("soundpack/", effect_bound, {44100, 2, 0.01, 660});
            return;
        }
        FAIL() << "no way to fill the list with state " << state;
    }

    void put_and_settle(const std::string &folder, int count, const tone &sound = short_tone)
    {
        put_sounds(folder, "s", count, sound);
        ask("s", 0, count);
        settle();
    }

    void top_up_with_decodings()
    {
        put_sounds("soundpack/", "d", effect_bound - queued_downloads);
        ask("d", 0, effect_bound - queued_downloads);
    }

    // Chime is fetched, decoded and heard.
    void chime_is_fetched_and_heard()
    {
        EXPECT_TRUE(heard("chime").empty());
        wait_for_downloads();
        const std::vector<std::string> requests = fetched();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests.back(), chime_request);
        EXPECT_TRUE(heard("chime").empty()) << "decoding";
        EXPECT_EQ(heard_once_taken_up(), sound("served.ogg"));
    }

    static constexpr int queued_downloads = int(vusk_download::max_queued);
    const std::string chime_request = "GET /soundpack/chime.ogg HTTP/1.0";
};

TEST_P(FullEffectListTest, ANewNameIsTakenOnceAnEffectMayBeForgotten)
{
    fill(GetParam().state);
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/chime.ogg", read_file(local("served.ogg")));
    if (!GetParam().forgettable) {
        pack->parse_audio_tag("chime");
        settle();
        server->release();
        wait_for_downloads();
        const std::vector<std::string> requests = fetched();
        EXPECT_TRUE(mixed_to_silence().empty());
        EXPECT_EQ(std::count(requests.begin(), requests.end(), chime_request), 0)
            << "refused while every effect was busy";
    }
    chime_is_fetched_and_heard();
}

INSTANTIATE_TEST_SUITE_P(
    EffectStates, FullEffectListTest,
    testing::Values(full_list{"Unknown", effect_unknown, true}, full_list{"Downloading", effect_downloading, false},
                    full_list{"Downloaded", effect_downloaded, true}, full_list{"Loaded", effect_loaded, true},
                    full_list{"Updating", effect_updating, false}, full_list{"Custom", effect_custom, true},
                    full_list{"Decoding", effect_decoding, false}, full_list{"Missing", effect_missing, true},
                    full_list{"Failed", effect_failed, true}),
    [](const testing::TestParamInfo<full_list> &info) { return std::string(info.param.name); });

// Whether the effect holds a sound to play now.
bool held(vusk_soundpack &pack, const std::string &name)
{
    return pack.get_sound_data(name.c_str(), 1) != nullptr;
}

// s0 is asked for again after the others, just before the new name that
// finds the list full: the effects asked for longest ago make room for it.
TEST_F(SoundPackBoundTest, AFullListForgetsTheEffectsAskedForLongestAgo)
{
    put_sounds("soundpack/", "s", effect_bound + 1);
    start();
    ask("s", 0, effect_bound);
    settle();
    ask("s", 0, 1);
    ask("s", effect_bound, effect_bound + 1);

    EXPECT_TRUE(held(*pack, "s0")) << "asked for last";
    for (int i = effect_bound / 2; i < effect_bound; ++i)
        EXPECT_TRUE(held(*pack, numbered("s", i))) << i;
    EXPECT_FALSE(held(*pack, "s1")) << "asked for longest ago: forgotten, and decoded again";
}

// The budget holds exactly the full list's sounds: once the effects asked
// for longest ago are forgotten, their bytes make room for as many new
// sounds, and the rest stay held.
TEST_F(SoundPackBoundTest, ForgottenEffectsGiveTheirBytesBackToTheBudget)
{
    constexpr int new_names = int(vusk_soundpack::effects_forgotten_together);
    put_sounds("soundpack/", "s", effect_bound);
    put_sounds("soundpack/", "n", new_names);
    const long sound_bytes = long(sound("soundpack/s0.ogg").size() * sizeof(short));
    start("files", effect_bound * sound_bytes);
    ask("s", 0, effect_bound);
    settle();
    ask("n", 0, new_names);
    settle();

    for (int i = 0; i < new_names; ++i)
        EXPECT_TRUE(held(*pack, numbered("n", i))) << i;
    // From the most recently asked for down to the first that is gone (a
    // request for a forgotten one adds an effect, so none is asked past it).
    int oldest_held = effect_bound;
    while (oldest_held > 0 && held(*pack, numbered("s", oldest_held - 1)))
        --oldest_held;
    EXPECT_EQ(oldest_held, new_names) << "only the effects forgotten for the new names are gone";
}

// The largest file the program can write: as many records as it keeps, each
// with a pack path of the longest name a request may give, made of every
// kind of character a name may hold, and the longest version number. It is
// read back whole, within the reader's bound.
TEST(SoundVersionFileTest, TheLargestFileIsReadBackWhole)
{
    TempDir directory;
    const std::string path = directory.path() + "/sound_version.cfg";
    std::vector<sound_version_entry> records;
    for (size_t i = 0; i < max_sound_version_records; ++i) {
        std::string filename = "soundpack/" + std::to_string(i) + "_Az-09.b/";
        filename += std::string(max_download_name_length - filename.size() - 4, 'x') + ".ogg";
        ASSERT_TRUE(is_sound_pack_path(filename)) << filename;
        records.push_back({filename, INT_MIN});
    }

    ASSERT_EQ(save_sound_versions(path, records), "");
    EXPECT_LT(read_file(path).size(), settings_file_size_limit);
    const std::vector<sound_version_entry> read = load_sound_versions(path);
    ASSERT_EQ(read.size(), records.size());
    for (size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].filename, records[i].filename);
        EXPECT_EQ(read[i].version, records[i].version);
    }
}

// The pack had recorded as many versions as it keeps when new sounds are
// downloaded: the versions used longest ago are forgotten (not old0, used
// again first), and the file saved holds exactly the bound, in the order of
// use, and is read whole at the next start. A forgotten file still on disk
// is taken as the version its next request names, recorded without a
// download.
TEST_F(SoundPackBoundTest, PastTheirBoundTheVersionsUsedLongestAgoAreForgotten)
{
    constexpr int kept = int(max_sound_version_records);
    constexpr int new_names = 100;
    std::string versions = head;
    for (int i = 0; i < kept; ++i)
        versions += record("soundpack/" + numbered("old", i) + ".ogg", "1");
    write_file(local("sound_version.cfg"), versions);
    ASSERT_TRUE(make_ogg(local("soundpack/old1.ogg"), short_tone));
    start();
    serve_sounds("new", new_names);
    ask("old", 0, 1);
    ask_in_reads("new", new_names);

    std::string still_kept = head;
    for (int i = new_names + 1; i < kept; ++i)
        still_kept += record("soundpack/" + numbered("old", i) + ".ogg", "1");
    still_kept += record("soundpack/old0.ogg", "1");
    const std::string saved = saved_versions();
    EXPECT_EQ(saved.compare(0, still_kept.size(), still_kept), 0);
    // The downloads record their versions in the order they end.
    size_t length = still_kept.size();
    for (int i = 0; i < new_names; ++i) {
        const std::string downloaded = record("soundpack/" + numbered("new", i) + ".ogg", "1");
        EXPECT_NE(saved.find(downloaded, still_kept.size()), std::string::npos) << i;
        length += downloaded.size();
    }
    EXPECT_EQ(saved.size(), length);
    start_pack_again();
    EXPECT_EQ(saved_versions(), saved);

    ask("old", 1, 2, " 2 preload");
    const std::string least_recent = record("soundpack/" + numbered("old", new_names + 1) + ".ogg", "1");
    EXPECT_EQ(saved_versions(), head + saved.substr(head.size() + least_recent.size()) +
                                    record("soundpack/old1.ogg", "2"));
    const std::vector<std::string> requests = fetched();
    EXPECT_EQ(std::count(requests.begin(), requests.end(), "GET /soundpack/old1.ogg HTTP/1.0"), 0);
}

// A version file the reader refuses (larger than any the program writes) is
// said on standard error, and kept aside by the next save.
TEST_F(SoundPackBoundTest, ARefusedVersionFileIsSaidAndKeptAside)
{
    start();
    const std::string refused = head + std::string(settings_file_size_limit, '\n');
    write_file(local("sound_version.cfg"), refused);
    testing::internal::CaptureStderr();
    start_pack_again();
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_NE(said.find(local("sound_version.cfg")), std::string::npos) << said;
    EXPECT_NE(said.find("kept aside"), std::string::npos) << said;
    EXPECT_EQ(saved_versions(), head);
    EXPECT_EQ(read_file(local("sound_version.cfg.damaged")), refused);
}

} // namespace
