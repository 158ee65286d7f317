#ifndef VUSK_DOWNLOAD_PATH_H
#define VUSK_DOWNLOAD_PATH_H

// The relative paths that the download service fetches: the same path names
// the file on the web host and the file under the configuration directory.

#include <string>

// Longer names are refused, never cut: a cut name would no longer match the
// request it came from.
constexpr size_t max_download_name_length = 99;

// A path that stays inside the directory it is put under: 1..99 bytes, no
// leading '/', components separated by single '/' and none of them empty,
// "." or "..", and no control byte.
bool is_valid_download_path(const char *path);

// The path as it goes into a web address: every byte but letters, digits,
// '-', '.', '_', '~' and '/' becomes '%' and two upper-case hex digits.
std::string percent_encode_path(const std::string &path);

#endif
