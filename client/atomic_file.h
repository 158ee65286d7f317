#ifndef VUSK_ATOMIC_FILE_H
#define VUSK_ATOMIC_FILE_H

// Replaces a file only with complete new content. The content goes to a
// temporary file in the same directory, which is renamed over the file once
// every write, the flush to disk and the close have succeeded; otherwise the
// old file stays as it was and the temporary file is removed. A crash or a
// full disk in the middle of a save can then never leave a cut file behind.
//
// A save that was killed leaves its temporary file (the file's name followed
// by ".tmp-" and six characters); the next save of the same file removes
// such files once they are old enough that no other running save can still
// be writing them.

#include <cstdio>
#include <string>

// A temporary file untouched for this long belongs to no running save.
constexpr int stale_temporary_file_seconds = 60;

class atomic_file {
public:
    explicit atomic_file(const std::string &path);
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
    // Puts the new content in place. False when anything failed since the
    // file was opened; error() then says what, and the old file is untouched.
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
    FILE *stream = nullptr;
};

#endif
