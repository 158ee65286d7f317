#ifndef VUSK_TQCONFIG_FILES_H
#define VUSK_TQCONFIG_FILES_H

// Where the settings live between runs: the preference store of the
// installation, the configuration directory, the system file naming the
// configuration in use, and one XML file per configuration record.

#include "tag_owners.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

class wxConfigBase;

// Until the system file names a configuration.
constexpr char no_config_name[] = "NO_NAME";
extern std::string loaded_config_name;

// Seconds since the epoch. The id's creation time starts as the time the
// program started, so a new installation is not reminded to vote at once.
extern int global_uuid_create_time;
extern int global_last_voting_time;
extern int global_last_voting_reminder_time;
extern int global_voting_reminder_enable;

// The configuration directory; empty while none is known, and then no
// configuration file is read or written.
extern std::string global_config_directory_path;

// One entry of the vote menu; an entry without a label is unset. Its label
// and address are at most voting_text_max_length bytes each.
constexpr size_t voting_text_max_length = 7999;
struct voting_url {
    std::optional<std::string> label;
    std::optional<std::string> url;
};
constexpr int voting_url_count = 8;
extern std::array<voting_url, voting_url_count> voting_urls;

// Configuration names become file names: at most this many bytes, so that a
// name read back from a file equals the name saved.
constexpr size_t config_name_max_length = 99;

// The start-up load: preferences, the configuration directory, the system
// file and the current record. Some record is current afterwards.
void load_system_config();
// Saves the preferences, the system file and every record; only the files
// whose content changed are written. The calling thread gathers the files'
// content; the settings writer's thread writes them. A file that cannot be
// written completely keeps its old content; the failures of the saves that
// finished since the last report (a save of its own for each record unloaded
// among them) are reported on standard error by the main tick
// (run_requested_config_save): the files not saved in one line, the
// settings of unloaded records that the disk refused, kept and tried again,
// in another. Those are written again by every save too.
void start_system_config_save();
// Returns once every file of the saves started is written, their failures
// reported.
void finish_config_saves();
// A save that returns once finished (start_system_config_save, then
// finish_config_saves).
void save_system_config();
// A client id from the server; a missing or empty one makes a local id. A
// new id marks the settings for saving.
void set_uuid(const char *text);
// The main tick's part: starts a save marked since the last one, at most one
// a second however often the server sends an id, reports the saves that
// finished, tries again the writes the disk refused when their pause is
// over, and unloads records held for the disk as room frees. Never waits
// for the disk.
void run_requested_config_save(long long now_ms);
// Whether the settings writes are so far behind that the game socket is not
// read (records_behind_the_disk_pausing_reads, tqconfig_bounds.h): the
// server waits for the disk, or for the outcome of refused writes tried
// again, rather than have a character's settings go unsaved. A disk that
// refused every write it was given is not behind: the game goes on, and
// the changed records that then find no room are said not saved.
bool settings_writes_backlogged();
// The owner of the server's "uuid" tag: it sets the client id.
client_id_owner &client_id_tags();
// A local client id: "DFLT" and 28 random lower-case hexadecimal digits.
void create_default_uuid();

// Moves the old flat settings of a former layout out of the store.
void load_and_nuke_oldstyle_system_config(wxConfigBase &store);

int does_directory_exist(const char *path);
// The configuration directory from the "config_dir" preference (a relative
// one taken under home), else under home; empty when neither is known.
std::string find_config_directory(const std::string &config_dir, const char *home);
// Creates the directory (mode 0700) with any missing parents; false, said
// on standard error, when it cannot.
bool create_config_directory(const std::string &path);
// A name that may become a file of the configuration directory: no path
// separator, no "..", no leading '.', no control byte, not too long, and
// not the name of one of the client's own files. The empty name is the
// unnamed configuration.
bool is_valid_config_name(const std::string &name);
// The file of the configuration of that name (".cfg" alone when unnamed).
std::string config_file_path(const std::string &name);

#endif
