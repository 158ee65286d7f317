#ifndef VUSK_SOUND_PLAYOUT_H
#define VUSK_SOUND_PLAYOUT_H

// A sound-pack effect in play. It shares the effect's decoded samples, so
// samples that the pack lets go of (for its memory budget, or for a newer
// version) stay until the last sound playing them has ended; the sound system
// frees ended sounds on the GUI thread. Like every sound, `new` starts it.

#include "sound_decoder.h"
#include "vusk_audio.h"

#include <memory>

class sound_playout final : public vusk_audio_memory_playout {
public:
    // Effects are mono: the decoder keeps nothing else.
    explicit sound_playout(std::shared_ptr<const decoded_sound> sound);
    int fetch_data(short *left, short *right) override;

private:
    const std::shared_ptr<const decoded_sound> samples;
};

#endif
