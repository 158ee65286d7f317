#ifndef VUSK_TEST_FILE_TEXT_H
#define VUSK_TEST_FILE_TEXT_H

// A whole file as bytes, read or written (directories are created).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string read_file(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void write_file(const std::string &path, const std::string &content)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

#endif
