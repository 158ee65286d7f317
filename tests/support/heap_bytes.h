#ifndef VUSK_TEST_HEAP_BYTES_H
#define VUSK_TEST_HEAP_BYTES_H

// Bytes of heap in use: the sanitizer's count under AddressSanitizer (whose
// allocator malloc statistics do not see), else malloc's own.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; GCC ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

inline size_t heap_bytes_in_use()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

#endif
