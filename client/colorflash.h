#ifndef VUSK_COLORFLASH_H
#define VUSK_COLORFLASH_H

#include "vusk_color.h"

#include <deque>

// One leg of a background colour flash: `steps` steps from the flash's current
// colour to this target; `counter` is the number of steps already shown.
struct colorflash_segment {
    int red = 0;
    int green = 0;
    int blue = 0;
    int steps = 1;
    int counter = 0;
};

// A flash: the colour its first remaining segment starts from, and the
// segments still to run.
struct colorflash {
    int red = 0;
    int green = 0;
    int blue = 0;
    std::deque<colorflash_segment> segments;
};

// The flashes of one window, newest first. Flashes come from the server, so
// both the number of flashes and the segments of one are capped.
class colorflash_list {
public:
    static constexpr int max_steps = 1000;
    static constexpr int max_flashes = 32;
    static constexpr int max_segments = 64;

    // Adds a flash; steps are brought into 1..max_steps, segments beyond
    // max_segments are dropped and the oldest flash makes room when full.
    // Returns the number of animation steps the flash will take.
    int add(colorflash flash);

    // Advances every flash by one step and returns the background to show: the
    // per-channel maximum of the flashes, or `base` when none is left.
    vusk_color next_color(const vusk_color &base);

    bool empty() const { return flashes.empty(); }
    void clear() { flashes.clear(); }

private:
    std::deque<colorflash> flashes;
};

// "RRGGBB" as a colour; black when the first six characters are not all
// hexadecimal digits.
vusk_color GetColorFromHexString(const char *text);

#endif
