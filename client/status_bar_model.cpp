#include "status_bar_model.h"

#include <algorithm>
#include <cstdint>

namespace {
constexpr int icon_left = 2;
constexpr int icon_pitch = 18;
constexpr int icon_column_width = 18;
constexpr int text_gap = 10;
constexpr int sky_left = 100;
constexpr int sky_top = 1;
constexpr int sky_right_gap = 10; // between the sky and the time text
constexpr int sky_min_width = 21;

bool within(int x, int left, int right)
{
    return x >= left && x <= right;
}
}

void ping_statistics::record_ping_time(int ms)
{
    ping_samples[ping_index] = std::max(ms, 0);
    ping_count = std::min(ping_count + 1, ping_sample_count);
    ping_index = (ping_index + 1) % ping_sample_count;
    int64_t sum = 0;
    for (int i = 0; i < ping_count; ++i)
        sum += ping_samples[i];
    ping_average = int(sum / ping_count);
}

void ping_statistics::reset_pings()
{
    ping_average = 0;
    ping_count = 0;
    ping_index = 0;
}

bool parse_icon_flags(const char *flags, int (&icons)[status_bar_icon_count])
{
    bool changed = false;
    bool ended = flags == nullptr;
    for (int i = 0; i < status_bar_icon_count; ++i) {
        ended = ended || flags[i] == '\0';
        const int on = !ended && flags[i] == '1';
        changed = changed || icons[i] != on;
        icons[i] = on;
    }
    return changed;
}

status_bar_geometry compute_status_bar_geometry(int width, int height, int lock_width, int ping_text_width,
                                                int ping_text_height, int time_text_width)
{
    status_bar_geometry g;
    g.bar_right = width;
    g.lock_x = width - lock_width;
    g.text_y = (height - ping_text_height) / 2;
    g.ping_right = g.lock_x - text_gap;
    g.ping_x = g.ping_right - ping_text_width;
    g.time_right = g.ping_x - text_gap;
    g.time_x = g.time_right - time_text_width;
    g.sky_width = g.time_x - sky_left - sky_right_gap;
    if (g.sky_width < sky_min_width) {
        const int shortfall = sky_min_width - g.sky_width;
        for (int *x : {&g.time_right, &g.time_x, &g.ping_right, &g.ping_x, &g.bar_right, &g.lock_x})
            *x += shortfall;
        g.sky_width = sky_min_width;
    }
    g.sky_x = sky_left;
    g.sky_y = sky_top;
    g.sky_height = std::max(height - 2 * sky_top, 1);
    return g;
}

int status_icon_x(int icon)
{
    return icon_left + icon_pitch * icon;
}

status_bar_hit status_bar_spot_at(const status_bar_geometry &g, int x, bool locked)
{
    status_bar_hit hit;
    for (int i = 0; i < status_bar_icon_count; ++i) {
        if (within(x, status_icon_x(i), status_icon_x(i) + icon_column_width - 1)) {
            hit.spot = status_bar_spot::icon;
            hit.icon = i;
            return hit;
        }
    }
    if (within(x, g.ping_x, g.ping_right))
        hit.spot = status_bar_spot::ping;
    else if (within(x, g.time_x, g.time_right))
        hit.spot = status_bar_spot::time;
    else if (locked && within(x, g.lock_x, g.bar_right))
        hit.spot = status_bar_spot::lock;
    return hit;
}
