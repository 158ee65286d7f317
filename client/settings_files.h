#ifndef VUSK_SETTINGS_FILES_H
#define VUSK_SETTINGS_FILES_H

// Reading and writing the files that hold the settings: the preference
// store, the system file and one file per configuration record.
//
// A file is read only when it is a regular file of at most
// settings_file_size_limit bytes, and opening it never waits: a link to a
// device without end or a FIFO is refused at once. Every file refused, or
// read and found of no use, is said on standard error, once.
//
// A save writes a file only when its content differs from what the file held
// when this program last read or wrote it, so saving many records costs
// little when few changed. What a file held is kept only while its record is
// in memory (and for the system, preference and version files). A file whose content could not be used at all is
// moved aside to its name followed by ".damaged" when its new content is
// saved, so that a save never destroys what a player might still recover.
//
// A background save hands its files to the settings writer's thread: the
// calling thread (the GUI thread, which alone uses these functions) only
// gathers the content. Until a file's last write is taken up, reading it
// gives the content being written, so a file saved and read again at once
// reads as saved.

#include "pending_writes.h"
#include "util.h"
#include "vusk_xml.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The client's own files are a few KB (a record with the most popup windows
// under 20 KB); anything larger is not one of them.
constexpr size_t settings_file_size_limit = 1024 * 1024;

enum class settings_file_state {
    missing,
    read,
    // The file exists but is not a readable regular file within the limit;
    // it is kept aside at the next save, and said on standard error.
    refused,
};

struct settings_file {
    settings_file_state state = settings_file_state::missing;
    std::string content;
};

// A file with a background write pending reads as the content written.
settings_file read_settings_file(const std::string &path);

// Marks a file that was read but held nothing usable, or not all it held
// could be used: the save that next replaces it keeps it aside. What is
// wrong with it (naming the file) is said on standard error with where it
// is kept, once until the file is replaced.
void keep_damaged_settings_file(const std::string &path, const std::string &what_is_wrong);
// The same for a file of which nothing could be used, for that reason.
void keep_unusable_settings_file(const std::string &path, const std::string &reason);
// Where a file that could not be used is kept aside, for the player: the
// first of its copies' names that is free when it is next saved.
std::string kept_aside_names(const std::string &path);

// What the file held is no longer kept for comparison: its record is no
// longer in memory. A pending write of it still reads as its content.
void forget_settings_file(const std::string &path);

// Puts the content in the file unless the file holds it already. Returns the
// failure; empty when the file holds the content.
std::string save_settings_file(const std::string &path, const std::string &content);

// Reads a settings file as XML, after its declaration line when it has one:
// read takes the reader and says whether the file held anything of use. A
// file that held nothing of use is kept aside when it is next saved. False
// when there is no file to read.
template <class Read> bool read_xml_file(const std::string &path, bool has_declaration, Read read)
{
    settings_file file = read_settings_file(path);
    if (file.state != settings_file_state::read)
        return false;
    if (file.content.empty())
        return true;
    FILE *stream = fmemopen(file.content.data(), file.content.size(), "rb");
    if (stream == nullptr)
        return true;
    if (has_declaration)
        skip_declaration_line(stream);
    vusk_xml_reader reader(stream);
    if (!read(reader))
        keep_unusable_settings_file(path, "no settings in it");
    fclose(stream);
    return true;
}

// What write puts into a file, gathered in memory; none when memory ran out.
template <class Write>
std::optional<std::string> rendered(Write write)
{
    char *buffer = nullptr;
    size_t size = 0;
    FILE *file = open_memstream(&buffer, &size);
    if (file == nullptr)
        return std::nullopt;
    write(file);
    const bool complete = !ferror(file);
    std::optional<std::string> text;
    if (fclose(file) == 0 && complete)
        text.emplace(buffer, size);
    free(buffer);
    return text;
}

// Saves what `rendered` gathered; the failure, empty when saved.
std::string save_rendered(const std::string &path, const std::optional<std::string> &content);

// What a failed write of a background save leaves of the content
// (if_write_fails, pending_writes.h). A record's file in memory is written
// again by the next save of the record; the file of a record unloaded holds
// the only copy, so its content stays pending (reading the file gives it)
// until it is written: after a failed write it is tried again by itself
// soon (retry_refused_settings_writes), and by the next save of every
// record; its first refusal is said as one to be tried again. At most
// max_only_copies contents wait so (tqconfig_bounds.h); a record unloaded
// beyond is not saved (said as a failure of its save), and its character's
// next login reads the file as it was. So are the contents still refused
// when the writer stops (stop_background_saves).

// The files given to one background save are written in the order given,
// after those of every earlier save; the save is finished once every one is
// written, or failed, and the object is gone.
class background_save {
public:
    explicit background_save(if_write_fails failure = if_write_fails::content_dropped);
    ~background_save();
    background_save(const background_save &) = delete;
    background_save &operator=(const background_save &) = delete;

    // Puts what `rendered` gathered in the file unless the file holds it or
    // a pending write puts it there.
    void add(const std::string &path, const std::optional<std::string> &content);
    // Writes again every content kept after its write failed.
    void add_failed_unloads_again();

private:
    void hand_to_writer(const std::string &path, const std::string &content, if_write_fails failure);

    unsigned long long number;
    if_write_fails failure;
};

// Whether the settings of one more record unloaded may wait for the disk.
bool settings_writes_have_room();
// Hands every write of a record unloaded that the disk refused to the
// writer again, at once.
void retry_refused_settings_writes();
// The main tick's part: the same, after a pause that grows while the disk
// keeps refusing (retry_schedule.h).
void retry_refused_settings_writes_when_due(long long now_ms);
// The settings of records unloaded still waiting for the disk (only copies,
// failed writes among them), as of the last take-up.
size_t settings_only_copies_waiting();
// Of those, the ones whose write has not failed.
size_t settings_only_copies_being_written();

// What the writes of one background save came to, each failure once.
struct finished_save {
    // Files left as they were, their settings not saved.
    std::vector<std::string> not_saved;
    // Settings of records unloaded that the disk refused: kept, and tried
    // again until it takes them.
    std::vector<std::string> tried_again;
};
// Takes up the writes finished since the last call; returns what each
// background save that finished since came to, in order.
std::vector<finished_save> take_up_finished_saves();
// The files not saved of the same saves, one list per save.
std::vector<std::vector<std::string>> take_up_background_saves();
// What say_settings_files says happened to the files.
constexpr char settings_not_saved[] = "settings not saved, the old files are kept";
constexpr char settings_tried_again[] = "the disk refused settings, which are kept and tried again until it takes them";
// Says on standard error, in one line, what happened to the files: the first
// failure and how many more.
void say_settings_files(const char *what_happened, const std::vector<std::string> &failures);
// Returns once every background write asked for is finished (and still to
// be taken up).
void wait_for_background_saves();
// Finishes every background write and ends the writer's thread; the
// settings of records unloaded that the disk still refused are said not
// saved, and forgotten.
void stop_background_saves();
// For tests: the writer's thread calls this before each batch it takes, so
// that a test can make the disk slow; an empty one ends that.
void hold_background_writes_with(std::function<void()> before_batch);

#endif
