#ifndef VUSK_SOUNDPACK_H
#define VUSK_SOUNDPACK_H

// The sound pack turns the server's sound requests into played sounds. Each
// effect is decoded once from an Ogg Vorbis file under the configuration
// directory and then played from memory; a file of the player's own in
// "soundpack/custom/" comes first, and a missing or outdated pack file is
// fetched through the download service. "sound_version.cfg" remembers
// which version of each file is on disk.
//
// Threads: everything runs on the GUI thread but the download callback,
// which runs on the download worker. The pack's mutex guards the effect and
// version lists and is held only around one search or change of a list;
// an effect's state is atomic. A decoded buffer that a reload replaces is
// freed on the GUI thread once no sound is playing, since a playout may
// still be reading it until then.

#include "sound_version_file.h"
#include "tag_owners.h"
#include "vusk_download.h"

#include <atomic>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class vusk_soundpack;

enum sound_effect_state : int {
    effect_unknown = 0,     // nothing tried yet
    effect_downloading = 1, // no usable data, the first download in flight
    effect_downloaded = 2,  // the file has arrived and waits to be loaded
    effect_loaded = 3,
    effect_updating = 4, // loaded, and a newer version is on its way
    effect_custom = 5,   // the player's own file: never versioned or fetched
    effect_failed = 99,  // the file is unusable or its download failed
};

struct vusk_sound_effect {
    // Decoded 16-bit little-endian PCM (GUI thread only).
    std::unique_ptr<unsigned char[]> data;
    long length = 0;
    // 1 once loaded; 0 before.
    int channels = 0;
    // "soundpack/" + name + ".ogg".
    std::string name;
    std::atomic<int> state{effect_unknown};
    // The version the download in flight brings.
    std::atomic<int> requested_version{0};
    vusk_soundpack *pack = nullptr;
};

class vusk_soundpack final : public sound_tag_owner {
public:
    // Distinct effects a session may ask for. Each effect's name is at most
    // once in the service's lists (queued or failed), so the service never
    // refuses the pack for full lists.
    static constexpr size_t max_effects = 512;
    static_assert(max_effects <= vusk_download::max_names, "a full download service would strand effects");

    // The process-wide pack, in the configuration directory of this run.
    static vusk_soundpack *Instance();
    // Null until Instance() creates the pack.
    static vusk_soundpack *instance;

    // Reads the version file of directory (none when directory is empty).
    vusk_soundpack(std::string directory, vusk_download &downloads);
    vusk_soundpack(const vusk_soundpack &) = delete;
    vusk_soundpack &operator=(const vusk_soundpack &) = delete;

    // One request: a name, optionally a version (1 when absent) and flag
    // words; "preload" from the third word on loads without playing.
    void parse_audio_tag(const char *request) override;
    // The effect to play now, or null. Finds, loads or fetches it.
    vusk_sound_effect *get_sound_data(const char *name, int version);
    // Writes the version file whole; a failure is said on standard error and
    // the old file kept.
    void save_version_info();

private:
    int load_from_file(vusk_sound_effect *effect, const std::string &relative_path);
    vusk_sound_effect *find_or_create_sound_effect(const std::string &relative_path);
    vusk_sound_effect *serve_effect(vusk_sound_effect *effect, int version, bool outdated, bool &fetching);
    bool request_download(vusk_sound_effect *effect, int version, sound_effect_state state);
    int check_sound_version(const std::string &relative_path, int version);
    void update_sound_version(const std::string &relative_path, int version);
    void update_sound_version_unlocked(const std::string &relative_path, int version);
    sound_version_entry *find_version_unlocked(const std::string &relative_path);
    static void download_callback_function(void *effect, int failed);
    void release_replaced_buffers();
    std::string version_file_path() const;

    const std::string directory;
    vusk_download &downloads;
    std::mutex mutex;
    // Every effect ever asked for, most recent first; never removed, so
    // the download callbacks' pointers stay valid.
    std::list<vusk_sound_effect> effects;
    // File order: loaded records first, then new ones; searched from the
    // end, so the most recently added record of a name counts.
    std::vector<sound_version_entry> versions;
    // Buffers replaced by reloads, waiting until no playout can read them.
    std::vector<std::unique_ptr<unsigned char[]>> replaced_buffers;
};

#endif
