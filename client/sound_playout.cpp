#include "sound_playout.h"

#include <cstdint>

namespace {
constexpr long frame_bytes = 2;
}

sound_playout::sound_playout(std::shared_ptr<const decoded_sound> sound)
    : vusk_audio_memory_playout(sound->data.get(), sound->length), samples(std::move(sound))
{
    add_global(this);
}

int sound_playout::fetch_data(short *left, short *right)
{
    unsigned char const *frame = next_frame(frame_bytes);
    if (frame == nullptr)
        return 0;
    *left = *right = static_cast<short>(static_cast<uint16_t>(frame[0] | (frame[1] << 8)));
    return 1;
}
