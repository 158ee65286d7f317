#ifndef VUSK_RENDER_LIST_H
#define VUSK_RENDER_LIST_H

// The record of everything a text display was given since its last clear, as
// runs of one colour, so that it can be drawn again (after a width change, a
// suspension) and saved as a log.

#include <deque>
#include <string>

// One recorded run: the text as written (escapes removed, before the
// scrollback's tab expansion and transliteration) and the colour it had.
struct vusk_render_list {
    std::string text;
    int r = 0;
    int g = 0;
    int b = 0;
    int attr = 0;
    int code = 0;
};
// The session memory figure counts on this size (the text's bytes aside).
static_assert(sizeof(vusk_render_list) == 56, "a render list record is 56 bytes");

class render_list_recorder {
public:
    using records_type = std::deque<vusk_render_list>;

    // A colour change: text written from now on has this colour.
    void rerender_save_color(int rgb, int code, int attribute);
    // Text in the colour last saved; joins the pending run while the colour
    // is the same. Empty text is not recorded.
    void rerender_save_string(const char *text);
    // Ends the pending run as a record.
    void rerender_flush();
    // Forgets every record and the colour state.
    void clear();

    const records_type &records() const { return records_; }

    int saved_rgb() const { return saved_rgb_; }
    int saved_code() const { return saved_code_; }
    int saved_attribute() const { return saved_attribute_; }

private:
    records_type records_;
    std::string pending_text_;
    int pending_attribute_ = 0;
    int pending_code_ = 0;
    int pending_rgb_ = 0;
    int saved_attribute_ = 0;
    int saved_code_ = 0;
    int saved_rgb_ = 0;
};

#endif
