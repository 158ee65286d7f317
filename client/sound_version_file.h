#ifndef VUSK_SOUND_VERSION_FILE_H
#define VUSK_SOUND_VERSION_FILE_H

// "sound_version.cfg": which version of each sound-pack file is on disk, as
// XML in the configuration files' dialect, and the list of those versions
// the sound pack keeps in memory.
//
// The list keeps no more records than the file's reader takes, so the file
// it writes is always read whole: past the bound the version used longest
// ago is forgotten. The file holds the records in the order of their use,
// the least recently used first.

#include "settings_files.h"

#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

struct sound_version_entry {
    // The pack path of a sound name (sound_pack_path), at most 99 characters.
    std::string filename;
    int version = 0;
};

// The records read from a file and kept in memory. No character of a pack
// path is escaped, so even a file of this many records at the longest path
// and version stays far below settings_file_size_limit (under 800 KB).
constexpr size_t max_sound_version_records = 4096;

// The records of the file, in file order, one per filename: a later record
// of a name replaces an earlier one. A record without a filename, with
// version 0 or with a filename that is not the pack path of a sound name
// (which no request could look up) is dropped; past the bound the last
// records are kept. An unreadable file has none.
std::vector<sound_version_entry> load_sound_versions(const std::string &path);

// Writes the file whole, records in the order given, but for those that its
// reader would drop. The new content replaces the old file only once it is
// completely written; otherwise the old file stays and the result is the
// reason.
std::string save_sound_versions(const std::string &path, const std::vector<sound_version_entry> &records);
// The same, written by the settings writer's thread as part of the save;
// the failure is the save's.
void save_sound_versions_in(background_save &save, const std::string &path,
                            const std::vector<sound_version_entry> &records);

// The versions known, at most max_sound_version_records, by how recently
// they were used. Not synchronised: its owner locks around each call.
class sound_version_list {
public:
    // The records least recently used first, as load_sound_versions gives
    // them.
    explicit sound_version_list(const std::vector<sound_version_entry> &records = {});

    // The version recorded for the file, if any; the record counts as used.
    std::optional<int> use(const std::string &filename);
    // Records the version of the file as the most recently used; a full
    // list forgets the least recently used record.
    void record(const std::string &filename, int version);
    // Every record, the least recently used first.
    std::vector<sound_version_entry> records() const;

private:
    using entries = std::list<sound_version_entry>;

    // The least recently used first.
    entries by_use;
    std::unordered_map<std::string, entries::iterator> by_filename;
};

#endif
