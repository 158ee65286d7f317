#include "textctrl_chunk.h"

#include "bulk_allocate.h"

#include <functional>
#include <mutex>
#include <new>

namespace {
constexpr std::size_t chunks_per_slab = 512;
constexpr std::size_t slab_bytes = chunks_per_slab * sizeof(vusk_textctrl_chunk);
// 65536 chunks per refill of the pool.
constexpr std::size_t slabs_per_refill = 128;

// A free slab is linked through its first word, as the blocks from
// bulk_allocate already are.
struct free_slab {
    free_slab *next;
};

// Stores normally live on the GUI thread, but each has its own lock, so the
// pool they share has one too.
std::mutex pool_lock;
free_slab *empty_list = nullptr;
long slabs_taken = 0;

vusk_textctrl_chunk *take_slab()
{
    std::lock_guard<std::mutex> hold(pool_lock);
    if (empty_list == nullptr)
        empty_list = static_cast<free_slab *>(
            bulk_allocate(int(slab_bytes), "class vusk_textctrl_chunk", int(slab_bytes * slabs_per_refill)));
    free_slab *slab = empty_list;
    empty_list = slab->next;
    ++slabs_taken;
    return reinterpret_cast<vusk_textctrl_chunk *>(slab);
}

void give_back_slabs(const std::vector<vusk_textctrl_chunk *> &slabs)
{
    std::lock_guard<std::mutex> hold(pool_lock);
    for (vusk_textctrl_chunk *chunks : slabs) {
        free_slab *slab = reinterpret_cast<free_slab *>(chunks);
        slab->next = empty_list;
        empty_list = slab;
    }
    slabs_taken -= long(slabs.size());
}
}

vusk_textctrl_chunk *chunk_allocator::take()
{
    if (slab_index < slabs.size() && used_in_slab == chunks_per_slab) {
        ++slab_index;
        used_in_slab = 0;
    }
    if (slab_index == slabs.size())
        slabs.push_back(take_slab());
    return new (slabs[slab_index] + used_in_slab++) vusk_textctrl_chunk;
}

void chunk_allocator::rewind()
{
    slab_index = 0;
    used_in_slab = 0;
}

void chunk_allocator::release()
{
    give_back_slabs(slabs);
    slabs.clear();
    rewind();
}

void chunk_allocator::release_before(const vusk_textctrl_chunk *oldest_kept)
{
    auto holds = [oldest_kept](const vusk_textctrl_chunk *slab) {
        return std::less_equal<const vusk_textctrl_chunk *>()(slab, oldest_kept) &&
               std::less<const vusk_textctrl_chunk *>()(oldest_kept, slab + chunks_per_slab);
    };
    std::size_t unused = 0;
    while (unused < slab_index && !holds(slabs[unused]))
        ++unused;
    if (unused == 0)
        return;
    give_back_slabs(std::vector<vusk_textctrl_chunk *>(slabs.begin(), slabs.begin() + std::ptrdiff_t(unused)));
    slabs.erase(slabs.begin(), slabs.begin() + std::ptrdiff_t(unused));
    slab_index -= unused;
}

long chunk_allocator::slabs_in_use()
{
    std::lock_guard<std::mutex> hold(pool_lock);
    return slabs_taken;
}

void vusk_textctrl_line::empty()
{
    head = nullptr;
    ends_with_newline = 0;
}

int vusk_textctrl_line::character_count() const
{
    int count = 0;
    for (const vusk_textctrl_chunk *chunk = head; chunk != nullptr; chunk = chunk->next)
        count += chunk->length;
    return count;
}
