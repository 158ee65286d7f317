#ifndef VUSK_RENDER_LIST_H
#define VUSK_RENDER_LIST_H

// The record of everything a text display was given since its last clear, as
// runs of one colour, so that it can be drawn again (after a width change, a
// suspension) and saved as a log. The newest lines are kept up to the
// scrollback's limit.

#include "scrollback_limit.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>

// One recorded run: the text as written (escapes removed, before the
// scrollback's tab expansion and transliteration) and the colour it had. The
// text is NUL-terminated in the recorder's storage and holds no NUL, so its
// start is all a record keeps of it.
struct vusk_render_list {
    const char *start = "";
    unsigned char r = 0;
    unsigned char g = 0;
    unsigned char b = 0;
    unsigned char attr = 0;
    unsigned char code = 0;

    std::string_view text() const { return start; }
};
// The memory figures count on this size (the text's bytes aside).
static_assert(sizeof(vusk_render_list) == 16, "a render list record is 16 bytes");

class render_list_recorder {
public:
    using records_type = std::deque<vusk_render_list>;

    render_list_recorder();
    ~render_list_recorder();
    render_list_recorder(const render_list_recorder &) = delete;
    render_list_recorder &operator=(const render_list_recorder &) = delete;

    // A colour change: text written from now on has this colour.
    void rerender_save_color(int rgb, int code, int attribute);
    // Text in the colour last saved; joins the pending run while the colour
    // is the same. Empty text is not recorded.
    void rerender_save_string(const char *text);
    // Ends the pending run as a record.
    void rerender_flush();
    // Forgets every record and the colour state.
    void clear();
    void set_scrollback_limit(const scrollback_limit &limit);

    const records_type &records() const { return records_; }

    int saved_rgb() const { return saved_rgb_; }
    int saved_code() const { return saved_code_; }
    int saved_attribute() const { return saved_attribute_; }

private:
    class text_blocks;

    void drop_oldest_lines();

    records_type records_;
    std::unique_ptr<text_blocks> text_;
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
