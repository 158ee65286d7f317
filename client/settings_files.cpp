#include "settings_files.h"

#include "atomic_file.h"
#include "pending_writes.h"
#include "retry_schedule.h"
#include "settings_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace {
const char damaged_suffix[] = ".damaged";
constexpr size_t read_chunk = 16384;

std::string kept_path(const std::string &path)
{
    return path + damaged_suffix;
}

std::string too_large()
{
    return "larger than " + std::to_string(settings_file_size_limit) + " bytes";
}

// What a file held when last read or written, and which file that was: a
// file replaced or removed since is written again.
struct known_file {
    std::string content;
    dev_t device;
    ino_t inode;
};

std::unordered_map<std::string, known_file> &known_files()
{
    static std::unordered_map<std::string, known_file> files;
    return files;
}

std::unordered_set<std::string> &damaged_files()
{
    static std::unordered_set<std::string> files;
    return files;
}

// The files found of no use that were said, until they are replaced.
std::unordered_set<std::string> &damaged_files_said()
{
    static std::unordered_set<std::string> files;
    return files;
}

void replaced(const std::string &path)
{
    damaged_files().erase(path);
    damaged_files_said().erase(path);
}

struct save_progress {
    int unwritten = 0;
    bool all_given = false;
    finished_save outcome;
};

// The background saves: the writer, the writes not yet taken up by path, the
// saves not yet finished by number.
struct background_saves {
    settings_writer writer;
    pending_writes pending;
    std::map<unsigned long long, save_progress> saves;
    retry_schedule retries;
    // Since the retry schedule last heard of it.
    bool disk_took_a_write = false;
    unsigned long long last_sequence = 0;
    unsigned long long last_save = 0;
};

background_saves &background()
{
    static background_saves writes;
    return writes;
}

void remember(const std::string &path, const std::string &content, dev_t device, ino_t inode)
{
    known_files()[path] = {content, device, inode};
}

bool holds_already(const std::string &path, const std::string &content)
{
    if (const pending_writes::entry *pending = background().pending.find(path))
        return pending->now != pending_writes::state::failed && pending->content == content;
    const auto known = known_files().find(path);
    struct stat status;
    return known != known_files().end() && known->second.content == content && stat(path.c_str(), &status) == 0 &&
           S_ISREG(status.st_mode) && status.st_dev == known->second.device &&
           status.st_ino == known->second.inode && static_cast<size_t>(status.st_size) == content.size();
}

void refuse(settings_file &file, const std::string &path, const std::string &reason)
{
    file = {settings_file_state::refused, {}};
    keep_unusable_settings_file(path, reason);
}

// The whole content, unless it grows beyond the limit while being read.
bool read_within_limit(int descriptor, std::string &content, std::string &reason)
{
    char chunk[read_chunk];
    for (;;) {
        const ssize_t got = read(descriptor, chunk, sizeof chunk);
        if (got == 0)
            return true;
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            reason = strerror(errno);
            return false;
        }
        content.append(chunk, static_cast<size_t>(got));
        if (content.size() > settings_file_size_limit) {
            reason = too_large();
            return false;
        }
    }
}

std::string out_of_memory(const std::string &path)
{
    return "cannot write " + path + ": " + strerror(ENOMEM);
}

// The settings of a record unloaded while the disk is behind by the most
// records it may be.
std::string no_room(const std::string &path)
{
    return "cannot write " + path + ": " + std::to_string(max_only_copies) +
           " files of characters no longer in use are still waiting to be written";
}

// A failure is said once: a write that a later one of the same file
// replaced leaves the saying to that one, and the settings of a record
// unloaded are said refused only the first time.
void write_finished(save_progress &progress, settings_write_outcome &outcome,
                    std::optional<pending_writes::state> settled)
{
    --progress.unwritten;
    if (outcome.failure.empty() || !settled)
        return;
    if (settled == pending_writes::state::held)
        progress.outcome.not_saved.push_back(std::move(outcome.failure));
    else if (background().pending.first_refusal(outcome.write.path))
        progress.outcome.tried_again.push_back(std::move(outcome.failure));
}

// A file written for a record in memory is remembered, to compare the next
// save with; one written for a record unloaded is not.
void take_up(settings_write_outcome &outcome)
{
    background_saves &state = background();
    const settings_write &write = outcome.write;
    const std::optional<pending_writes::state> settled =
        state.pending.settle(write.path, write.sequence, !outcome.failure.empty());
    if (outcome.failure.empty()) {
        state.disk_took_a_write = true;
        replaced(write.path);
    }
    if (outcome.failure.empty() && settled == pending_writes::state::held)
        remember(write.path, write.content, outcome.device, outcome.inode);
    for (unsigned long long earlier : outcome.replaced_saves)
        --state.saves[earlier].unwritten;
    write_finished(state.saves[write.save], outcome, settled);
}

void take_up_finished_writes()
{
    for (settings_write_outcome &outcome : background().writer.take_outcomes())
        take_up(outcome);
}

}

// Writes finished since the last tick give their room back first.
bool settings_writes_have_room()
{
    if (background().pending.has_room())
        return true;
    take_up_finished_writes();
    return background().pending.has_room();
}

void retry_refused_settings_writes()
{
    if (!background().pending.has_failed())
        return;
    background_save retry(if_write_fails::content_kept);
    retry.add_failed_unloads_again();
}

void retry_refused_settings_writes_when_due(long long now_ms)
{
    background_saves &state = background();
    if (state.disk_took_a_write)
        state.retries.disk_took_a_write(now_ms);
    state.disk_took_a_write = false;
    if (state.retries.due(now_ms, state.pending.has_failed()))
        retry_refused_settings_writes();
}

size_t settings_only_copies_waiting()
{
    return background().pending.only_copies();
}

size_t settings_only_copies_being_written()
{
    return background().pending.only_copies_being_written();
}

settings_file read_settings_file(const std::string &path)
{
    settings_file file;
    if (const pending_writes::entry *pending = background().pending.find(path))
        return {settings_file_state::read, pending->content};
    // Without O_NONBLOCK opening a FIFO would wait for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            refuse(file, path, strerror(errno));
        return file;
    }
    struct stat status;
    std::string reason;
    if (fstat(descriptor, &status) != 0)
        reason = strerror(errno);
    else if (!S_ISREG(status.st_mode))
        reason = "not a regular file";
    else if (static_cast<unsigned long long>(status.st_size) > settings_file_size_limit)
        reason = too_large();
    else if (read_within_limit(descriptor, file.content, reason))
        file.state = settings_file_state::read;
    close(descriptor);
    if (file.state == settings_file_state::read)
        remember(path, file.content, status.st_dev, status.st_ino);
    else
        refuse(file, path, reason);
    return file;
}

std::string kept_aside_names(const std::string &path)
{
    const std::string suffix = damaged_suffix;
    return kept_path(path) + " (or the first free of " + suffix + "-2 to " + suffix + "-" + std::to_string(max_kept_copies) + ")";
}

void keep_damaged_settings_file(const std::string &path, const std::string &what_is_wrong)
{
    damaged_files().insert(path);
    if (damaged_files_said().insert(path).second)
        fprintf(stderr, "Varn Ossic: %s; it is kept aside as %s when the settings are next saved\n",
                what_is_wrong.c_str(), kept_aside_names(path).c_str());
}

void keep_unusable_settings_file(const std::string &path, const std::string &reason)
{
    keep_damaged_settings_file(path, "cannot use the settings file " + path + " (" + reason + ")");
}

void forget_settings_file(const std::string &path)
{
    known_files().erase(path);
    replaced(path);
}

std::string save_settings_file(const std::string &path, const std::string &content)
{
    if (holds_already(path, content))
        return {};
    settings_write write{path, content, {}, 0, 0};
    if (damaged_files().count(path) != 0)
        write.keep_old_as = kept_path(path);
    const settings_write_outcome outcome = put_in_place(std::move(write));
    if (!outcome.failure.empty())
        return outcome.failure;
    replaced(path);
    remember(path, content, outcome.device, outcome.inode);
    return {};
}

std::string save_rendered(const std::string &path, const std::optional<std::string> &content)
{
    return content ? save_settings_file(path, *content) : out_of_memory(path);
}

background_save::background_save(if_write_fails failure) : number(++background().last_save), failure(failure)
{
    background().saves.try_emplace(number);
}

background_save::~background_save()
{
    background().saves[number].all_given = true;
}

// The old content of a damaged file is moved aside by the first write of it;
// should that write fail, the writer hands the move on to the next.
void background_save::add(const std::string &path, const std::optional<std::string> &content)
{
    background_saves &state = background();
    save_progress &progress = state.saves[number];
    if (!content) {
        progress.outcome.not_saved.push_back(out_of_memory(path));
        return;
    }
    // A write of this content that is still pending may be its only copy now.
    if (failure == if_write_fails::content_kept)
        state.pending.make_only_copy(path);
    if (holds_already(path, *content))
        return;
    if (failure == if_write_fails::content_kept && !settings_writes_have_room()) {
        progress.outcome.not_saved.push_back(no_room(path));
        return;
    }
    hand_to_writer(path, *content, failure);
}

void background_save::add_failed_unloads_again()
{
    for (const auto &[path, content] : background().pending.failed())
        hand_to_writer(path, content, if_write_fails::content_kept);
}

void background_save::hand_to_writer(const std::string &path, const std::string &content, if_write_fails failure)
{
    background_saves &state = background();
    save_progress &progress = state.saves[number];
    const unsigned long long sequence = ++state.last_sequence;
    state.pending.handed(path, content, sequence, failure);
    settings_write write{path, content, {}, sequence, number};
    if (damaged_files().erase(path) != 0)
        write.keep_old_as = kept_path(path);
    ++progress.unwritten;
    state.writer.write(std::move(write));
}

std::vector<finished_save> take_up_finished_saves()
{
    background_saves &state = background();
    take_up_finished_writes();
    std::vector<finished_save> finished;
    auto save = state.saves.begin();
    while (save != state.saves.end() && save->second.all_given && save->second.unwritten == 0) {
        finished.push_back(std::move(save->second.outcome));
        save = state.saves.erase(save);
    }
    return finished;
}

std::vector<std::vector<std::string>> take_up_background_saves()
{
    std::vector<std::vector<std::string>> not_saved;
    for (finished_save &save : take_up_finished_saves())
        not_saved.push_back(std::move(save.not_saved));
    return not_saved;
}

void say_settings_files(const char *what_happened, const std::vector<std::string> &failures)
{
    if (failures.empty())
        return;
    fprintf(stderr, "Varn Ossic: %s: %s", what_happened, failures.front().c_str());
    if (failures.size() > 1)
        fprintf(stderr, " (and %zu more files)", failures.size() - 1);
    fputc('\n', stderr);
}

void wait_for_background_saves()
{
    background().writer.wait_until_written();
}

void stop_background_saves()
{
    background_saves &state = background();
    state.writer.stop();
    take_up_finished_writes();
    std::vector<std::string> lost;
    for (const std::string &path : state.pending.forget_failed())
        lost.push_back("cannot write " + path + ": the disk refused it to the end");
    say_settings_files(settings_not_saved, lost);
}

void hold_background_writes_with(std::function<void()> before_batch)
{
    background().writer.hold_batches_with(std::move(before_batch));
}
