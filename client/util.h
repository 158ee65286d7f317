#ifndef VUSK_UTIL_H
#define VUSK_UTIL_H

// Text buffers, command words and small string helpers shared by every part
// of the client. All text is 8-bit and NUL-terminated.

#include <cstdio>

constexpr int buffer_capacity = 8000;

// A fixed text buffer: at most buffer_capacity - 1 characters and the NUL.
// Appends stop silently at the capacity; the text always stays terminated.
// After a string append was cut, length is buffer_capacity (the mark that
// the text was cut) while data still holds buffer_capacity - 1 characters.
struct Buffer {
    char data[buffer_capacity];
    int size = buffer_capacity;
    int length = 0;

    Buffer() { data[0] = '\0'; }
};

void buffer_clear(Buffer &buffer);
void buffer_append_char(Buffer &buffer, char character);
void buffer_append(Buffer &buffer, const char *text);

// Command words. Whitespace is the blank, the line feed and the tab; a word
// ends at whitespace or at the end of the string; case folding maps only
// 'A'..'Z'. Words of max_command_word_length characters or more never match.
constexpr int max_command_word_length = 400;

// The length of the first word of typed when it is a case-insensitive prefix
// of full's first word and at least minimum long; 0 otherwise.
int is_abbrev(const char *typed, const char *full, int minimum);
// 1 when the first words of a and b are equal, case-insensitively.
int wordcmp(const char *a, const char *b);
// The start of the second word of text, or null when there is none.
const char *next_arg(const char *text);
char *next_arg(char *text);

// Copies at most size - 1 characters and always terminates dest (when size
// leaves room for the terminator at all).
void safe_strcpy(char *dest, const char *src, int size);

// Heap strings owned by whoever holds them, released with free_string.
char *copy_string(const char *text);
char *copy_string(const char *text, int count);
void replace_string(char **slot, const char *text);
void free_string(char **slot);

// Reads one line (ended by a line feed, a NUL byte or the end of the file)
// into buffer. Returns 0 at the end of the file, otherwise the line's length
// plus 1, or size when the line was cut; the rest of a cut line is what the
// next call reads.
int fget_line(FILE *file, char *buffer, int size);

inline bool is_decimal_digit(char character)
{
    return character >= '0' && character <= '9';
}

// 1 when text starts with a digit, or a sign and a digit; value then receives
// the leading integer, clamped to the int range.
int is_int(const char *text, int *value);

// atoi's reading (leading blanks, a sign, digits; 0 when there are none),
// but a value beyond int saturates instead of being undefined.
int read_int_clamped(const char *text);

// Direction of (dx, dy) in whole degrees 0..360, growing from +x toward +y.
int calc_angle(int dx, int dy);

#endif
