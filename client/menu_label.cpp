#include "menu_label.h"

namespace {
bool is_control(unsigned char c)
{
    return c < 0x20 || c == 0x7f;
}
}

wxString menu_label(const std::string &text, const char *fallback)
{
    std::string label;
    for (char c : text) {
        if (is_control(static_cast<unsigned char>(c)))
            continue;
        label += c;
        if (c == '&')
            label += '&';
    }
    if (label.empty())
        label = fallback;
    return wxString::From8BitData(label.data(), label.size());
}
