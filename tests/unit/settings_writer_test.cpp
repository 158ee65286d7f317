// The settings writer's thread: what it is given lands in order, all of it
// before stop() returns, and a move of old content that failed is not lost.
// The test script also runs these under ThreadSanitizer.
#include "settings_writer.h"

#include "file_text.h"
#include "lowered_limit.h"
#include "temp_home.h"
#include "watched_syncs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <set>
#include <future>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Each write its own save, numbered as the write.
settings_write write_of(const std::string &path, const std::string &content, unsigned long long sequence)
{
    return {path, content, {}, sequence, sequence};
}

// Takes outcomes while the writer's thread still adds to them, until they
// account for the writes asked for (one outcome serves the writes it
// replaced too) or nothing is left to write.
std::vector<settings_write_outcome> take_all(settings_writer &writer, size_t writes)
{
    std::vector<settings_write_outcome> all;
    size_t accounted = 0;
    while (accounted < writes) {
        std::vector<settings_write_outcome> taken = writer.take_outcomes();
        if (taken.empty()) {
            writer.wait_until_written();
            taken = writer.take_outcomes();
            if (taken.empty())
                break;
        }
        for (settings_write_outcome &outcome : taken) {
            accounted += 1 + outcome.replaced_saves.size();
            all.push_back(std::move(outcome));
        }
    }
    return all;
}

} // namespace

TEST(SettingsWriter, WritesOfOneFileLandInTheOrderAsked)
{
    TempDir directory;
    settings_writer writer;
    const std::vector<std::string> paths = {directory.path() + "/a.cfg", directory.path() + "/b.cfg"};
    const int versions = 60;
    unsigned long long sequence = 0;
    for (int version = 0; version < versions; ++version)
        for (const std::string &path : paths)
            writer.write(write_of(path, path + " version " + std::to_string(version), ++sequence));
    const std::vector<settings_write_outcome> outcomes = take_all(writer, sequence);
    std::map<std::string, unsigned long long> last_of_path;
    std::set<unsigned long long> saves;
    for (const settings_write_outcome &outcome : outcomes) {
        EXPECT_GT(outcome.write.sequence, last_of_path[outcome.write.path]);
        last_of_path[outcome.write.path] = outcome.write.sequence;
        EXPECT_EQ(outcome.failure, "");
        saves.insert(outcome.write.save);
        saves.insert(outcome.replaced_saves.begin(), outcome.replaced_saves.end());
    }
    EXPECT_EQ(saves.size(), sequence);
    for (const std::string &path : paths)
        EXPECT_EQ(read_file(path), path + " version " + std::to_string(versions - 1));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), std::filesystem::directory_iterator()),
              2);
}

TEST(SettingsWriter, StopWritesEverythingAskedForAndALaterWriteStartsAgain)
{
    TempDir directory;
    settings_writer writer;
    const int files = 40;
    for (int file = 0; file < files; ++file)
        writer.write(write_of(directory.path() + "/" + std::to_string(file), "content", file));
    writer.stop();
    for (int file = 0; file < files; ++file)
        EXPECT_EQ(read_file(directory.path() + "/" + std::to_string(file)), "content") << file;
    EXPECT_EQ(writer.take_outcomes().size(), size_t(files));

    writer.write(write_of(directory.path() + "/later", "later", files));
    writer.wait_until_written();
    EXPECT_EQ(read_file(directory.path() + "/later"), "later");
}

TEST(SettingsWriter, AFailureComesBackWithItsWrite)
{
    TempDir directory;
    settings_writer writer;
    settings_write write = write_of(directory.path() + "/missing/x.cfg", "x", 7);
    writer.write(write);
    writer.wait_until_written();
    const std::vector<settings_write_outcome> outcomes = writer.take_outcomes();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].write.sequence, 7u);
    EXPECT_EQ(outcomes[0].write.save, 7u);
    EXPECT_EQ(outcomes[0].failure.rfind("cannot create a temporary file for " + write.path, 0), 0u)
        << outcomes[0].failure;
}

// The first write of a damaged file does not fit under the file-size limit:
// the damaged content is moved aside by the next write instead of being
// replaced by it.
TEST(SettingsWriter, AFailedMoveAsideIsCarriedToTheNextWriteOfTheFile)
{
    TempDir directory;
    const std::string path = directory.path() + "/Arden.cfg";
    write_file(path, "damaged");
    settings_writer writer;
    settings_write too_large = write_of(path, std::string(4096, 'x'), 1);
    too_large.keep_old_as = path + ".damaged";

    {
        lowered_limit lowered(RLIMIT_FSIZE, 1024);
        writer.write(too_large);
        writer.wait_until_written();
        writer.write(write_of(path, "fits", 2));
        writer.wait_until_written();
    }

    const std::vector<settings_write_outcome> outcomes = writer.take_outcomes();
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_NE(outcomes[0].failure, "");
    EXPECT_EQ(outcomes[1].failure, "");
    EXPECT_EQ(read_file(path + ".damaged"), "damaged");
    EXPECT_EQ(read_file(path), "fits");
}

namespace {

// A writer whose thread waits before each batch until the test lets it go.
class held_writer {
public:
    held_writer() : writer([this] { wait_until_let_go(); }) {}
    ~held_writer() { let_go(); }

    void let_go()
    {
        std::lock_guard<std::mutex> lock(mutex);
        held = false;
        released.notify_all();
    }

private:
    void wait_until_let_go()
    {
        std::unique_lock<std::mutex> lock(mutex);
        released.wait(lock, [this] { return !held; });
    }

    // Declared before the writer, so that they outlive its thread.
    std::mutex mutex;
    std::condition_variable released;
    bool held = true;

public:
    settings_writer writer;
};

constexpr auto asking_deadline = std::chrono::seconds(20);

} // namespace

// While the thread is held, the files waiting grow past any bound of the old
// queue; asking returns at once all the same, and all of it lands.
TEST(SettingsWriter, AskingNeverWaitsForTheWriter)
{
    TempDir directory;
    held_writer held;
    const size_t writes = 3 * settings_write_batch + 10;
    std::future<void> asked = std::async(std::launch::async, [&] {
        for (size_t file = 0; file < writes; ++file)
            held.writer.write(write_of(directory.path() + "/" + std::to_string(file), "content", file + 1));
    });
    const bool returned = asked.wait_for(asking_deadline) == std::future_status::ready;
    held.let_go();
    ASSERT_TRUE(returned);
    EXPECT_EQ(take_all(held.writer, writes).size(), writes);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), std::filesystem::directory_iterator()),
              static_cast<long>(writes));
}

// A file asked for again while its write waits is written once, with the
// newest content, in the place of the first ask; the outcome names every save
// it served, so that each save finishes.
TEST(SettingsWriter, AFileAskedForAgainWhileItWaitsIsWrittenOnceWithTheNewestContent)
{
    TempDir directory;
    held_writer held;
    const std::string a = directory.path() + "/a.cfg";
    const std::string b = directory.path() + "/b.cfg";
    settings_write first = write_of(a, "a1", 1);
    first.keep_old_as = a + ".damaged";
    held.writer.write(first);
    held.writer.write(write_of(b, "b1", 2));
    for (unsigned long long version = 2; version <= 3; ++version)
        held.writer.write(write_of(a, "a" + std::to_string(version), version + 1));
    write_file(a, "damaged");
    held.let_go();
    const std::vector<settings_write_outcome> outcomes = take_all(held.writer, 2);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].write.path, a);
    EXPECT_EQ(outcomes[0].write.sequence, 4u);
    EXPECT_EQ(outcomes[0].write.save, 4u);
    EXPECT_EQ(outcomes[0].replaced_saves, (std::vector<unsigned long long>{1, 3}));
    EXPECT_EQ(outcomes[1].write.path, b);
    EXPECT_TRUE(outcomes[1].replaced_saves.empty());
    EXPECT_EQ(read_file(a), "a3");
    EXPECT_EQ(read_file(a + ".damaged"), "damaged");
    EXPECT_EQ(read_file(b), "b1");
}

// Each file of a batch, and a file written alone, reaches the disk before it
// is renamed into place: a crash then leaves old or new content, never an
// empty file.
TEST(SettingsWriter, EveryFileIsSyncedBeforeItIsRenamedIntoPlace)
{
    TempDir directory;
    std::vector<std::string> paths;
    for (int file = 0; file < 40; ++file)
        paths.push_back(directory.path() + "/C" + std::to_string(file) + ".cfg");
    const std::string alone = directory.path() + "/varn_ossic.cfg";
    for (const std::string &path : paths)
        write_file(path, "old");
    write_file(alone, "old");
    std::vector<std::string> watched = paths;
    watched.push_back(alone);
    watched_syncs syncs(watched);
    {
        held_writer held;
        for (size_t file = 0; file < paths.size(); ++file)
            held.writer.write(write_of(paths[file], "new " + std::to_string(file), file + 1));
        held.let_go();
        ASSERT_EQ(take_all(held.writer, paths.size()).size(), paths.size());
    }
    EXPECT_TRUE(put_in_place(write_of(alone, "new alone", 1)).failure.empty());
    for (const std::string &path : watched)
        EXPECT_TRUE(syncs.synced_before_renamed(path)) << path;
    EXPECT_EQ(read_file(paths.back()), "new 39");
}
