#include "tick_counters.h"

int global_shutdown_flag = 0;

bool shutdown_countdown_tick(int &countdown)
{
    if (countdown <= 0)
        return false;
    --countdown;
    return countdown == 1;
}

bool trigger_force_counter::tick(bool line_pending)
{
    if (!line_pending) {
        waiting_ticks_ = 0;
        return false;
    }
    if (++waiting_ticks_ < ticks_to_wait)
        return false;
    waiting_ticks_ = 0;
    return true;
}

bool periodic_tick::tick()
{
    if (++count_ < period_)
        return false;
    count_ = 0;
    return true;
}

long tick_pacer::start(long long now_ms)
{
    deadline_ = now_ms + period_;
    return period_;
}

long tick_pacer::next_delay(long long now_ms)
{
    deadline_ += period_;
    if (deadline_ <= now_ms - period_)
        deadline_ = now_ms + period_;
    return deadline_ > now_ms ? static_cast<long>(deadline_ - now_ms) : 1;
}
