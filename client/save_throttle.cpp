#include "save_throttle.h"

bool save_throttle::take_due(long long now_ms)
{
    if (!requested || (saved_before && now_ms - last_save_ms < interval_ms))
        return false;
    requested = false;
    saved_before = true;
    last_save_ms = now_ms;
    return true;
}
