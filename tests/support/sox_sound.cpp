#include "sox_sound.h"

#include "sound_decoder.h"

#include <cstring>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

extern char **environ;

bool make_ogg(const std::string &path, const tone &sound)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    const std::string rate = std::to_string(sound.rate);
    const std::string channels = std::to_string(sound.channels);
    const std::string seconds = std::to_string(sound.seconds);
    const std::string frequency = std::to_string(sound.frequency);
    const char *argv[] = {"sox", "-n", "-r", rate.c_str(), "-c", channels.c_str(), path.c_str(), "synth",
                          seconds.c_str(), sound.shape, frequency.c_str(), "vol", "0.5", nullptr};
    pid_t pid;
    if (posix_spawnp(&pid, "sox", nullptr, nullptr, const_cast<char **>(argv), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::vector<short> decoded_samples(const std::string &path)
{
    decoded_sound sound;
    if (decode_sound_file(path, sound) != decode_result::decoded)
        return {};
    std::vector<short> samples(size_t(sound.length) / sizeof(short));
    memcpy(samples.data(), sound.data.get(), samples.size() * sizeof(short));
    return samples;
}
