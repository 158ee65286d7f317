#include "atomic_file.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const char temporary_mark[] = ".tmp-";
const char temporary_suffix[] = ".tmp-XXXXXX";
constexpr size_t temporary_random_length = 6;

// The directory and the file name of a path.
std::pair<std::string, std::string> split_path(const std::string &path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool is_temporary_name_of(const char *name, const std::string &file_name)
{
    const std::string prefix = file_name + temporary_mark;
    if (strncmp(name, prefix.c_str(), prefix.size()) != 0 || strlen(name) != prefix.size() + temporary_random_length)
        return false;
    for (const char *p = name + prefix.size(); *p; ++p)
        if (!isalnum(static_cast<unsigned char>(*p)))
            return false;
    return true;
}

void remove_stale_temporary_files(const std::string &path)
{
    const auto [directory, file_name] = split_path(path);
    DIR *listing = opendir(directory.c_str());
    if (listing == nullptr)
        return;
    const time_t stale_before = time(nullptr) - stale_temporary_file_seconds;
    while (const dirent *entry = readdir(listing)) {
        if (!is_temporary_name_of(entry->d_name, file_name))
            continue;
        const std::string candidate = directory + "/" + entry->d_name;
        struct stat status;
        if (lstat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) && status.st_mtime < stale_before)
            unlink(candidate.c_str());
    }
    closedir(listing);
}
}

atomic_file::atomic_file(const std::string &path) : target(path), temporary(path + temporary_suffix)
{
    remove_stale_temporary_files(path);
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

bool atomic_file::commit()
{
    if (stream == nullptr)
        return false;
    // A failed write may have happened long before; errno then no longer
    // tells why, and the report falls back to a plain input/output error.
    errno = 0;
    bool written = fflush(stream) == 0 && !ferror(stream) && fsync(fileno(stream)) == 0;
    int write_error = errno;
    if (fclose(stream) != 0 && written) {
        written = false;
        write_error = errno;
    }
    stream = nullptr;
    if (!written) {
        fail("write", write_error);
        discard();
        return false;
    }
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
