#ifndef VUSK_AUDIO_H
#define VUSK_AUDIO_H

// The sounds themselves. Three are synthesised (the button click, the wall
// bump and white noise); two play 16-bit little-endian PCM that lies in
// memory. `new` alone starts a sound: each constructor hands the object to
// the sound system as its last step, and the creator keeps no pointer.
// All arithmetic is integer, at 44100 samples per second per channel.

#include "nrandom.h"
#include "vusk_audio_base.h"

#include <cstdint>
#include <memory>

// A low-passed noise burst fading out over 352 samples (about 8 ms); every
// click is the same.
class vusk_audio_noise_tick final : public vusk_audio_object {
public:
    vusk_audio_noise_tick();
    int fetch_data(short *left, short *right) override;

private:
    int remaining;
    int total;
    int filter = 0;
    uint32_t seed;
};

// A triangle wave of 661 samples (about 15 ms) between -8214 and 8214.
class vusk_audio_wall_bump final : public vusk_audio_object {
public:
    vusk_audio_wall_bump();
    int fetch_data(short *left, short *right) override;

private:
    int remaining;
    int limit;
    int step;
    int16_t value = 0;
};

// Independent noise on both channels for `ms` milliseconds (at least one
// sample).
class vusk_audio_white_noise final : public vusk_audio_object {
public:
    explicit vusk_audio_white_noise(int ms);
    int fetch_data(short *left, short *right) override;

private:
    int remaining;
    // Its own generator: the audio thread never draws from the shared one.
    NRandom random;
};

// 16-bit little-endian PCM in memory, read a frame at a time. The data is
// not owned: its `owner`, when given, keeps it alive while the sound plays;
// otherwise it must outlive the sound.
class vusk_audio_memory_playout : public vusk_audio_object {
protected:
    // `owner`, when given, keeps the samples alive while the sound plays.
    vusk_audio_memory_playout(unsigned char const *data, long length, std::shared_ptr<const void> owner);
    // The next whole frame of `frame_bytes`, or null at the end (a trailing
    // partial frame is never played).
    unsigned char const *next_frame(long frame_bytes);

private:
    long position = 0;
    long length;
    unsigned char const *data;
    const std::shared_ptr<const void> owner;
};

// A sound of the sound pack shares its effect's samples as their owner, so
// samples the pack lets go of (for its memory budget, or for a newer version)
// stay until the last sound playing them has ended.
class vusk_audio_playout_mono_memory final : public vusk_audio_memory_playout {
public:
    vusk_audio_playout_mono_memory(unsigned char const *data, long length,
                                   std::shared_ptr<const void> owner = nullptr);
    int fetch_data(short *left, short *right) override;
};

// Interleaved frames, left first.
class vusk_audio_playout_stereo_memory final : public vusk_audio_memory_playout {
public:
    vusk_audio_playout_stereo_memory(unsigned char const *data, long length);
    int fetch_data(short *left, short *right) override;
};

#endif
