#include "shared_text.h"

#include <algorithm>
#include <cstring>
#include <functional>

std::string_view shared_text::append(std::string_view pending, const char *text, size_t length)
{
    const bool in_place = !blocks_.empty() && at_end(pending);
    if (!in_place || blocks_.back().size - blocks_.back().used < length + 1) {
        if (in_place)
            blocks_.back().used -= pending.size();
        block fresh(std::max(block_size, 2 * (pending.size() + length + 1)));
        if (!pending.empty())
            std::memcpy(fresh.bytes.get(), pending.data(), pending.size());
        fresh.used = pending.size();
        blocks_.push_back(std::move(fresh));
    }
    block &last = blocks_.back();
    char *const start = last.bytes.get() + last.used - pending.size();
    std::memcpy(last.bytes.get() + last.used, text, length);
    last.used += length;
    last.bytes[last.used] = '\0';
    return std::string_view(start, pending.size() + length);
}

void shared_text::close(std::string_view pending)
{
    if (!pending.empty())
        blocks_.back().used += 1;
}

void shared_text::hold(holder who, const char *oldest)
{
    needed_from_[who] = oldest == nullptr ? nothing_needed : first_block_ + index_of_block_holding(oldest);
    release_unneeded();
}

shared_text::run_cursor shared_text::cursor_at(const char *text) const
{
    return {index_of_block_holding(text), text};
}

// A block may hold no run at all, only the old copy of one that moved on.
void shared_text::next_run(run_cursor &cursor) const
{
    cursor.at += strlen(cursor.at) + 1;
    while (cursor.at == blocks_[cursor.block].bytes.get() + blocks_[cursor.block].used &&
           cursor.block + 1 < blocks_.size())
        cursor.at = blocks_[++cursor.block].bytes.get();
}

bool shared_text::at_end(std::string_view pending) const
{
    const block &last = blocks_.back();
    return pending.empty() || pending.data() + pending.size() == last.bytes.get() + last.used;
}

// Past the last block when no block holds it.
size_t shared_text::index_of_block_holding(const char *at) const
{
    size_t i = 0;
    for (; i < blocks_.size(); ++i) {
        const char *const bytes = blocks_[i].bytes.get();
        if (std::less_equal<const char *>()(bytes, at) && std::less<const char *>()(at, bytes + blocks_[i].size))
            break;
    }
    return i;
}

// The newest block stays while anything is held, as the pending run grows in it.
void shared_text::release_unneeded()
{
    const uint64_t needed = *std::min_element(std::begin(needed_from_), std::end(needed_from_));
    if (needed == nothing_needed) {
        first_block_ += blocks_.size();
        blocks_.clear();
        return;
    }
    while (blocks_.size() > 1 && first_block_ < needed) {
        blocks_.pop_front();
        ++first_block_;
    }
}
