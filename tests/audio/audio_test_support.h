#ifndef VUSK_TEST_AUDIO_SUPPORT_H
#define VUSK_TEST_AUDIO_SUPPORT_H

// Helpers of the audio suites: sounds that count their instances or start
// together, the mixer run by hand, and the ALSA file sink that stands in for
// a sound card.

#include "vusk_audio_base.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace audio_test {

struct frame {
    short left;
    short right;
    bool operator==(const frame &other) const { return left == other.left && right == other.right; }
    bool silent() const { return left == 0 && right == 0; }
};

// Frames written by the mixer when the test itself plays the audio thread.
std::vector<frame> mix(int count);

// A sound of `frames` frames at a constant level that counts the instances
// alive, so a test sees whether the sound system freed each one.
class counted_sound final : public vusk_audio_object {
public:
    explicit counted_sound(int frames, short level = 0);
    ~counted_sound() override;
    int fetch_data(short *left, short *right) override;

    static std::atomic<int> alive;

private:
    int remaining;
    short level;
};

// Sounds that start on the same output frame however far apart they were
// created. The first one created is the last the mixer visits in a frame; it
// opens the gate once the test releases it, so every member sees the gate
// open from the next frame on.
struct sound_gate {
    std::atomic<bool> released{false};
    bool open = false; // the audio thread's own copy
};

class gated_sound final : public vusk_audio_object {
public:
    // `opener`: this member opens the gate (create it before the others).
    gated_sound(sound_gate &gate, bool opener, int frames, short level);
    int fetch_data(short *left, short *right) override;

private:
    sound_gate &gate;
    bool opener;
    int remaining;
    short level;
};

// Polls until `condition` holds; false after timeout_ms.
bool wait_until(const std::function<bool()> &condition, int timeout_ms = 10000);
// Waits until no sound plays any more.
bool wait_until_silent();

// Points ALSA's default device at a raw file in HOME while it lives.
class file_sink {
public:
    file_sink();
    ~file_sink();
    file_sink(const file_sink &) = delete;
    file_sink &operator=(const file_sink &) = delete;

    std::vector<frame> frames() const;
    long long size() const;

private:
    std::string config_path;
    std::string output_path;
};

// Without ALSA configuration there is no output device here.
void remove_alsa_config();

// Frames the device plays before the first callback's.
constexpr size_t leading_silence_frames = 2048;

// The index of the first frame at or after `from` that is not silent, or
// frames.size().
size_t next_sound(const std::vector<frame> &frames, size_t from);

}

#endif
