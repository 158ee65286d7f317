#ifndef VUSK_TEST_TEMP_HOME_H
#define VUSK_TEST_TEMP_HOME_H

#include <string>

// A fresh directory that stands in for the user's HOME while it lives, so no
// test reads or writes the real user's files. Removed with its contents.
class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_;
    std::string previous_home_;
    bool had_home_ = false;
};

// A fresh, empty temporary directory (not HOME), removed with its contents.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return path_; }

private:
    std::string path_;
};

#endif
