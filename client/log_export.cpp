#include "log_export.h"

#include "ansi_palette.h"

#include <cstdarg>
#include <cstring>
#include <string>

namespace {
// Every style class, in the order of the default palette's entries.
const char *const class_rules[ansi_palette_size - ansi_palette_shades] = {
    ".dwhite  {color:%06x}\n", ".white   {color:%06x}\n", ".bwhite  {color:%06x}\n",
    ".dred    {color:%06x}\n", ".red     {color:%06x}\n", ".bred    {color:%06x}\n",
    ".dyellow {color:%06x}\n", ".yellow  {color:%06x}\n", ".byellow {color:%06x}\n",
    ".dgreen  {color:%06x}\n", ".green   {color:%06x}\n", ".bgreen  {color:%06x}\n",
    ".dcyan   {color:%06x}\n", ".cyan    {color:%06x}\n", ".bcyan   {color:%06x}\n",
    ".dblue   {color:%06x}\n", ".blue    {color:%06x}\n", ".bblue   {color:%06x}\n",
    ".dpurple {color:%06x}\n", ".purple  {color:%06x}\n", ".bpurple {color:%06x}\n",
};

// Names by family, each as plain, bold and dim.
struct class_family {
    int code;
    const char *names[3];
};

const class_family class_families[] = {
    {ansi_code_reset, {"white", "bwhite", "dwhite"}},
    {ansi_code_white, {"white", "bwhite", "dwhite"}},
    {ansi_code_red, {"red", "bred", "dred"}},
    {ansi_code_green, {"green", "bgreen", "dgreen"}},
    {ansi_code_yellow, {"yellow", "byellow", "dyellow"}},
    {ansi_code_blue, {"blue", "bblue", "dblue"}},
    {ansi_code_magenta, {"purple", "bpurple", "dpurple"}},
    {ansi_code_cyan, {"cyan", "bcyan", "dcyan"}},
};

// Counts every write to a stream and remembers the first failure.
class checked_writer {
public:
    explicit checked_writer(FILE *file) : file_(file), ok_(file != nullptr) {}

    void write(const char *bytes, size_t length)
    {
        if (ok_ && length > 0 && fwrite(bytes, 1, length, file_) != length)
            ok_ = false;
    }

    void write(const char *text) { write(text, strlen(text)); }

    __attribute__((format(printf, 2, 3))) void format(const char *format, ...)
    {
        if (!ok_)
            return;
        va_list arguments;
        va_start(arguments, format);
        ok_ = vfprintf(file_, format, arguments) >= 0;
        va_end(arguments);
    }

    bool finish()
    {
        if (ok_ && fflush(file_) != 0)
            ok_ = false;
        return ok_ && ferror(file_) == 0;
    }

private:
    FILE *file_;
    bool ok_;
};

// The page declares UTF-8: text bytes above 0x7F (the client's own text may
// hold them) are written as the UTF-8 form of the same ISO-8859-1 character.
void append_html_text(std::string &out, std::string_view text)
{
    for (unsigned char byte : text) {
        switch (byte) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        default:
            if (byte < 0x80) {
                out += static_cast<char>(byte);
            } else {
                out += static_cast<char>(0xc0 | (byte >> 6));
                out += static_cast<char>(0x80 | (byte & 0x3f));
            }
            break;
        }
    }
}

void write_html_head(checked_writer &out, time_t written)
{
    char when[64] = "";
    if (ctime_r(&written, when) == nullptr)
        when[0] = '\0';
    out.write("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n");
    out.format("<html>\n<head>\n<title>Varn Ossic Logfile - %s</title>\n", when);
    out.write("<meta http-equiv=\"Content-Type\" content=\"text/html;charset=utf-8\" >\n");
    out.write("<style type=\"text/css\">\n");
    out.write("body     {background-color:#000000}\n");
    for (size_t entry = 0; entry < sizeof class_rules / sizeof class_rules[0]; ++entry)
        out.format(class_rules[entry], ansi_color_default[entry]);
    out.write("</style>\n");
    out.write("</head>\n");
    out.write("<body><pre><tt>\n");
}
}

const char *render_list_class_name(const vusk_render_list &record)
{
    int shade = 0;
    if (record.attr & ansi_attr_bold)
        shade = 1;
    else if (record.attr & ansi_attr_dim)
        shade = 2;
    for (const class_family &family : class_families) {
        if (family.code == record.code)
            return family.names[shade];
    }
    return "bogus";
}

bool render_text_to_file(const render_list_recorder::records_type &records, FILE *file)
{
    checked_writer out(file);
    for (const vusk_render_list &record : records) {
        const std::string_view text = record.text();
        out.write(text.data(), text.size());
    }
    return out.finish();
}

bool render_html_to_file(const render_list_recorder::records_type &records, FILE *file,
                         time_t written)
{
    checked_writer out(file);
    write_html_head(out, written);
    std::string span;
    for (const vusk_render_list &record : records) {
        span.assign("<span class=\"");
        span += render_list_class_name(record);
        span += "\">";
        append_html_text(span, record.text());
        span += "</span>";
        out.write(span.data(), span.size());
    }
    out.write("\n</tt></pre></body>\n</html>\n");
    return out.finish();
}
