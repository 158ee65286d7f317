#include "vusk_soundpack.h"

#include "sound_decoder.h"
#include "sound_names.h"
#include "tqconfig_files.h"
#include "util.h"
#include "vusk_audio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char version_file_name[] = "sound_version.cfg";
const char preload_word[] = "preload";
// A stored version from here on is never refreshed: the requested one
// replaces it instead.
constexpr int unrefreshed_version = 1000;
constexpr int default_version = 1;

std::string first_word(const char *text)
{
    return std::string(text, strcspn(text, " \t\n"));
}

// Words from the third on may ask to load without playing.
bool asks_preload(const char *second_word)
{
    for (const char *word = second_word ? next_arg(second_word) : nullptr; word; word = next_arg(word))
        if (wordcmp(word, preload_word))
            return true;
    return false;
}

void play(const vusk_sound_effect &effect)
{
    if (effect.channels == 1)
        new vusk_audio_playout_mono_memory(effect.data.get(), effect.length);
    else if (effect.channels == 2)
        new vusk_audio_playout_stereo_memory(effect.data.get(), effect.length);
}

} // namespace

vusk_soundpack *vusk_soundpack::instance = nullptr;

vusk_soundpack *vusk_soundpack::Instance()
{
    if (instance == nullptr)
        instance = new vusk_soundpack(global_config_directory_path, *vusk_download::Instance());
    return instance;
}

vusk_soundpack::vusk_soundpack(std::string directory, vusk_download &downloads)
    : directory(std::move(directory)), downloads(downloads)
{
    if (!this->directory.empty())
        versions = load_sound_versions(version_file_path());
}

std::string vusk_soundpack::version_file_path() const
{
    return directory + "/" + version_file_name;
}

void vusk_soundpack::parse_audio_tag(const char *request)
{
    release_replaced_buffers();
    const std::string name = first_word(request);
    const char *second_word = next_arg(request);
    int version = default_version;
    is_int(second_word, &version);
    vusk_sound_effect *effect = get_sound_data(name.c_str(), version);
    if (effect && !asks_preload(second_word))
        play(*effect);
}

vusk_sound_effect *vusk_soundpack::get_sound_data(const char *name, int version)
{
    if (directory.empty() || !is_valid_sound_name(name))
        return nullptr;
    const std::string path = sound_pack_path(name);
    vusk_sound_effect *effect = find_or_create_sound_effect(path);
    if (effect == nullptr)
        return nullptr;
    if (effect->state == effect_unknown) {
        if (load_from_file(effect, custom_sound_path(name)) && effect->state == effect_loaded)
            effect->state = effect_custom;
        else
            effect->state = effect_unknown;
    }
    if (effect->state == effect_custom)
        return effect;
    const bool outdated = check_sound_version(path, version);
    bool fetching = false;
    vusk_sound_effect *served = serve_effect(effect, version, outdated, fetching);
    // A file on its way gets its version recorded only once it has arrived.
    if (!outdated && !fetching)
        update_sound_version(path, version);
    return served;
}

// What a request gets in each state; fetching tells whether it started a
// download of a missing file.
vusk_sound_effect *vusk_soundpack::serve_effect(vusk_sound_effect *effect, int version, bool outdated, bool &fetching)
{
    switch (effect->state) {
    case effect_unknown:
        // A file that is there is played even when outdated; the next
        // request refreshes it.
        if (load_from_file(effect, effect->name))
            return effect;
        fetching = request_download(effect, version, effect_downloading);
        return nullptr;
    case effect_downloading:
        return nullptr;
    case effect_downloaded:
        if (!load_from_file(effect, effect->name)) {
            fetching = request_download(effect, version, effect_downloading);
            return nullptr;
        }
        if (outdated)
            request_download(effect, version, effect_updating);
        return effect;
    default:
        if (outdated && effect->state != effect_updating)
            request_download(effect, version, effect_updating);
        return effect->state == effect_failed ? nullptr : effect;
    }
}

bool vusk_soundpack::request_download(vusk_sound_effect *effect, int version, sound_effect_state state)
{
    effect->requested_version = version;
    effect->state = state;
    // A refused request (the name failed earlier in this run) leaves the
    // state as set: silent, or the old sound, for the rest of the run.
    return downloads.download(effect->name.c_str(), download_callback_function, effect) != 0;
}

void vusk_soundpack::download_callback_function(void *data, int failed)
{
    vusk_sound_effect *effect = static_cast<vusk_sound_effect *>(data);
    if (failed) {
        effect->state = effect_failed;
        return;
    }
    // Recorded before the state changes, so that the GUI thread, once it
    // sees the file, also sees its version.
    effect->pack->update_sound_version(effect->name, effect->requested_version);
    effect->state = effect_downloaded;
}

int vusk_soundpack::load_from_file(vusk_sound_effect *effect, const std::string &relative_path)
{
    decoded_sound sound;
    switch (decode_sound_file(directory + "/" + relative_path, sound)) {
    case decode_result::missing:
        return 0;
    case decode_result::unusable:
        effect->state = effect_failed;
        return 1;
    case decode_result::decoded:
        break;
    }
    if (effect->data)
        replaced_buffers.push_back(std::move(effect->data));
    effect->data = std::move(sound.data);
    effect->length = sound.length;
    effect->channels = sound.channels;
    effect->state = effect_loaded;
    return 1;
}

// Only the GUI thread starts playouts, so with nothing playing now nothing
// reads a replaced buffer any more.
void vusk_soundpack::release_replaced_buffers()
{
    if (!replaced_buffers.empty() && vusk_audio_object::playing_count() == 0)
        replaced_buffers.clear();
}

vusk_sound_effect *vusk_soundpack::find_or_create_sound_effect(const std::string &relative_path)
{
    std::lock_guard<std::mutex> lock(mutex);
    for (vusk_sound_effect &effect : effects)
        if (effect.name == relative_path)
            return &effect;
    if (effects.size() >= max_effects)
        return nullptr;
    vusk_sound_effect &effect = effects.emplace_front();
    effect.name = relative_path;
    effect.pack = this;
    return &effect;
}

sound_version_entry *vusk_soundpack::find_version_unlocked(const std::string &relative_path)
{
    const auto found = std::find_if(versions.rbegin(), versions.rend(),
                                    [&](const sound_version_entry &record) { return record.filename == relative_path; });
    return found == versions.rend() ? nullptr : &*found;
}

int vusk_soundpack::check_sound_version(const std::string &relative_path, int version)
{
    std::lock_guard<std::mutex> lock(mutex);
    const sound_version_entry *record = find_version_unlocked(relative_path);
    if (record == nullptr || record->version == version)
        return 0;
    return record->version < unrefreshed_version ? 1 : 0;
}

void vusk_soundpack::update_sound_version(const std::string &relative_path, int version)
{
    std::lock_guard<std::mutex> lock(mutex);
    update_sound_version_unlocked(relative_path, version);
}

void vusk_soundpack::update_sound_version_unlocked(const std::string &relative_path, int version)
{
    if (sound_version_entry *record = find_version_unlocked(relative_path))
        record->version = version;
    else
        versions.push_back({relative_path, version});
}

void vusk_soundpack::save_version_info()
{
    if (directory.empty())
        return;
    std::vector<sound_version_entry> records;
    {
        std::lock_guard<std::mutex> lock(mutex);
        records = versions;
    }
    const std::string failure = save_sound_versions(version_file_path(), records);
    if (!failure.empty())
        fprintf(stderr, "Varn Ossic: sound versions not saved, the old file is kept: %s\n", failure.c_str());
}
