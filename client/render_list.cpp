#include "render_list.h"

#include "ansi_palette.h"

#include <algorithm>
#include <cstring>

vusk_render_list render_records::iterator::operator*() const
{
    return record(cursor_.at, records_->colours_[index_]);
}

render_records::iterator &render_records::iterator::operator++()
{
    if (++index_ < records_->size())
        records_->text_->next_run(cursor_);
    return *this;
}

render_records::iterator render_records::begin() const
{
    return iterator(*this, 0, empty() ? shared_text::run_cursor() : text_->cursor_at(first_));
}

render_records::iterator render_records::end() const
{
    return iterator(*this, size(), shared_text::run_cursor());
}

render_list_recorder::render_list_recorder() : text_(std::make_shared<shared_text>())
{
    records_.text_ = text_.get();
}

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

std::string_view render_list_recorder::rerender_save_string(const char *text)
{
    if (text == nullptr || *text == '\0')
        return {};
    if (saved_attribute_ != pending_attribute_ || saved_rgb_ != pending_rgb_)
        rerender_flush();
    const size_t length = strlen(text);
    pending_text_ = text_->append(pending_text_, text, length);
    if (records_.empty())
        text_->hold(shared_text::render_list_holder, pending_text_.data());
    kept_bytes_ += int64_t(length);
    kept_lines_ += std::count(text, text + length, '\n');
    if (limit_.exceeded(kept_lines_, kept_bytes_, kept_runs()))
        drop_oldest_lines();
    return pending_text_.substr(pending_text_.size() - std::min(length, pending_text_.size()));
}

void render_list_recorder::rerender_flush()
{
    if (!pending_text_.empty()) {
        const vusk_color color = rgb_to_color(pending_rgb_);
        records_.colours_.push_back({static_cast<unsigned char>(color.r), static_cast<unsigned char>(color.g),
                                     static_cast<unsigned char>(color.b),
                                     static_cast<unsigned char>(pending_attribute_),
                                     static_cast<unsigned char>(pending_code_)});
        if (records_.size() == 1)
            records_.first_ = pending_text_.data();
        records_.last_ = pending_text_.data();
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
    std::deque<render_records::colour>().swap(records_.colours_);
    records_.first_ = records_.last_ = nullptr;
    text_->hold(shared_text::render_list_holder, nullptr);
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
    if (limit_.exceeded(kept_lines_, kept_bytes_, kept_runs()))
        drop_oldest_lines();
}

int64_t render_list_recorder::kept_runs() const
{
    return int64_t(records_.size()) + (pending_text_.empty() ? 0 : 1);
}

// Drops whole records, then the dropped part of the first one kept (or of
// the pending run, when every record goes).
void render_list_recorder::drop_oldest_lines()
{
    scrollback_trim trim(kept_lines_, kept_bytes_, kept_runs(), limit_);
    size_t dropped = 0;
    bool cut = false;
    shared_text::run_cursor oldest;
    if (!records_.empty())
        oldest = text_->cursor_at(records_.first_);
    while (!records_.empty()) {
        const std::string_view text = oldest.at;
        if ((cut = trim.cut_in(text.data(), text.size(), &dropped)) && dropped < text.size()) {
            records_.first_ = oldest.at + dropped;
            break;
        }
        records_.colours_.pop_front();
        if (records_.empty()) {
            records_.first_ = records_.last_ = nullptr;
        } else {
            text_->next_run(oldest);
            records_.first_ = oldest.at;
        }
        if (cut)
            break;
    }
    if (!cut && trim.cut_in(pending_text_.data(), pending_text_.size(), &dropped))
        pending_text_.remove_prefix(dropped);
    kept_lines_ -= trim.dropped_lines();
    kept_bytes_ -= trim.dropped_bytes();
    text_->hold(shared_text::render_list_holder, records_.empty() ? pending_text_.data() : records_.first_);
}
