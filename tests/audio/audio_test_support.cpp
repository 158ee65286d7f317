#include "audio_test_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace audio_test {

std::atomic<int> counted_sound::alive{0};

counted_sound::counted_sound(int frames, short level) : remaining(frames), level(level)
{
    ++alive;
    add_global(this);
}

counted_sound::~counted_sound()
{
    --alive;
}

int counted_sound::fetch_data(short *left, short *right)
{
    *left = *right = level;
    return --remaining > 0;
}

bool wait_until(const std::function<bool()> &condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

file_sink::file_sink() : alsa_file_sink(std::string(getenv("HOME")) + "/sink.raw") {}

file_sink::~file_sink()
{
    std::remove(output().c_str());
}

std::vector<frame> file_sink::frames() const
{
    std::ifstream in(output(), std::ios::binary);
    std::vector<frame> frames;
    frame f;
    while (in.read(reinterpret_cast<char *>(&f), sizeof f))
        frames.push_back(f);
    return frames;
}

long long file_sink::size() const
{
    std::ifstream in(output(), std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : 0;
}

}
