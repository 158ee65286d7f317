#ifndef VUSK_TEST_NULL_SOUND_DEVICE_H
#define VUSK_TEST_NULL_SOUND_DEVICE_H

// An audio output device for one test: while it lives, ALSA's default device
// (in the test's HOME) writes everything it plays to /dev/null. Without it
// the test machine has no device, and sound switches itself off.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

class null_sound_device {
public:
    null_sound_device() : path_(std::string(std::getenv("HOME")) + "/.asoundrc")
    {
        std::ofstream(path_) << "pcm.!default { type file slave.pcm \"null\" file \"/dev/null\" format \"raw\" }\n";
    }
    ~null_sound_device() { std::remove(path_.c_str()); }
    null_sound_device(const null_sound_device &) = delete;
    null_sound_device &operator=(const null_sound_device &) = delete;

private:
    std::string path_;
};

#endif
