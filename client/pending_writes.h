#ifndef VUSK_PENDING_WRITES_H
#define VUSK_PENDING_WRITES_H

// The background writes of settings files that the asking thread has not
// taken up yet, one entry per file: the content the file is to hold and
// which write puts it there. Until its entry goes, reading the file gives
// that content.
//
// An entry is in one of three states:
// - held: written for a record still in memory (or the system file or the
//   preference store); a failed write drops it, as the next save writes the
//   content again;
// - only copy: written for a record no longer in memory, so the entry holds
//   the only copy of the settings; a failed write keeps it;
// - failed: an only copy whose write failed; it is written again (the
//   asker tries the failed ones again soon, and with every save). Its
//   first refusal is said; the refusals of its writes again are not.
// Entries held are bounded by the records in memory; only copies and failed
// ones together by max_only_copies (tqconfig_bounds.h), which the asker
// checks (has_room) before it unloads a record.

#include "tqconfig_bounds.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// What a failed write of a background save leaves of the content.
enum class if_write_fails { content_dropped, content_kept };

class pending_writes {
public:
    enum class state { held, only_copy, failed };

    struct entry {
        std::string content;
        unsigned long long sequence;
        state now;
        bool refusal_said = false;
    };

    const entry *find(const std::string &path) const;
    size_t size() const { return entries.size(); }
    // Only copies and failed entries.
    size_t only_copies() const { return only_copy_count; }
    // Only copies whose write has not failed: those the disk still has to take.
    size_t only_copies_being_written() const { return only_copy_count - failed_count; }
    bool has_failed() const { return failed_count > 0; }
    // Whether the settings of one more record may wait.
    bool has_room() const { return only_copy_count < max_only_copies; }

    // A write of the content was handed to the writer; it replaces the
    // file's entry.
    void handed(const std::string &path, const std::string &content, unsigned long long sequence,
                if_write_fails failure);
    // The record the pending write came from is no longer in memory.
    void make_only_copy(const std::string &path);
    // The outcome of a write was taken up. The entry goes unless a later
    // write of the file is pending or the write failed an only copy.
    // Returns the state the entry was in when the write was its latest
    // (none when a later write replaced it).
    std::optional<state> settle(const std::string &path, unsigned long long sequence, bool write_failed);
    // Whether the refusal of a failed entry is to be said: the first since
    // its settings began to wait. Marks it said.
    bool first_refusal(const std::string &path);
    // The paths and contents of the failed entries.
    std::vector<std::pair<std::string, std::string>> failed() const;
    // Forgets the failed entries; returns their paths.
    std::vector<std::string> forget_failed();

private:
    void set_state(entry &pending, state now);
    static bool counts(state now) { return now != state::held; }

    std::unordered_map<std::string, entry> entries;
    size_t only_copy_count = 0;
    size_t failed_count = 0;
};

#endif
