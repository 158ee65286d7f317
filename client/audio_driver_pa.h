#ifndef VUSK_AUDIO_DRIVER_PA_H
#define VUSK_AUDIO_DRIVER_PA_H

// The one audio output stream: the default output device at 44100 Hz, two
// channels of signed 16-bit samples, filled by the mixer from the audio
// library's callback thread. Every function but the callback runs on the GUI
// thread.
//
// The library is initialised by the first start and stays so while output
// runs and after a normal stop; a failed start or shutdown_audio terminates
// it, so a later start looks for devices afresh.

#include <portaudio.h>

constexpr double audio_sample_rate = 44100.0;
constexpr int audio_channels = 2;
constexpr unsigned long audio_frames_per_buffer = 1024;

// The open stream; null when none is open.
extern PaStream *audio_stream;

// Switches output on: 1 when the stream runs, 0 when output was on already
// or could not be started (output is then off).
int start_audio();
// Switches output off, closes the stream and frees every sound.
void stop_audio();
// Stops and closes the stream.
void release_audio();
// Ends audio for good: stops output, frees every sound and terminates the
// library. Called before the toolkit goes down, so that no callback runs on
// into the program's exit.
void shutdown_audio();

// The common failure exit: closes the stream, terminates the library and
// leaves output off.
void audio_fail(const char *where, const char *what, int code);

// Why output last failed to start or stop (nothing is shown to the player).
struct audio_failure {
    const char *where = nullptr;
    const char *what = nullptr;
    int code = 0;
};
const audio_failure &last_audio_failure();

// The stream callback: one mixed frame per output frame; asks the library to
// complete the stream once output is switched off.
int patestCallback(const void *input, void *output, unsigned long frameCount,
                   const PaStreamCallbackTimeInfo *timeInfo, PaStreamCallbackFlags statusFlags, void *userData);

#endif
