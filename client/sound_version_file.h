#ifndef VUSK_SOUND_VERSION_FILE_H
#define VUSK_SOUND_VERSION_FILE_H

// "sound_version.cfg": which version of each sound-pack file is on disk, as
// XML in the configuration files' dialect.

#include "settings_files.h"

#include <string>
#include <vector>

struct sound_version_entry {
    // The relative path, at most 99 characters.
    std::string filename;
    int version = 0;
};

// Bounds the records read from a damaged or hostile file.
constexpr size_t max_sound_version_records = 4096;

// The records of the file in file order; an unreadable file has none. A
// record without a filename, with version 0 or with a filename of 100
// characters or more is dropped, and so is every record beyond the bound.
std::vector<sound_version_entry> load_sound_versions(const std::string &path);

// Writes the file whole, records in the order given. The new content
// replaces the old file only once it is completely written; otherwise the
// old file stays and the result is the reason.
std::string save_sound_versions(const std::string &path, const std::vector<sound_version_entry> &records);
// The same, written by the settings writer's thread as part of the save;
// the failure is the save's.
void save_sound_versions_in(background_save &save, const std::string &path,
                            const std::vector<sound_version_entry> &records);

#endif
