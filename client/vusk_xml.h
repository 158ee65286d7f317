#ifndef VUSK_XML_H
#define VUSK_XML_H

// The small XML dialect of the configuration and version files: elements
// and 8-bit text only, with the three entities &lt; &gt; &amp;. The caller
// opens and closes the file; the line before the root element (the
// declaration) is written and skipped by the caller.

#include "util.h"

#include <wx/string.h>

#include <cstdio>
#include <string>
#include <vector>

constexpr char xml_declaration[] = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
// Room for a tag's name when reading.
constexpr int xml_tag_name_capacity = 10000;

// Writes elements indented by four blanks per open element. Every operation
// does nothing without a file; write errors are left in the file's error
// flag for the caller to check.
class vusk_xml_writer {
public:
    explicit vusk_xml_writer(FILE *file) : file(file) {}

    // Opens an element; with a nonzero newline its content goes on the lines
    // that follow, otherwise on the same line.
    void start_tag(const char *name, int newline);
    // Closes the innermost element, indented when indent is nonzero.
    void end_tag(int indent);
    void write_string(const char *text);
    void print_indent();
    void print_blank_line();

    // One element with its value on one line.
    void write_single_field(const char *name, int value);
    void write_single_field(const char *name, const char *value);
    // Written as ISO-8859-1; each character outside it becomes '?'.
    void write_single_field(const char *name, const wxString &value);

    int depth() const { return static_cast<int>(open_names.size()); }

private:
    void write_escaped(const char *text);

    std::vector<std::string> open_names;
    FILE *file;
};

// A damaged file may nest without end; the reader gives up (every further
// read sees the end of the file) rather than open more than this many
// elements. The client's own files are four deep.
constexpr int xml_max_depth = 64;

// An end tag closes the innermost open element of its name (names compared
// as the callers compare them, by their first word and without regard to
// case) together with every element opened inside it; an end tag that names
// no open element is skipped, so a stray one loses nothing that follows it.
// The end tag of an element read with read_data is taken as it comes.
class vusk_xml_reader {
public:
    explicit vusk_xml_reader(FILE *file) : file(file) {}

    // The next tag: 1 with the name of an element that opens, 0 for each
    // element that an end tag closes, and at the end of the file.
    int read_tag(char *buffer, int size);
    // The text of the innermost element, then its end tag; 1.
    int read_data(char *buffer, int size);
    // As above; 1 when the text is an integer (stored in value), else 0 with
    // value untouched.
    int read_data(int *value);
    // Skips the rest of the innermost element with everything nested in it.
    void skip_data();
    // Reads up to the next '>' or '<', keeping at most size - 1 characters
    // with the entities decoded; 1.
    int read_block(char *buffer, int size);
    // Reads up to and including the next '<'; 0 at the end of the file.
    int skip_chunk();
    void pop_stack_entry();

    int depth() const { return static_cast<int>(open_names.size()); }

private:
    int next_character();
    bool push_element(const char *name);
    void finish_element();
    // Closes the elements an end tag names: the innermost now, the others on
    // the calls of read_tag that follow. False for a stray end tag.
    bool close_named(const char *end_tag);

    std::vector<std::string> open_names;
    // Elements still to close for an end tag that named an outer element.
    int pending_closes = 0;
    bool gave_up = false;
    FILE *file;
};

// Skips the first line of a file: the declaration before the root element.
void skip_declaration_line(FILE *file);

// Hands each element of that name at the reader's level to read, and skips
// every other one; returns how many there were.
template <class Read>
int read_elements_named(vusk_xml_reader &reader, const char *element, Read read)
{
    char tag[xml_tag_name_capacity];
    int count = 0;
    while (reader.read_tag(tag, sizeof tag)) {
        if (wordcmp(tag, element)) {
            read(reader);
            ++count;
        } else {
            reader.skip_data();
        }
    }
    return count;
}

#endif
