#include "colorflash.h"

#include <algorithm>
#include <cstdint>

namespace {
int blend_channel(int start, int target, int counter, int steps)
{
    const int64_t mixed = int64_t(counter) * target + int64_t(start) * (steps - counter);
    return int(mixed / steps);
}

// Shows the current step of the flash's first segment and moves on; false
// when the flash has nothing left to show.
bool step_flash(colorflash &flash, vusk_color &shown)
{
    if (flash.segments.empty())
        return false;
    colorflash_segment &segment = flash.segments.front();
    const int counter = segment.counter;
    shown = vusk_color(blend_channel(flash.red, segment.red, counter, segment.steps),
                       blend_channel(flash.green, segment.green, counter, segment.steps),
                       blend_channel(flash.blue, segment.blue, counter, segment.steps));
    if (counter < segment.steps) {
        segment.counter = counter + 1;
    } else {
        flash.red = segment.red;
        flash.green = segment.green;
        flash.blue = segment.blue;
        flash.segments.pop_front();
    }
    return true;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
}

int colorflash_list::add(colorflash flash)
{
    if (flash.segments.size() > size_t(max_segments))
        flash.segments.resize(max_segments);
    int total = 0;
    for (colorflash_segment &segment : flash.segments) {
        segment.steps = std::clamp(segment.steps, 1, max_steps);
        segment.counter = 0;
        total += segment.steps + 1;
    }
    if (flashes.size() >= size_t(max_flashes))
        flashes.pop_back();
    flashes.push_front(std::move(flash));
    return total;
}

vusk_color colorflash_list::next_color(const vusk_color &base)
{
    vusk_color brightest;
    bool any = false;
    for (auto flash = flashes.begin(); flash != flashes.end();) {
        vusk_color shown;
        if (!step_flash(*flash, shown)) {
            flash = flashes.erase(flash);
            continue;
        }
        brightest = vusk_color(std::max(brightest.r, shown.r), std::max(brightest.g, shown.g),
                               std::max(brightest.b, shown.b));
        any = true;
        ++flash;
    }
    return any ? brightest : base;
}

vusk_color GetColorFromHexString(const char *text)
{
    constexpr int digits = 6;
    int value = 0;
    for (int i = 0; i < digits; ++i) {
        const int digit = text == nullptr ? -1 : hex_digit(text[i]);
        if (digit < 0)
            return vusk_BLACK;
        value = value * 16 + digit;
    }
    return vusk_color((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}
