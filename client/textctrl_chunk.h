#ifndef VUSK_TEXTCTRL_CHUNK_H
#define VUSK_TEXTCTRL_CHUNK_H

#include <cstddef>

// One run of text in one colour. A raw chunk is one piece of an append as it
// was written (its bytes live in the store's text arena); a display chunk is a
// slice of a raw chunk's bytes placed on one display line, so wrapping and
// re-wrapping never copy text. Neither kind is NUL-terminated through
// `length`: always use `text` with `length`.
//
// Chunks come from a process-wide pool that grows in large blocks and is never
// returned to the system; the colour is kept in bytes so that a chunk stays at
// 32 bytes, which is what keeps a long scrollback small.
struct vusk_textctrl_chunk final {
    const char *text = nullptr;
    vusk_textctrl_chunk *next = nullptr;
    int pixel_width = 0;
    int length = 0;
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;

    static void *operator new(std::size_t size);
    static void operator delete(void *chunk) noexcept;

    // Chunks taken from the pool and not yet given back (for tests and the
    // memory figures).
    static long chunks_in_use();
};

// One display line: its chunks, and where the next chunk is linked in.
struct vusk_textctrl_line {
    vusk_textctrl_chunk *head = nullptr;
    vusk_textctrl_chunk **tail = &head;
    int ends_with_newline = 0;

    vusk_textctrl_line() = default;
    vusk_textctrl_line(const vusk_textctrl_line &) = delete;
    vusk_textctrl_line &operator=(const vusk_textctrl_line &) = delete;

    // Gives every chunk back to the pool and leaves the line empty.
    void empty();
    void append(vusk_textctrl_chunk *chunk);
    int character_count() const;
};

#endif
