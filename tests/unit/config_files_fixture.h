#ifndef VUSK_TEST_CONFIG_FILES_FIXTURE_H
#define VUSK_TEST_CONFIG_FILES_FIXTURE_H

// Tests of the configuration files: each runs with a fresh HOME (the
// installation's globals start at their start values for every test) and
// the toolkit's base library started (the preference store needs it).

#include "base_toolkit.h"
#include "file_text.h"
#include "preference_store.h"
#include "temp_home.h"
#include "text_bytes.h"
#include "tqconfig.h"
#include "tqconfig_files.h"

#include <gtest/gtest.h>
#include <wx/fileconf.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class ConfigFilesTest : public testing::Test {
public:
    static std::string read_file(const std::string &path) { return ::read_file(path); }
    static void write_file(const std::string &path, const std::string &content) { ::write_file(path, content); }

    // A file of the tests' fixtures.
    static std::string fixture(const char *name) { return read_file(std::string(VUSK_FIXTURES) + "/" + name); }

    static bool exists(const std::string &path)
    {
        return std::filesystem::exists(path);
    }

    static long files_in(const std::string &directory)
    {
        return std::distance(std::filesystem::directory_iterator(directory), std::filesystem::directory_iterator());
    }

protected:
    static void SetUpTestSuite() { ASSERT_TRUE(start_base_toolkit()); }

    // The main tick's steady clock for requested saves, advanced by the
    // tests; one for the whole process, as the save throttle is.
    static long long tick_clock_ms(long long advance)
    {
        static long long now = 0;
        return now += advance;
    }
    // Carries out the save that a client id marked, as the next main tick
    // does (long after any earlier save), and waits until it is written.
    static void run_marked_save()
    {
        run_requested_config_save(tick_clock_ms(60000));
        finish_config_saves();
    }

    std::string config_dir() const { return home.path() + "/Library/Varn Ossic"; }
    std::string in_config_dir(const std::string &file) const { return config_dir() + "/" + file; }

    static std::string store_path()
    {
        return wx_to_bytes(wxFileConfig::GetLocalFileName(bytes_to_wx(preference_application_name)));
    }

    TempHome home;
};

#endif
