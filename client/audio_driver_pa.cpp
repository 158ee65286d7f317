#include "audio_driver_pa.h"

#include "vusk_audio_base.h"

#include <dlfcn.h>

PaStream *audio_stream = nullptr;

namespace {
const char start_where[] = "start_audio_internal";
const char release_where[] = "release_audio";

bool library_initialised = false;
audio_failure failure;

extern "C" {
void ignore_alsa_message(const char *, int, const char *, int, const char *, ...) {}
void ignore_jack_message(const char *) {}
}

using alsa_handler = void (*)(const char *, int, const char *, int, const char *, ...);
using jack_handler = void (*)(const char *);

// Looked up rather than linked: the audio library brings the sound system's
// libraries along, and which of them it brings depends on how it was built.
template <typename result, typename handler> void set_handler(const char *setter_name, handler quiet)
{
    using setter = result (*)(handler);
    if (auto set = reinterpret_cast<setter>(dlsym(RTLD_DEFAULT, setter_name)))
        set(quiet);
}

// Looking for devices, the audio library tries every one the sound system
// knows of, and on a machine without a sound card each attempt prints its
// failure to the terminal: some 45 lines at every start. Output that cannot
// start is switched off and says so through last_audio_failure().
void quiet_sound_system_messages()
{
    static bool quiet = false;
    if (quiet)
        return;
    quiet = true;
    set_handler<int, alsa_handler>("snd_lib_error_set_handler", ignore_alsa_message);
    set_handler<void, jack_handler>("jack_set_error_function", ignore_jack_message);
    set_handler<void, jack_handler>("jack_set_info_function", ignore_jack_message);
}

void terminate_library()
{
    if (!library_initialised)
        return;
    library_initialised = false;
    Pa_Terminate();
}

// Initialises the library unless it is already; false on failure.
bool initialise_library()
{
    if (library_initialised)
        return true;
    quiet_sound_system_messages();
    const PaError error = Pa_Initialize();
    if (error != paNoError) {
        audio_fail(start_where, "unable to initialize", error);
        return false;
    }
    library_initialised = true;
    return true;
}

bool open_output_stream()
{
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice) {
        audio_fail(start_where, "no device available", 0);
        return false;
    }
    const PaDeviceInfo *info = Pa_GetDeviceInfo(device);
    if (info == nullptr) {
        audio_fail(start_where, "bad device index?", 0);
        return false;
    }
    PaStreamParameters output{};
    output.device = device;
    output.channelCount = audio_channels;
    output.sampleFormat = paInt16;
    output.suggestedLatency = info->defaultLowOutputLatency;
    output.hostApiSpecificStreamInfo = nullptr;
    const PaError error = Pa_OpenStream(&audio_stream, nullptr, &output, audio_sample_rate,
                                        audio_frames_per_buffer, paClipOff, patestCallback, nullptr);
    if (error != paNoError) {
        audio_fail(start_where, "unable to open stream", error);
        return false;
    }
    return true;
}
}

int start_audio()
{
    if (vusk_audio_object::global_audio_starting || vusk_audio_object::global_audio_enabled)
        return 0;
    // Output is still off: this frees every sound left from before.
    vusk_audio_object::clear_queues();
    vusk_audio_object::global_audio_enabled = 1;
    if (!initialise_library() || !open_output_stream())
        return 0;
    // Set before the stream starts: its first callback may come before
    // Pa_StartStream returns.
    vusk_audio_object::global_audio_starting = 1;
    const PaError error = Pa_StartStream(audio_stream);
    if (error != paNoError) {
        audio_fail(start_where, "unable to start stream", error);
        return 0;
    }
    return 1;
}

void stop_audio()
{
    if (!vusk_audio_object::global_audio_enabled)
        return;
    vusk_audio_object::global_audio_enabled = 0;
    release_audio();
    // A stop before the first callback would otherwise refuse every later start.
    vusk_audio_object::global_audio_starting = 0;
    // No callback runs any more: the sounds still playing are freed too.
    vusk_audio_object::clear_queues();
}

void release_audio()
{
    if (audio_stream == nullptr) {
        audio_fail(release_where, "stream not yet allocated?", 0);
        return;
    }
    const PaError stop_error = Pa_StopStream(audio_stream);
    if (stop_error != paNoError && stop_error != paStreamIsStopped) {
        audio_fail(release_where, "unable to stop stream", stop_error);
        return;
    }
    const PaError close_error = Pa_CloseStream(audio_stream);
    audio_stream = nullptr;
    if (close_error != paNoError)
        audio_fail(release_where, "unable to close stream", close_error);
}

void shutdown_audio()
{
    stop_audio();
    vusk_audio_object::clear_queues();
    terminate_library();
}

void audio_fail(const char *where, const char *what, int code)
{
    failure = {where, what, code};
    // Closing a running stream aborts it; terminating closes what is left.
    if (audio_stream != nullptr)
        Pa_CloseStream(audio_stream);
    audio_stream = nullptr;
    terminate_library();
    vusk_audio_object::global_audio_starting = 0;
    vusk_audio_object::global_audio_enabled = 0;
}

const audio_failure &last_audio_failure()
{
    return failure;
}

int patestCallback(const void *, void *output, unsigned long frameCount, const PaStreamCallbackTimeInfo *,
                   PaStreamCallbackFlags, void *)
{
    short *samples = static_cast<short *>(output);
    for (unsigned long frame = 0; frame < frameCount; ++frame)
        vusk_audio_object::fetch_channel_data(&samples[2 * frame], &samples[2 * frame + 1]);
    vusk_audio_object::global_audio_starting = 0;
    return vusk_audio_object::global_audio_enabled ? paContinue : paComplete;
}
