#include "text_bytes.h"

#include <cstring>

namespace {
constexpr wxUniChar::value_type highest_8bit_character = 0xFF;
}

wxString bytes_to_wx(const char *bytes, size_t length)
{
    if (bytes == nullptr || length == 0)
        return wxString();
    return wxString::From8BitData(bytes, length);
}

wxString bytes_to_wx(const char *text)
{
    return text ? bytes_to_wx(text, strlen(text)) : wxString();
}

wxString bytes_to_wx(const std::string &bytes)
{
    return bytes_to_wx(bytes.data(), bytes.size());
}

std::string wx_to_bytes(const wxString &text)
{
    std::string bytes;
    bytes.reserve(text.length());
    for (wxUniChar character : text) {
        wxUniChar::value_type code = character.GetValue();
        bytes.push_back(code <= highest_8bit_character ? static_cast<char>(code) : '?');
    }
    return bytes;
}
