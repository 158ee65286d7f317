#include "audio_test_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace audio_test {

std::vector<frame> mix(int count)
{
    std::vector<frame> frames(count);
    for (frame &f : frames)
        vusk_audio_object::fetch_channel_data(&f.left, &f.right);
    return frames;
}

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

gated_sound::gated_sound(sound_gate &gate, bool opener, int frames, short level)
    : gate(gate), opener(opener), remaining(frames), level(level)
{
    add_global(this);
}

int gated_sound::fetch_data(short *left, short *right)
{
    const bool open = gate.open;
    if (opener && gate.released)
        gate.open = true;
    if (!open)
        return 1;
    *left = *right = level;
    return --remaining > 0;
}

bool wait_until(const std::function<bool()> &condition, int timeout_ms)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    return true;
}

bool wait_until_silent()
{
    return wait_until([] { return vusk_audio_object::playing_count() == 0; });
}

namespace {
std::string home_path(const char *name)
{
    const char *home = getenv("HOME");
    return std::string(home != nullptr ? home : "/tmp") + "/" + name;
}
}

file_sink::file_sink() : config_path(home_path(".asoundrc")), output_path(home_path("sink.raw"))
{
    std::ofstream config(config_path);
    config << "pcm.!default { type file slave.pcm \"null\" file \"" << output_path << "\" format \"raw\" }\n";
}

file_sink::~file_sink()
{
    std::remove(config_path.c_str());
    std::remove(output_path.c_str());
}

std::vector<frame> file_sink::frames() const
{
    std::ifstream in(output_path, std::ios::binary);
    std::vector<frame> frames;
    frame f;
    while (in.read(reinterpret_cast<char *>(&f), sizeof f))
        frames.push_back(f);
    return frames;
}

long long file_sink::size() const
{
    std::ifstream in(output_path, std::ios::binary | std::ios::ate);
    return in ? static_cast<long long>(in.tellg()) : 0;
}

void remove_alsa_config()
{
    std::remove(home_path(".asoundrc").c_str());
}

size_t next_sound(const std::vector<frame> &frames, size_t from)
{
    while (from < frames.size() && frames[from].silent())
        ++from;
    return from;
}

}
