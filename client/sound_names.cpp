#include "sound_names.h"

#include "download_path.h"

#include <cstring>

namespace {

const char pack_directory[] = "soundpack/";
const char custom_directory[] = "soundpack/custom/";
const char sound_extension[] = ".ogg";
// A name under this first component would land in the player's own folder.
// Linux file names are case-sensitive, so "Custom/" is another folder.
const char custom_component[] = "custom/";
constexpr size_t max_sound_name_length =
    max_download_name_length - (sizeof pack_directory - 1) - (sizeof sound_extension - 1);

bool is_name_byte(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.' || c == '/';
}

} // namespace

bool is_valid_sound_name(const char *name)
{
    if (name == nullptr || strstr(name, "..") != nullptr ||
        strncmp(name, custom_component, sizeof custom_component - 1) == 0)
        return false;
    const size_t length = strnlen(name, max_sound_name_length + 1);
    for (size_t i = 0; i < length; ++i)
        if (!is_name_byte(static_cast<unsigned char>(name[i])))
            return false;
    return length <= max_sound_name_length && is_valid_download_path(name);
}

std::string sound_pack_path(const std::string &name)
{
    return pack_directory + name + sound_extension;
}

bool is_sound_pack_path(const std::string &path)
{
    const size_t prefix = sizeof pack_directory - 1;
    const size_t suffix = sizeof sound_extension - 1;
    return path.size() > prefix + suffix && path.compare(0, prefix, pack_directory) == 0 &&
           path.compare(path.size() - suffix, suffix, sound_extension) == 0 &&
           is_valid_sound_name(path.substr(prefix, path.size() - prefix - suffix).c_str());
}

std::string custom_sound_path(const std::string &name)
{
    const size_t slash = name.rfind('/');
    return custom_directory + (slash == std::string::npos ? name : name.substr(slash + 1)) + sound_extension;
}
