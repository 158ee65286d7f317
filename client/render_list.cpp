#include "render_list.h"

#include "ansi_palette.h"

#include <algorithm>
#include <cstring>
#include <vector>

// Storage for the recorded text: large blocks, each record's text contiguous
// and followed by a NUL. The pending run grows at the end of the newest
// block; when it no longer fits it moves to a new, larger block.
class render_list_recorder::text_blocks {
public:
    // Appends to the pending run (which starts at `pending`, possibly empty)
    // and returns it.
    std::string_view append(std::string_view pending, const char *text, size_t length)
    {
        if (blocks_.empty() || !at_end(pending) || room() < length + 1) {
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

    // Ends the pending run: the NUL after it stays.
    void close(std::string_view pending)
    {
        if (!pending.empty())
            blocks_.back().used += 1;
    }

    // Gives back the blocks before the one that holds `oldest_kept`.
    void release_before(const char *oldest_kept)
    {
        while (blocks_.size() > 1 && !holds(blocks_.front(), oldest_kept))
            blocks_.pop_front();
    }

    void clear() { blocks_.clear(); }

private:
    static constexpr size_t block_size = 64 * 1024;

    struct block {
        explicit block(size_t size) : bytes(new char[size]), size(size) {}
        std::unique_ptr<char[]> bytes;
        size_t size;
        size_t used = 0;
    };

    static bool holds(const block &b, const char *at)
    {
        return std::less_equal<const char *>()(b.bytes.get(), at) &&
               std::less<const char *>()(at, b.bytes.get() + b.size);
    }

    bool at_end(std::string_view pending) const
    {
        const block &last = blocks_.back();
        return pending.empty() || pending.data() + pending.size() == last.bytes.get() + last.used;
    }

    size_t room() const { return blocks_.back().size - blocks_.back().used; }

    std::deque<block> blocks_;
};

render_list_recorder::render_list_recorder() : text_(std::make_unique<text_blocks>()) {}

render_list_recorder::~render_list_recorder() = default;

void render_list_recorder::rerender_save_color(int rgb, int code, int attribute)
{
    saved_rgb_ = rgb;
    saved_code_ = code;
    saved_attribute_ = attribute;
    if (pending_text_.empty()) {
        pending_rgb_ = rgb;
        pending_code_ = code;
        pending_attribute_ = attribute;
    }
}

void render_list_recorder::rerender_save_string(const char *text)
{
    if (text == nullptr || *text == '\0')
        return;
    if (saved_attribute_ != pending_attribute_ || saved_rgb_ != pending_rgb_)
        rerender_flush();
    const size_t length = strlen(text);
    pending_text_ = text_->append(pending_text_, text, length);
    kept_bytes_ += int64_t(length);
    kept_lines_ += std::count(text, text + length, '\n');
    if (limit_.exceeded(kept_lines_, kept_bytes_))
        drop_oldest_lines();
}

void render_list_recorder::rerender_flush()
{
    if (!pending_text_.empty()) {
        vusk_render_list record;
        record.start = pending_text_.data();
        vusk_color color = rgb_to_color(pending_rgb_);
        record.r = static_cast<unsigned char>(color.r);
        record.g = static_cast<unsigned char>(color.g);
        record.b = static_cast<unsigned char>(color.b);
        record.attr = static_cast<unsigned char>(pending_attribute_);
        record.code = static_cast<unsigned char>(pending_code_);
        records_.push_back(record);
        text_->close(pending_text_);
        pending_text_ = std::string_view();
    }
    pending_rgb_ = saved_rgb_;
    pending_code_ = saved_code_;
    pending_attribute_ = saved_attribute_;
}

void render_list_recorder::clear()
{
    rerender_flush();
    records_type().swap(records_);
    text_->clear();
    kept_bytes_ = 0;
    kept_lines_ = 0;
    pending_attribute_ = 0;
    pending_rgb_ = 0;
    saved_attribute_ = 0;
    saved_code_ = 0;
    saved_rgb_ = 0;
}

void render_list_recorder::set_scrollback_limit(const scrollback_limit &limit)
{
    limit_ = limit;
    if (limit_.exceeded(kept_lines_, kept_bytes_))
        drop_oldest_lines();
}

// Drops whole records, then the dropped part of the first one kept (or of
// the pending run, when every record goes).
void render_list_recorder::drop_oldest_lines()
{
    scrollback_trim trim(kept_lines_, kept_bytes_, limit_);
    size_t dropped = 0;
    bool cut = false;
    while (!records_.empty()) {
        const std::string_view text = records_.front().text();
        if ((cut = trim.cut_in(text.data(), text.size(), &dropped)) && dropped < text.size()) {
            records_.front().start += dropped;
            break;
        }
        records_.pop_front();
        if (cut)
            break;
    }
    if (!cut && trim.cut_in(pending_text_.data(), pending_text_.size(), &dropped))
        pending_text_.remove_prefix(dropped);
    kept_lines_ -= trim.dropped_lines();
    kept_bytes_ -= trim.dropped_bytes();
    const char *oldest = records_.empty() ? pending_text_.data() : records_.front().start;
    if (oldest != nullptr)
        text_->release_before(oldest);
}
