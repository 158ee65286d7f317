#include "vusk_xml.h"

#include "text_bytes.h"
#include "util.h"

#include <cstring>
#include <vector>

namespace {
const char indent_unit[] = "    ";
const char bogus_end_name[] = "_BOGUS_ENDING_TAG_";
const char null_text[] = "_UNCONVERTABLE_WXWRITABLECHARBUFFER_NULL_STRING_";

// What an end tag or a skipped tag keeps of its name; the rest is dropped.
constexpr int skipped_tag_capacity = 1000;
// What an integer element keeps of its text.
constexpr int number_text_capacity = 100;
constexpr int declaration_line_capacity = 10000;

struct entity {
    const char *text;
    char character;
};

constexpr entity entities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}};

const entity *entity_of(char character)
{
    for (const entity &known : entities)
        if (known.character == character)
            return &known;
    return nullptr;
}

const entity *entity_at(const char *text)
{
    for (const entity &known : entities)
        if (strncmp(text, known.text, strlen(known.text)) == 0)
            return &known;
    return nullptr;
}

void decode_entities(char *text)
{
    char *out = text;
    for (const char *in = text; *in;) {
        const entity *found = *in == '&' ? entity_at(in) : nullptr;
        if (found) {
            *out++ = found->character;
            in += strlen(found->text);
        } else {
            *out++ = *in++;
        }
    }
    *out = '\0';
}
}

void skip_declaration_line(FILE *file)
{
    std::vector<char> declaration(declaration_line_capacity);
    fget_line(file, declaration.data(), declaration_line_capacity);
}

void vusk_xml_writer::write_escaped(const char *text)
{
    for (const char *p = text; *p; ++p) {
        const entity *escape = entity_of(*p);
        if (escape)
            fputs(escape->text, file);
        else
            fputc(*p, file);
    }
}

void vusk_xml_writer::start_tag(const char *name, int newline)
{
    if (file == nullptr || name == nullptr)
        return;
    print_indent();
    fputc('<', file);
    write_escaped(name);
    fputs(newline ? ">\n" : ">", file);
    open_names.emplace_back(name);
}

void vusk_xml_writer::end_tag(int indent)
{
    if (file == nullptr)
        return;
    std::string name = bogus_end_name;
    if (!open_names.empty()) {
        name = open_names.back();
        open_names.pop_back();
    }
    if (indent)
        print_indent();
    fputs("</", file);
    write_escaped(name.c_str());
    fputs(">\n", file);
}

void vusk_xml_writer::write_string(const char *text)
{
    if (file && text)
        write_escaped(text);
}

void vusk_xml_writer::print_indent()
{
    if (file == nullptr)
        return;
    for (size_t level = 0; level < open_names.size(); ++level)
        fputs(indent_unit, file);
}

void vusk_xml_writer::print_blank_line()
{
    if (file)
        fputc('\n', file);
}

void vusk_xml_writer::write_single_field(const char *name, int value)
{
    if (file == nullptr || name == nullptr)
        return;
    start_tag(name, 0);
    fprintf(file, "%d", value);
    end_tag(0);
}

void vusk_xml_writer::write_single_field(const char *name, const char *value)
{
    if (file == nullptr || name == nullptr)
        return;
    start_tag(name, 0);
    write_string(value ? value : null_text);
    end_tag(0);
}

void vusk_xml_writer::write_single_field(const char *name, const wxString &value)
{
    write_single_field(name, wx_to_bytes(value).c_str());
}

int vusk_xml_reader::next_character()
{
    return gave_up ? EOF : getc(file);
}

bool vusk_xml_reader::push_element(const char *name)
{
    if (depth() >= xml_max_depth) {
        gave_up = true;
        return false;
    }
    open_names.emplace_back(name);
    return true;
}

void vusk_xml_reader::pop_stack_entry()
{
    if (!open_names.empty())
        open_names.pop_back();
}

bool vusk_xml_reader::close_named(const char *end_tag)
{
    for (int index = depth() - 1; index >= 0; --index) {
        if (wordcmp(open_names[index].c_str(), end_tag + 1)) {
            pending_closes = depth() - 1 - index;
            pop_stack_entry();
            return true;
        }
    }
    return false;
}

int vusk_xml_reader::skip_chunk()
{
    for (int c = next_character(); c != EOF; c = next_character())
        if (c == '<')
            return 1;
    return 0;
}

int vusk_xml_reader::read_block(char *buffer, int size)
{
    if (buffer == nullptr || size < 1)
        return 0;
    int length = 0;
    for (int c = next_character(); c != EOF && c != '>' && c != '<'; c = next_character())
        if (length < size - 1)
            buffer[length++] = static_cast<char>(c);
    buffer[length] = '\0';
    decode_entities(buffer);
    return 1;
}

int vusk_xml_reader::read_tag(char *buffer, int size)
{
    if (buffer == nullptr || size < 1)
        return 0;
    if (pending_closes > 0) {
        --pending_closes;
        pop_stack_entry();
        return 0;
    }
    while (skip_chunk()) {
        read_block(buffer, size);
        if (buffer[0] != '/')
            return push_element(buffer) ? 1 : 0;
        if (close_named(buffer))
            return 0;
    }
    return 0;
}

void vusk_xml_reader::finish_element()
{
    char end_tag[skipped_tag_capacity];
    read_block(end_tag, sizeof end_tag);
    pop_stack_entry();
}

int vusk_xml_reader::read_data(char *buffer, int size)
{
    if (buffer == nullptr || size < 1)
        return 0;
    read_block(buffer, size);
    finish_element();
    return 1;
}

int vusk_xml_reader::read_data(int *value)
{
    if (value == nullptr)
        return 0;
    char text[number_text_capacity];
    read_data(text, sizeof text);
    return is_int(text, value);
}

void vusk_xml_reader::skip_data()
{
    const int skipped_depth = depth();
    if (skipped_depth == 0)
        return;
    char tag[skipped_tag_capacity];
    while (depth() >= skipped_depth && skip_chunk()) {
        read_block(tag, sizeof tag);
        if (tag[0] != '/') {
            if (!push_element(tag))
                return;
        } else if (close_named(tag)) {
            // Closing the skipped element itself ends the skip; an end tag of
            // an element further out closes it too.
            while (pending_closes > 0 && depth() >= skipped_depth) {
                --pending_closes;
                pop_stack_entry();
            }
        }
    }
}
