// Stale temporary files are cleared once per directory in a run; the
// directories remembered so are bounded, the one cleared longest ago
// forgotten first and cleared again at its next save.
#include "atomic_file.h"

#include "file_text.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <sys/time.h>
#include <vector>

namespace {

void save(const std::string &path, const std::string &content)
{
    atomic_file out(path);
    fputs(content.c_str(), out.file());
    ASSERT_TRUE(out.commit()) << out.error();
}

// A temporary file of a save killed long ago.
std::string leave_stale_temporary(const std::string &directory)
{
    const std::string path = directory + "/x.cfg.tmp-Killed";
    write_file(path, "cut");
    const timeval long_ago[2] = {{1000000000, 0}, {1000000000, 0}};
    utimes(path.c_str(), long_ago);
    return path;
}

// Saves once into each of this many fresh directories.
std::vector<std::unique_ptr<TempDir>> save_into_other_directories(size_t count)
{
    std::vector<std::unique_ptr<TempDir>> others;
    for (size_t index = 0; index < count; ++index) {
        others.push_back(std::make_unique<TempDir>());
        save(others.back()->path() + "/y.cfg", "y");
    }
    return others;
}

} // namespace

TEST(AtomicFile, ADirectoryIsClearedAgainOnlyOnceForgottenBeyondTheBound)
{
    TempDir directory;
    const std::string first = leave_stale_temporary(directory.path());
    save(directory.path() + "/x.cfg", "1");
    EXPECT_FALSE(std::filesystem::exists(first));

    const std::string second = leave_stale_temporary(directory.path());
    auto others = save_into_other_directories(max_cleared_directories - 1);
    save(directory.path() + "/x.cfg", "2");
    EXPECT_TRUE(std::filesystem::exists(second));

    others = save_into_other_directories(max_cleared_directories);
    save(directory.path() + "/x.cfg", "3");
    EXPECT_FALSE(std::filesystem::exists(second));
    EXPECT_EQ(read_file(directory.path() + "/x.cfg"), "3");
}

// Contents finished by the caller, made durable together and then put in
// place; one that failed to be written leaves the old file.
TEST(AtomicFile, ContentsSyncedByTheCallerLandOnCommit)
{
    TempDir directory;
    const std::string path = directory.path() + "/a.cfg";
    write_file(path, "old");
    atomic_file out(path, file_sync::by_caller);
    fputs("new", out.file());
    ASSERT_TRUE(out.finish_writing());
    EXPECT_EQ(out.file(), nullptr);
    EXPECT_EQ(read_file(path), "old");
    EXPECT_EQ(sync_file_systems_of({path}), "");
    ASSERT_TRUE(out.commit());
    EXPECT_EQ(read_file(path), "new");
    EXPECT_NE(sync_file_systems_of({directory.path() + "/missing/b.cfg"}), "");
}
