#include "popup_definition.h"

#include "util.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int line_max = 7999;
constexpr int definition_lines = 5;

// The first five lines of data, each up to its newline and cut to
// line_max; fewer when the data ends before the fifth begins.
std::vector<std::string> split_lines(const char *data)
{
    std::vector<std::string> lines;
    while (lines.size() < definition_lines) {
        const char *newline = strchr(data, '\n');
        const size_t length = newline != nullptr ? size_t(newline - data) : strlen(data);
        lines.emplace_back(data, std::min<size_t>(length, line_max));
        if (newline == nullptr)
            break;
        data = newline + 1;
    }
    return lines;
}

const char *skip_blanks(const char *text)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    return text;
}

// A size word read as atoi reads it (a word without leading digits is 0),
// within 1..popup_text_max; false when the word is missing.
bool read_size_word(const char *word, int &value)
{
    if (word == nullptr || *skip_blanks(word) == '\0')
        return false;
    value = std::clamp(read_int_clamped(word), 1, popup_text_max);
    return true;
}

void read_flags(const char *words, popup_definition &definition)
{
    for (const char *word = skip_blanks(words); word != nullptr && *word != '\0'; word = next_arg(word)) {
        if (wordcmp(word, "noscroll"))
            definition.noscroll = true;
        else if (wordcmp(word, "nowrap"))
            definition.nowrap = true;
        else if (wordcmp(word, "menuonly"))
            definition.menuonly = true;
    }
}

} // namespace

std::string popup_key(const char *name)
{
    if (name == nullptr)
        return std::string();
    return std::string(name, strnlen(name, popup_name_max));
}

bool parse_popup_definition(const char *data, popup_definition &definition)
{
    if (data == nullptr)
        return false;
    const std::vector<std::string> lines = split_lines(data);
    if (lines.size() < definition_lines)
        return false;
    const char *size = lines[2].c_str();
    if (!read_size_word(size, definition.cols) || !read_size_word(next_arg(size), definition.rows))
        return false;
    definition.name = popup_key(lines[0].c_str());
    definition.title = lines[1];
    definition.refresh_command = lines[3].substr(0, popup_command_max);
    read_flags(lines[4].c_str(), definition);
    return true;
}
