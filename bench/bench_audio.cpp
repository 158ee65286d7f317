// The mixer's cost: CPU time to mix one second of output while 1, 8 or 32
// sound-pack effects play, through the stream callback as the audio thread
// calls it (the benchmark stands in for that thread; no device is opened).
#include "audio_driver_pa.h"
#include "vusk_audio.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {
constexpr int frames_per_second = 44100;
// The longest effect the sound pack keeps: ten seconds of mono samples.
constexpr int effect_seconds = 10;

std::vector<unsigned char> effect_samples()
{
    std::vector<unsigned char> bytes(2 * frames_per_second * effect_seconds);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<unsigned char>(i * 7);
    return bytes;
}

void BM_MixOneSecond(benchmark::State &state)
{
    const int sounds = static_cast<int>(state.range(0));
    static const std::vector<unsigned char> effect = effect_samples();
    std::vector<short> buffer(audio_channels * audio_frames_per_buffer);
    vusk_audio_object::global_audio_enabled = 1;
    for (auto _ : state) {
        while (vusk_audio_object::playing_count() < sounds)
            new vusk_audio_playout_mono_memory(effect.data(), static_cast<long>(effect.size()));
        for (int done = 0; done < frames_per_second;) {
            const int frames = std::min<int>(audio_frames_per_buffer, frames_per_second - done);
            patestCallback(nullptr, buffer.data(), frames, nullptr, 0, nullptr);
            done += frames;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    vusk_audio_object::global_audio_enabled = 0;
    vusk_audio_object::clear_queues();
}
BENCHMARK(BM_MixOneSecond)->Arg(1)->Arg(8)->Arg(32)->Unit(benchmark::kMillisecond);
}
