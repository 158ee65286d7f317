#include "vusk_soundpack.h"

#include "sound_names.h"
#include "tqconfig_files.h"
#include "util.h"
#include "vusk_audio.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Effects are mono: the decoder keeps nothing else. The sound shares the
// samples, so a budget drop or a newer version cannot free them under it.
void play_effect(const std::shared_ptr<const decoded_sound> &sound)
{
    new vusk_audio_playout_mono_memory(sound->data.get(), sound->length, sound);
}

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

// A sound that plays shares its samples with the effect (and with nothing
// else the pack keeps).
bool is_playing(const std::shared_ptr<const decoded_sound> &sound)
{
    return sound.use_count() > 1;
}

// An effect that no download or decoding points at, holding no sound that
// plays (the states tell which).
bool may_forget(const vusk_sound_effect &effect)
{
    switch (effect.state) {
    case effect_unknown:
    case effect_downloaded:
    case effect_missing:
    case effect_failed:
    case effect_loaded:
    case effect_custom: return !(effect.sound && is_playing(effect.sound));
    default: return false;
    }
}

} // namespace

vusk_soundpack *vusk_soundpack::instance = nullptr;

vusk_soundpack *vusk_soundpack::Instance()
{
    if (instance == nullptr)
        instance = new vusk_soundpack(global_config_directory_path, *vusk_download::Instance());
    return instance;
}

// Sounds decoded and not yet taken up stay within a quarter of the budget.
vusk_soundpack::vusk_soundpack(std::string directory, vusk_download &downloads, long byte_budget,
                               request_clock now)
    : directory(std::move(directory)), downloads(downloads), byte_budget(byte_budget), now(std::move(now)),
      decodes(byte_budget / 4)
{
    if (!this->directory.empty())
        versions = sound_version_list(load_sound_versions(version_file_path()));
}

std::string vusk_soundpack::version_file_path() const
{
    return full_path(version_file_name);
}

void vusk_soundpack::parse_audio_tag(const char *request)
{
    const std::string name = first_word(request);
    const char *second_word = next_arg(request);
    int version = default_version;
    is_int(second_word, &version);
    const bool play = !asks_preload(second_word);
    vusk_sound_effect *effect = serve_request(name.c_str(), version, play);
    if (effect && play)
        play_effect(effect->sound);
}

vusk_sound_effect *vusk_soundpack::get_sound_data(const char *name, int version)
{
    return serve_request(name, version, false);
}

vusk_sound_effect *vusk_soundpack::serve_request(const char *name, int version, bool play_when_decoded)
{
    if (directory.empty() || !is_valid_sound_name(name))
        return nullptr;
    const std::string path = sound_pack_path(name);
    vusk_sound_effect *effect = find_or_create_sound_effect(path);
    if (effect == nullptr)
        return nullptr;
    effect->last_used = ++use_clock;
    if (effect->state == effect_custom)
        return use(effect);
    const bool outdated = is_outdated(path, version);
    bool version_waits = false;
    vusk_sound_effect *served = serve_effect(effect, name, version, outdated, version_waits);
    if (!outdated && !version_waits)
        update_sound_version(path, version);
    if (served == nullptr && play_when_decoded && effect->state == effect_decoding)
        wait_to_play(effect);
    return served;
}

std::string vusk_soundpack::full_path(const std::string &relative_path) const
{
    return directory + "/" + relative_path;
}

// What a request gets in each state. version_waits tells that the version is
// recorded only later: once a file on its way has arrived, or once it is
// known whether the player's own file decodes (it is never versioned).
vusk_sound_effect *vusk_soundpack::serve_effect(vusk_sound_effect *effect, const char *name, int version,
                                                bool outdated, bool &version_waits)
{
    switch (effect->state) {
    case effect_unknown:
        start_first_load(effect, name, version, version_waits);
        return nullptr;
    case effect_downloading:
        downloads.ask_again(effect->name.c_str());
        return nullptr;
    case effect_missing:
        version_waits = true;
        request_download(effect, version, effect_downloading);
        return nullptr;
    case effect_downloaded:
        if (!sound_file_exists(full_path(effect->name))) {
            version_waits = true;
            request_download(effect, version, effect_downloading);
            return nullptr;
        }
        // The version it replaces is not heard again: this request waits
        // for the new one like a first request.
        drop_sound(effect);
        start_decoding(effect, {}, version, true);
        return nullptr;
    case effect_decoding:
        version_waits = true;
        return use(effect);
    default:
        if (effect->state == effect_updating)
            downloads.ask_again(effect->name.c_str());
        if (outdated && effect->state != effect_updating)
            request_download(effect, version, effect_updating);
        return effect->state == effect_failed ? nullptr : use(effect);
    }
}

// The player's own file comes first, then the pack's; a missing pack file is
// fetched at once.
void vusk_soundpack::start_first_load(vusk_sound_effect *effect, const std::string &name, int version,
                                      bool &version_waits)
{
    const std::string custom_path = full_path(custom_sound_path(name));
    if (sound_file_exists(custom_path)) {
        version_waits = true;
        start_decoding(effect, custom_path, version, false);
    } else if (sound_file_exists(full_path(effect->name))) {
        start_decoding(effect, {}, version, false);
    } else {
        version_waits = true;
        request_download(effect, version, effect_downloading);
    }
}

void vusk_soundpack::start_decoding(vusk_sound_effect *effect, std::string custom_path, int version, bool reload)
{
    effect->state = effect_decoding;
    decodes.add({effect, std::move(custom_path), full_path(effect->name), version, reload});
}

// The effect when it holds a sound to play (an older one while a newer is on
// its way), else null.
vusk_sound_effect *vusk_soundpack::use(vusk_sound_effect *effect)
{
    if (!effect->sound)
        return nullptr;
    effect->last_used = ++use_clock;
    return effect;
}

// Several requests while the effect decodes play it once; the latest tells
// whether it is still worth hearing.
void vusk_soundpack::wait_to_play(vusk_sound_effect *effect)
{
    if (!effect->play_waits) {
        if (waiting_plays >= max_waiting_plays)
            return;
        effect->play_waits = true;
        ++waiting_plays;
    }
    effect->play_requested_at = now();
}

// Whether a request waits to hear the effect and is recent enough; either
// way it waits no longer.
bool vusk_soundpack::take_waiting_play(vusk_sound_effect *effect)
{
    if (!effect->play_waits)
        return false;
    effect->play_waits = false;
    --waiting_plays;
    return now() - effect->play_requested_at <= max_play_delay;
}

// A refused request (a full queue, or a failure the service still holds
// against the name) leaves the effect as it was, or missing, for a later
// request to ask again.
void vusk_soundpack::request_download(vusk_sound_effect *effect, int version, sound_effect_state state)
{
    const int before = effect->state;
    effect->requested_version = version;
    effect->state = state;
    if (!downloads.download(effect->name.c_str(), download_callback_function, effect))
        effect->state = state == effect_downloading ? effect_missing : before;
}

// The last thing it does is set the state: the GUI thread may forget the
// effect as soon as it sees the outcome.
void vusk_soundpack::download_callback_function(void *data, int end)
{
    vusk_sound_effect *effect = static_cast<vusk_sound_effect *>(data);
    const bool updating = effect->state == effect_updating;
    if (end == download_pushed_out) {
        // Never asked of the host: a later request starts again from the
        // file on disk, and asks for the newer one again.
        effect->state = updating ? effect_unknown : effect_missing;
        return;
    }
    if (end == download_failed) {
        effect->state = updating ? effect_failed : effect_missing;
        return;
    }
    // Recorded before the state changes, so that the GUI thread, once it
    // sees the file, also sees its version.
    effect->pack->update_sound_version(effect->name, effect->requested_version);
    effect->state = effect_downloaded;
}

void vusk_soundpack::take_up_decoded()
{
    every_effect_busy = false;
    for (sound_decode_outcome &outcome : decodes.take_finished())
        take_decoded(outcome);
    keep_within_budget();
}

// Carries on where the request that started the decoding stopped.
void vusk_soundpack::take_decoded(sound_decode_outcome &outcome)
{
    vusk_sound_effect *effect = outcome.job.effect;
    const int version = outcome.job.version;
    const bool play = take_waiting_play(effect);
    switch (outcome.result) {
    case decode_result::missing:
        // The player's own file did not decode and the pack has none (or it
        // went while the job waited).
        request_download(effect, version, effect_downloading);
        return;
    case decode_result::unusable:
        // Silent until a request names a newer version, which is fetched.
        effect->state = effect_failed;
        break;
    case decode_result::decoded:
        hold(effect, std::move(outcome.sound));
        if (play)
            play_effect(effect->sound);
        if (outcome.custom) {
            effect->state = effect_custom;
            return;
        }
        effect->state = effect_loaded;
        break;
    }
    // A file found at the first request is used even when outdated; the
    // next request refreshes it. A downloaded one is refreshed at once.
    if (!is_outdated(effect->name, version))
        update_sound_version(effect->name, version);
    else if (outcome.job.reload)
        request_download(effect, version, effect_updating);
}

void vusk_soundpack::hold(vusk_sound_effect *effect, decoded_sound &&sound)
{
    if (effect->sound)
        held_bytes -= effect->sound->length;
    held_bytes += sound.length;
    effect->sound = std::make_shared<const decoded_sound>(std::move(sound));
    effect->last_used = ++use_clock;
}

// Lets go of the least recently used sounds that are not playing until the
// rest fit. Sounds that play stay: the mixer would keep them anyway.
void vusk_soundpack::keep_within_budget()
{
    while (held_bytes > byte_budget) {
        vusk_sound_effect *oldest = least_recently_used_quiet_effect();
        if (oldest == nullptr)
            return;
        let_go(oldest);
    }
}

vusk_sound_effect *vusk_soundpack::least_recently_used_quiet_effect()
{
    std::lock_guard<std::mutex> lock(mutex);
    vusk_sound_effect *oldest = nullptr;
    for (auto &[name, effect] : effects)
        if (effect.sound && !is_playing(effect.sound) && (!oldest || effect.last_used < oldest->last_used))
            oldest = &effect;
    return oldest;
}

// A loaded effect starts again from its files when it is next asked for;
// any other keeps its state (a newer version still arrives).
void vusk_soundpack::let_go(vusk_sound_effect *effect)
{
    drop_sound(effect);
    if (effect->state == effect_loaded || effect->state == effect_custom)
        effect->state = effect_unknown;
}

// Sounds playing it keep their share of the samples.
void vusk_soundpack::drop_sound(vusk_sound_effect *effect)
{
    if (!effect->sound)
        return;
    held_bytes -= effect->sound->length;
    effect->sound.reset();
}

bool vusk_soundpack::decoding()
{
    return decodes.holds_work();
}

void vusk_soundpack::stop_decoding()
{
    decodes.stop();
}

vusk_sound_effect *vusk_soundpack::find_or_create_sound_effect(const std::string &relative_path)
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = effects.find(relative_path);
    if (found != effects.end())
        return &found->second;
    if (effects.size() >= max_effects && !every_effect_busy)
        forget_least_recently_asked_unlocked();
    if (effects.size() >= max_effects) {
        every_effect_busy = true;
        return nullptr;
    }
    vusk_sound_effect &effect = effects[relative_path];
    effect.name = relative_path;
    effect.pack = this;
    return &effect;
}

void vusk_soundpack::forget_least_recently_asked_unlocked()
{
    std::vector<decltype(effects)::iterator> forgettable;
    for (auto it = effects.begin(); it != effects.end(); ++it)
        if (may_forget(it->second))
            forgettable.push_back(it);
    const size_t count = std::min(forgettable.size(), effects_forgotten_together);
    std::nth_element(forgettable.begin(), forgettable.begin() + long(count), forgettable.end(),
                     [](const auto &a, const auto &b) { return a->second.last_used < b->second.last_used; });
    for (size_t i = 0; i < count; ++i) {
        drop_sound(&forgettable[i]->second);
        effects.erase(forgettable[i]);
    }
}

// A file with no version recorded (never, or forgotten by the full list) is
// taken as the version named: the pack's files may be put there by hand.
bool vusk_soundpack::is_outdated(const std::string &relative_path, int version)
{
    std::optional<int> recorded;
    {
        std::lock_guard<std::mutex> lock(mutex);
        recorded = versions.use(relative_path);
    }
    return recorded && *recorded != version && *recorded < unrefreshed_version;
}

void vusk_soundpack::update_sound_version(const std::string &relative_path, int version)
{
    std::lock_guard<std::mutex> lock(mutex);
    versions.record(relative_path, version);
}

std::vector<sound_version_entry> vusk_soundpack::versions_now()
{
    std::lock_guard<std::mutex> lock(mutex);
    return versions.records();
}

void vusk_soundpack::save_version_info_in_background()
{
    if (directory.empty())
        return;
    background_save save;
    save_sound_versions_in(save, version_file_path(), versions_now());
}

void vusk_soundpack::save_version_info()
{
    if (directory.empty())
        return;
    const std::string failure = save_sound_versions(version_file_path(), versions_now());
    if (!failure.empty())
        fprintf(stderr, "Varn Ossic: sound versions not saved, the old file is kept: %s\n", failure.c_str());
}
