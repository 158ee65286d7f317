#ifndef VUSK_SOUNDPACK_H
#define VUSK_SOUNDPACK_H

// The sound pack turns the server's sound requests into played sounds. Each
// effect is decoded from an Ogg Vorbis file under the configuration
// directory and then played from memory; a file of the player's own in
// "soundpack/custom/" comes first, and a missing or outdated pack file is
// fetched through the download service. "sound_version.cfg" remembers
// which version of each file is on disk, for the files used most recently
// (max_sound_version_records); a file with no version recorded is taken as
// the version its request names.
//
// Decoding runs on a worker of its own, and the GUI thread takes up what it
// finished once per main tick. A request for an effect that is not decoded
// yet starts the decoding; when no older sound of it is held to play now, the
// effect plays as it is taken up, once however many requests came meanwhile,
// and not at all when the latest of them is too old by then. A request while
// the file is downloaded gets the older sound, or nothing.
// The decoded sounds held stay within a byte budget: past it, the least
// recently used effect that is not playing is let go, and decoded again when
// it is asked for. The effects themselves are bounded too: past the bound
// the least recently asked for that waits for nothing (a missing or failed
// name, a file downloaded and not asked for again, or a sound not playing)
// are forgotten, so a server naming thousands of sounds never crowds out
// a new one.
//
// Threads: everything runs on the GUI thread but the download callback,
// which runs on the download worker, and the decoding. The pack's mutex
// guards the effect and version lists and is held only around one search or
// change of a list; an effect's state is atomic. Decoded samples are shared
// with the sounds playing them, so a sound is never freed under the mixer.

#include "sound_decode_queue.h"
#include "sound_version_file.h"
#include "tag_owners.h"
#include "vusk_audio_base.h"
#include "vusk_download.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class vusk_soundpack;

// Whether a full effect list may forget an effect follows from its state:
// it may when nothing but the list points at it, so that forgetting costs at
// most a decoding or a request to the host, and never while the mixer plays
// its sound.
enum sound_effect_state : int {
    effect_unknown = 0,     // nothing tried yet, its sound was let go, or its
                            // update was pushed out of the download queue:
                            // may go
    effect_downloading = 1, // no usable data, the first download in flight:
                            // stays, the download calls back into it
    effect_downloaded = 2,  // the file has arrived and waits to be loaded by
                            // a later request: may go, the file stays on disk
    effect_loaded = 3,      // may go
    effect_updating = 4,    // loaded, and a newer version is on its way:
                            // stays, the download calls back into it
    effect_custom = 5,      // the player's own file, never versioned or
                            // fetched: may go
    effect_decoding = 6,    // a file on disk is being decoded: stays, the
                            // decoder hands its sound back to it
    effect_missing = 7,     // no file; its download failed or was refused,
                            // and a later request asks again (the service
                            // decides): may go
    effect_failed = 99,     // the file is unusable or its download failed: may go
};

struct vusk_sound_effect {
    // Decoded 16-bit little-endian PCM, shared with the sounds playing it;
    // null when none is held (GUI thread only).
    std::shared_ptr<const decoded_sound> sound;
    // When a request last asked for the effect (GUI thread only).
    unsigned long long last_used = 0;
    // While it decodes: whether a request waits to hear it, and when the
    // latest such request came (GUI thread only).
    bool play_waits = false;
    std::chrono::steady_clock::time_point play_requested_at;
    // "soundpack/" + name + ".ogg".
    std::string name;
    std::atomic<int> state{effect_unknown};
    // The version the download in flight brings.
    std::atomic<int> requested_version{0};
    vusk_soundpack *pack = nullptr;
};

class vusk_soundpack final : public sound_tag_owner {
public:
    // Effects kept at once. An effect that waits for a download cannot be
    // forgotten; the service's queue, and the requests it pushed out and has
    // not called back yet, leave most of them free to go.
    static constexpr size_t max_effects = 1024;
    // Effects forgotten at once when the list is full: one scan serves many
    // new names.
    static constexpr size_t effects_forgotten_together = max_effects / 4;
    static_assert(2 * vusk_download::max_queued <= max_effects - effects_forgotten_together,
                  "downloads would leave too few effects to forget");
    // Decoded sounds the effects hold, in bytes: 380 seconds of sound.
    // Sounds that play stay held while they play (the mixer plays at most
    // 64), and sounds decoded but not taken up yet add a quarter of this.
    static constexpr long max_decoded_bytes = 32L << 20;
    // A request that waits for its effect's decoding is heard only when the
    // decoded sound is taken up within this time: a sound still belongs to
    // the lines it came with after a decoding and a tick (tens of
    // milliseconds, several times that in a sanitizer build or from a cold
    // disk), not after the worker's backlog of a flood of new names.
    static constexpr std::chrono::milliseconds max_play_delay{1000};
    // Requests waiting for their effects' decoding, one per effect at most:
    // no more than the mixer would play at once.
    static constexpr int max_waiting_plays = vusk_audio_object::max_playing;

    using request_clock = std::function<std::chrono::steady_clock::time_point()>;

    // The process-wide pack, in the configuration directory of this run.
    static vusk_soundpack *Instance();
    // Null until Instance() creates the pack.
    static vusk_soundpack *instance;

    // Reads the version file of directory (none when directory is empty).
    // now tells the age of requests that wait for a decoding.
    vusk_soundpack(std::string directory, vusk_download &downloads, long byte_budget = max_decoded_bytes,
                   request_clock now = std::chrono::steady_clock::now);
    vusk_soundpack(const vusk_soundpack &) = delete;
    vusk_soundpack &operator=(const vusk_soundpack &) = delete;

    // One request: a name, optionally a version (1 when absent) and flag
    // words; "preload" from the third word on loads without playing.
    void parse_audio_tag(const char *request) override;
    // The effect to play now, or null. Finds, loads or fetches it.
    vusk_sound_effect *get_sound_data(const char *name, int version);
    // Takes up the sounds decoded since the last call and plays those that
    // requests wait for; once per main tick (requests take up nothing). It
    // only hands buffers over.
    void take_up_decoded();
    // Writes the version file whole; a failure is said on standard error and
    // the old file kept.
    void save_version_info();
    // The same, written by the settings writer's thread: the calling thread
    // never waits for the disk. A failure is said on standard error with
    // those of the settings saves, when the main tick takes it up.
    void save_version_info_in_background();
    // Whether a decoding started has not been taken up yet.
    bool decoding();
    // Ends the decoding worker; requests after it decode nothing.
    void stop_decoding();

private:
    std::string full_path(const std::string &relative_path) const;
    vusk_sound_effect *serve_request(const char *name, int version, bool play_when_decoded);
    vusk_sound_effect *find_or_create_sound_effect(const std::string &relative_path);
    void forget_least_recently_asked_unlocked();
    vusk_sound_effect *serve_effect(vusk_sound_effect *effect, const char *name, int version, bool outdated,
                                    bool &version_waits);
    void start_first_load(vusk_sound_effect *effect, const std::string &name, int version, bool &version_waits);
    void start_decoding(vusk_sound_effect *effect, std::string custom_path, int version, bool reload);
    vusk_sound_effect *use(vusk_sound_effect *effect);
    void wait_to_play(vusk_sound_effect *effect);
    bool take_waiting_play(vusk_sound_effect *effect);
    void take_decoded(sound_decode_outcome &outcome);
    void hold(vusk_sound_effect *effect, decoded_sound &&sound);
    void keep_within_budget();
    vusk_sound_effect *least_recently_used_quiet_effect();
    void let_go(vusk_sound_effect *effect);
    void drop_sound(vusk_sound_effect *effect);
    void request_download(vusk_sound_effect *effect, int version, sound_effect_state state);
    bool is_outdated(const std::string &relative_path, int version);
    void update_sound_version(const std::string &relative_path, int version);
    static void download_callback_function(void *effect, int end);
    std::string version_file_path() const;
    std::vector<sound_version_entry> versions_now();

    const std::string directory;
    vusk_download &downloads;
    const long byte_budget;
    const request_clock now;
    std::mutex mutex;
    // The effects asked for, by name. A map keeps its elements in place, and
    // an effect a download or a decoding points at is never removed.
    std::unordered_map<std::string, vusk_sound_effect> effects;
    sound_version_list versions;
    // The bytes of the sounds the effects hold, and the clock of their use
    // (GUI thread only).
    long held_bytes = 0;
    unsigned long long use_clock = 0;
    // Effects whose play_waits is set (GUI thread only).
    int waiting_plays = 0;
    // Every effect was found waiting for a download or a decoding, so a new
    // name is refused without another search until the next take-up (GUI
    // thread only).
    bool every_effect_busy = false;
    // Declared last: its worker ends before the effects go.
    sound_decode_queue decodes;
};

#endif
