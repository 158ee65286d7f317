#include "text_arena.h"

#include <cassert>

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
