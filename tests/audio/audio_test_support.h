#ifndef VUSK_TEST_AUDIO_SUPPORT_H
#define VUSK_TEST_AUDIO_SUPPORT_H

// Helpers of the audio suites: a sound that counts its live instances, and
// the ALSA file sink that stands in for a sound card.

#include "alsa_file_sink.h"
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

// `frames` frames at a constant level.
class counted_sound final : public vusk_audio_object {
public:
    explicit counted_sound(int frames, short level = 1);
    ~counted_sound() override;
    int fetch_data(short *left, short *right) override;

    static std::atomic<int> alive;

private:
    int remaining;
    short level;
};

// Polls until `condition` holds; false after ten seconds.
bool wait_until(const std::function<bool()> &condition);

// ALSA's default device playing into a raw file in HOME.
class file_sink : public alsa_file_sink {
public:
    file_sink();
    ~file_sink();

    std::vector<frame> frames() const;
    long long size() const;
};

}

#endif
