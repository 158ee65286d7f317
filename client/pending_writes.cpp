#include "pending_writes.h"

const pending_writes::entry *pending_writes::find(const std::string &path) const
{
    const auto known = entries.find(path);
    return known == entries.end() ? nullptr : &known->second;
}

void pending_writes::set_state(entry &pending, state now)
{
    only_copy_count += counts(now);
    only_copy_count -= counts(pending.now);
    failed_count += now == state::failed;
    failed_count -= pending.now == state::failed;
    pending.now = now;
}

void pending_writes::handed(const std::string &path, const std::string &content, unsigned long long sequence,
                            if_write_fails failure)
{
    const state now = failure == if_write_fails::content_kept ? state::only_copy : state::held;
    const auto [pending, added] = entries.try_emplace(path, entry{content, sequence, state::held, false});
    if (!added) {
        pending->second.content = content;
        pending->second.sequence = sequence;
    }
    set_state(pending->second, now);
}

void pending_writes::make_only_copy(const std::string &path)
{
    const auto pending = entries.find(path);
    if (pending != entries.end() && pending->second.now == state::held)
        set_state(pending->second, state::only_copy);
}

std::optional<pending_writes::state> pending_writes::settle(const std::string &path, unsigned long long sequence,
                                                            bool write_failed)
{
    const auto pending = entries.find(path);
    if (pending == entries.end() || pending->second.sequence != sequence)
        return std::nullopt;
    const state was = pending->second.now;
    if (write_failed && was != state::held) {
        set_state(pending->second, state::failed);
    } else {
        set_state(pending->second, state::held);
        entries.erase(pending);
    }
    return was;
}

bool pending_writes::first_refusal(const std::string &path)
{
    const auto pending = entries.find(path);
    if (pending == entries.end() || pending->second.now != state::failed || pending->second.refusal_said)
        return false;
    pending->second.refusal_said = true;
    return true;
}

std::vector<std::pair<std::string, std::string>> pending_writes::failed() const
{
    std::vector<std::pair<std::string, std::string>> contents;
    for (const auto &[path, pending] : entries)
        if (pending.now == state::failed)
            contents.emplace_back(path, pending.content);
    return contents;
}

std::vector<std::string> pending_writes::forget_failed()
{
    std::vector<std::string> paths;
    for (auto pending = entries.begin(); pending != entries.end();) {
        if (pending->second.now != state::failed) {
            ++pending;
            continue;
        }
        paths.push_back(pending->first);
        set_state(pending->second, state::held);
        pending = entries.erase(pending);
    }
    return paths;
}
