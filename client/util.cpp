#include "util.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

bool is_word_space(char character)
{
    return character == ' ' || character == '\n' || character == '\t';
}

bool is_word_end(char character)
{
    return character == '\0' || is_word_space(character);
}

char fold_case(char character)
{
    return (character >= 'A' && character <= 'Z') ? static_cast<char>(character - 'A' + 'a') : character;
}

char *duplicate_bytes(const char *text, size_t length)
{
    char *copy = new char[length + 1];
    memcpy(copy, text, length);
    copy[length] = '\0';
    return copy;
}

}

void buffer_clear(Buffer &buffer)
{
    buffer.length = 0;
    buffer.data[0] = '\0';
}

void buffer_append_char(Buffer &buffer, char character)
{
    if (buffer.length < 0 || buffer.length >= buffer_capacity - 1)
        return;
    buffer.data[buffer.length++] = character;
    buffer.data[buffer.length] = '\0';
}

void buffer_append(Buffer &buffer, const char *text)
{
    if (text == nullptr || buffer.length < 0)
        return;
    const int last = buffer_capacity - 1;
    while (*text != '\0' && buffer.length < last)
        buffer.data[buffer.length++] = *text++;
    if (*text != '\0') {
        buffer.data[last] = '\0';
        buffer.length = buffer_capacity;
    } else if (buffer.length < buffer_capacity) {
        buffer.data[buffer.length] = '\0';
    }
}

int is_abbrev(const char *typed, const char *full, int minimum)
{
    if (typed == nullptr || full == nullptr)
        return 0;
    int length = 0;
    while (!is_word_end(typed[length])) {
        if (length >= max_command_word_length - 1)
            return 0;
        if (fold_case(typed[length]) != fold_case(full[length]))
            return 0;
        ++length;
    }
    return length >= minimum ? length : 0;
}

int wordcmp(const char *a, const char *b)
{
    if (a == nullptr || b == nullptr)
        return 0;
    for (int position = 0; position < max_command_word_length; ++position) {
        if (is_word_end(a[position]))
            return is_word_end(b[position]) ? 1 : 0;
        if (is_word_end(b[position]) || fold_case(a[position]) != fold_case(b[position]))
            return 0;
    }
    return 0;
}

const char *next_arg(const char *text)
{
    if (text == nullptr)
        return nullptr;
    while (is_word_space(*text))
        ++text;
    while (!is_word_end(*text))
        ++text;
    while (is_word_space(*text))
        ++text;
    return *text != '\0' ? text : nullptr;
}

char *next_arg(char *text)
{
    return const_cast<char *>(next_arg(static_cast<const char *>(text)));
}

void safe_strcpy(char *dest, const char *src, int size)
{
    if (dest == nullptr || size < 1)
        return;
    dest[0] = '\0';
    if (src == nullptr || size < 2)
        return;
    size_t count = strnlen(src, static_cast<size_t>(size - 1));
    memcpy(dest, src, count);
    dest[count] = '\0';
}

char *copy_string(const char *text)
{
    return text ? duplicate_bytes(text, strlen(text)) : nullptr;
}

char *copy_string(const char *text, int count)
{
    if (text == nullptr)
        return nullptr;
    return duplicate_bytes(text, count > 0 ? strnlen(text, static_cast<size_t>(count)) : 0);
}

void replace_string(char **slot, const char *text)
{
    if (slot == nullptr)
        return;
    char *copy = copy_string(text);
    free_string(slot);
    *slot = copy;
}

void free_string(char **slot)
{
    if (slot == nullptr)
        return;
    delete[] *slot;
    *slot = nullptr;
}

int fget_line(FILE *file, char *buffer, int size)
{
    if (file == nullptr || buffer == nullptr || size < 1)
        return 0;
    buffer[0] = '\0';
    if (size < 2)
        return getc(file) == EOF ? 0 : 1;
    int length = 0;
    for (;;) {
        int character = getc(file);
        if (character == EOF) {
            if (length == 0)
                return 0;
            break;
        }
        if (character == '\n' || character == '\0')
            break;
        if (length == size - 1) {
            // The line goes on: leave this character for the next call.
            ungetc(character, file);
            buffer[length] = '\0';
            return size;
        }
        buffer[length++] = static_cast<char>(character);
    }
    buffer[length] = '\0';
    return length + 1;
}

int is_int(const char *text, int *value)
{
    if (text == nullptr)
        return 0;
    const char *digits = (*text == '-' || *text == '+') ? text + 1 : text;
    if (!is_decimal_digit(*digits))
        return 0;
    const bool negative = *text == '-';
    // Accumulate up to one past INT_MAX (the magnitude of INT_MIN) and stop
    // growing there, so that no digit string can overflow.
    const int64_t limit = static_cast<int64_t>(INT_MAX) + 1;
    int64_t magnitude = 0;
    for (; is_decimal_digit(*digits); ++digits) {
        magnitude = magnitude * 10 + (*digits - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    int64_t result = negative ? -magnitude : magnitude;
    if (value != nullptr)
        *value = static_cast<int>(result > INT_MAX ? INT_MAX : result);
    return 1;
}

int read_int_clamped(const char *text)
{
    if (!text)
        return 0;
    while (std::isspace(static_cast<unsigned char>(*text)))
        ++text;
    int value = 0;
    is_int(text, &value);
    return value;
}

int calc_angle(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return 0;
    // The program has always drawn its compass with this approximation of 2*pi.
    const double full_turn_radians = 6.2832;
    double radians = std::atan(std::fabs(static_cast<double>(dy) / (static_cast<double>(dx) + 0.001)));
    int degrees = static_cast<int>(radians * 360.0 / full_turn_radians);
    int angle;
    if (dx >= 0)
        angle = dy >= 0 ? degrees : -degrees;
    else
        angle = dy >= 0 ? 180 - degrees : degrees - 180;
    while (angle < 0)
        angle += 360;
    while (angle > 360)
        angle -= 360;
    return angle;
}
