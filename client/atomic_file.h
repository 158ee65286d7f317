#ifndef VUSK_ATOMIC_FILE_H
#define VUSK_ATOMIC_FILE_H

// Replaces a file only with complete new content. The content goes to a
// temporary file in the same directory, which is renamed over the file once
// every write, the flush to disk and the close have succeeded; otherwise the
// old file stays as it was and the temporary file is removed. A crash or a
// full disk in the middle of a save can then never leave a cut file behind.
//
// A save that was killed leaves its temporary file (a file's name followed
// by ".tmp-" and six letters or digits). The first save into a directory in
// a run removes such files of the directory once they are old enough that
// no other running save can still be writing them; later saves into it do
// not look again, so that a save costs the same however many files lie
// beside it.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// A temporary file untouched for this long belongs to no running save.
constexpr int stale_temporary_file_seconds = 60;
// Directories cleared in this run that are remembered; beyond, the one
// cleared longest ago is forgotten and cleared again at its next save.
constexpr size_t max_cleared_directories = 256;

// Who makes the new content durable before it replaces the file: commit
// itself, or the caller, once for many files (between finish_writing and
// commit).
enum class file_sync { on_commit, by_caller };

// Makes the contents written to the files of these paths durable, one
// sync for each file system holding them; the failure, empty when synced.
std::string sync_file_systems_of(const std::vector<std::string> &paths);

class atomic_file {
public:
    explicit atomic_file(const std::string &path, file_sync sync = file_sync::on_commit);
    // Removes the temporary file unless commit put it in place.
    ~atomic_file();
    atomic_file(const atomic_file &) = delete;
    atomic_file &operator=(const atomic_file &) = delete;

    // Where the new content is written; null when no temporary file could be
    // created (writing through a null file does nothing).
    FILE *file() const { return stream; }
    // On commit the old file is first moved to this path, so that content
    // this program could not use is kept rather than replaced.
    void keep_old_file_as(const std::string &path) { keep_path = path; }
    // Ends the writing: flushes and closes the new content, and syncs it
    // unless the caller does. False when anything failed since the file was
    // opened; error() then says what. file() is null afterwards.
    bool finish_writing();
    // Puts the new content in place, finishing the writing first. False when
    // anything failed since the file was opened; error() then says what, and
    // the old file is untouched.
    bool commit();
    const std::string &error() const { return failure; }

private:
    void fail(const char *doing, int error_number);
    void discard();
    bool keep_old_file();

    std::string target;
    std::string temporary;
    std::string keep_path;
    std::string failure;
    file_sync sync;
    FILE *stream = nullptr;
};

#endif
