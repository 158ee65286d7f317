// Replacing a file whole: its content reaches the disk before it takes the
// file's name, a copy kept aside never costs the file nor an earlier copy,
// and only the temporary files of the file being saved are cleared.
#include "atomic_file.h"

#include "file_text.h"
#include "temp_home.h"
#include "watched_syncs.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

bool save(const std::string &path, const std::string &content, const std::string &keep_as = {})
{
    atomic_file out(path);
    if (!keep_as.empty())
        out.keep_old_file_as(keep_as);
    fputs(content.c_str(), out.file());
    const bool committed = out.commit();
    EXPECT_EQ(committed, out.error().empty());
    return committed;
}

bool exists(const std::string &path)
{
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

void make_old(const std::string &path)
{
    const timeval two_hours_ago[2] = {{time(nullptr) - 7200, 0}, {time(nullptr) - 7200, 0}};
    utimes(path.c_str(), two_hours_ago);
}

// A temporary file of a save killed long ago, or a file that looks like one.
std::string leave_old_file(const std::string &path)
{
    write_file(path, "cut");
    make_old(path);
    return path;
}

// Saves once into each of this many fresh directories.
std::vector<std::unique_ptr<TempDir>> save_into_other_directories(size_t count)
{
    std::vector<std::unique_ptr<TempDir>> others;
    for (size_t index = 0; index < count; ++index) {
        others.push_back(std::make_unique<TempDir>());
        EXPECT_TRUE(save(others.back()->path() + "/y.cfg", "y"));
    }
    return others;
}

// A damaged file to keep aside; the real disk calls are back when a test
// ends.
class KeepAside : public ::testing::Test {
protected:
    KeepAside() { write_file(path, "unreadable"); }
    ~KeepAside() override { use_disk_calls(system_disk_calls()); }

    TempDir directory;
    const std::string path = directory.path() + "/Arden.cfg";
    const std::string copy = path + ".damaged";
};

// The file and its copies as a step of a keep-aside saw them.
struct seen_on_disk {
    std::string file;
    std::string copy;
};
std::string watched_file;
std::vector<seen_on_disk> seen;

// The file and its copy just before each step of a save.
int look_then_link(const char *existing, const char *new_name)
{
    seen.push_back({read_file(watched_file), read_file(watched_file + ".damaged")});
    return link(existing, new_name);
}

int look_then_rename(const char *from, const char *to)
{
    seen.push_back({read_file(watched_file), read_file(watched_file + ".damaged")});
    return rename(from, to);
}

int die_instead_of_renaming(const char *, const char *)
{
    raise(SIGKILL);
    return -1;
}

int no_hard_links(const char *, const char *)
{
    errno = EPERM;
    return -1;
}

void use_link_and_rename(int (*hard_link)(const char *, const char *), int (*rename_into_place)(const char *, const char *))
{
    disk_calls calls = system_disk_calls();
    calls.hard_link = hard_link;
    calls.rename_into_place = rename_into_place;
    use_disk_calls(calls);
}

} // namespace

TEST(AtomicFile, OnlyTheStaleTemporaryFilesOfTheFileSavedAreRemoved)
{
    TempDir directory;
    const auto in_directory = [&directory](const char *name) { return directory.path() + "/" + name; };
    const std::vector<std::string> foreign = {leave_old_file(in_directory("thesis.tex.tmp-Ab12Cd")),
                                              leave_old_file(in_directory("download.iso.tmp-x9Y8z7")),
                                              leave_old_file(in_directory(".tmp-a1B2c3")),
                                              leave_old_file(in_directory("x.cfg.backup"))};
    const std::string own_stale = leave_old_file(in_directory("x.cfg.tmp-Killed"));
    const std::string other_stale = leave_old_file(in_directory("y.cfg.tmp-Killed"));
    write_file(in_directory("x.cfg.tmp-Fresh1"), "a save still running");
    std::filesystem::create_directory(in_directory("x.cfg.tmp-Folder"));
    make_old(in_directory("x.cfg.tmp-Folder"));

    EXPECT_TRUE(save(in_directory("x.cfg"), "1"));
    EXPECT_FALSE(exists(own_stale));
    EXPECT_TRUE(exists(other_stale));
    EXPECT_TRUE(exists(in_directory("x.cfg.tmp-Fresh1")));
    EXPECT_TRUE(exists(in_directory("x.cfg.tmp-Folder")));

    EXPECT_TRUE(save(in_directory("y.cfg"), "2"));
    EXPECT_FALSE(exists(other_stale));
    for (const std::string &path : foreign)
        EXPECT_EQ(read_file(path), "cut") << path;
    EXPECT_EQ(read_file(in_directory("x.cfg")), "1");
}

TEST(AtomicFile, ADirectoryIsLookedAtAgainOnlyOnceForgottenBeyondTheBound)
{
    TempDir directory;
    const std::string path = directory.path() + "/x.cfg";
    const std::string first = leave_old_file(path + ".tmp-Killed");
    EXPECT_TRUE(save(path, "1"));
    EXPECT_FALSE(exists(first));

    const std::string second = leave_old_file(path + ".tmp-Killed");
    auto others = save_into_other_directories(max_cleared_directories - 1);
    EXPECT_TRUE(save(path, "2"));
    EXPECT_TRUE(exists(second));

    others = save_into_other_directories(max_cleared_directories);
    EXPECT_TRUE(save(path, "3"));
    EXPECT_FALSE(exists(second));
    EXPECT_EQ(read_file(path), "3");
}

// Each file's content is synced before it takes the file's name: alone, and
// when the caller starts the writes of many to the disk first.
TEST(AtomicFile, EveryFileIsSyncedBeforeItIsRenamedIntoPlace)
{
    TempDir directory;
    const std::string alone = directory.path() + "/alone.cfg";
    const std::string together = directory.path() + "/together.cfg";
    const std::string left_to_commit = directory.path() + "/left.cfg";
    for (const std::string &path : {alone, together, left_to_commit})
        write_file(path, "old");
    watched_syncs syncs({alone, together, left_to_commit});

    EXPECT_TRUE(save(alone, "new alone"));
    EXPECT_TRUE(syncs.synced_before_renamed(alone));

    atomic_file first(together, file_sync::by_caller);
    atomic_file second(left_to_commit, file_sync::by_caller);
    fputs("new together", first.file());
    fputs("new left", second.file());
    ASSERT_TRUE(first.finish_writing());
    ASSERT_TRUE(second.finish_writing());
    EXPECT_EQ(first.file(), nullptr);
    ASSERT_TRUE(first.make_durable());
    EXPECT_EQ(read_file(together), "old");
    ASSERT_TRUE(first.commit());
    ASSERT_TRUE(second.commit()) << "a caller that did not wait leaves the wait to commit";
    EXPECT_EQ(read_file(together), "new together");
    EXPECT_EQ(read_file(left_to_commit), "new left");
    EXPECT_TRUE(syncs.synced_before_renamed(together));
    EXPECT_TRUE(syncs.synced_before_renamed(left_to_commit));
}

// The old content is kept aside by a second name before the new content
// takes the file's name: every step leaves the file whole.
TEST_F(KeepAside, TheFileHoldsItsOldOrNewContentAtEveryStep)
{
    watched_file = path;
    seen.clear();
    use_link_and_rename(look_then_link, look_then_rename);
    ASSERT_TRUE(save(path, "new", copy));
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].file, "unreadable");
    EXPECT_EQ(seen[0].copy, "");
    EXPECT_EQ(seen[1].file, "unreadable");
    EXPECT_EQ(seen[1].copy, "unreadable");
    EXPECT_EQ(read_file(path), "new");
    EXPECT_EQ(read_file(copy), "unreadable");
}

// Killed between keeping the copy and renaming the new content in: the file
// still holds its old content, and the next save keeps no second copy of it.
TEST_F(KeepAside, KilledBeforeTheRenameItLeavesTheOldFile)
{
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        use_link_and_rename(link, die_instead_of_renaming);
        atomic_file out(path);
        out.keep_old_file_as(copy);
        fputs("new", out.file());
        out.commit();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(read_file(path), "unreadable");
    EXPECT_EQ(read_file(copy), "unreadable");

    ASSERT_TRUE(save(path, "new", copy));
    EXPECT_EQ(read_file(path), "new");
    EXPECT_EQ(read_file(copy), "unreadable");
    EXPECT_FALSE(exists(copy + "-2"));
}

// Each keep-aside takes a free name; with every name taken the file keeps
// its old content and the save says why.
TEST_F(KeepAside, NeverReplacesAnEarlierCopy)
{
    std::vector<std::string> copies = {copy};
    for (int number = 2; number <= max_kept_copies; ++number)
        copies.push_back(copy + "-" + std::to_string(number));
    for (size_t index = 0; index < copies.size(); ++index) {
        write_file(path, "unreadable " + std::to_string(index));
        ASSERT_TRUE(save(path, "new", copy));
    }
    for (size_t index = 0; index < copies.size(); ++index)
        EXPECT_EQ(read_file(copies[index]), "unreadable " + std::to_string(index));

    write_file(path, "unreadable again");
    atomic_file out(path);
    out.keep_old_file_as(copy);
    fputs("newest", out.file());
    EXPECT_FALSE(out.commit());
    EXPECT_NE(out.error().find(std::to_string(max_kept_copies) + " copies"), std::string::npos) << out.error();
    EXPECT_EQ(read_file(path), "unreadable again");
    EXPECT_FALSE(exists(copy + "-" + std::to_string(max_kept_copies + 1)));
}

// A file system without hard links gets a copy instead, never over an
// earlier one.
TEST_F(KeepAside, WithoutHardLinksTheOldContentIsCopiedAside)
{
    write_file(copy, "kept earlier");
    use_link_and_rename(no_hard_links, rename);
    ASSERT_TRUE(save(path, "new", copy));
    EXPECT_EQ(read_file(path), "new");
    EXPECT_EQ(read_file(copy), "kept earlier");
    EXPECT_EQ(read_file(copy + "-2"), "unreadable");

    // A link to an endless file is moved aside unread.
    std::filesystem::remove(path);
    std::filesystem::create_symlink("/dev/zero", path);
    ASSERT_TRUE(save(path, "newer", copy));
    EXPECT_EQ(read_file(path), "newer");
    EXPECT_TRUE(std::filesystem::is_symlink(copy + "-3"));
    EXPECT_EQ(read_file(copy + "-2"), "unreadable");
}
