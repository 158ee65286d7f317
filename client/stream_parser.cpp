#include "stream_parser.h"

namespace {

constexpr unsigned char telnet_iac = 255;
constexpr unsigned char telnet_will = 251;
constexpr unsigned char telnet_wont = 252;
constexpr unsigned char telnet_do = 253;
constexpr unsigned char telnet_dont = 254;
constexpr unsigned char telnet_option_echo = 1;
constexpr unsigned char ascii_bell = 7;
constexpr unsigned char carriage_return = '\r';

bool is_negotiation(unsigned char command)
{
    return command == telnet_will || command == telnet_wont || command == telnet_do ||
           command == telnet_dont;
}

} // namespace

// The plain text of one chunk, collected and handed on in runs so that the
// display is not called once per byte. Lives only for one call.
class vusk_stream_parser::text_run {
public:
    explicit text_run(vusk_stream_sink &sink) : sink_(sink) {}

    void append(unsigned char c)
    {
        text_[length_++] = static_cast<char>(c);
        if (length_ == text_run_length)
            flush();
    }

    void flush()
    {
        if (length_ == 0)
            return;
        text_[length_] = '\0';
        sink_.display_socket_data(text_, length_);
        length_ = 0;
    }

private:
    vusk_stream_sink &sink_;
    char text_[text_run_length + 1];
    int length_ = 0;
};

vusk_stream_parser::vusk_stream_parser(vusk_stream_sink &sink, vusk_tag_sink &tags)
    : sink_(sink), tags_(tags)
{
}

void vusk_stream_parser::reset()
{
    parse_state = parse_text;
    tag_index = 0;
    tag_name[0] = '\0';
    end_tag_name[0] = '\0';
}

void vusk_stream_parser::process_socket_data(const char *data, int length)
{
    sink_.clear_all_displays_changed_flag();
    text_run run(sink_);
    if (data) {
        for (int i = 0; i < length; ++i)
            parse_byte(static_cast<unsigned char>(data[i]), run);
    }
    run.flush();
    sink_.update_all_displays_changed_flag();
}

void vusk_stream_parser::parse_byte(unsigned char c, text_run &run)
{
    switch (parse_state) {
    case parse_text:
        on_text(c, run);
        break;
    case parse_after_iac:
        on_after_iac(c);
        break;
    case parse_telnet_option:
        on_telnet_option(c);
        break;
    case parse_after_semicolon:
        on_after_semicolon(c, run);
        break;
    case parse_bare_tag_name:
        on_bare_tag_name(c);
        break;
    case parse_tag_name:
        on_tag_name(c);
        break;
    case parse_tag_data:
        on_tag_data(c);
        break;
    case parse_end_tag_name:
        on_end_tag_name(c);
        break;
    default:
        break; // idle: nothing is shown before a connection
    }
}

void vusk_stream_parser::on_text(unsigned char c, text_run &run)
{
    if (c == telnet_iac) {
        run.flush();
        parse_state = parse_after_iac;
    } else if (c == ascii_bell) {
        sink_.ring_bell();
    } else if (c == ';') {
        run.flush();
        parse_state = parse_after_semicolon;
    } else {
        run.append(c);
    }
}

// The command byte is never shown, so IAC IAC drops both bytes.
void vusk_stream_parser::on_after_iac(unsigned char c)
{
    telnet_command = static_cast<char>(c);
    parse_state = is_negotiation(c) ? parse_telnet_option : parse_text;
}

// Only echo acts: a server that turns our echo off is asking for a password.
// The text run is always empty here (it was handed on at the IAC).
void vusk_stream_parser::on_telnet_option(unsigned char c)
{
    parse_state = parse_text;
    if (c != telnet_option_echo)
        return;
    const unsigned char command = static_cast<unsigned char>(telnet_command);
    if (command == telnet_dont) {
        sink_.display_socket_data("\n", 1);
        sink_.disable_local_echo();
    } else if (command == telnet_do) {
        sink_.enable_local_echo();
    }
}

void vusk_stream_parser::on_after_semicolon(unsigned char c, text_run &run)
{
    switch (c) {
    case ';':
        run.append(';');
        parse_state = parse_text;
        break;
    case 't':
        start_tag(parse_bare_tag_name);
        break;
    case 's':
        start_tag(parse_tag_name);
        break;
    case 'e':
        start_tag(parse_end_tag_name);
        break;
    default:
        run.append(';');
        run.append(c);
        parse_state = parse_text;
        break;
    }
}

void vusk_stream_parser::on_bare_tag_name(unsigned char c)
{
    if (c == ';') {
        tags_.process_tagged_data(tag_name, "", 0);
        discard_tag();
    } else if (!append_to(tag_name, tag_name_max_length, c)) {
        discard_tag();
    }
}

void vusk_stream_parser::on_tag_name(unsigned char c)
{
    if (c == ';') {
        tag_index = 0;
        tag_data[0] = '\0';
        parse_state = parse_tag_data;
    } else if (!append_to(tag_name, tag_name_max_length, c)) {
        discard_tag();
    }
}

// The closing semicolon of the data also serves as the one before "e", so
// the parser goes on as if it had just read a semicolon in the text.
void vusk_stream_parser::on_tag_data(unsigned char c)
{
    if (c == ';') {
        tags_.process_tagged_data(tag_name, tag_data, tag_index);
        parse_state = parse_after_semicolon;
    } else if (c != carriage_return && !append_to(tag_data, tag_data_max_length, c)) {
        discard_tag();
    }
}

// The closing name is read only to be skipped; it need not match.
void vusk_stream_parser::on_end_tag_name(unsigned char c)
{
    if (c == ';' || !append_to(end_tag_name, tag_name_max_length, c))
        discard_tag();
}

void vusk_stream_parser::start_tag(int next_state)
{
    tag_index = 0;
    tag_name[0] = '\0';
    end_tag_name[0] = '\0';
    parse_state = next_state;
}

// Ends the tag in progress, delivered or not; what follows is text again.
void vusk_stream_parser::discard_tag()
{
    reset();
    tag_data[0] = '\0';
}

// Appends to one of the tag buffers, keeping it terminated; false when the
// text would grow beyond max_length.
bool vusk_stream_parser::append_to(char *buffer, int max_length, unsigned char c)
{
    if (tag_index < 0 || tag_index >= max_length)
        return false;
    buffer[tag_index++] = static_cast<char>(c);
    buffer[tag_index] = '\0';
    return true;
}
