// Replacing a file whole: its content reaches the disk before it takes the
// file's name, a copy kept aside never costs the file nor an earlier copy,
// and only the temporary files of the file being saved are cleared.
#include "atomic_file.h"

#include "file_text.h"
#include "temp_home.h"
#include "watched_syncs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <map>
#include <memory>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

// The save's error; empty when the new content is in place.
std::string error_of_save(const std::string &path, const std::string &content, const std::string &keep_as = {})
{
    atomic_file out(path);
    if (!keep_as.empty())
        out.keep_old_file_as(keep_as);
    if (FILE *file = out.file())
        fputs(content.c_str(), file);
    if (out.commit())
        return {};
    EXPECT_FALSE(out.error().empty()) << "a failed save says why";
    return out.error();
}

bool save(const std::string &path, const std::string &content, const std::string &keep_as = {})
{
    return error_of_save(path, content, keep_as).empty();
}

bool exists(const std::string &path)
{
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

using file_id = std::pair<dev_t, ino_t>;

file_id id_of(const std::string &path)
{
    struct stat status = {};
    lstat(path.c_str(), &status);
    return {status.st_dev, status.st_ino};
}

mode_t permissions_of(const std::string &path)
{
    struct stat status = {};
    lstat(path.c_str(), &status);
    return status.st_mode & 07777;
}

// The temporary file a save of the file is writing.
std::string temporary_of(const std::string &path)
{
    const std::filesystem::path file(path);
    for (const auto &entry : std::filesystem::directory_iterator(file.parent_path()))
        if (entry.path().filename().string().rfind(file.filename().string() + ".tmp-", 0) == 0)
            return entry.path().string();
    return {};
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

// Opening a file the player may not read (left by a run as root).
int refuse_to_open(const char *, int)
{
    errno = EACCES;
    return -1;
}

int too_many_open_files(const char *, int)
{
    errno = EMFILE;
    return -1;
}

// A disk without hard links whose reads, writes and syncs of the copy a test
// scripts. Each sync notes what the synced file held; the rename into place
// notes whether the copy kept aside was on the disk whole by then.
constexpr size_t bytes_per_short_write = 1000;
constexpr int most_writes_taking_nothing = 64;
std::map<file_id, std::string> synced;
bool copy_on_disk_at_rename = false;
int reads_so_far = 0;
int writes_so_far = 0;

int sync_noting_content(int descriptor)
{
    struct stat status = {};
    fstat(descriptor, &status);
    synced[{status.st_dev, status.st_ino}] = read_file("/proc/self/fd/" + std::to_string(descriptor));
    return fdatasync(descriptor);
}

int refuse_sync(int)
{
    errno = EIO;
    return -1;
}

int rename_noting_the_copy(const char *from, const char *to)
{
    const std::string kept = watched_file + ".damaged";
    const auto kept_synced = synced.find(id_of(kept));
    copy_on_disk_at_rename = kept_synced != synced.end() && kept_synced->second == read_file(kept);
    return rename(from, to);
}

ssize_t read_once_then_fail(int descriptor, void *buffer, size_t size)
{
    if (reads_so_far++ > 0) {
        errno = EIO;
        return -1;
    }
    return read(descriptor, buffer, size);
}

ssize_t write_a_little(int descriptor, const void *buffer, size_t size)
{
    return write(descriptor, buffer, std::min(size, bytes_per_short_write));
}

ssize_t write_once_then_reach_size_limit(int descriptor, const void *buffer, size_t size)
{
    if (writes_so_far++ > 0) {
        errno = EFBIG;
        return -1;
    }
    return write(descriptor, buffer, size);
}

ssize_t write_nothing(int, const void *, size_t)
{
    if (++writes_so_far > most_writes_taking_nothing) {
        ADD_FAILURE() << "the copy keeps writing to a disk that takes nothing";
        errno = EIO;
        return -1;
    }
    return 0;
}

// Content of several read chunks, no stretch of it like another.
std::string long_content()
{
    std::string content;
    for (int line = 0; content.size() < 40000; ++line)
        content += "line " + std::to_string(line) + "\n";
    return content;
}

constexpr uid_t nobody = 65534;

// Runs the save as another user (nobody) and returns its error, empty when
// it saved.
std::string error_of_save_as_nobody(const std::string &path, const std::string &keep_as)
{
    int said[2];
    if (pipe(said) != 0)
        return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(said[0]);
        alarm(30);
        std::string error = "cannot become another user";
        if (setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0)
            error = error_of_save(path, "new", keep_as);
        _exit(write(said[1], error.data(), error.size()) == static_cast<ssize_t>(error.size()) ? 0 : 1);
    }
    close(said[1]);
    std::string error;
    char chunk[256];
    for (ssize_t got; (got = read(said[0], chunk, sizeof chunk)) > 0;)
        error.append(chunk, static_cast<size_t>(got));
    close(said[0]);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the save as another user did not end";
    return error;
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
    const std::vector<std::string> foreign_alike = {leave_old_file(in_directory("x.cfg.tmp-v1.bak")),
                                                    leave_old_file(in_directory("x.cfg.tmp-Kill-d"))};
    const std::string own_stale = leave_old_file(in_directory("x.cfg.tmp-Killed"));
    const std::string other_stale = leave_old_file(in_directory("y.cfg.tmp-Killed"));
    const std::string written_again = leave_old_file(in_directory("z.cfg.tmp-Killed"));
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
    // Noted as stale, but written since: a save may be writing it again.
    write_file(written_again, "a save writing again");
    EXPECT_TRUE(save(in_directory("z.cfg"), "3"));
    EXPECT_EQ(read_file(written_again), "a save writing again");
    for (const std::vector<std::string> &files : {foreign, foreign_alike})
        for (const std::string &path : files)
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

    // A link is moved aside unread, its target untouched; so is a pipe.
    const std::string elsewhere = directory.path() + "/elsewhere.txt";
    write_file(elsewhere, "not the program's");
    std::filesystem::remove(path);
    std::filesystem::create_symlink(elsewhere, path);
    ASSERT_TRUE(save(path, "newer", copy));
    EXPECT_EQ(read_file(path), "newer");
    EXPECT_TRUE(std::filesystem::is_symlink(copy + "-3"));
    EXPECT_EQ(read_file(elsewhere), "not the program's");
    EXPECT_EQ(read_file(copy + "-2"), "unreadable");

    std::filesystem::remove(path);
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    ASSERT_TRUE(save(path, "newest", copy));
    EXPECT_EQ(read_file(path), "newest");
    EXPECT_TRUE(std::filesystem::is_fifo(copy + "-4"));
}

// Copied aside, the old content is kept only whole, on the disk before the
// new content takes the file's place and readable by the player alone. A
// copy cut by a read or write error, or by a disk that takes nothing, is
// removed, and the file keeps its old content.
TEST_F(KeepAside, ACopyIsKeptOnlyWholeSyncedAndPrivate)
{
    const std::string old_content = long_content();
    write_file(path, old_content);
    watched_file = path;
    synced.clear();
    disk_calls calls = system_disk_calls();
    calls.hard_link = no_hard_links;
    calls.sync_content = sync_noting_content;
    calls.rename_into_place = rename_noting_the_copy;
    calls.write_copy = write_a_little;
    use_disk_calls(calls);
    ASSERT_TRUE(save(path, "new", copy));
    EXPECT_EQ(read_file(path), "new");
    EXPECT_TRUE(read_file(copy) == old_content) << "the copy differs from the old content";
    EXPECT_TRUE(copy_on_disk_at_rename);
    EXPECT_EQ(permissions_of(copy), 0600u);

    struct cut_copy {
        ssize_t (*read_old_content)(int, void *, size_t);
        ssize_t (*write_copy)(int, const void *, size_t);
    };
    for (const cut_copy &cut : {cut_copy{read_once_then_fail, write}, cut_copy{read, write_once_then_reach_size_limit},
                                cut_copy{read, write_nothing}}) {
        write_file(path, old_content);
        reads_so_far = writes_so_far = 0;
        calls.read_old_content = cut.read_old_content;
        calls.write_copy = cut.write_copy;
        use_disk_calls(calls);
        EXPECT_FALSE(save(path, "newer", copy));
        EXPECT_TRUE(read_file(path) == old_content) << "the old content is lost";
        EXPECT_FALSE(exists(copy + "-2"));
    }
}

// A file that can be neither linked nor read (another user's, left by a run
// as root) is moved aside whole to the first free name, and the new content
// saved. One that cannot be opened for another reason stays in place.
TEST_F(KeepAside, AFileThatCanBeNeitherLinkedNorReadIsMovedAside)
{
    write_file(copy, "kept earlier");
    const file_id old_file = id_of(path);
    disk_calls calls = system_disk_calls();
    calls.hard_link = no_hard_links;
    calls.open_old_file = refuse_to_open;
    use_disk_calls(calls);
    ASSERT_TRUE(save(path, "new", copy));
    EXPECT_EQ(read_file(path), "new");
    EXPECT_EQ(read_file(copy), "kept earlier");
    EXPECT_TRUE(id_of(copy + "-2") == old_file) << "moved, not copied";

    write_file(path, "unreadable for now");
    calls.open_old_file = too_many_open_files;
    use_disk_calls(calls);
    EXPECT_NE(error_of_save(path, "newer", copy).find(strerror(EMFILE)), std::string::npos);
    EXPECT_EQ(read_file(path), "unreadable for now");
    EXPECT_FALSE(exists(copy + "-3"));
}

// As the player after a run as root: a file of root's the player may not
// read is kept aside and replaced, one the player may read is too, and a
// directory of root's is said to refuse the save.
TEST_F(KeepAside, FilesLeftByARunAsRootAreReplacedByThePlayer)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can leave files of its own to another user";
    const std::string readable = directory.path() + "/varn_ossic.cfg";
    const std::string locked = directory.path() + "/locked/Arden.cfg";
    write_file(readable, "readable");
    write_file(locked, "locked");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_EQ(chmod(readable.c_str(), 0644), 0);
    ASSERT_EQ(chown(directory.path().c_str(), nobody, nobody), 0);
    const file_id old_file = id_of(path);

    EXPECT_EQ(error_of_save_as_nobody(path, copy), "");
    EXPECT_EQ(read_file(path), "new");
    EXPECT_TRUE(id_of(copy) == old_file);
    EXPECT_EQ(read_file(copy), "unreadable");

    EXPECT_EQ(error_of_save_as_nobody(readable, readable + ".damaged"), "");
    EXPECT_EQ(read_file(readable), "new");
    EXPECT_EQ(read_file(readable + ".damaged"), "readable");

    const std::string refused = error_of_save_as_nobody(locked, locked + ".damaged");
    EXPECT_NE(refused.find(locked + ": " + strerror(EACCES)), std::string::npos) << refused;
    EXPECT_EQ(read_file(locked), "locked");
}

// A save refused at its sync, or whose temporary file was replaced by
// another before its sync, leaves the file as it was and keeps no copy.
TEST_F(KeepAside, ContentNotSurelyOnTheDiskLeavesTheFileAndKeepsNoCopy)
{
    disk_calls calls = system_disk_calls();
    calls.sync_content = refuse_sync;
    use_disk_calls(calls);
    EXPECT_NE(error_of_save(path, "new", copy).find(strerror(EIO)), std::string::npos);
    EXPECT_EQ(read_file(path), "unreadable");
    EXPECT_FALSE(exists(copy));
    use_disk_calls(system_disk_calls());

    atomic_file out(path, file_sync::by_caller);
    out.keep_old_file_as(copy);
    fputs("new", out.file());
    ASSERT_TRUE(out.finish_writing());
    const std::string other = directory.path() + "/other";
    write_file(other, "another file");
    ASSERT_EQ(rename(other.c_str(), temporary_of(path).c_str()), 0);
    EXPECT_FALSE(out.commit());
    EXPECT_NE(out.error().find(strerror(ESTALE)), std::string::npos) << out.error();
    EXPECT_EQ(read_file(path), "unreadable");
    EXPECT_FALSE(exists(copy));
}
