#include "temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {
std::string make_temp_directory()
{
    char pattern[] = "/tmp/vusk-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

void remove_tree(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}
}

TempHome::TempHome() : path_(make_temp_directory())
{
    const char *home = getenv("HOME");
    had_home_ = home != nullptr;
    if (had_home_)
        previous_home_ = home;
    setenv("HOME", path_.c_str(), 1);
}

TempHome::~TempHome()
{
    if (had_home_)
        setenv("HOME", previous_home_.c_str(), 1);
    else
        unsetenv("HOME");
    remove_tree(path_);
}

TempDir::TempDir() : path_(make_temp_directory()) {}

TempDir::~TempDir() { remove_tree(path_); }
