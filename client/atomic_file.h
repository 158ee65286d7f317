#ifndef VUSK_ATOMIC_FILE_H
#define VUSK_ATOMIC_FILE_H

// Replaces a file only with complete new content. The content goes to a
// temporary file in the same directory, which is renamed over the file once
// every write, the flush to disk and the close have succeeded; otherwise the
// old file stays as it was and the temporary file is removed. A crash or a
// full disk in the middle of a save can then never leave a cut file behind.

#include <cstdio>
#include <string>

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
    // Puts the new content in place. False when anything failed since the
    // file was opened; error() then says what, and the old file is untouched.
    bool commit();
    const std::string &error() const { return failure; }

private:
    void fail(const char *doing, int error_number);
    void discard();

    std::string target;
    std::string temporary;
    std::string failure;
    FILE *stream = nullptr;
};

#endif
