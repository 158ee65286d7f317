#ifndef VUSK_DEBUG_FILL_H
#define VUSK_DEBUG_FILL_H

// Generated test text for filling a scrollback ("//debugfill"): lines of
// random words, each word in its own random text and background colour.

#include "vusk_color.h"

#include <string>

class debug_fill_target {
public:
    virtual ~debug_fill_target() = default;
    virtual void debug_fill_color(const vusk_color &text, const vusk_color &background) = 0;
    virtual void debug_fill_append(const char *text) = 0;
};

// A word of `length` letters counting down from the letter `length` places
// after 'a' to 'b' ("dcb" for 3).
std::string debug_fill_word(int length);

// Writes `lines` lines of up to 49 words; returns the letters and blanks
// written.
long long write_debug_fill(debug_fill_target &target, int lines);

#endif
