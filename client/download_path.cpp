#include "download_path.h"

#include <cstring>

namespace {

bool is_control_byte(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}

bool is_valid_component(const char *start, size_t length)
{
    if (length == 0)
        return false;
    if (start[0] == '.' && (length == 1 || (length == 2 && start[1] == '.')))
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (is_control_byte(static_cast<unsigned char>(start[i])))
            return false;
    }
    return true;
}

bool is_unreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

} // namespace

bool is_valid_download_path(const char *path)
{
    if (path == nullptr)
        return false;
    const size_t length = strnlen(path, max_download_name_length + 1);
    if (length == 0 || length > max_download_name_length)
        return false;
    const char *component = path;
    for (;;) {
        const char *slash = strchr(component, '/');
        const size_t component_length = slash ? size_t(slash - component) : strlen(component);
        if (!is_valid_component(component, component_length))
            return false;
        if (!slash)
            return true;
        component = slash + 1;
    }
}

std::string percent_encode_path(const std::string &path)
{
    static const char hex_digits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(path.size());
    for (unsigned char c : path) {
        if (is_unreserved(c) || c == '/') {
            encoded += char(c);
        } else {
            encoded += '%';
            encoded += hex_digits[c >> 4];
            encoded += hex_digits[c & 0x0f];
        }
    }
    return encoded;
}
