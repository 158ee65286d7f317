#include "sky_model.h"

#include "util.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int clear_brightness = 255;
constexpr int dimmed_brightness = 208;
constexpr int dawn_start = 360;   // the sky starts to lighten
constexpr int full_day = 435;     // the sky is at full light
constexpr int dusk_start = 1125;  // the sky starts to darken
constexpr int night = 1200;       // the sky is black
constexpr int twilight_minutes = 75;
constexpr int dawn_glow_start = 330;
constexpr int dawn_glow_end = 480;
constexpr int dusk_glow_start = 1050;
constexpr int dusk_glow_end = 1230;
constexpr int glow_peak = 255;
constexpr int sun_band_minute = 2052;
constexpr int moon_band_minute = 612;

bool is_flag(char c)
{
    return c == '0' || c == '1';
}

bool is_blank(char c)
{
    return c == ' ' || c == '\t';
}

// Rises to the peak halfway through `span` minutes and falls back.
int folded_glow(int64_t minutes_in, int span)
{
    const int g = int(minutes_in * 2 * glow_peak / span);
    return g > glow_peak ? 2 * glow_peak - g : g;
}

// Where the word that starts at text ends.
const char *word_end(const char *text)
{
    while (*text != '\0' && !is_blank(*text) && *text != '\n')
        ++text;
    return text;
}

} // namespace

int minute_of_day(int minute)
{
    const int m = minute % minutes_per_day;
    return m < 0 ? m + minutes_per_day : m;
}

bool parse_sky_state(const char *data, sky_state &state)
{
    if (data == nullptr)
        return false;
    const char *value_word = next_arg(data);
    const char *minute_word = next_arg(value_word);
    sky_state parsed;
    if (!is_int(value_word, &parsed.sky_value) || !is_int(minute_word, &parsed.minute))
        return false;
    parsed.minute = minute_of_day(parsed.minute);
    // A character other than 0 or 1 makes its own flag and every later one 0.
    if (is_flag(data[0])) {
        parsed.outdoors = data[0] == '1';
        if (is_flag(data[1])) {
            parsed.sky_visible = data[1] == '1';
            parsed.overcast = is_flag(data[2]) && data[2] == '1';
        }
    }
    const char *text = word_end(minute_word);
    while (is_blank(*text))
        ++text;
    const size_t length = std::min(std::strcspn(text, "\n"), time_text_max_length);
    parsed.time_text.assign(text, length);
    state = parsed;
    return true;
}

sky_light sky_light_at(int minute, bool outdoors, bool overcast)
{
    sky_light light;
    light.dimmed = !outdoors || overcast;
    const int l = light.dimmed ? dimmed_brightness : clear_brightness;
    light.brightness = l;
    const int m = minute_of_day(minute);
    int day = 0;
    if (m >= full_day && m < dusk_start)
        day = l;
    else if (m >= dawn_start && m < full_day)
        day = l * (m - dawn_start) / twilight_minutes;
    else if (m >= dusk_start && m < night)
        day = l * (night - m) / twilight_minutes;
    light.sky = vusk_color(day / 3, 2 * day / 3, day);
    light.star_strength = l - day;
    return light;
}

int dawn_glow(int minute)
{
    const int m = minute_of_day(minute);
    if (m < dawn_glow_start || m >= dawn_glow_end)
        return -1;
    return folded_glow(m - dawn_glow_start, dawn_glow_end - dawn_glow_start);
}

int dusk_glow(int minute)
{
    const int m = minute_of_day(minute);
    if (m < dusk_glow_start || m >= dusk_glow_end)
        return -1;
    return folded_glow(dusk_glow_end - m, dusk_glow_end - dusk_glow_start);
}

vusk_color glow_colour(const vusk_color &sky, int glow)
{
    return vusk_color(std::max(sky.r, glow), std::max(sky.g, glow / 2), std::max(sky.b, glow / 3));
}

int sky_band_offset(int width, int minute)
{
    return int(int64_t(2) * width * minute_of_day(minute) / minutes_per_day);
}

int64_t wrap_on_band(int64_t x, int width)
{
    const int64_t band = int64_t(2) * width;
    return x > band ? x - band : x;
}

int64_t sun_band_x(int width)
{
    return int64_t(width) * sun_band_minute / minutes_per_day;
}

int64_t moon_band_x(int width)
{
    return int64_t(width) * moon_band_minute / minutes_per_day;
}
