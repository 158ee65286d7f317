#ifndef VUSK_SHARED_TEXT_H
#define VUSK_SHARED_TEXT_H

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

// One copy of a display's text for its two readers: the render list writes
// it and the scrollback shows it where it needs no tab expansion or
// transliteration. Text lives in large blocks, each run followed by a NUL.
// Each holder says where the oldest text it still needs starts; a block goes
// back once neither needs it. Both read the text in the order it was written,
// so everything a holder needs lies in or after the block of its oldest text.
class shared_text {
public:
    enum holder { render_list_holder, scrollback_holder, holder_count };

    shared_text() = default;
    shared_text(const shared_text &) = delete;
    shared_text &operator=(const shared_text &) = delete;

    // Appends to the pending run (which starts at `pending`, possibly empty)
    // and returns it. A run that no longer fits its block moves whole to a
    // new, larger block; the old copy stays as long as it is held.
    std::string_view append(std::string_view pending, const char *text, size_t length);
    // Ends the pending run: the NUL after it stays.
    void close(std::string_view pending);
    // `who` needs the text from `oldest` on, or none at all (null).
    void hold(holder who, const char *oldest);

    // Reads closed runs in the order they were written.
    struct run_cursor {
        size_t block = 0;
        const char *at = nullptr;
    };
    // At `text`, which lies in a run.
    run_cursor cursor_at(const char *text) const;
    // To the start of the run written after the one the cursor is in.
    void next_run(run_cursor &cursor) const;

    size_t block_count() const { return blocks_.size(); }

private:
    static constexpr size_t block_size = 64 * 1024;
    static constexpr uint64_t nothing_needed = UINT64_MAX;

    struct block {
        explicit block(size_t size) : bytes(new char[size]), size(size) {}
        std::unique_ptr<char[]> bytes;
        size_t size;
        // The runs written here end at `used`; a pending run that moved on
        // leaves its old copy after it, for a holder that still shows it.
        size_t used = 0;
    };

    bool at_end(std::string_view pending) const;
    size_t index_of_block_holding(const char *at) const;
    void release_unneeded();

    std::deque<block> blocks_;
    // The number of blocks_.front(): blocks are numbered as they are made.
    uint64_t first_block_ = 0;
    uint64_t needed_from_[holder_count] = {nothing_needed, nothing_needed};
};

#endif
