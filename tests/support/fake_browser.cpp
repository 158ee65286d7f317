#include "fake_browser.h"

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

fake_browser::fake_browser() : log_(bin_.path() + "/opened")
{
    const std::string opener = bin_.path() + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" << log_ << "'\n";
    chmod(opener.c_str(), 0755);
    const char *path = getenv("PATH");
    old_path_ = path ? path : "";
    setenv("PATH", (bin_.path() + ":" + old_path_).c_str(), 1);
}

fake_browser::~fake_browser()
{
    setenv("PATH", old_path_.c_str(), 1);
}

std::vector<std::string> fake_browser::opened() const
{
    std::vector<std::string> lines;
    std::ifstream log(log_);
    for (std::string line; std::getline(log, line);)
        lines.push_back(line);
    return lines;
}

void fake_browser::break_it()
{
    setenv("PATH", "/nonexistent", 1);
}
