#include "atomic_file.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace {
const char temporary_mark[] = ".tmp-";
const char temporary_suffix[] = ".tmp-XXXXXX";
constexpr size_t temporary_random_length = 6;
constexpr size_t copy_chunk = 16384;
// A copy kept aside holds the player's settings: readable by the player only.
constexpr mode_t kept_copy_mode = 0600;

std::atomic<int (*)(int)> sync_content{fdatasync};
std::atomic<int (*)(const char *, const char *)> hard_link{link};
std::atomic<int (*)(const char *, const char *)> rename_into_place{rename};

// open() without a mode: the old file is only ever opened, never created.
int open_existing(const char *path, int flags)
{
    return open(path, flags);
}
std::atomic<int (*)(const char *, int)> open_old_file{open_existing};
std::atomic<ssize_t (*)(int, void *, size_t)> read_old_content{read};
std::atomic<ssize_t (*)(int, const void *, size_t)> write_copy{write};

std::string directory_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string name_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name of the file whose temporary file this is (its name before
// ".tmp-" and the random part); empty when it is none.
std::string owner_of_temporary(const std::string &name)
{
    const size_t mark_length = strlen(temporary_mark);
    if (name.size() <= mark_length + temporary_random_length)
        return {};
    const size_t random = name.size() - temporary_random_length;
    if (name.compare(random - mark_length, mark_length, temporary_mark) != 0)
        return {};
    for (size_t index = random; index < name.size(); ++index)
        if (!isalnum(static_cast<unsigned char>(name[index])))
            return {};
    return name.substr(0, random - mark_length);
}

bool is_stale_regular_file(const std::string &path)
{
    struct stat status;
    return lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           status.st_mtime < time(nullptr) - stale_temporary_file_seconds;
}

// A directory's stale temporary files by the name of the file they belong to.
using temporary_files_by_owner = std::unordered_map<std::string, std::vector<std::string>>;

// The directories looked at in this run, oldest first, with the stale
// temporary files found there and not yet removed. Saves run on several
// threads (the settings writer, the downloads, the GUI thread).
struct noted_directories {
    std::mutex mutex;
    std::deque<std::string> order;
    std::unordered_map<std::string, temporary_files_by_owner> directories;
    size_t temporary_files = 0;
};

noted_directories &noted()
{
    static noted_directories directories;
    return directories;
}

// True the first time a directory is named (again after it was forgotten).
bool first_save_into(const std::string &directory)
{
    noted_directories &noted_so_far = noted();
    std::lock_guard<std::mutex> lock(noted_so_far.mutex);
    if (!noted_so_far.directories.emplace(directory, temporary_files_by_owner{}).second)
        return false;
    noted_so_far.order.push_back(directory);
    if (noted_so_far.order.size() > max_cleared_directories) {
        const auto forgotten = noted_so_far.directories.find(noted_so_far.order.front());
        for (const auto &owned : forgotten->second)
            noted_so_far.temporary_files -= owned.second.size();
        noted_so_far.directories.erase(forgotten);
        noted_so_far.order.pop_front();
    }
    return true;
}

temporary_files_by_owner stale_temporary_files_in(const std::string &directory)
{
    temporary_files_by_owner found;
    DIR *listing = opendir(directory.c_str());
    if (listing == nullptr)
        return found;
    while (const dirent *entry = readdir(listing)) {
        const std::string owner = owner_of_temporary(entry->d_name);
        if (!owner.empty() && is_stale_regular_file(directory + "/" + entry->d_name))
            found[owner].push_back(entry->d_name);
    }
    closedir(listing);
    return found;
}

void note_stale_temporary_files(const std::string &directory)
{
    temporary_files_by_owner found = stale_temporary_files_in(directory);
    noted_directories &noted_so_far = noted();
    std::lock_guard<std::mutex> lock(noted_so_far.mutex);
    const auto kept = noted_so_far.directories.find(directory);
    if (kept == noted_so_far.directories.end())
        return;
    for (auto &[owner, names] : found) {
        std::vector<std::string> &noted_names = kept->second[owner];
        for (std::string &name : names) {
            if (noted_so_far.temporary_files == max_noted_temporary_files)
                return;
            noted_names.push_back(std::move(name));
            ++noted_so_far.temporary_files;
        }
    }
}

std::vector<std::string> take_noted_temporary_files_of(const std::string &directory, const std::string &name)
{
    noted_directories &noted_so_far = noted();
    std::lock_guard<std::mutex> lock(noted_so_far.mutex);
    const auto kept = noted_so_far.directories.find(directory);
    if (kept == noted_so_far.directories.end())
        return {};
    const auto owned = kept->second.find(name);
    if (owned == kept->second.end())
        return {};
    std::vector<std::string> names = std::move(owned->second);
    kept->second.erase(owned);
    noted_so_far.temporary_files -= names.size();
    return names;
}

// The temporary files that killed saves of this very file left behind.
void remove_stale_temporary_files_of(const std::string &path)
{
    const std::string directory = directory_of(path);
    if (first_save_into(directory))
        note_stale_temporary_files(directory);
    for (const std::string &name : take_noted_temporary_files_of(directory, name_of(path))) {
        const std::string leftover = directory + "/" + name;
        if (is_stale_regular_file(leftover))
            unlink(leftover.c_str());
    }
}

bool has_no_hard_links(int error_number)
{
    return error_number == EPERM || error_number == EOPNOTSUPP || error_number == ENOTSUP ||
           error_number == EMLINK || error_number == ENOSYS;
}

bool copy_all(int from, int to)
{
    char chunk[copy_chunk];
    for (;;) {
        const ssize_t got = read_old_content.load()(from, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = write_copy.load()(to, chunk + put, static_cast<size_t>(got - put));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return false;
            put += wrote;
        }
    }
}
}

disk_calls system_disk_calls()
{
    return {fdatasync, link, rename, open_existing, read, write};
}

void use_disk_calls(const disk_calls &calls)
{
    sync_content = calls.sync_content;
    hard_link = calls.hard_link;
    rename_into_place = calls.rename_into_place;
    open_old_file = calls.open_old_file;
    read_old_content = calls.read_old_content;
    write_copy = calls.write_copy;
}

atomic_file::atomic_file(const std::string &path, file_sync sync)
    : target(path), temporary(path + temporary_suffix), sync(sync)
{
    remove_stale_temporary_files_of(path);
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail("create a temporary file for", errno);
        temporary.clear();
        return;
    }
    struct stat status;
    if (fstat(descriptor, &status) == 0) {
        temporary_device = status.st_dev;
        temporary_inode = status.st_ino;
    }
    stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        fail("write", errno);
        close(descriptor);
        discard();
    }
}

atomic_file::~atomic_file()
{
    if (stream)
        fclose(stream);
    discard();
}

void atomic_file::fail(const char *doing, int error_number)
{
    if (failure.empty())
        failure = std::string("cannot ") + doing + " " + target + ": " + strerror(error_number ? error_number : EIO);
}

void atomic_file::discard()
{
    if (!temporary.empty())
        unlink(temporary.c_str());
    temporary.clear();
}

bool atomic_file::finish_writing()
{
    if (stream == nullptr)
        return failure.empty() && !temporary.empty();
    // A failed write may have happened long before; errno then no longer
    // tells why, and the report falls back to a plain input/output error.
    errno = 0;
    const int descriptor = fileno(stream);
    bool written = fflush(stream) == 0 && !ferror(stream);
    if (written && sync == file_sync::on_commit)
        durable = written = sync_content.load()(descriptor) == 0;
    else if (written)
        sync_file_range(descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
    int write_error = errno;
    if (fclose(stream) != 0 && written) {
        written = false;
        write_error = errno;
    }
    stream = nullptr;
    if (!written) {
        fail("write", write_error);
        discard();
    }
    return written;
}

// The error of syncing the temporary file again, through a new descriptor:
// the same file the content went to, not one put under its name since.
int atomic_file::sync_temporary_file()
{
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    struct stat status;
    int reason = 0;
    if (fstat(descriptor, &status) != 0 || status.st_dev != temporary_device || status.st_ino != temporary_inode)
        reason = ESTALE;
    else if (sync_content.load()(descriptor) != 0)
        reason = errno ? errno : EIO;
    close(descriptor);
    return reason;
}

bool atomic_file::make_durable()
{
    if (!finish_writing())
        return false;
    if (durable)
        return true;
    if (const int reason = sync_temporary_file()) {
        fail("write", reason);
        discard();
        return false;
    }
    durable = true;
    return true;
}

bool atomic_file::is_old_file(const std::string &path) const
{
    struct stat old_file;
    struct stat other;
    return lstat(target.c_str(), &old_file) == 0 && lstat(path.c_str(), &other) == 0 &&
           old_file.st_dev == other.st_dev && old_file.st_ino == other.st_ino;
}

// What is there holds no content to copy (a link, a pipe, a device, which
// may never end) or none this program may read: it is moved aside whole,
// unread, to a name nothing holds. The file is missing until the new content
// is renamed in, which loses nothing the program could have read.
atomic_file::keeping atomic_file::move_old_entry_to(const std::string &copy, int &reason)
{
    if (renameat2(AT_FDCWD, target.c_str(), AT_FDCWD, copy.c_str(), RENAME_NOREPLACE) == 0)
        return keeping::kept;
    reason = errno;
    if (reason == ENOENT)
        return keeping::kept;
    return reason == EEXIST ? keeping::taken : keeping::failed;
}

atomic_file::keeping atomic_file::copy_old_file_to(const std::string &copy, int &reason)
{
    const int from = open_old_file.load()(target.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (from < 0 && (errno == ELOOP || errno == EACCES))
        return move_old_entry_to(copy, reason);
    if (from < 0) {
        reason = errno;
        return reason == ENOENT ? keeping::kept : keeping::failed;
    }
    struct stat status;
    if (fstat(from, &status) != 0 || !S_ISREG(status.st_mode)) {
        close(from);
        return move_old_entry_to(copy, reason);
    }
    const int to = open(copy.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kept_copy_mode);
    if (to < 0) {
        reason = errno;
        close(from);
        return reason == EEXIST ? keeping::taken : keeping::failed;
    }
    bool copied = copy_all(from, to) && sync_content.load()(to) == 0;
    reason = errno;
    close(from);
    if (close(to) != 0 && copied) {
        copied = false;
        reason = errno;
    }
    if (copied)
        return keeping::kept;
    // Only the copy made here, never an earlier one.
    unlink(copy.c_str());
    return keeping::failed;
}

atomic_file::keeping atomic_file::keep_old_file_at(const std::string &copy, int &reason)
{
    if (hard_link.load()(target.c_str(), copy.c_str()) == 0)
        return keeping::kept;
    reason = errno;
    if (reason == ENOENT)
        return keeping::kept;
    if (reason == EEXIST)
        // A copy that a save which did not finish made already.
        return is_old_file(copy) ? keeping::kept : keeping::taken;
    return has_no_hard_links(reason) ? copy_old_file_to(copy, reason) : keeping::failed;
}

bool atomic_file::keep_old_file()
{
    if (keep_path.empty())
        return true;
    for (int copy = 1; copy <= max_kept_copies; ++copy) {
        const std::string name = copy == 1 ? keep_path : keep_path + "-" + std::to_string(copy);
        int reason = 0;
        const keeping outcome = keep_old_file_at(name, reason);
        if (outcome == keeping::kept)
            return true;
        if (outcome == keeping::failed) {
            fail("keep the unreadable old content of", reason);
            return false;
        }
    }
    if (failure.empty())
        failure = "cannot keep the unreadable old content of " + target + ": " + std::to_string(max_kept_copies) +
                  " copies of it are kept already";
    return false;
}

bool atomic_file::commit()
{
    if (!make_durable())
        return false;
    if (!keep_old_file()) {
        discard();
        return false;
    }
    if (rename_into_place.load()(temporary.c_str(), target.c_str()) != 0) {
        fail("replace", errno);
        discard();
        return false;
    }
    temporary.clear();
    return true;
}
