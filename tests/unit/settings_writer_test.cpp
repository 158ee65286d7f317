// The settings writer's thread: what it is given lands in order, all of it
// before stop() returns, and a move of old content that failed is not lost.
// The test script also runs these under ThreadSanitizer.
#include "settings_writer.h"

#include "file_text.h"
#include "lowered_limit.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

settings_write write_of(const std::string &path, const std::string &content, unsigned long long sequence)
{
    return {path, content, {}, sequence, 0};
}

// Takes outcomes while the writer's thread still adds to them.
std::vector<settings_write_outcome> take_all(settings_writer &writer, size_t expected)
{
    std::vector<settings_write_outcome> all;
    while (all.size() < expected) {
        std::vector<settings_write_outcome> taken = writer.take_outcomes();
        if (taken.empty())
            writer.wait_until_written();
        for (settings_write_outcome &outcome : taken)
            all.push_back(std::move(outcome));
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
    for (size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_EQ(outcomes[i].write.sequence, i + 1);
        EXPECT_EQ(outcomes[i].failure, "");
    }
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
    write.save = 3;
    writer.write(write);
    writer.wait_until_written();
    const std::vector<settings_write_outcome> outcomes = writer.take_outcomes();
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].write.sequence, 7u);
    EXPECT_EQ(outcomes[0].write.save, 3u);
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

// Writes asked for faster than the disk takes them: the asker waits for room
// once the limit is reached, so what waits stays bounded, and all of it lands.
TEST(SettingsWriter, TheFilesWaitingAreBoundedAndAllLand)
{
    TempDir directory;
    settings_writer writer;
    const size_t beyond_the_limit = 50;
    const size_t writes = max_waiting_settings_writes + beyond_the_limit;
    for (size_t file = 0; file < writes; ++file)
        writer.write(write_of(directory.path() + "/" + std::to_string(file), "content", file));
    // At most the limit waits and one is in hand.
    EXPECT_GE(writer.take_outcomes().size(), beyond_the_limit - 1);
    writer.stop();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory.path()), std::filesystem::directory_iterator()),
              static_cast<long>(writes));
}
