#ifndef VUSK_TEST_HEAP_IN_USE_H
#define VUSK_TEST_HEAP_IN_USE_H

// Bytes of heap in use by the process, for checks of memory growth and the
// memory figures. Under AddressSanitizer the C library's malloc statistics
// report 0 (the sanitizer's allocator serves every allocation), so the
// sanitizer's own count is read instead.

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define VUSK_HEAP_FROM_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VUSK_HEAP_FROM_SANITIZER 1
#endif
#endif

#if defined(VUSK_HEAP_FROM_SANITIZER)
// From the sanitizer runtime (GCC ships no header for it).
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
