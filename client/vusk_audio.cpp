#include "vusk_audio.h"

#include <algorithm>
#include <climits>

namespace {
constexpr int samples_per_second = 44100;

constexpr int tick_samples = 352;
constexpr int tick_full_amplitude = 2048;
constexpr uint32_t tick_seed = 689052;
constexpr uint32_t tick_multiplier = 1103515245;
constexpr uint32_t tick_increment = 12345;
constexpr int tick_filter_shift = 4;
constexpr int tick_output_divisor = 4096;

constexpr int bump_samples = 661;
constexpr int bump_limit = 8192;
constexpr int bump_step = 74;

// Noise draws use the low 12 bits, centred on silence.
constexpr uint32_t noise_mask = 0xFFF;
constexpr int noise_centre = 2048;

constexpr long mono_frame_bytes = 2;
constexpr long stereo_frame_bytes = 4;

short centred_noise(uint32_t draw)
{
    return static_cast<short>(static_cast<int>(draw & noise_mask) - noise_centre);
}

short little_endian_sample(unsigned char const *bytes)
{
    return static_cast<short>(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8)));
}

int samples_for_ms(int ms)
{
    const double samples = ms * double(samples_per_second) / 1000.0;
    return static_cast<int>(std::clamp(samples, 0.0, double(INT_MAX)));
}
}

vusk_audio_noise_tick::vusk_audio_noise_tick()
    : remaining(tick_samples), total(tick_samples), seed(tick_seed)
{
    add_global(this);
}

int vusk_audio_noise_tick::fetch_data(short *left, short *right)
{
    const int amplitude = remaining * tick_full_amplitude / total;
    seed = seed * tick_multiplier + tick_increment;
    const int noise = centred_noise(seed);
    filter = filter - (filter >> tick_filter_shift) + noise * amplitude;
    *left = *right = static_cast<short>(filter / tick_output_divisor);
    return --remaining > 0;
}

vusk_audio_wall_bump::vusk_audio_wall_bump()
    : remaining(bump_samples), limit(bump_limit), step(bump_step)
{
    add_global(this);
}

int vusk_audio_wall_bump::fetch_data(short *left, short *right)
{
    value = static_cast<int16_t>(value + step);
    if (value >= limit)
        step = -step;
    if (value <= -limit)
        step = -step;
    *left = *right = value;
    return --remaining > 0;
}

vusk_audio_white_noise::vusk_audio_white_noise(int ms) : remaining(samples_for_ms(ms))
{
    random.seed(static_cast<uint32_t>(xrand()));
    add_global(this);
}

int vusk_audio_white_noise::fetch_data(short *left, short *right)
{
    *left = centred_noise(random.rnd());
    *right = centred_noise(random.rnd());
    return --remaining > 0;
}

// An absent buffer plays like an empty one.
vusk_audio_memory_playout::vusk_audio_memory_playout(unsigned char const *data, long length,
                                                     std::shared_ptr<const void> owner)
    : length(data != nullptr ? length : 0), data(data), owner(std::move(owner))
{
}

unsigned char const *vusk_audio_memory_playout::next_frame(long frame_bytes)
{
    if (position + frame_bytes - 1 >= length)
        return nullptr;
    unsigned char const *frame = data + position;
    position += frame_bytes;
    return frame;
}

vusk_audio_playout_mono_memory::vusk_audio_playout_mono_memory(unsigned char const *data, long length,
                                                               std::shared_ptr<const void> owner)
    : vusk_audio_memory_playout(data, length, std::move(owner))
{
    add_global(this);
}

int vusk_audio_playout_mono_memory::fetch_data(short *left, short *right)
{
    unsigned char const *frame = next_frame(mono_frame_bytes);
    if (frame == nullptr)
        return 0;
    *left = *right = little_endian_sample(frame);
    return 1;
}

vusk_audio_playout_stereo_memory::vusk_audio_playout_stereo_memory(unsigned char const *data, long length)
    : vusk_audio_memory_playout(data, length, nullptr)
{
    add_global(this);
}

int vusk_audio_playout_stereo_memory::fetch_data(short *left, short *right)
{
    unsigned char const *frame = next_frame(stereo_frame_bytes);
    if (frame == nullptr)
        return 0;
    *left = little_endian_sample(frame);
    *right = little_endian_sample(frame + mono_frame_bytes);
    return 1;
}
