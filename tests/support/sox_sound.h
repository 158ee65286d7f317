#ifndef VUSK_TEST_SOX_SOUND_H
#define VUSK_TEST_SOX_SOUND_H

// Ogg Vorbis test sounds made with sox at test time, and what the client's
// own decoder makes of them.

#include <string>
#include <vector>

struct tone {
    int rate = 44100;
    int channels = 1;
    double seconds = 0.3;
    int frequency = 440;
    // "sine", or "whitenoise" (which takes many more Ogg pages).
    const char *shape = "sine";
};

// Writes the sound, at half of full scale, to path (directories are created); false when sox
// failed.
bool make_ogg(const std::string &path, const tone &sound = {});

// The mono samples the sound pack's decoder reads from a file; empty when it
// does not decode.
std::vector<short> decoded_samples(const std::string &path);

#endif
