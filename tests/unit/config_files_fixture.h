#ifndef VUSK_TEST_CONFIG_FILES_FIXTURE_H
#define VUSK_TEST_CONFIG_FILES_FIXTURE_H

// Tests of the configuration files: each runs with a fresh HOME (the
// installation's globals start at their start values for every test) and
// the toolkit's base library started (the preference store needs it).

#include "base_toolkit.h"
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
    static std::string read_file(const std::string &path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    static void write_file(const std::string &path, const std::string &content)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

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

    std::string config_dir() const { return home.path() + "/Library/Varn Ossic"; }
    std::string in_config_dir(const std::string &file) const { return config_dir() + "/" + file; }

    static std::string store_path()
    {
        return wx_to_bytes(wxFileConfig::GetLocalFileName(bytes_to_wx(preference_application_name)));
    }

    TempHome home;
};

#endif
