#include "bulk_allocate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

// Blocks are never released; keeping them reachable (in storage that no
// destructor clears before the leak check at exit) tells the leak checker so.
void *kept_blocks[8];
size_t kept_count = 0;

void *next_link(void *object)
{
    return *static_cast<void **>(object);
}

// Walks the chain, checking every object is usable in full (ASan watches the
// writes) and pointer-aligned, and returns the number of objects.
size_t walk_chain(void *first, size_t usable_bytes, size_t expected_stride)
{
    size_t count = 0;
    for (void *object = first; object != nullptr; ++count) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(object) % alignof(void *), 0u);
        void *next = next_link(object);
        if (next != nullptr) {
            EXPECT_EQ(static_cast<char *>(next) - static_cast<char *>(object),
                      static_cast<ptrdiff_t>(expected_stride));
        }
        memset(object, 0xA5, usable_bytes);
        object = next;
    }
    return count;
}

void *allocate(int object_size, int block_size)
{
    void *first = bulk_allocate(object_size, "class test_object", block_size);
    if (kept_count < sizeof kept_blocks / sizeof kept_blocks[0])
        kept_blocks[kept_count++] = first;
    return first;
}

}

TEST(BulkAllocate, ScrollbackBlockHolds65536Chunks)
{
    EXPECT_EQ(walk_chain(allocate(24, 1572864), 24, 24), 65536u);
}

TEST(BulkAllocate, RemainderOfTheBlockIsLeftOver)
{
    EXPECT_EQ(walk_chain(allocate(24, 100), 24, 24), 4u);
}

TEST(BulkAllocate, ObjectLargerThanTheBlockGetsItsOwn)
{
    void *single = allocate(24, 10);
    EXPECT_EQ(next_link(single), nullptr);
    EXPECT_EQ(walk_chain(single, 24, 24), 1u);
}

TEST(BulkAllocate, ObjectsAlwaysHoldAnAlignedLink)
{
    EXPECT_EQ(walk_chain(allocate(1, 64), sizeof(void *), sizeof(void *)), 64 / sizeof(void *));
    EXPECT_EQ(walk_chain(allocate(12, 160), 12, 16), 10u);
    EXPECT_EQ(walk_chain(allocate(0, 32), sizeof(void *), sizeof(void *)), 32 / sizeof(void *));
    EXPECT_EQ(walk_chain(allocate(24, -5), 24, 24), 1u);
}
