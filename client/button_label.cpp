#include "button_label.h"
#include "util.h"

#include <algorithm>
#include <cstring>

namespace {

// The first word of a label is looked at up to this many characters.
constexpr size_t first_word_max = 7999;
// The second line of a function key holds at most this many characters.
constexpr size_t line2_max_chars = 98;

bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

size_t first_blank(const char *text)
{
    return std::strcspn(text, " \t\n");
}

// A line of the label with tabs and newlines shown as spaces.
std::string as_line(const char *text, size_t length)
{
    std::string line(text, length);
    std::replace_if(line.begin(), line.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    return line;
}

// Line 1 and where the rest begins (null when nothing is left for line 2).
const char *break_first_line(const char *label, size_t fit, std::string &line1)
{
    const size_t length = std::strlen(label);
    const size_t first_word = std::min(first_blank(label), first_word_max);
    if (first_word > fit) {
        // A first word too long for the key: show what fits of it, drop the
        // rest of it and go on with the second word.
        line1 = as_line(label, fit);
        return label + first_word;
    }
    if (length == fit) {
        line1 = as_line(label, fit);
        return nullptr;
    }
    size_t end = fit;
    // Break at the last blank that fits (there is one: the first word fits).
    while (end > 0 && !is_blank(label[end]))
        --end;
    while (end > 0 && is_blank(label[end - 1]))
        --end;
    line1 = as_line(label, end);
    return label + end;
}

// Line 2: what fits of the rest, ended early at a space among its last three
// characters so that it does not end in the first letters of a cut word.
std::string second_line(const char *rest, const std::function<int(const char *)> &fitting)
{
    const size_t fit = size_t(std::max(fitting(rest), 0));
    std::string line = as_line(rest, std::min({fit, line2_max_chars, std::strlen(rest)}));
    const size_t checked = fit > 1 ? std::min(size_t(1) + (fit >= 3) + (fit >= 4), line.size()) : 0;
    size_t end = line.size();
    for (size_t back = 1; back <= checked; ++back) {
        if (line[line.size() - back] == ' ')
            end = line.size() - back;
    }
    line.resize(end);
    return line;
}

} // namespace

void copy_first_line(char *dest, const char *text, int max_length)
{
    safe_strcpy(dest, text, max_length + 1);
    dest[std::strcspn(dest, "\n")] = '\0';
}

fkey_label_lines wrap_fkey_label(const char *label, const std::function<int(const char *)> &fitting)
{
    fkey_label_lines lines;
    if (label == nullptr || *label == '\0')
        return lines;
    const size_t fit = std::min(size_t(std::max(fitting(label), 0)), std::strlen(label));
    const char *rest = break_first_line(label, fit, lines.line1);
    if (rest == nullptr)
        return lines;
    while (is_blank(*rest))
        ++rest;
    // A label that ends in blanks leaves nothing for a second line.
    if (*rest != '\0')
        lines.line2 = second_line(rest, fitting);
    return lines;
}
