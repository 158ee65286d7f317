#include "retry_schedule.h"

#include <algorithm>

bool retry_schedule::due(long long now_ms, bool refused_writes_wait)
{
    if (!refused_writes_wait) {
        next_ms.reset();
        return false;
    }
    if (!next_ms) {
        next_ms = now_ms + pause_ms;
        return false;
    }
    if (now_ms < *next_ms)
        return false;
    pause_ms = std::min(pause_ms * 2, longest_pause_ms);
    next_ms.reset();
    return true;
}

void retry_schedule::disk_took_a_write(long long now_ms)
{
    pause_ms = first_pause_ms;
    if (next_ms)
        next_ms = std::min(*next_ms, now_ms + first_pause_ms);
}
