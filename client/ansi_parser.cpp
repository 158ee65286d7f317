#include "ansi_parser.h"

#include "ansi_palette.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr unsigned char escape_byte = 0x1b;
constexpr unsigned char first_shown_control = 28;
constexpr unsigned char last_printable = 126;
constexpr unsigned char first_high_byte = 0x80;
constexpr char high_byte_stand_in = '.';
constexpr char select_graphic_rendition = 'm';
constexpr char full_reset = 'c';
constexpr char parameter_start = '[';
// ESC c with a huge window must not write without bound.
constexpr int most_reset_lines = 2000;

enum sgr_codes {
    sgr_reset = 0x00,
    sgr_bold = 0x01,
    sgr_dim = 0x02,
    sgr_blink = 0x05,
    sgr_reverse = 0x07,
    sgr_normal_intensity = 0x22,
};

// A run of text collected by one parse call.
class text_run {
public:
    explicit text_run(ansi_parser_sink &sink) : sink_(sink) {}
    ~text_run() { flush(); }

    void add(char c)
    {
        text_[length_++] = c;
        if (length_ == ansi_parser::run_capacity)
            flush();
    }

    void add(const char *bytes, int count)
    {
        while (count > 0) {
            int now = std::min(count, ansi_parser::run_capacity - length_);
            memcpy(text_ + length_, bytes, now);
            length_ += now;
            bytes += now;
            count -= now;
            if (length_ == ansi_parser::run_capacity)
                flush();
        }
    }

    void flush()
    {
        if (length_ == 0)
            return;
        text_[length_] = '\0';
        length_ = 0;
        sink_.ansi_write(text_);
    }

private:
    ansi_parser_sink &sink_;
    char text_[ansi_parser::run_capacity + 1];
    int length_ = 0;
};

bool is_shown_as_is(unsigned char byte)
{
    return (byte >= first_shown_control && byte <= last_printable) || byte == '\t';
}

// How many bytes from `at` are shown as they are.
int plain_span(const unsigned char *at, const unsigned char *end)
{
    const unsigned char *scan = at;
    while (scan < end && is_shown_as_is(*scan))
        ++scan;
    return static_cast<int>(scan - at);
}

int saturated_parameter(int code, int digit)
{
    long long packed = static_cast<long long>(code) * 16 + digit;
    return static_cast<int>(std::min<long long>(packed, ansi_parser::escape_code_limit));
}
}

ansi_parser::ansi_parser(ansi_parser_sink &sink) : sink_(sink) {}

void ansi_parser::parse(const char *data, int length)
{
    if (data == nullptr)
        return;
    text_run run(sink_);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(data);
    for (int i = 0; i < length; ++i) {
        unsigned char byte = bytes[i];
        if (parse_state_ == text_state && is_shown_as_is(byte)) {
            int span = plain_span(bytes + i, bytes + length);
            run.add(data + i, span);
            i += span - 1;
            continue;
        }
        if (parse_state_ == escape_state) {
            if (escape_stage_ == after_escape) {
                if (byte == parameter_start) {
                    escape_stage_ = in_parameter;
                    continue;
                }
                parse_state_ = text_state;
                process_ansi_code(static_cast<char>(byte));
            } else if (byte >= '0' && byte <= '9') {
                escape_code_ = saturated_parameter(escape_code_, byte - '0');
            } else {
                parse_state_ = text_state;
                process_ansi_code(escape_code_, static_cast<char>(byte));
            }
            continue;
        }
        if (byte == escape_byte) {
            run.flush();
            parse_state_ = escape_state;
            escape_stage_ = after_escape;
            escape_code_ = 0;
        } else if (byte == '\n') {
            run.add('\n');
            run.flush();
            process_ansi_color();
        } else if (byte >= first_high_byte) {
            run.add(high_byte_stand_in);
        }
    }
}

void ansi_parser::process_ansi_code(char code)
{
    if (code != full_reset)
        return;
    reset_colors();
    int visible = std::clamp(sink_.ansi_visible_lines(), 0, most_reset_lines);
    write_newlines(2 * visible + 1);
}

void ansi_parser::write_newlines(int count)
{
    char newlines[run_capacity + 1];
    while (count > 0) {
        int now = std::min(count, run_capacity);
        memset(newlines, '\n', now);
        newlines[now] = '\0';
        sink_.ansi_write(newlines);
        count -= now;
    }
}

void ansi_parser::process_ansi_code(int code, char final_byte)
{
    if (final_byte != select_graphic_rendition)
        return;
    switch (code) {
    case sgr_reset:
    case sgr_normal_intensity:
        attribute_ = 0;
        color_code_ = ansi_code_reset;
        break;
    case sgr_bold:
        attribute_ = ansi_attr_bold;
        break;
    case sgr_dim:
        attribute_ = ansi_attr_dim;
        break;
    case sgr_blink:
        attribute_ = ansi_attr_blink;
        break;
    case sgr_reverse:
        attribute_ = ansi_attr_reverse;
        break;
    default:
        if (code >= ansi_code_red && code <= ansi_code_white)
            color_code_ = code;
        break;
    }
    process_ansi_color();
}

void ansi_parser::process_ansi_color()
{
    if (attribute_ == applied_attribute_ && color_code_ == applied_color_code_)
        return;
    apply_color(color_code_);
}

void ansi_parser::apply_color(int code)
{
    color_code_ = code;
    applied_attribute_ = attribute_;
    applied_color_code_ = code;
    sink_.ansi_set_color(ansi_color_rgb(ansi_palette, code, attribute_), code, attribute_);
}

void ansi_parser::set_color(int first_code, int second_code)
{
    process_ansi_code(first_code, select_graphic_rendition);
    process_ansi_code(second_code, select_graphic_rendition);
}

void ansi_parser::reset_colors()
{
    attribute_ = 0;
    // Yellow first, so that white is handed over even when it is in force.
    apply_color(ansi_code_yellow);
    apply_color(ansi_code_white);
}

void ansi_parser::resync_colors()
{
    apply_color(color_code_);
}
