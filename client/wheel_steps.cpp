#include "wheel_steps.h"

#include <algorithm>

namespace {
constexpr int standard_wheel_delta = 120;
}

int wheel_accumulator::add(int rotation, int delta)
{
    if (delta <= 0)
        delta = standard_wheel_delta;
    total_ += rotation;
    long long pending = static_cast<long long>(pending_) + rotation;
    long long steps = pending / delta;
    pending_ = static_cast<int>(pending % delta);
    return static_cast<int>(std::clamp<long long>(steps, -most_steps, most_steps));
}
