#include "text_arena.h"

#include <cassert>
#include <functional>

char *text_arena::reserve(std::size_t size)
{
    assert(size <= block_size);
    if (blocks.empty() || block_size - used_in_last < size) {
        blocks.emplace_back(new char[block_size]);
        used_in_last = 0;
    }
    return blocks.back().get() + used_in_last;
}

void text_arena::commit(std::size_t used)
{
    used_in_last += used;
}

void text_arena::clear()
{
    blocks.clear();
    used_in_last = block_size;
}

void text_arena::release_before(const char *oldest_kept)
{
    auto holds = [oldest_kept](const std::unique_ptr<char[]> &block) {
        return std::less_equal<const char *>()(block.get(), oldest_kept) &&
               std::less_equal<const char *>()(oldest_kept, block.get() + block_size);
    };
    while (blocks.size() > 1 && !holds(blocks.front()))
        blocks.pop_front();
}
