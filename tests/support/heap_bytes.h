#ifndef VUSK_TEST_HEAP_BYTES_H
#define VUSK_TEST_HEAP_BYTES_H

// Bytes of heap in use, for the checks of memory growth and the memory
// figures: the sanitizer's count under AddressSanitizer (its allocator serves
// every allocation, and malloc's own statistics then report 0), else malloc's.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__) // GCC
#define VUSK_HEAP_FROM_SANITIZER 1
#elif defined(__has_feature) // clang
#if __has_feature(address_sanitizer)
#define VUSK_HEAP_FROM_SANITIZER 1
#endif
#endif

#if defined(VUSK_HEAP_FROM_SANITIZER)
// From the sanitizer runtime; GCC ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

inline size_t heap_bytes_in_use()
{
#if defined(VUSK_HEAP_FROM_SANITIZER)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

#endif
