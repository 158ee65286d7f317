#include "bulk_allocate.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr size_t link_size = sizeof(void *);

// Each object carries a link in its first word, so it needs room for one and
// must start where a pointer may be stored.
size_t linkable_size(int object_size)
{
    size_t size = object_size > 0 ? static_cast<size_t>(object_size) : link_size;
    return (size + link_size - 1) / link_size * link_size;
}

[[noreturn]] void out_of_memory(const char *type_name, size_t bytes)
{
    fprintf(stderr, "Out of memory: cannot allocate %zu bytes for %s\n", bytes,
            type_name ? type_name : "objects");
    exit(1);
}

}

void *bulk_allocate(int object_size, const char *type_name, int block_size)
{
    size_t object_bytes = linkable_size(object_size);
    size_t requested_block = block_size > 0 ? static_cast<size_t>(block_size) : 0;
    bool fits = object_bytes <= requested_block;
    size_t count = fits ? requested_block / object_bytes : 1;
    size_t block_bytes = fits ? requested_block : object_bytes;

    char *block = static_cast<char *>(malloc(block_bytes));
    if (block == nullptr)
        out_of_memory(type_name, block_bytes);

    for (size_t k = 0; k < count; ++k) {
        char *object = block + k * object_bytes;
        void *next = k + 1 < count ? object + object_bytes : nullptr;
        *reinterpret_cast<void **>(object) = next;
    }
    return block;
}
