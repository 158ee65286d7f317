#ifndef VUSK_TEXTCTRL_CHUNK_H
#define VUSK_TEXTCTRL_CHUNK_H

#include <cstddef>
#include <vector>

// One run of text in one colour on a display line: a slice of the bytes of a
// raw chunk (below), so wrapping and re-wrapping never copy text. Use `text`
// with `length`: a display chunk's text is not NUL-terminated. The length
// fits 16 bits because no raw chunk is longer than `longest_raw_chunk`, the
// colour is kept in bytes and the width in pixels is worked out when needed,
// so that a chunk stays at 24 bytes, which keeps a long scrollback small.
struct vusk_textctrl_chunk {
    static constexpr int longest_raw_chunk = 7999;

    const char *text = nullptr;
    vusk_textctrl_chunk *next = nullptr;
    unsigned short length = 0;
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};
// The scrollback's memory figures count on these sizes.
static_assert(sizeof(vusk_textctrl_chunk) == 24, "a display chunk is 24 bytes");
static_assert(vusk_textctrl_chunk::longest_raw_chunk <= 0xFFFF, "a chunk's length fits its field");

// One raw chunk: a piece of an append as it was written, at most
// `longest_raw_chunk` bytes of the store's text arena in one colour. Raw
// chunks are kept in order in a queue, so they need no link.
struct vusk_textctrl_raw_chunk {
    const char *text = nullptr;
    unsigned short length = 0;
    unsigned char red = 0;
    unsigned char green = 0;
    unsigned char blue = 0;
};
static_assert(sizeof(vusk_textctrl_raw_chunk) == 16, "a raw chunk is 16 bytes");

// One display line: its chunks. Only the newest line grows, so the store
// keeps where its next chunk is linked in.
struct vusk_textctrl_line {
    vusk_textctrl_chunk *head = nullptr;
    int ends_with_newline = 0;

    void empty();
    int character_count() const;
};
static_assert(sizeof(vusk_textctrl_line) == 16, "a display line is 16 bytes");

// Hands out a store's chunks in order from slabs of a process-wide pool.
// Chunks are never freed one by one: a store gives all of one kind back at
// once (a re-wrap its display chunks, a clear everything), so chunks laid out
// together sit together in memory and a re-wrap walks them in order. Slabs
// come from bulk_allocate in large blocks and are never returned to the
// system; a slab given back serves the next store.
class chunk_allocator {
public:
    chunk_allocator() = default;
    ~chunk_allocator() { release(); }
    chunk_allocator(const chunk_allocator &) = delete;
    chunk_allocator &operator=(const chunk_allocator &) = delete;

    vusk_textctrl_chunk *take();
    // Every chunk taken is free again; the slabs stay with this allocator.
    void rewind();
    // Every slab goes back to the pool.
    void release();
    // The slabs before the one that holds `oldest_kept` go back to the pool
    // (chunks are taken in order, so every chunk in them is older).
    void release_before(const vusk_textctrl_chunk *oldest_kept);

    // Slabs held by all allocators (for tests and the memory figures).
    static long slabs_in_use();

private:
    std::vector<vusk_textctrl_chunk *> slabs;
    std::size_t slab_index = 0;
    std::size_t used_in_slab = 0;
};

#endif
