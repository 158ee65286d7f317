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
constexpr char parameter_separator = ';';
constexpr char sub_parameter_separator = ':';
// ECMA-48 control sequences: parameter bytes (digits, separators, private
// markers), intermediate bytes, and the final byte that ends the sequence.
constexpr unsigned char first_private_marker = 0x3c;
constexpr unsigned char last_private_marker = 0x3f;
constexpr unsigned char first_intermediate = 0x20;
constexpr unsigned char last_intermediate = 0x2f;
constexpr unsigned char first_final = 0x40;
constexpr unsigned char last_final = 0x7e;
// ESC c with a huge window must not write without bound.
constexpr int most_reset_lines = 2000;

enum sgr_codes {
    sgr_reset = 0x00,
    sgr_bold = 0x01,
    sgr_dim = 0x02,
    sgr_blink = 0x05,
    sgr_reverse = 0x07,
    sgr_normal_intensity = 0x22,
    // Extended colours (foreground, background, underline): a selector and
    // an index (5) or three channels (2) follow as further parameters.
    sgr_extended_foreground = 0x38,
    sgr_extended_background = 0x48,
    sgr_extended_underline = 0x58,
    sgr_indexed_selector = 0x05,
    sgr_direct_selector = 0x02,
};

constexpr int indexed_colour_parameters = 1;
constexpr int direct_colour_parameters = 3;

bool is_extended_colour(int code)
{
    return code == sgr_extended_foreground || code == sgr_extended_background ||
           code == sgr_extended_underline;
}

// Parameters after an extended-colour code that belong to it: the selector
// and what the selector announces.
int extended_colour_length(const int *following, int available)
{
    if (available == 0)
        return 0;
    switch (following[0]) {
    case sgr_indexed_selector:
        return 1 + indexed_colour_parameters;
    case sgr_direct_selector:
        return 1 + direct_colour_parameters;
    default:
        return 1;
    }
}

bool in_range(unsigned char byte, unsigned char first, unsigned char last)
{
    return byte >= first && byte <= last;
}

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
            text_since_reset_ = true;
            i += span - 1;
            continue;
        }
        if (parse_state_ == escape_state && byte != escape_byte) {
            if (escape_stage_ == in_parameter) {
                control_sequence_byte(byte);
                continue;
            }
            if (byte == parameter_start) {
                begin_control_sequence();
                continue;
            }
            parse_state_ = text_state;
            process_ansi_code(static_cast<char>(byte));
            continue;
        }
        if (byte == escape_byte) {
            // Also inside an unfinished sequence: a new one begins.
            run.flush();
            parse_state_ = escape_state;
            escape_stage_ = after_escape;
        } else if (byte == '\n') {
            run.add('\n');
            run.flush();
            process_ansi_color();
        } else if (byte >= first_high_byte) {
            run.add(high_byte_stand_in);
            text_since_reset_ = true;
        }
    }
}

void ansi_parser::begin_control_sequence()
{
    escape_stage_ = in_parameter;
    escape_code_ = 0;
    parameter_count_ = 0;
    in_sub_parameter_ = false;
    foreign_sequence_ = false;
}

// A byte after ESC [. Anything that cannot stand in a control sequence (a
// control byte, a high byte) abandons it and is dropped.
void ansi_parser::control_sequence_byte(unsigned char byte)
{
    if (byte >= '0' && byte <= '9') {
        if (!in_sub_parameter_)
            escape_code_ = saturated_parameter(escape_code_, byte - '0');
    } else if (byte == parameter_separator) {
        end_parameter();
    } else if (byte == sub_parameter_separator) {
        in_sub_parameter_ = true;
    } else if (in_range(byte, first_private_marker, last_private_marker) ||
               in_range(byte, first_intermediate, last_intermediate)) {
        foreign_sequence_ = true;
    } else if (in_range(byte, first_final, last_final)) {
        end_control_sequence(byte);
    } else {
        parse_state_ = text_state;
    }
}

void ansi_parser::end_parameter()
{
    if (!in_sub_parameter_ && parameter_count_ < most_parameters)
        parameters_[parameter_count_++] = escape_code_;
    escape_code_ = 0;
    in_sub_parameter_ = false;
}

void ansi_parser::end_control_sequence(unsigned char final_byte)
{
    parse_state_ = text_state;
    end_parameter();
    if (final_byte == select_graphic_rendition && !foreign_sequence_)
        apply_sgr_parameters();
}

// Each parameter in order, as if each had come in a sequence of its own,
// except that the colour is handed on once, at the end.
void ansi_parser::apply_sgr_parameters()
{
    for (int i = 0; i < parameter_count_; ++i) {
        const int code = parameters_[i];
        if (is_extended_colour(code))
            i += extended_colour_length(parameters_ + i + 1, parameter_count_ - i - 1);
        else
            apply_sgr_code(code);
    }
    process_ansi_color();
}

void ansi_parser::process_ansi_code(char code)
{
    if (code != full_reset)
        return;
    reset_colors();
    if (!text_since_reset_)
        return;
    text_since_reset_ = false;
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
    apply_sgr_code(code);
    process_ansi_color();
}

void ansi_parser::apply_sgr_code(int code)
{
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
