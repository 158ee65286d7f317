#ifndef VUSK_RENDER_LIST_H
#define VUSK_RENDER_LIST_H

// The record of everything a text display was given since its last clear, as
// runs of one colour, so that it can be drawn again (after a width change, a
// suspension) and saved as a log. The newest lines are kept up to the
// scrollback's limit.

#include "scrollback_limit.h"
#include "shared_text.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

// One recorded run: the text as written (escapes removed, before the
// scrollback's tab expansion and transliteration) and the colour it had. The
// text is NUL-terminated in the recorder's storage and holds no NUL.
struct vusk_render_list {
    const char *start = "";
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char attr = 0;
    unsigned char code = 0;

    std::string_view text() const { return start; }
};

// The recorded runs in order. Each run's text follows the one before it in
// the recorder's storage, so only the colours are kept, 5 bytes a run; the
// records are read out in order.
class render_records {
public:
    class iterator {
    public:
        vusk_render_list operator*() const;
        iterator &operator++();
        bool operator!=(const iterator &other) const { return index_ != other.index_; }

    private:
        friend class render_records;
        iterator(const render_records &records, size_t index, shared_text::run_cursor cursor)
            : records_(&records), index_(index), cursor_(cursor)
        {
        }

        const render_records *records_;
        size_t index_;
        shared_text::run_cursor cursor_;
    };

    iterator begin() const;
    iterator end() const;
    size_t size() const { return colours_.size(); }
    bool empty() const { return colours_.empty(); }
    vusk_render_list front() const { return record(first_, colours_.front()); }
    vusk_render_list back() const { return record(size() == 1 ? first_ : last_, colours_.back()); }

private:
    friend class render_list_recorder;
    struct colour {
        unsigned char r;
        unsigned char g;
        unsigned char b;
        unsigned char attr;
        unsigned char code;
    };
    // The memory figures count on this size (the text's bytes aside).
    static_assert(sizeof(colour) == 5, "a record keeps 5 bytes");

    static vusk_render_list record(const char *text, const colour &c) { return {text, c.r, c.g, c.b, c.attr, c.code}; }

    std::deque<colour> colours_;
    const shared_text *text_ = nullptr;
    // The text of the oldest record (what the limit kept of it), and of the
    // newest.
    const char *first_ = nullptr;
    const char *last_ = nullptr;
};

class render_list_recorder {
public:
    using records_type = render_records;

    render_list_recorder();
    ~render_list_recorder();
    render_list_recorder(const render_list_recorder &) = delete;
    render_list_recorder &operator=(const render_list_recorder &) = delete;

    // A colour change: text written from now on has this colour.
    void rerender_save_color(int rgb, int code, int attribute);
    // Text in the colour last saved; joins the pending run while the colour
    // is the same. Empty text is not recorded. Returns the recorded copy of
    // the text (of what the scrollback's limit kept of it), valid as long as
    // the holders of text() need it.
    std::string_view rerender_save_string(const char *text);
    // Ends the pending run as a record.
    void rerender_flush();
    // Forgets every record and the colour state.
    void clear();
    void set_scrollback_limit(const scrollback_limit &limit);

    const records_type &records() const { return records_; }
    // Where the records' text lives, for the scrollback to share.
    const std::shared_ptr<shared_text> &text() const { return text_; }

    int saved_rgb() const { return saved_rgb_; }
    int saved_code() const { return saved_code_; }
    int saved_attribute() const { return saved_attribute_; }

private:
    int64_t kept_runs() const;
    void drop_oldest_lines();

    records_type records_;
    std::shared_ptr<shared_text> text_;
    // The pending run is the newest text in storage, not yet a record.
    std::string_view pending_text_;
    int64_t kept_bytes_ = 0;
    int64_t kept_lines_ = 0;
    scrollback_limit limit_;
    int pending_attribute_ = 0;
    int pending_code_ = 0;
    int pending_rgb_ = 0;
    int saved_attribute_ = 0;
    int saved_code_ = 0;
    int saved_rgb_ = 0;
};

#endif
