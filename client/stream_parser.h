#ifndef VUSK_STREAM_PARSER_H
#define VUSK_STREAM_PARSER_H

// The incoming side of the game connection: every received byte passes
// through vusk_stream_parser, which splits the stream into plain game text,
// the few telnet commands the client honours, and the tagged messages the
// server embeds in the text:
//   ;t<name>;                        a tag without data
//   ;s<name>;<data>;e<name>;         a tag with data (no ';' in the data)
//   ;;                               one literal ';'
// The state survives between chunks, so anything may be split anywhere.

// Where the parser hands plain text and telnet effects: the main frame's
// display router.
class vusk_stream_sink {
public:
    virtual ~vusk_stream_sink() = default;

    // Brackets every chunk, so the displays repaint once per chunk rather
    // than once per run of text.
    virtual void clear_all_displays_changed_flag() = 0;
    virtual void update_all_displays_changed_flag() = 0;

    // A run of plain text with its colour codes. It is terminated, but may
    // hold NUL bytes from the server: go by the length.
    virtual void display_socket_data(const char *text, int length) = 0;

    // Telnet DO ECHO and DONT ECHO (the server hides a password).
    virtual void enable_local_echo() = 0;
    virtual void disable_local_echo() = 0;

    virtual void ring_bell() = 0;
};

// Where the parser hands each complete tag: the tag dispatcher.
class vusk_tag_sink {
public:
    virtual ~vusk_tag_sink() = default;

    // Both strings are terminated; a tag without data comes with "" and 0.
    virtual void process_tagged_data(const char *tag, const char *data, int length) = 0;
};

class vusk_stream_parser {
public:
    // Values of parse_state; any value not listed drops every byte.
    enum : int {
        parse_idle = 0,
        parse_text = 1,
        parse_after_iac = 10,
        parse_telnet_option = 11,
        parse_after_semicolon = 20,
        parse_tag_name = 21,
        parse_end_tag_name = 22,
        parse_tag_data = 23,
        parse_bare_tag_name = 30,
    };

    static constexpr int tag_name_capacity = 65;
    static constexpr int tag_name_max_length = 63;
    static constexpr int tag_data_capacity = 15000;
    static constexpr int tag_data_max_length = tag_data_capacity - 1;
    static constexpr int text_run_length = 2560;

    vusk_stream_parser(vusk_stream_sink &sink, vusk_tag_sink &tags);
    vusk_stream_parser(const vusk_stream_parser &) = delete;
    vusk_stream_parser &operator=(const vusk_stream_parser &) = delete;

    // Parses one received chunk; a null or empty chunk only brackets the
    // display update.
    void process_socket_data(const char *data, int length);

    // Back to plain text with no tag in progress: every connect, break and
    // abort starts here, so a tag cut off before is forgotten.
    void reset();

    // Idle until the first reset: nothing is shown before a connection.
    int parse_state = parse_idle;
    char telnet_command = 0;
    char tag_name[tag_name_capacity] = {};
    char end_tag_name[tag_name_capacity] = {};
    // Fill index of whichever of the three buffers is being filled.
    int tag_index = 0;
    char tag_data[tag_data_capacity] = {};

private:
    class text_run;

    void parse_byte(unsigned char c, text_run &run);
    void on_text(unsigned char c, text_run &run);
    void on_after_iac(unsigned char c);
    void on_telnet_option(unsigned char c);
    void on_after_semicolon(unsigned char c, text_run &run);
    void on_bare_tag_name(unsigned char c);
    void on_tag_name(unsigned char c);
    void on_tag_data(unsigned char c);
    void on_end_tag_name(unsigned char c);

    void start_tag(int next_state);
    void discard_tag();
    bool append_to(char *buffer, int max_length, unsigned char c);

    vusk_stream_sink &sink_;
    vusk_tag_sink &tags_;
};

#endif
