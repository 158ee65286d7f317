#ifndef VUSK_STATUS_BAR_MODEL_H
#define VUSK_STATUS_BAR_MODEL_H

// What the status bar keeps and where it draws, as plain numbers: the
// average of the last pings, the status icons the server switches, the
// places of the texts, the sky and the lock sign, and what lies under the
// pointer.

constexpr int ping_sample_count = 4;
constexpr int status_bar_icon_count = 5;

struct ping_statistics {
    int ping_average = 0;
    int ping_count = 0;
    int ping_index = 0;
    int ping_samples[ping_sample_count] = {};

    // Keeps the time (negative times count as 0) in place of the oldest and
    // averages the times kept.
    void record_ping_time(int ms);
    void reset_pings();
};

// Icon i is on when flags has a '1' at position i; null or short flags
// switch the rest off. Returns whether any icon changed.
bool parse_icon_flags(const char *flags, int (&icons)[status_bar_icon_count]);

struct status_bar_geometry {
    int text_y = 0;
    int ping_x = 0;
    int ping_right = 0;
    int time_x = 0;
    int time_right = 0;
    int lock_x = 0;
    int bar_right = 0;
    int sky_x = 0;
    int sky_y = 0;
    int sky_width = 1;
    int sky_height = 1;
};

// The texts and the lock sign sit at the right end, the sky between the
// icons and the time; a bar too narrow for the smallest sky pushes the texts
// and the lock sign beyond its right edge.
status_bar_geometry compute_status_bar_geometry(int width, int height, int lock_width, int ping_text_width,
                                                int ping_text_height, int time_text_width);

enum class status_bar_spot { none, icon, ping, time, lock };

struct status_bar_hit {
    status_bar_spot spot = status_bar_spot::none;
    int icon = -1; // for status_bar_spot::icon
};

// What lies at x: an icon column, the ping or time text, or, while the view
// is locked, the lock sign. Every range includes both ends.
status_bar_hit status_bar_spot_at(const status_bar_geometry &geometry, int x, bool locked);

// Left edge of icon i.
int status_icon_x(int icon);
constexpr int status_icon_y = 2;

#endif
