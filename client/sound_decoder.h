#ifndef VUSK_SOUND_DECODER_H
#define VUSK_SOUND_DECODER_H

// Decodes a sound-pack file, Ogg Vorbis, into 16-bit little-endian PCM in
// memory with Tremor. Only 44100 Hz mono of less than 10 seconds is used.

#include <memory>
#include <string>

// 10 seconds of 44100 Hz mono 16-bit sound: this size or more is refused.
constexpr long max_decoded_sound_bytes = 882000;

struct decoded_sound {
    std::unique_ptr<unsigned char[]> data;
    long length = 0;
};

enum class decode_result {
    // No regular file there (or none that opens): it may be fetched.
    missing,
    // The file is there but is no 44100 Hz mono Ogg Vorbis sound of a known
    // length under the limit.
    unusable,
    decoded,
};

// A decoded sound whose data stopped short of its stated length ends in
// silence.
decode_result decode_sound_file(const std::string &path, decoded_sound &sound);
// Whether decode_sound_file would find a file to read (cheap: no decoding).
bool sound_file_exists(const std::string &path);

#endif
