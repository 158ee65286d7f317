#ifndef VUSK_SKY_MODEL_H
#define VUSK_SKY_MODEL_H

// The game's sky as plain numbers: the "skystate" message, and the colours
// and positions the sky bar paints for a minute of the game day. The picture
// is a band twice the bar's width that scrolls once a day; what lies in its
// left half is seen.

#include "vusk_color.h"

#include <cstdint>
#include <string>

constexpr int minutes_per_day = 1440;
// The time text is a clock reading; longer text from the server is cut.
constexpr size_t time_text_max_length = 63;

struct sky_state {
    int outdoors = 0;
    int sky_visible = 0;
    int overcast = 0;
    int sky_value = 0;
    int minute = 0; // 0..1439
    std::string time_text;
};

// Three flag characters, the sky value, the minute and the time text; false
// (and nothing stored) when the second or third word is not an integer. Any
// minute is taken modulo a day.
bool parse_sky_state(const char *data, sky_state &state);

// Minute of the day 0..1439 for any number of minutes, negative ones too.
int minute_of_day(int minute);

struct sky_light {
    int brightness = 255;  // 255 for a clear sky seen outdoors, else 208
    bool dimmed = false;   // overcast, or seen from indoors
    vusk_color sky;        // the colour of the sky itself
    int star_strength = 0; // how bright the stars shine through it
};

sky_light sky_light_at(int minute, bool outdoors, bool overcast);

// The glow's strength 0..255 near sunrise (left end) or sunset (right end),
// or -1 outside those times.
int dawn_glow(int minute);
int dusk_glow(int minute);
vusk_color glow_colour(const vusk_color &sky, int glow);

// How far the band has scrolled at `minute`, for a bar `width` wide.
int sky_band_offset(int width, int minute);
// A position beyond the band's end loses the band's length; the end itself
// (2*width) stays, out of sight like every position from width on.
int64_t wrap_on_band(int64_t x, int width);
// Band positions of the sun and the moon before the scroll.
int64_t sun_band_x(int width);
int64_t moon_band_x(int width);

#endif
