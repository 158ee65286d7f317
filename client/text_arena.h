#ifndef VUSK_TEXT_ARENA_H
#define VUSK_TEXT_ARENA_H

#include <cstddef>
#include <memory>
#include <deque>

// Append-only storage for text that is released all at once: bytes are
// written into large blocks, with no per-string allocation or overhead.
class text_arena {
public:
    // Room for at least `size` bytes, valid until the next reserve or clear.
    char *reserve(std::size_t size);
    // Keeps the first `used` bytes of the last reservation.
    void commit(std::size_t used);
    void clear();
    // Gives back the blocks before the one that holds `oldest_kept`.
    void release_before(const char *oldest_kept);

private:
    static constexpr std::size_t block_size = 64 * 1024;

    std::deque<std::unique_ptr<char[]>> blocks;
    std::size_t used_in_last = block_size;
};

#endif
