#include "url.h"

#include <cstring>

namespace {

const char *const url_headers[] = {"http://", "https://", "ftp://"};
const char web_prefix[] = "www.";
constexpr int shortest_domain_ending = 2;
constexpr int longest_domain_ending = 4;

bool is_trimmed_punctuation(char character)
{
    return character == '.' || character == ',' || character == '?';
}

bool is_lower_letter(char character)
{
    return character >= 'a' && character <= 'z';
}

int find_url_start(const char *text, int position)
{
    int start = position;
    while (!is_url_header(text + start) && start > 0 && is_allowed_url_char(text[start - 1]))
        --start;
    return start;
}

int find_url_end(const char *text, int position)
{
    int end = position;
    while (is_allowed_url_char(text[end + 1]))
        ++end;
    return end;
}

bool contains_at_sign(const char *text, int start, int end)
{
    return memchr(text + start, '@', static_cast<size_t>(end - start + 1)) != nullptr;
}

// Every ':' must start a port number.
bool colons_start_ports(const char *url)
{
    for (const char *colon = strchr(url, ':'); colon != nullptr; colon = strchr(colon + 1, ':'))
        if (!is_decimal_digit(colon[1]))
            return false;
    return true;
}

// A '.' followed by two to four lower-case letters that end the text or a '/'.
bool has_domain_ending(const char *url)
{
    for (const char *dot = strchr(url, '.'); dot != nullptr; dot = strchr(dot + 1, '.')) {
        int letters = 0;
        while (is_lower_letter(dot[1 + letters]))
            ++letters;
        char after = dot[1 + letters];
        if (letters >= shortest_domain_ending && letters <= longest_domain_ending &&
            (after == '\0' || after == '/'))
            return true;
    }
    return false;
}

// Without a header or "www." the candidate must look like a host name.
bool looks_like_address(const char *url)
{
    if (is_url_header(url) || strncmp(url, web_prefix, sizeof web_prefix - 1) == 0)
        return true;
    return colons_start_ports(url) && has_domain_ending(url);
}

// Copies text[start..end] into out; false when it holds no '.'.
bool copy_with_dot(Buffer &out, const char *text, int start, int end)
{
    bool has_dot = false;
    for (int k = start; k <= end; ++k) {
        has_dot = has_dot || text[k] == '.';
        buffer_append_char(out, text[k]);
    }
    return has_dot;
}

}

bool is_allowed_url_char(char character)
{
    if (character < '!' || character > '~')
        return false;
    return strchr("'\"`!()*<>", character) == nullptr;
}

bool is_url_header(const char *text)
{
    for (const char *header : url_headers)
        if (strncmp(text, header, strlen(header)) == 0)
            return true;
    return false;
}

int extract_url(Buffer &out, const char *text, int position, int *start, int *end)
{
    buffer_clear(out);
    if (text == nullptr || position < 0 || static_cast<size_t>(position) >= strlen(text) ||
        !is_allowed_url_char(text[position]))
        return 0;

    int first = find_url_start(text, position);
    int last = find_url_end(text, position);
    while (first < last && is_trimmed_punctuation(text[first]))
        ++first;
    while (first < last && is_trimmed_punctuation(text[last]))
        --last;

    // Mail addresses are not links.
    if (!is_url_header(text + first) && contains_at_sign(text, first, last))
        return 0;
    if (!copy_with_dot(out, text, first, last) || !looks_like_address(out.data)) {
        buffer_clear(out);
        return 0;
    }
    if (start != nullptr)
        *start = first;
    if (end != nullptr)
        *end = last;
    return 1;
}
