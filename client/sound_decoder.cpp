#include "sound_decoder.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr long required_rate = 44100;
constexpr int required_channels = 1;
constexpr int bytes_per_sample = 2;
constexpr int read_piece_bytes = 4096;

// Opens only a regular file: opening a FIFO would wait for a writer and stall
// the main tick. The descriptor is opened without waiting and then made
// blocking again for reading.
FILE *open_regular_file(const std::string &path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) ||
        fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) != 0) {
        close(descriptor);
        return nullptr;
    }
    FILE *file = fdopen(descriptor, "rb");
    if (file == nullptr)
        close(descriptor);
    return file;
}

constexpr long unusable_stream = -1;

// The size of the decoded sound in bytes, or unusable_stream.
long usable_size(OggVorbis_File &stream)
{
    const vorbis_info *info = ov_info(&stream, -1);
    if (info == nullptr || info->rate != required_rate || info->channels != required_channels)
        return unusable_stream;
    // Damage near the end leaves the length unknown (0 or an error).
    const ogg_int64_t samples = ov_pcm_total(&stream, -1);
    // The count comes from the file: compare before multiplying.
    const ogg_int64_t bytes_per_frame = ogg_int64_t(info->channels) * bytes_per_sample;
    if (samples <= 0 || samples >= max_decoded_sound_bytes / bytes_per_frame)
        return unusable_stream;
    return long(samples * bytes_per_frame);
}

void read_samples(OggVorbis_File &stream, unsigned char *data, long size)
{
    int section = 0;
    for (long filled = 0; filled < size;) {
        const long got = ov_read(&stream, reinterpret_cast<char *>(data + filled),
                                 int(std::min<long>(read_piece_bytes, size - filled)), &section);
        if (got <= 0)
            break;
        filled += got;
    }
}

} // namespace

bool sound_file_exists(const std::string &path)
{
    FILE *file = open_regular_file(path);
    if (file != nullptr)
        fclose(file);
    return file != nullptr;
}

decode_result decode_sound_file(const std::string &path, decoded_sound &sound)
{
    FILE *file = open_regular_file(path);
    if (file == nullptr)
        return decode_result::missing;
    OggVorbis_File stream;
    if (ov_open(file, &stream, nullptr, 0) != 0) {
        fclose(file);
        return decode_result::unusable;
    }
    const long size = usable_size(stream);
    if (size == unusable_stream) {
        ov_clear(&stream);
        return decode_result::unusable;
    }
    // Zeroed, so that a stream that ends early leaves silence behind it.
    sound.data = std::make_unique<unsigned char[]>(size_t(size));
    read_samples(stream, sound.data.get(), size);
    sound.length = size;
    ov_clear(&stream);
    return decode_result::decoded;
}
