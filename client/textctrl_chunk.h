#ifndef VUSK_TEXTCTRL_CHUNK_H
#define VUSK_TEXTCTRL_CHUNK_H

#include <cstdint>

// One run of text in one colour, as the scrollback keeps it: tabs expanded
// and upper-half bytes transliterated. Appends of one colour whose texts
// follow each other in memory share a chunk up to `longest` bytes, so a chunk
// costs about one colour change. The text is not NUL-terminated.
struct vusk_textctrl_chunk {
    static constexpr int longest = 7999;

    const char *text = nullptr;
    unsigned short length = 0;
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
    // The text is the render list's copy (it needed no expansion), not the
    // scrollback's own.
    bool shared = false;
};
// The scrollback's memory figures count on these sizes.
static_assert(sizeof(vusk_textctrl_chunk) == 16, "a chunk is 16 bytes");
static_assert(vusk_textctrl_chunk::longest <= 0xFFFF, "a chunk's length fits its field");

// A place in the scrollback's text: a chunk, numbered from the first one
// appended since the last clear (the numbers wrap around, so only
// differences between them count), and a byte in it.
struct textctrl_place {
    uint32_t chunk = 0;
    unsigned short offset = 0;
};

// One display line: where it starts. It runs to where the next one starts
// (the newest line to the end of the text), less the newline that ended it,
// so a line costs 8 bytes however many colours it holds.
struct vusk_textctrl_line {
    uint32_t chunk = 0;
    unsigned short offset = 0;
    unsigned short ends_with_newline = 0;

    textctrl_place start() const { return {chunk, offset}; }
};
static_assert(sizeof(vusk_textctrl_line) == 8, "a display line is 8 bytes");

#endif
