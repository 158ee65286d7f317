#include "fake_browser.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

fake_browser::fake_browser() : log_(bin_.path() + "/opened")
{
    const std::string opener = bin_.path() + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s %s\\n' $$ \"$*\" >> '" << log_ << "'\n";
    chmod(opener.c_str(), 0755);
    const char *path = getenv("PATH");
    old_path_ = path ? path : "";
    setenv("PATH", (bin_.path() + ":" + old_path_).c_str(), 1);
}

fake_browser::~fake_browser()
{
    setenv("PATH", old_path_.c_str(), 1);
}

namespace {
struct opener_start {
    long pid;
    std::string url;
};

std::vector<opener_start> read_log(const std::string &path)
{
    std::vector<opener_start> starts;
    std::ifstream log(path);
    for (std::string line; std::getline(log, line);) {
        const size_t blank = line.find(' ');
        starts.push_back({std::stol(line.substr(0, blank)), line.substr(blank + 1)});
    }
    return starts;
}

std::vector<std::string> urls_of(const std::vector<opener_start> &starts)
{
    std::vector<std::string> urls;
    for (const opener_start &start : starts)
        urls.push_back(start.url);
    return urls;
}
} // namespace

std::vector<std::string> fake_browser::opened() const
{
    return urls_of(read_log(log_));
}

std::vector<std::string> fake_browser::opened_in_start_order() const
{
    std::vector<opener_start> starts = read_log(log_);
    std::stable_sort(starts.begin(), starts.end(),
                     [](const opener_start &a, const opener_start &b) { return a.pid < b.pid; });
    return urls_of(starts);
}

void fake_browser::break_it()
{
    setenv("PATH", "/nonexistent", 1);
}
