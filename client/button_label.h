#ifndef VUSK_BUTTON_LABEL_H
#define VUSK_BUTTON_LABEL_H

// Fitting a button's label into the button's width, and wrapping a function
// key's label into two lines. Windowless: the width of a character comes from
// the caller (a glyph font in the client, fixed widths in the tests).

#include <cstdint>
#include <functional>
#include <string>

// Labels and commands from the server keep at most this many characters.
constexpr int button_text_max = 400;
// One line of a label never shows more characters than this.
constexpr int button_line_max_chars = 254;

// The number of leading characters of `text` whose widths add up to at most
// `width_limit`: at least 1 (a button shows something) and at most 254; 0 only
// for empty text. `char_width(c)` gives the width of one character.
template <class CharWidth>
int count_fitting_chars(const char *text, int width_limit, CharWidth char_width)
{
    int64_t width = 0;
    int count = 0;
    while (text[count] != '\0' && count < button_line_max_chars) {
        width += char_width(text[count]);
        if (width > width_limit)
            return count > 0 ? count : 1;
        ++count;
    }
    return count;
}

// Copies at most `max_length` characters of the first line of `text` (up to
// its first newline) into `dest`, which holds max_length + 1 bytes. A null
// text gives the empty string.
void copy_first_line(char *dest, const char *text, int max_length);

// What a function key shows under its name.
struct fkey_label_lines {
    std::string line1;
    std::string line2;
};

// Breaks `label` into at most two lines. `fitting(text)` is the number of
// leading characters of a non-empty text that fit on one line of the key
// (count_fitting_chars with the key's width); it is never called with an
// empty text. Whatever does not fit in the two lines is not shown.
fkey_label_lines wrap_fkey_label(const char *label, const std::function<int(const char *)> &fitting);

#endif
