// The sound pack with real Ogg files made by sox, Tremor decoding them, a
// real web host for the downloads, and the mixer run by hand in the audio
// thread's place, so that what a request plays can be read back frame by
// frame.
#include "vusk_soundpack.h"

#include "http_server.h"
#include "sound_names.h"
#include "sox_sound.h"
#include "tag_dispatch.h"
#include "temp_home.h"
#include "vusk_audio_base.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const tone door_v2{44100, 1, 0.3, 440};
const tone door_v3{44100, 1, 0.2, 880};

std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::string version_record(const std::string &filename, const std::string &version)
{
    return "<version_info>\n    <filename>" + filename + "</filename>\n    <version>" + version +
           "</version>\n</version_info>\n";
}

const char version_file_head[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                 "\n"
                                 "<comment>\n"
                                 "\tThis file contains version info for offical Varn Ossic sound effects.\n"
                                 "\tTo create a custom sound pack, create a folder named 'custom' in the\n"
                                 "\t'soundpack' folder and place your .ogg files directly in the 'custom'\n"
                                 "\tfolder.\n"
                                 "</comment>\n"
                                 "\n";

class SoundPackTest : public testing::Test {
protected:
    void SetUp() override { vusk_audio_object::global_audio_enabled = 1; }
    void TearDown() override
    {
        vusk_audio_object::global_audio_enabled = 0;
        vusk_audio_object::clear_queues();
    }

    // The web host, the service and the pack; the version file (if any) must
    // be in place before.
    void start(const char *mode = "files")
    {
        server = std::make_unique<http_test_server>(mode);
        download_timing timing;
        timing.attempts = 2;
        timing.first_pause = std::chrono::milliseconds(10);
        timing.limits.stall_timeout_s = 1;
        service = std::make_unique<vusk_download>(config.path(), "127.0.0.1", server->port(), timing);
        pack = std::make_unique<vusk_soundpack>(config.path(), *service);
    }

    std::string local(const std::string &relative) const { return config.path() + "/" + relative; }

    void write_version_file(const std::string &records) const
    {
        std::ofstream(local("sound_version.cfg"), std::ios::binary) << version_file_head << records;
    }

    std::string saved_versions()
    {
        pack->save_version_info();
        return read_file(local("sound_version.cfg"));
    }

    // Mixes until nothing plays; the mono samples heard (a frame whose two
    // sides differ fails the test). The last sound ends on a call that adds
    // nothing: that frame is not counted.
    static std::vector<short> mixed_to_silence()
    {
        std::vector<short> samples;
        while (vusk_audio_object::playing_count() > 0) {
            short left = 0, right = 0;
            vusk_audio_object::fetch_channel_data(&left, &right);
            EXPECT_EQ(left, right);
            samples.push_back(left);
        }
        if (!samples.empty())
            samples.pop_back();
        return samples;
    }

    std::vector<short> heard(const char *request)
    {
        pack->parse_audio_tag(request);
        return mixed_to_silence();
    }

    // Returns once every download asked for so far has ended and called
    // back: transfers and callbacks run in order on one thread, so a marker
    // request's callback comes last.
    void wait_for_downloads()
    {
        struct marker {
            std::mutex mutex;
            std::condition_variable done;
            bool called = false;
        } m;
        const std::string name = "marker" + std::to_string(++markers);
        auto callback = [](void *data, int) {
            marker &m = *static_cast<marker *>(data);
            std::lock_guard<std::mutex> lock(m.mutex);
            m.called = true;
            m.done.notify_all();
        };
        ASSERT_EQ(service->download(name.c_str(), callback, &m), 1);
        std::unique_lock<std::mutex> lock(m.mutex);
        ASSERT_TRUE(m.done.wait_for(lock, std::chrono::seconds(60), [&] { return m.called; }));
    }

    // The sound requests the host saw (markers left out).
    std::vector<std::string> sound_requests() const
    {
        std::vector<std::string> requests = server->requests();
        requests.erase(std::remove_if(requests.begin(), requests.end(),
                                      [](const std::string &r) { return r.find("/marker") != std::string::npos; }),
                       requests.end());
        return requests;
    }

    TempDir config;
    std::unique_ptr<http_test_server> server;
    std::unique_ptr<vusk_download> service;
    std::unique_ptr<vusk_soundpack> pack;
    int markers = 0;
};

TEST_F(SoundPackTest, APresentFileIsPlayedAndItsVersionRecordedAtOnce)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    const std::vector<short> door = decoded_samples(local("soundpack/door.ogg"));
    ASSERT_EQ(door.size(), 13230u);
    start();

    EXPECT_EQ(heard("door"), door);
    EXPECT_EQ(heard("door 1 loud"), door);
    EXPECT_EQ(saved_versions(), version_file_head + version_record("soundpack/door.ogg", "1"));
    EXPECT_TRUE(sound_requests().empty());
}

TEST_F(SoundPackTest, PreloadFromTheThirdWordLoadsWithoutPlaying)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    const std::vector<short> door = decoded_samples(local("soundpack/door.ogg"));
    start();

    EXPECT_TRUE(heard("door 1 preload").empty());
    EXPECT_TRUE(heard("door 1 quietly PRELOAD").empty());
    // As the second word it is no flag: version 1, played.
    EXPECT_EQ(heard("door preload"), door);
}

TEST_F(SoundPackTest, AMissingFileIsFetchedAndItsVersionRecordedOnlyOnArrival)
{
    start();
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/door.ogg", read_file(local("served.ogg")));

    EXPECT_TRUE(heard("door 2").empty());
    EXPECT_EQ(saved_versions(), version_file_head) << "nothing recorded before the file is there";
    EXPECT_TRUE(heard("door 2").empty()) << "still on its way";
    wait_for_downloads();

    EXPECT_EQ(heard("door 2"), decoded_samples(local("served.ogg")));
    EXPECT_EQ(saved_versions(), version_file_head + version_record("soundpack/door.ogg", "2"));
    EXPECT_EQ(sound_requests(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
}

// The old sound keeps playing from its buffer while the new version is
// fetched and loaded over it (AddressSanitizer watches the old buffer).
TEST_F(SoundPackTest, ANewerVersionIsFetchedWhileTheOldSoundPlaysOn)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("v3.ogg"), door_v3));
    const std::vector<short> old_door = decoded_samples(local("soundpack/door.ogg"));
    const std::vector<short> new_door = decoded_samples(local("v3.ogg"));
    write_version_file(version_record("soundpack/door.ogg", "2"));
    start();
    server->serve("soundpack/door.ogg", read_file(local("v3.ogg")));

    pack->parse_audio_tag("door 3"); // the old sound now, no download yet
    EXPECT_TRUE(sound_requests().empty());
    constexpr size_t played_before = 1000;
    for (size_t i = 0; i < played_before; ++i) {
        short left, right;
        vusk_audio_object::fetch_channel_data(&left, &right);
        ASSERT_EQ(left, old_door[i]);
    }
    pack->parse_audio_tag("door 3"); // the old sound again, and the download
    wait_for_downloads();
    pack->parse_audio_tag("door 3"); // the new file, loaded over the old

    // The three sounds mixed: the first from where it was, the two others
    // from their starts.
    auto sample = [](const std::vector<short> &sound, size_t i) { return i < sound.size() ? sound[i] : 0; };
    std::vector<short> expected;
    for (size_t i = 0; i < std::max(old_door.size(), new_door.size()); ++i) {
        const int sum = sample(old_door, played_before + i) + sample(old_door, i) + sample(new_door, i);
        expected.push_back(short(std::clamp(sum, -32767, 32767)));
    }
    EXPECT_EQ(mixed_to_silence(), expected);

    EXPECT_EQ(heard("door 3"), new_door);
    EXPECT_EQ(saved_versions(), version_file_head + version_record("soundpack/door.ogg", "3"));
    EXPECT_EQ(sound_requests(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
}

TEST_F(SoundPackTest, ARecordOfAThousandOrMoreIsReplacedWithoutADownload)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    write_version_file(version_record("soundpack/door.ogg", "1000"));
    start();

    EXPECT_EQ(heard("door 3"), decoded_samples(local("soundpack/door.ogg")));
    EXPECT_EQ(saved_versions(), version_file_head + version_record("soundpack/door.ogg", "3"));
    EXPECT_TRUE(sound_requests().empty());
}

TEST_F(SoundPackTest, TheCustomFileWinsAndIsNeverVersionedOrFetched)
{
    ASSERT_TRUE(make_ogg(local("soundpack/custom/door.ogg"), door_v3));
    ASSERT_TRUE(make_ogg(local("soundpack/sub/door.ogg"), door_v2));
    write_version_file(version_record("soundpack/sub/door.ogg", "2"));
    start();

    const std::vector<short> custom = decoded_samples(local("soundpack/custom/door.ogg"));
    EXPECT_EQ(heard("sub/door 5"), custom);
    EXPECT_EQ(heard("sub/door 9"), custom);
    EXPECT_EQ(saved_versions(), version_file_head + version_record("soundpack/sub/door.ogg", "2"));
    EXPECT_TRUE(sound_requests().empty());
}

TEST_F(SoundPackTest, StereoAndOtherRatesFailAndPlayNothingWithoutADownload)
{
    ASSERT_TRUE(make_ogg(local("soundpack/stereo.ogg"), {44100, 2, 0.3, 440}));
    ASSERT_TRUE(make_ogg(local("soundpack/slow.ogg"), {22050, 1, 0.3, 440}));
    ASSERT_TRUE(make_ogg(local("soundpack/custom/long.ogg"), {44100, 1, 10.0, 440}));
    start();

    for (const char *request : {"stereo", "slow", "stereo", "long"})
        EXPECT_TRUE(heard(request).empty()) << request;
    EXPECT_EQ(pack->get_sound_data("stereo", 1), nullptr);
    wait_for_downloads();
    EXPECT_EQ(sound_requests(), std::vector<std::string>{"GET /soundpack/long.ogg HTTP/1.0"})
        << "an unusable custom file leaves the pack's own to be fetched";
}

TEST_F(SoundPackTest, AFailedDownloadStaysSilentWhateverVersionsFollow)
{
    start("notfound");
    EXPECT_TRUE(heard("door 2").empty());
    wait_for_downloads();
    for (const char *request : {"door 2", "door 3", "door 1"})
        EXPECT_TRUE(heard(request).empty()) << request;
    wait_for_downloads();
    EXPECT_EQ(sound_requests(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
    EXPECT_FALSE(fs::exists(local("soundpack/door.ogg")));
}

TEST_F(SoundPackTest, TheVersionFileLosesOnlyUnusableRecordsAndKeepsItsOrder)
{
    write_version_file(version_record("soundpack/a.ogg", "4") + "<version_info>\n<version>3</version>\n</version_info>\n" +
                       version_record("soundpack/zero.ogg", "0") + "<other>\n" + version_record("soundpack/nested.ogg", "2") + "</other>\n" +
                       version_record("soundpack/" + std::string(90, 'x'), "5") +
                       version_record("soundpack/b&amp;c.ogg", "-2") + version_record("soundpack/a.ogg", "7"));
    start();

    const std::string kept = version_file_head + version_record("soundpack/a.ogg", "4") +
                             version_record("soundpack/b&amp;c.ogg", "-2") + version_record("soundpack/a.ogg", "7");
    EXPECT_EQ(saved_versions(), kept);
    EXPECT_EQ(saved_versions(), kept) << "saving twice keeps the order";
}

TEST_F(SoundPackTest, HostileNamesAreRefusedBeforeTheyTouchTheFileSystem)
{
    start();
    const std::string outside = fs::path(config.path()).parent_path().string();
    const long entries_outside = std::distance(fs::directory_iterator(outside), fs::directory_iterator());
    tag_owners owners;
    vusk_tag_dispatcher dispatcher;
    dispatcher.owners.sound = pack.get();

    for (const char *name : {"", " door", "../door", "a/../../door", "/etc/passwd", "a//b", "a/", "door\x80",
                             "do or", "door;", "a\\b", "..", "x..y", "~/door"})
        EXPECT_EQ(pack->get_sound_data(name, 1), nullptr) << name;
    EXPECT_EQ(pack->get_sound_data(std::string(86, 'd').c_str(), 1), nullptr);
    dispatcher.process_tagged_data("sound", "", 1); // "//soundtest" without a name
    pack->parse_audio_tag("   ");
    wait_for_downloads();

    EXPECT_TRUE(sound_requests().empty());
    EXPECT_FALSE(fs::exists(local("soundpack")));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), entries_outside);
    EXPECT_TRUE(is_valid_sound_name(std::string(85, 'd').c_str()));
    EXPECT_TRUE(is_valid_sound_name("Sub-dir/door_2.v1"));
}

TEST_F(SoundPackTest, OnlyRegularFilesAreOpened)
{
    fs::create_directories(local("soundpack"));
    ASSERT_EQ(mkfifo(local("soundpack/pipe.ogg").c_str(), 0600), 0);
    fs::create_directories(local("soundpack/dir.ogg"));
    start("notfound");

    EXPECT_TRUE(heard("pipe").empty());
    EXPECT_TRUE(heard("dir").empty());
    wait_for_downloads();
    EXPECT_EQ(sound_requests().size(), 2u) << "neither counts as a file";
}

} // namespace
