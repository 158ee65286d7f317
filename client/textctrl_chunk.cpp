#include "textctrl_chunk.h"

#include "bulk_allocate.h"

#include <mutex>
#include <new>

namespace {
// A free chunk is linked through its first word, as the blocks from
// bulk_allocate already are.
struct free_chunk {
    free_chunk *next;
};

constexpr std::size_t chunks_per_refill = 65536;

// The pool is shared by every store; stores normally live on the GUI thread,
// but each has its own lock, so the pool needs one too.
std::mutex pool_lock;
free_chunk *empty_list = nullptr;
long in_use = 0;
}

void *vusk_textctrl_chunk::operator new(std::size_t)
{
    std::lock_guard<std::mutex> hold(pool_lock);
    if (empty_list == nullptr)
        empty_list = static_cast<free_chunk *>(bulk_allocate(
            int(sizeof(vusk_textctrl_chunk)), "class vusk_textctrl_chunk",
            int(chunks_per_refill * sizeof(vusk_textctrl_chunk))));
    free_chunk *chunk = empty_list;
    empty_list = chunk->next;
    ++in_use;
    return chunk;
}

void vusk_textctrl_chunk::operator delete(void *chunk) noexcept
{
    if (chunk == nullptr)
        return;
    std::lock_guard<std::mutex> hold(pool_lock);
    free_chunk *slot = static_cast<free_chunk *>(chunk);
    slot->next = empty_list;
    empty_list = slot;
    --in_use;
}

long vusk_textctrl_chunk::chunks_in_use()
{
    std::lock_guard<std::mutex> hold(pool_lock);
    return in_use;
}

void vusk_textctrl_line::empty()
{
    vusk_textctrl_chunk *chunk = head;
    while (chunk != nullptr) {
        vusk_textctrl_chunk *next = chunk->next;
        delete chunk;
        chunk = next;
    }
    head = nullptr;
    tail = &head;
    ends_with_newline = 0;
}

void vusk_textctrl_line::append(vusk_textctrl_chunk *chunk)
{
    *tail = chunk;
    tail = &chunk->next;
}

int vusk_textctrl_line::character_count() const
{
    int count = 0;
    for (const vusk_textctrl_chunk *chunk = head; chunk != nullptr; chunk = chunk->next)
        count += chunk->length;
    return count;
}
