#include "atomic_file.h"

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
#include <unordered_set>

namespace {
const char temporary_mark[] = ".tmp-";
const char temporary_suffix[] = ".tmp-XXXXXX";
constexpr size_t temporary_random_length = 6;

std::string directory_of(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A file's name, ".tmp-" and the random part.
bool is_temporary_name(const char *name)
{
    const size_t mark_length = strlen(temporary_mark);
    const size_t length = strlen(name);
    if (length <= mark_length + temporary_random_length)
        return false;
    const char *random = name + length - temporary_random_length;
    if (strncmp(random - mark_length, temporary_mark, mark_length) != 0)
        return false;
    for (const char *p = random; *p; ++p)
        if (!isalnum(static_cast<unsigned char>(*p)))
            return false;
    return true;
}

void remove_stale_temporary_files(const std::string &directory)
{
    DIR *listing = opendir(directory.c_str());
    if (listing == nullptr)
        return;
    const time_t stale_before = time(nullptr) - stale_temporary_file_seconds;
    while (const dirent *entry = readdir(listing)) {
        if (!is_temporary_name(entry->d_name))
            continue;
        const std::string candidate = directory + "/" + entry->d_name;
        struct stat status;
        if (lstat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < stale_before)
            unlink(candidate.c_str());
    }
    closedir(listing);
}

// The directories cleared in this run, oldest first. Saves run on several
// threads (the settings writer, the downloads, the GUI thread).
struct cleared_directories {
    std::mutex mutex;
    std::deque<std::string> order;
    std::unordered_set<std::string> names;
};

cleared_directories &cleared()
{
    static cleared_directories directories;
    return directories;
}

// True the first time a directory is named (again after it was forgotten).
bool first_save_into(const std::string &directory)
{
    cleared_directories &directories = cleared();
    std::lock_guard<std::mutex> lock(directories.mutex);
    if (!directories.names.insert(directory).second)
        return false;
    directories.order.push_back(directory);
    if (directories.order.size() > max_cleared_directories) {
        directories.names.erase(directories.order.front());
        directories.order.pop_front();
    }
    return true;
}
}

std::string sync_file_systems_of(const std::vector<std::string> &paths)
{
    std::unordered_set<std::string> synced;
    for (const std::string &path : paths) {
        const std::string directory = directory_of(path);
        if (!synced.insert(directory).second)
            continue;
        const int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool done = descriptor >= 0 && syncfs(descriptor) == 0;
        const int reason = errno;
        if (descriptor >= 0)
            close(descriptor);
        if (!done)
            return "cannot write " + path + ": " + strerror(reason);
    }
    return {};
}

atomic_file::atomic_file(const std::string &path, file_sync sync)
    : target(path), temporary(path + temporary_suffix), sync(sync)
{
    const std::string directory = directory_of(path);
    if (first_save_into(directory))
        remove_stale_temporary_files(directory);
    int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        fail("create a temporary file for", errno);
        temporary.clear();
        return;
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

bool atomic_file::keep_old_file()
{
    if (keep_path.empty() || rename(target.c_str(), keep_path.c_str()) == 0 || errno == ENOENT)
        return true;
    fail("keep the unreadable old content of", errno);
    return false;
}

bool atomic_file::finish_writing()
{
    if (stream == nullptr)
        return failure.empty() && !temporary.empty();
    // A failed write may have happened long before; errno then no longer
    // tells why, and the report falls back to a plain input/output error.
    errno = 0;
    bool written = fflush(stream) == 0 && !ferror(stream) && (sync == file_sync::by_caller || fsync(fileno(stream)) == 0);
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

bool atomic_file::commit()
{
    if (!finish_writing())
        return false;
    if (!keep_old_file()) {
        discard();
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        fail("replace", errno);
        discard();
        return false;
    }
    temporary.clear();
    return true;
}
