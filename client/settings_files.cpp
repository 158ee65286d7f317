#include "settings_files.h"

#include "atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace {
const char damaged_suffix[] = ".damaged";
constexpr size_t read_chunk = 16384;

std::string too_large()
{
    return "larger than " + std::to_string(settings_file_size_limit) + " bytes";
}

// What a file held when last read or written, and which file that was: a
// file replaced or removed since is written again.
struct known_file {
    std::string content;
    dev_t device;
    ino_t inode;
};

std::unordered_map<std::string, known_file> &known_files()
{
    static std::unordered_map<std::string, known_file> files;
    return files;
}

std::unordered_set<std::string> &damaged_files()
{
    static std::unordered_set<std::string> files;
    return files;
}

void remember(const std::string &path, const std::string &content, const struct stat &status)
{
    known_files()[path] = {content, status.st_dev, status.st_ino};
}

bool holds_already(const std::string &path, const std::string &content)
{
    const auto known = known_files().find(path);
    struct stat status;
    return known != known_files().end() && known->second.content == content && stat(path.c_str(), &status) == 0 &&
           S_ISREG(status.st_mode) && status.st_dev == known->second.device &&
           status.st_ino == known->second.inode && static_cast<size_t>(status.st_size) == content.size();
}

void refuse(settings_file &file, const std::string &path, const std::string &reason)
{
    file = {settings_file_state::refused, {}};
    keep_damaged_settings_file(path);
    fprintf(stderr, "Varn Ossic: cannot use the settings file %s (%s); it is kept as %s%s when the settings are next saved\n",
            path.c_str(), reason.c_str(), path.c_str(), damaged_suffix);
}

// The whole content, unless it grows beyond the limit while being read.
bool read_within_limit(int descriptor, std::string &content, std::string &reason)
{
    char chunk[read_chunk];
    for (;;) {
        const ssize_t got = read(descriptor, chunk, sizeof chunk);
        if (got == 0)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = strerror(errno);
            return false;
        }
        content.append(chunk, static_cast<size_t>(got));
        if (content.size() > settings_file_size_limit) {
            reason = too_large();
            return false;
        }
    }
}
}

settings_file read_settings_file(const std::string &path)
{
    settings_file file;
    // Without O_NONBLOCK opening a FIFO would wait for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            refuse(file, path, strerror(errno));
        return file;
    }
    struct stat status;
    std::string reason;
    if (fstat(descriptor, &status) != 0)
        reason = strerror(errno);
    else if (!S_ISREG(status.st_mode))
        reason = "not a regular file";
    else if (static_cast<unsigned long long>(status.st_size) > settings_file_size_limit)
        reason = too_large();
    else if (read_within_limit(descriptor, file.content, reason))
        file.state = settings_file_state::read;
    close(descriptor);
    if (file.state == settings_file_state::read)
        remember(path, file.content, status);
    else
        refuse(file, path, reason);
    return file;
}

void keep_damaged_settings_file(const std::string &path)
{
    damaged_files().insert(path);
}

std::string save_settings_file(const std::string &path, const std::string &content)
{
    if (holds_already(path, content))
        return {};
    atomic_file out(path);
    const bool damaged = damaged_files().count(path) != 0;
    if (damaged)
        out.keep_old_file_as(path + damaged_suffix);
    if (FILE *file = out.file())
        fwrite(content.data(), 1, content.size(), file);
    if (!out.commit())
        return out.error();
    if (damaged)
        damaged_files().erase(path);
    struct stat status;
    if (stat(path.c_str(), &status) == 0)
        remember(path, content, status);
    return {};
}

std::string save_rendered(const std::string &path, const std::optional<std::string> &content)
{
    return content ? save_settings_file(path, *content) : "cannot write " + path + ": " + strerror(ENOMEM);
}
