#ifndef VUSK_ATOMIC_FILE_H
#define VUSK_ATOMIC_FILE_H

// Replaces a file only with complete new content. The content goes to a
// temporary file in the same directory, which is renamed over the file once
// every write, the close and the sync of that file to the disk have
// succeeded; otherwise the old file stays as it was and the temporary file
// is removed. A crash or a full disk in the middle of a save can then never
// leave a cut file behind. Only the program's own files are synced, never
// the whole file system, so a save does not wait for other programs' data.
//
// A save that was killed leaves its temporary file (the file's name followed
// by ".tmp-" and six letters or digits). The first save into a directory in
// a run notes such files old enough that no running save can still be
// writing them; each is removed when the file it belongs to is next saved.
// A file of another program whose name only looks alike is thus never
// touched, and a save costs the same however many files lie beside it.
//
// The old content can be kept aside: a hard link to it is made under a free
// name before the new content is renamed into place, so that the file holds
// its old or its new content at every moment and an earlier copy is never
// replaced. Where no hard link can be made (a file system without them, or
// another user's file the kernel refuses to link), the old content is copied
// instead. What holds no content the program could copy (a link, a pipe, a
// device, a file it may not read) is moved aside whole, never over another
// name; until the new content takes its place the file is missing, which
// loses nothing the program could have read.

#include <cstddef>
#include <cstdio>
#include <string>
#include <sys/types.h>

// A temporary file untouched for this long belongs to no running save.
constexpr int stale_temporary_file_seconds = 60;
// Directories whose stale temporary files were noted in this run that are
// remembered; beyond, the one noted longest ago is forgotten and looked at
// again at its next save.
constexpr size_t max_cleared_directories = 256;
// Stale temporary files remembered in all those directories; beyond, the
// rest are left for a later run.
constexpr size_t max_noted_temporary_files = 4096;
// Copies kept aside of one file: under the name asked for, then that name
// followed by "-2", "-3" and so on up to this number. With all of them taken
// the file is not replaced: its old content stays in place.
constexpr int max_kept_copies = 16;

// Who waits for the new content to reach the disk before it replaces the
// file: finish_writing itself, or the caller (make_durable), so that the
// writes of many files to the disk run together.
enum class file_sync { on_commit, by_caller };

// The calls that reach the disk where a test must watch a step, stop between
// two or make one fail.
struct disk_calls {
    // Returns once the file's content is on the disk; 0 when it is.
    int (*sync_content)(int descriptor);
    // Makes a second name for a file (link()).
    int (*hard_link)(const char *existing, const char *new_name);
    // Puts the new content in the file's place (rename()).
    int (*rename_into_place)(const char *from, const char *to);
    // Opens the old file to copy it aside (open()).
    int (*open_old_file)(const char *path, int flags);
    // Read the old content and write its copy (read(), write()).
    ssize_t (*read_old_content)(int descriptor, void *buffer, size_t size);
    ssize_t (*write_copy)(int descriptor, const void *buffer, size_t size);
};
disk_calls system_disk_calls();
void use_disk_calls(const disk_calls &calls);

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
    // On commit the old content is first kept under this path, or the first
    // free name of its copies (max_kept_copies), so that content this
    // program could not use is kept rather than replaced.
    void keep_old_file_as(const std::string &path) { keep_path = path; }
    // Ends the writing: flushes and closes the new content, and waits until
    // it is on the disk unless the caller does (then its write to the disk
    // is only started). False when anything failed since the file was
    // opened; error() then says what. file() is null afterwards.
    bool finish_writing();
    // Waits until the finished content is on the disk; false as above.
    bool make_durable();
    // Puts the new content in place, finishing the writing and waiting for
    // the disk first. False when anything failed since the file was opened;
    // error() then says what, and the old file is untouched.
    bool commit();
    const std::string &error() const { return failure; }

private:
    enum class keeping { kept, taken, failed };

    void fail(const char *doing, int error_number);
    void discard();
    bool keep_old_file();
    keeping keep_old_file_at(const std::string &copy, int &reason);
    keeping copy_old_file_to(const std::string &copy, int &reason);
    keeping move_old_entry_to(const std::string &copy, int &reason);
    int sync_temporary_file();
    bool is_old_file(const std::string &path) const;

    std::string target;
    std::string temporary;
    std::string keep_path;
    std::string failure;
    file_sync sync;
    FILE *stream = nullptr;
    bool durable = false;
    dev_t temporary_device = 0;
    ino_t temporary_inode = 0;
};

#endif
