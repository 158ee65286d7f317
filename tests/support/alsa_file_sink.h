#ifndef VUSK_TEST_ALSA_FILE_SINK_H
#define VUSK_TEST_ALSA_FILE_SINK_H

// An audio output device for a test: while it lives, ALSA's default device
// (configured in the test's HOME) writes the raw samples it plays to a file,
// /dev/null unless a path is given. Without it the test machine has no
// device, and sound switches itself off.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>

class alsa_file_sink {
public:
    explicit alsa_file_sink(std::string output = "/dev/null")
        : config_(std::string(std::getenv("HOME")) + "/.asoundrc"), output_(std::move(output))
    {
        std::ofstream(config_) << "pcm.!default { type file slave.pcm \"null\" file \"" << output_
                               << "\" format \"raw\" }\n";
    }
    ~alsa_file_sink() { std::remove(config_.c_str()); }
    alsa_file_sink(const alsa_file_sink &) = delete;
    alsa_file_sink &operator=(const alsa_file_sink &) = delete;

    const std::string &output() const { return output_; }

private:
    std::string config_;
    std::string output_;
};

#endif
