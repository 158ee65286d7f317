#include "url_opener.h"

#include <wx/utils.h>

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

char delayed_url_buffer[delayed_url_capacity];
int delayed_url_available = 0;

void queue_delayed_url(const char *url)
{
    if (url == nullptr)
        return;
    const size_t length = strnlen(url, delayed_url_capacity - 1);
    memcpy(delayed_url_buffer, url, length);
    delayed_url_buffer[length] = '\0';
    delayed_url_available = 1;
}

bool take_delayed_url(std::string &url)
{
    if (!delayed_url_available)
        return false;
    delayed_url_available = 0;
    url = delayed_url_buffer;
    return true;
}

namespace {
bool is_executable_file(const std::string &path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}
}

std::string find_program_in_path(const char *name)
{
    const char *path = getenv("PATH");
    if (path == nullptr)
        return std::string();
    const std::string directories = path;
    size_t start = 0;
    while (start <= directories.size()) {
        size_t end = directories.find(':', start);
        if (end == std::string::npos)
            end = directories.size();
        // An empty entry would mean the current directory: never search it.
        if (end > start) {
            const std::string candidate = directories.substr(start, end - start) + "/" + name;
            if (is_executable_file(candidate))
                return candidate;
        }
        start = end + 1;
    }
    return std::string();
}

bool start_url_opener(const char *url)
{
    if (url == nullptr || url[0] == '\0' || url[0] == '-')
        return false;
    const std::string opener = find_program_in_path(url_opener_program);
    if (opener.empty())
        return false;
    const char *const argv[] = {opener.c_str(), url, nullptr};
    return wxExecute(argv, wxEXEC_ASYNC) > 0;
}
