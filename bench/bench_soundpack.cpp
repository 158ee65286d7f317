// The sound pack's costs on the GUI thread: a request for an effect that is
// loaded already (the effect and version lookups among 100 of each), and
// decoding a 2-second effect from its Ogg file.
#include "sound_decoder.h"
#include "sox_sound.h"
#include "vusk_soundpack.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

constexpr int effect_count = 100;

std::string bench_directory()
{
    char pattern[] = "/tmp/vusk-bench-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
}

void wait_for_decoding(vusk_soundpack &pack)
{
    while (pack.decoding())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void BM_RequestLoadedEffect(benchmark::State &state)
{
    const std::string directory = bench_directory();
    if (directory.empty() || !make_ogg(directory + "/soundpack/e0.ogg", {44100, 1, 0.3, 440})) {
        state.SkipWithError("no test sound");
        return;
    }
    for (int i = 1; i < effect_count; ++i)
        std::filesystem::copy_file(directory + "/soundpack/e0.ogg",
                                   directory + "/soundpack/e" + std::to_string(i) + ".ogg");
    // No request goes out: every file is there in its version.
    vusk_download downloads(directory, "127.0.0.1", 9);
    vusk_soundpack pack(directory, downloads);
    for (int i = 0; i < effect_count; ++i)
        pack.get_sound_data(("e" + std::to_string(i)).c_str(), 1);
    // A request (for no name, here) takes up what was decoded before it.
    do {
        wait_for_decoding(pack);
        pack.get_sound_data("", 1);
    } while (pack.decoding());
    const std::string middle = "e" + std::to_string(effect_count / 2);
    if (pack.get_sound_data(middle.c_str(), 1) == nullptr)
        state.SkipWithError("the effect did not load");
    for (auto _ : state)
        benchmark::DoNotOptimize(pack.get_sound_data(middle.c_str(), 1));
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_RequestLoadedEffect);

void BM_DecodeTwoSecondEffect(benchmark::State &state)
{
    const std::string directory = bench_directory();
    const std::string path = directory + "/effect.ogg";
    if (directory.empty() || !make_ogg(path, {44100, 1, 2.0, 440, "whitenoise"})) {
        state.SkipWithError("no test sound");
        return;
    }
    for (auto _ : state) {
        decoded_sound sound;
        if (decode_sound_file(path, sound) != decode_result::decoded) {
            state.SkipWithError("the effect did not decode");
            break;
        }
        benchmark::DoNotOptimize(sound.data.get());
    }
    std::filesystem::remove_all(directory);
}
BENCHMARK(BM_DecodeTwoSecondEffect)->Unit(benchmark::kMillisecond);

} // namespace
