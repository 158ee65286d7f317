#ifndef VUSK_ANSI_PARSER_H
#define VUSK_ANSI_PARSER_H

// The ANSI subset the game uses: colour and attribute escapes (one or several
// parameters, applied in order), and ESC c to push the old text out of view.
// Other control sequences are swallowed whole. Server bytes come in as they
// arrive (a sequence may be split across reads); text goes out in runs,
// colour changes as palette colours.

// Where the parser's output goes (the text display).
class ansi_parser_sink {
public:
    virtual ~ansi_parser_sink() = default;
    // A run of text, NUL-terminated, never empty.
    virtual void ansi_write(const char *text) = 0;
    virtual void ansi_set_color(int rgb, int code, int attribute) = 0;
    // Lines the display shows at once (for ESC c).
    virtual int ansi_visible_lines() = 0;
};

class ansi_parser {
public:
    explicit ansi_parser(ansi_parser_sink &sink);

    // Server text: colour escapes are applied, printable text, tabs and
    // newlines are written, bytes 0x80..0xFF become full stops and every
    // other control byte is dropped.
    void parse(const char *data, int length);

    // Applies two SGR codes as if each had arrived with the final byte m
    // (e.g. 1 and '3' for bright yellow: the character '3' is the packed 0x33).
    void set_color(int first_code, int second_code);
    // Normal white, applied even when it is already the colour in force.
    void reset_colors();
    // Applies the current colour again.
    void resync_colors();

    // Text other than newlines reached the display (ESC c pushes it out of
    // view; with nothing new to push, it writes no newlines).
    void note_text_shown() { text_since_reset_ = true; }

    void process_ansi_code(char code);
    void process_ansi_code(int code, char final_byte);
    // Hands the current colour to the sink when it differs from the one last
    // handed over.
    void process_ansi_color();

    int attribute() const { return attribute_; }
    int color_code() const { return color_code_; }

    // Longest run handed to the sink at once.
    static constexpr int run_capacity = 256;
    // Longest parameter kept: longer digit strings saturate here.
    static constexpr int escape_code_limit = 0x7fffffff;
    // Parameters kept of one sequence; later ones are ignored.
    static constexpr int most_parameters = 32;

private:
    enum parse_states { text_state = 1, escape_state = 2 };
    enum escape_stages { after_escape = 0, in_parameter = 1 };

    void begin_control_sequence();
    void control_sequence_byte(unsigned char byte);
    void end_parameter();
    void end_control_sequence(unsigned char final_byte);
    void apply_sgr_code(int code);
    void apply_sgr_parameters();
    void apply_color(int code);
    void write_newlines(int count);

    ansi_parser_sink &sink_;
    int parse_state_ = text_state;
    int escape_stage_ = after_escape;
    // The parameter being read, its digits packed as hexadecimal nibbles.
    int escape_code_ = 0;
    int parameters_[most_parameters] = {};
    int parameter_count_ = 0;
    // The parameter has sub-parameters (after a colon): it is dropped whole.
    bool in_sub_parameter_ = false;
    // A private marker or an intermediate byte: not a sequence of ours.
    bool foreign_sequence_ = false;
    bool text_since_reset_ = false;
    int attribute_ = 0;
    int applied_attribute_ = 0;
    int color_code_ = 0;
    int applied_color_code_ = 0;
};

#endif
