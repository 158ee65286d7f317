// The sound pack's requests, versions, downloads, decoding and budget.
#include "sound_pack_fixture.h"

#include "lowered_limit.h"
#include "settings_files.h"
#include "tag_dispatch.h"

#include <map>
#include <sys/stat.h>

namespace {

// Decoding runs on the pack's worker: the request that starts it is heard
// as soon as a main tick takes the decoded sound up.
TEST_F(SoundPackTest, APresentFilePlaysOnceDecodedUnlessPreloadedFromTheThirdWord)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("soundpack/bell.ogg"), door_v3));
    const samples door = sound("soundpack/door.ogg");
    ASSERT_EQ(door.size(), 13230u);
    start();

    EXPECT_TRUE(heard("door").empty()) << "nothing to play yet";
    EXPECT_EQ(saved_versions(), head + record("soundpack/door.ogg", "1")) << "the file is there: recorded at once";
    EXPECT_EQ(heard_once_taken_up(), door) << "the first request is heard once decoded";
    pack->parse_audio_tag("bell 1 preload");
    pack->parse_audio_tag("bell 1 quietly PRELOAD");
    settle();
    EXPECT_TRUE(mixed_to_silence().empty()) << "a preloaded effect is not played once decoded";
    EXPECT_TRUE(heard("door 1 preload").empty());
    EXPECT_TRUE(heard("door 1 quietly PRELOAD").empty());
    EXPECT_EQ(heard("door"), door);
    EXPECT_EQ(heard("door preload"), door) << "the second word is a version, never a flag";
    EXPECT_EQ(saved_versions(), head + record("soundpack/bell.ogg", "1") + record("soundpack/door.ogg", "1"))
        << "door used last";
    EXPECT_TRUE(fetched().empty());
}

// The save timer's save of the version file is written by the settings
// writer: the file lands with the versions, and a write that fails comes
// back as the failure of its save, the old file kept.
TEST_F(SoundPackTest, TheVersionFileSavedInTheBackgroundLandsOrItsFailureIsTakenUp)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("soundpack/bell.ogg"), door_v3));
    start();
    heard("door");
    pack->save_version_info_in_background();
    wait_for_background_saves();
    const std::string door_only = head + record("soundpack/door.ogg", "1");
    EXPECT_EQ(read_file(local("sound_version.cfg")), door_only);
    EXPECT_EQ(take_up_background_saves(), std::vector<std::vector<std::string>>{{}});
    heard("bell");
    {
        lowered_limit lowered(RLIMIT_FSIZE, 10);
        pack->save_version_info_in_background();
        wait_for_background_saves();
    }
    const std::vector<std::vector<std::string>> failures = take_up_background_saves();
    ASSERT_EQ(failures.size(), 1u);
    ASSERT_EQ(failures[0].size(), 1u);
    EXPECT_NE(failures[0][0].find("sound_version.cfg"), std::string::npos) << failures[0][0];
    EXPECT_EQ(read_file(local("sound_version.cfg")), door_only);
}

// The save timer's saves go on while downloads arrive: the download worker
// records versions while the GUI thread gathers them for the settings
// writer. Every save lands, and the last holds every version.
TEST_F(SoundPackTest, VersionSavesWhileDownloadsArriveLoseNoVersion)
{
    constexpr int names = 200;
    start();
    std::vector<std::string> records;
    for (int i = 0; i < names; ++i) {
        const std::string name = "n" + std::to_string(i);
        server->serve("soundpack/" + name + ".ogg", "not decoded here");
        pack->parse_audio_tag((name + " 7 preload").c_str());
        records.push_back(record("soundpack/" + name + ".ogg", "7"));
    }
    int saves = 0;
    for (bool last = false; !last; ++saves) {
        last = service->idle();
        pack->save_version_info_in_background();
        wait_for_background_saves();
    }

    EXPECT_EQ(take_up_background_saves(), std::vector<std::vector<std::string>>(size_t(saves)));
    const std::string saved = read_file(local("sound_version.cfg"));
    size_t length = head.size();
    for (const std::string &r : records) {
        EXPECT_NE(saved.find(r), std::string::npos) << r;
        length += r.size();
    }
    EXPECT_EQ(saved.size(), length);
}

TEST_F(SoundPackTest, AMissingFileIsFetchedAndItsVersionRecordedOnlyOnArrival)
{
    start();
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/door.ogg", read_file(local("served.ogg")));

    EXPECT_TRUE(heard("door 2").empty());
    EXPECT_EQ(saved_versions(), head) << "nothing recorded before the file is there";
    wait_for_downloads();
    EXPECT_EQ(saved_versions(), head + record("soundpack/door.ogg", "2"));
    EXPECT_TRUE(heard("door 2").empty()) << "decoding";
    EXPECT_EQ(heard_once_taken_up(), sound("served.ogg"));
    EXPECT_EQ(heard("door 2"), sound("served.ogg"));
    EXPECT_EQ(fetched(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
}

// The old sound keeps playing from its buffer while the new version is
// fetched, decoded and taken up in its place (AddressSanitizer watches the
// old buffer); once the new file is there, the old sound is not started
// again: the requests while it decodes hear the new one as it is taken up.
TEST_F(SoundPackTest, ANewerVersionIsFetchedWhileTheOldSoundPlaysOn)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("v3.ogg"), door_v3));
    const samples old_door = sound("soundpack/door.ogg");
    const samples new_door = sound("v3.ogg");
    write_file(local("sound_version.cfg"), head + record("soundpack/door.ogg", "2"));
    start();
    server->serve("soundpack/door.ogg", read_file(local("v3.ogg")));

    pack->parse_audio_tag("door 3 preload");
    settle();
    EXPECT_TRUE(fetched().empty()) << "the file on disk is used first";
    pack->parse_audio_tag("door 3"); // the old sound, and the download
    constexpr size_t played_before = 1000;
    for (size_t i = 0; i < played_before; ++i) {
        short left, right;
        vusk_audio_object::fetch_channel_data(&left, &right);
        ASSERT_EQ(left, old_door[i]);
    }
    wait_for_downloads();
    pack->parse_audio_tag("door 3"); // waits for the new sound to decode
    EXPECT_EQ(vusk_audio_object::playing_count(), 1) << "the replaced version is not started again";
    EXPECT_EQ(pack->get_sound_data("door", 3), nullptr) << "nor served while the new one decodes";
    pack->parse_audio_tag("door 3");
    EXPECT_EQ(vusk_audio_object::playing_count(), 1);
    settle(); // the new sound, once for both requests
    pack->parse_audio_tag("door 3"); // the new sound

    auto at = [](const samples &s, size_t i) { return i < s.size() ? s[i] : 0; };
    samples expected;
    for (size_t i = played_before; i < old_door.size(); ++i)
        expected.push_back(short(std::clamp(old_door[i] + 2 * at(new_door, i - played_before), -32767, 32767)));
    EXPECT_EQ(mixed_to_silence(), expected);
    EXPECT_EQ(heard("door 3"), new_door);
    EXPECT_EQ(saved_versions(), head + record("soundpack/door.ogg", "3"));
    EXPECT_EQ(fetched(), std::vector<std::string>{"GET /soundpack/door.ogg HTTP/1.0"});
}

TEST_F(SoundPackTest, HighVersionsAndCustomFilesNeedNoDownload)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("soundpack/custom/bell.ogg"), door_v3));
    write_file(local("sound_version.cfg"), head + record("soundpack/door.ogg", "1000"));
    start();
    pack->parse_audio_tag("door 3 preload");
    pack->parse_audio_tag("sub/bell 5 preload");
    settle();

    EXPECT_EQ(heard("door 3"), sound("soundpack/door.ogg"));
    EXPECT_EQ(heard("sub/bell 5"), sound("soundpack/custom/bell.ogg"));
    EXPECT_EQ(heard("sub/bell 9"), sound("soundpack/custom/bell.ogg"));
    EXPECT_EQ(saved_versions(), head + record("soundpack/door.ogg", "3"));
    EXPECT_TRUE(fetched().empty());
}

TEST_F(SoundPackTest, UnusableFilesAndFailedDownloadsStaySilent)
{
    ASSERT_TRUE(make_ogg(local("soundpack/stereo.ogg"), {44100, 2, 0.3, 440}));
    ASSERT_TRUE(make_ogg(local("soundpack/slow.ogg"), {22050, 1, 0.3, 440}));
    ASSERT_TRUE(make_ogg(local("soundpack/custom/long.ogg"), {44100, 1, 10.0, 440}));
    ASSERT_EQ(mkfifo(local("soundpack/pipe.ogg").c_str(), 0600), 0);
    start("notfound");

    for (const char *request : {"stereo", "slow", "long", "pipe"})
        EXPECT_TRUE(heard(request).empty()) << request;
    settle();
    EXPECT_TRUE(mixed_to_silence().empty()) << "nor once their decoding failed";
    for (const char *request : {"stereo 2", "slow", "long 2", "long 3", "pipe"})
        EXPECT_TRUE(heard(request).empty()) << request;
    wait_for_downloads();
    for (const char *request : {"pipe 4", "stereo 5", "long 6"})
        EXPECT_TRUE(heard(request).empty()) << request;
    settle();
    wait_for_downloads();
    // An unusable custom file and a FIFO leave the pack's own file to be
    // fetched, a new version an unusable one; each name once only.
    std::vector<std::string> requests = fetched();
    std::sort(requests.begin(), requests.end());
    EXPECT_EQ(requests, (std::vector<std::string>{"GET /soundpack/long.ogg HTTP/1.0", "GET /soundpack/pipe.ogg HTTP/1.0",
                                                  "GET /soundpack/stereo.ogg HTTP/1.0"}));
}

// With room for three decoded effects, a fourth lets go of the least
// recently used one that is not playing; a playing one stays even when it
// is older, and one let go of decodes again when it is next asked for.
TEST_F(SoundPackTest, DecodedSoundsStayWithinTheBudget)
{
    std::map<std::string, samples> effects;
    for (const char *name : {"a", "b", "c", "d"}) {
        ASSERT_TRUE(make_ogg(local(std::string("soundpack/") + name + ".ogg"), door_v2));
        effects[name] = sound(std::string("soundpack/") + name + ".ogg");
    }
    start("files", long(3 * effects["a"].size() * sizeof(short)));
    for (const char *name : {"a", "b", "c"})
        pack->parse_audio_tag((name + std::string(" 1 preload")).c_str());
    settle();

    pack->parse_audio_tag("a"); // plays on while the others are used
    pack->parse_audio_tag("b 1 preload");
    pack->parse_audio_tag("c 1 preload");
    pack->parse_audio_tag("d 1 preload");
    settle();
    EXPECT_EQ(mixed_to_silence(), effects["a"]);

    EXPECT_EQ(heard("a"), effects["a"]);
    EXPECT_EQ(heard("c"), effects["c"]);
    EXPECT_EQ(heard("d"), effects["d"]);
    EXPECT_TRUE(heard("b").empty()) << "let go of, and decoding again";
    EXPECT_EQ(heard_once_taken_up(), effects["b"]);
    EXPECT_EQ(heard("b"), effects["b"]);
    EXPECT_TRUE(heard("a").empty()) << "now the least recently used";
    EXPECT_EQ(heard_once_taken_up(), effects["a"]);
    EXPECT_TRUE(fetched().empty());
}

// A decoded sound is taken up once, so the requests that came while it
// decoded are heard once, together; a request that found the older sound
// playing is not heard again.
TEST_F(SoundPackTest, RequestsDuringOneDecodingPlayItOnce)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    const samples door = sound("soundpack/door.ogg");
    start();

    for (const char *request : {"door", "door 1 preload", "door", "door 1"})
        pack->parse_audio_tag(request);
    EXPECT_EQ(heard_once_taken_up(), door);
    settle();
    EXPECT_TRUE(mixed_to_silence().empty());
}

// The clock stands still unless the test moves it: the age a request has
// when its decoding is taken up is exactly what the test made it.
TEST_F(SoundPackTest, ARequestTooOldWhenItsDecodingIsTakenUpPlaysNothing)
{
    ASSERT_TRUE(make_ogg(local("soundpack/late.ogg"), door_v2));
    for (const char *name : {"in_time", "asked_again"})
        fs::create_hard_link(local("soundpack/late.ogg"), local(std::string("soundpack/") + name + ".ogg"));
    const samples door = sound("soundpack/late.ogg");
    start();
    const auto tick = std::chrono::milliseconds(20);

    pack->parse_audio_tag("late");
    now += vusk_soundpack::max_play_delay + tick;
    settle();
    EXPECT_TRUE(mixed_to_silence().empty()) << "the event it belonged to is long past";
    EXPECT_EQ(heard("late"), door) << "decoded all the same";

    pack->parse_audio_tag("in_time");
    now += vusk_soundpack::max_play_delay;
    EXPECT_EQ(heard_once_taken_up(), door);

    pack->parse_audio_tag("asked_again");
    now += vusk_soundpack::max_play_delay + tick;
    pack->parse_audio_tag("asked_again");
    now += tick;
    EXPECT_EQ(heard_once_taken_up(), door) << "the latest request counts";
}

// Requests wait for at most as many decodings as the mixer plays sounds at
// once; a wait ends with its decoding whatever the outcome, and makes room.
TEST_F(SoundPackTest, RequestsWaitForABoundedNumberOfDecodings)
{
    const int unusable = vusk_soundpack::max_waiting_plays;
    ASSERT_TRUE(make_ogg(local("soundpack/u0.ogg"), {44100, 2, 0.1, 440}));
    for (int i = 1; i < unusable; ++i)
        fs::create_hard_link(local("soundpack/u0.ogg"), local("soundpack/u" + std::to_string(i) + ".ogg"));
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    ASSERT_TRUE(make_ogg(local("soundpack/bell.ogg"), door_v3));
    start();

    for (int i = 0; i < unusable; ++i)
        pack->parse_audio_tag(("u" + std::to_string(i)).c_str());
    pack->parse_audio_tag("door");
    settle();
    EXPECT_TRUE(mixed_to_silence().empty()) << "no room left to wait for door";
    EXPECT_EQ(heard("door"), sound("soundpack/door.ogg"));
    pack->parse_audio_tag("bell");
    EXPECT_EQ(heard_once_taken_up(), sound("soundpack/bell.ogg")) << "the failed decodings made room";
}

// The longest name the server may use fits the download service's limit.
TEST_F(SoundPackTest, AnEightyFiveCharacterNameIsFetchedAndPlayed)
{
    const std::string name(85, 'n');
    start();
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/" + name + ".ogg", read_file(local("served.ogg")));

    EXPECT_TRUE(heard(name.c_str()).empty());
    wait_for_downloads();
    pack->parse_audio_tag((name + " 1 preload").c_str());
    settle();
    EXPECT_EQ(heard(name.c_str()), sound("served.ogg"));
    EXPECT_EQ(fetched(), std::vector<std::string>{"GET /soundpack/" + name + ".ogg HTTP/1.0"});
}

// A record no request could look up is dropped: its name is not one a server
// may use, or it is not where the pack keeps its files. The later of two
// records of a name counts, in the place of its use.
TEST_F(SoundPackTest, TheVersionFileKeepsTheLatestUsableRecordOfEachNameInItsOrder)
{
    write_file(local("sound_version.cfg"),
               head + record("soundpack/a.ogg", "4") + "<version_info>\n<version>3</version>\n</version_info>\n" +
                   record("soundpack/zero.ogg", "0") + "<other>\n" + record("soundpack/nested.ogg", "2") +
                   "</other>\n" + record("soundpack/" + std::string(86, 'x') + ".ogg", "5") +
                   record("soundpack/b&amp;c.ogg", "-2") + record("soundpack/custom/d.ogg", "1") +
                   record("sounds/e.ogg", "1") + record("soundpack/f.wav", "1") + record("soundpack/b.ogg", "-2") +
                   record("soundpack/a.ogg", "7"));
    start();

    const std::string kept = head + record("soundpack/b.ogg", "-2") + record("soundpack/a.ogg", "7");
    EXPECT_EQ(saved_versions(), kept);
    EXPECT_EQ(saved_versions(), kept);
}

// A server naming thousands of sounds that neither the pack nor the host
// has: the pack forgets the least recently asked for of them, so a new name
// that exists is still fetched and heard, and one in the pack still plays.
TEST_F(SoundPackTest, ThousandsOfMissingNamesSilenceNoSoundThatExists)
{
    ASSERT_TRUE(make_ogg(local("soundpack/door.ogg"), door_v2));
    start();
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/bell.ogg", read_file(local("served.ogg")));
    constexpr int missing_names = 3000;

    for (int i = 0; i < missing_names; ++i)
        pack->parse_audio_tag(("missing" + std::to_string(i)).c_str());
    wait_for_downloads();
    EXPECT_TRUE(heard("bell").empty());
    wait_for_downloads();
    EXPECT_TRUE(heard("bell").empty()) << "decoding";
    EXPECT_EQ(heard_once_taken_up(), sound("served.ogg"));
    EXPECT_TRUE(heard("door").empty()) << "decoding";
    EXPECT_EQ(heard_once_taken_up(), sound("soundpack/door.ogg"));
    EXPECT_EQ(fetched().back(), "GET /soundpack/bell.ogg HTTP/1.0");
}

// While the host gives no answer the sound stays silent; a request after the
// pause asks again, and the sound arrives and plays.
TEST_F(SoundPackTest, ASoundTheHostDidNotAnswerForIsFetchedByARequestAfterThePause)
{
    start("files", vusk_soundpack::max_decoded_bytes, answers::held_past_time_out);
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    server->serve("soundpack/bell.ogg", read_file(local("served.ogg")));
    const std::string bell_request = "GET /soundpack/bell.ogg HTTP/1.0";

    EXPECT_TRUE(heard("bell").empty());
    wait_for_downloads();
    server->release();
    EXPECT_TRUE(heard("bell").empty());
    wait_for_downloads();
    EXPECT_EQ(fetched(), std::vector<std::string>{bell_request}) << "not asked again within the pause";
    service_minutes = 1;

    EXPECT_TRUE(heard("bell").empty());
    wait_for_downloads();
    EXPECT_TRUE(heard("bell").empty()) << "decoding";
    EXPECT_EQ(heard_once_taken_up(), sound("served.ogg"));
    EXPECT_EQ(fetched(), (std::vector<std::string>{bell_request, bell_request}));
}

// The player's own folder is never written or read through a server's name:
// a file fetched into it would replace the player's sound for every name
// with that basename, and a later version would overwrite the player's file.
TEST_F(SoundPackTest, NamesInThePlayersOwnFolderAreRefused)
{
    ASSERT_TRUE(make_ogg(local("soundpack/custom/kept.ogg"), door_v2));
    const std::string players_file = read_file(local("soundpack/custom/kept.ogg"));
    start();
    ASSERT_TRUE(make_ogg(local("served.ogg"), door_v3));
    for (const char *path : {"soundpack/custom/planted.ogg", "soundpack/custom/kept.ogg", "soundpack/custom/a/b.ogg"})
        server->serve(path, read_file(local("served.ogg")));

    for (const char *request : {"custom/planted", "custom/kept 2", "custom/kept 3", "custom/a/b"})
        EXPECT_TRUE(heard(request).empty()) << request;
    settle();
    wait_for_downloads();

    EXPECT_TRUE(mixed_to_silence().empty());
    EXPECT_TRUE(fetched().empty());
    EXPECT_FALSE(fs::exists(local("soundpack/custom/planted.ogg")));
    EXPECT_EQ(read_file(local("soundpack/custom/kept.ogg")), players_file);
    EXPECT_EQ(saved_versions(), head) << "no version for the player's files";
}

TEST_F(SoundPackTest, HostileNamesAreRefusedBeforeTheyTouchTheFileSystem)
{
    start();
    vusk_tag_dispatcher dispatcher;
    dispatcher.owners.sound = pack.get();

    for (const char *name : {"", " door", "../door", "a/../../door", "/etc/passwd", "a//b", "a/", "door\x80", "do or",
                             "door;", "a\\b", "..", "x..y", "~/door"})
        EXPECT_EQ(pack->get_sound_data(name, 1), nullptr) << name;
    EXPECT_EQ(pack->get_sound_data(std::string(86, 'd').c_str(), 1), nullptr);
    dispatcher.process_tagged_data("sound", "", 1); // "//soundtest" without a name
    wait_for_downloads();

    EXPECT_TRUE(fetched().empty());
    EXPECT_EQ(std::distance(fs::recursive_directory_iterator(root.path()), fs::recursive_directory_iterator()), 1)
        << "nothing but the configuration directory, and nothing in it";
}

} // namespace
