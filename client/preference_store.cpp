#include "preference_store.h"

#include "settings_files.h"
#include "text_bytes.h"

#include <wx/confbase.h>
#include <wx/fileconf.h>
#include <wx/mstream.h>
#include <wx/sstream.h>
#include <wx/textbuf.h>

#include <charconv>
#include <map>
#include <optional>
#include <vector>

namespace {
const char missing_part[] = "(null)";

std::string local_store_path()
{
    return std::string(wxFileConfig::GetLocalFileName(bytes_to_wx(preference_application_name)).fn_str());
}

// The toolkit's reading of a name: a backslash keeps the character after it.
wxString unescaped_name(const wxString &text)
{
    wxString name;
    for (auto character = text.begin(); character != text.end(); ++character) {
        if (*character == '\\' && ++character == text.end())
            break;
        name += *character;
    }
    return name;
}

// The first character wanted at or after from that no backslash escapes (a
// group header's closing ']', an entry's '='); npos when there is none.
size_t find_unescaped(const wxString &text, size_t from, wxUniChar wanted)
{
    for (size_t position = from; position < text.length(); ++position) {
        if (text[position] == wanted)
            return position;
        if (text[position] == '\\')
            ++position;
    }
    return wxString::npos;
}

// The store's text regrouped: each group's lines under its first header,
// the entries of no group first.
class sound_store_text {
public:
    void add_line(wxString line);
    wxString text() const;

private:
    struct section {
        std::vector<std::optional<wxString>> lines;
        // The line of each key (lower case, as the reader compares keys).
        std::map<wxString, size_t> entry_lines;
    };

    void start_group(const wxString &body);
    void add_entry(const wxString &line, const wxString &body);

    std::vector<section> sections{1};
    // The group paths (lower case) and their sections.
    std::map<wxString, size_t> group_sections;
    size_t current = 0;
};

void sound_store_text::add_line(wxString line)
{
    // The reader stops at a NUL.
    const size_t nul = line.find(wxUniChar(0));
    if (nul != wxString::npos)
        line.erase(nul);
    auto start = line.begin();
    while (start != line.end() && wxIsspace(*start))
        ++start;
    const wxString body(start, line.end());
    if (body.empty() || body[0] == ';' || body[0] == '#')
        sections[current].lines.emplace_back(line);
    else if (body[0] == '[')
        start_group(body);
    else
        add_entry(line, body);
}

void sound_store_text::start_group(const wxString &body)
{
    const size_t end = find_unescaped(body, 1, ']');
    if (end == wxString::npos)
        return;
    wxArrayString parts;
    wxSplitPath(parts, wxS("/") + unescaped_name(body.substr(1, end - 1)));
    if (parts.empty()) {
        current = 0;
        return;
    }
    wxString path;
    for (const wxString &part : parts)
        path << wxS('/') << part.Lower();
    const auto known = group_sections.find(path);
    if (known != group_sections.end()) {
        current = known->second;
        return;
    }
    current = sections.size();
    group_sections[path] = current;
    sections.emplace_back();
    sections[current].lines.emplace_back(body.substr(0, end + 1));
}

void sound_store_text::add_entry(const wxString &line, const wxString &body)
{
    const size_t end = find_unescaped(body, 0, '=');
    if (end == wxString::npos)
        return;
    const wxString key = unescaped_name(body.substr(0, end).Trim()).Lower();
    if (key.empty())
        return;
    section &group = sections[current];
    const auto earlier = group.entry_lines.find(key);
    if (earlier != group.entry_lines.end())
        group.lines[earlier->second].reset();
    group.entry_lines[key] = group.lines.size();
    group.lines.emplace_back(line);
}

wxString sound_store_text::text() const
{
    wxString text;
    for (const section &group : sections)
        for (const std::optional<wxString> &line : group.lines)
            if (line)
                text << *line << wxS('\n');
    return text;
}
}

wxString sound_preference_text(const wxString &text)
{
    sound_store_text sound;
    const wxString unix_text = wxTextBuffer::Translate(text, wxTextFileType_Unix);
    size_t start = 0;
    while (start < unix_text.length()) {
        size_t end = unix_text.find(wxS('\n'), start);
        if (end == wxString::npos)
            end = unix_text.length();
        sound.add_line(unix_text.substr(start, end - start));
        start = end + 1;
    }
    return sound.text();
}

preference_store::preference_store() : path(local_store_path())
{
    open(read_settings_file(path).content);
}

void preference_store::open(const std::string &text)
{
    // UTF-8 as the toolkit writes it, or else ISO-8859-1.
    const wxString sound = sound_preference_text(wxString(text.data(), wxConvAuto(), text.size()));
    wxStringInputStream in(sound);
    config = std::make_unique<wxFileConfig>(in, wxConvUTF8);
    config->SetExpandEnvVars(false);
    read_text = rendered();
}

preference_store::~preference_store() = default;

wxConfigBase &preference_store::entries()
{
    return *config;
}

std::string preference_store::rendered() const
{
    wxMemoryOutputStream out;
    config->Save(out, wxConvUTF8);
    const wxStreamBuffer &buffer = *out.GetOutputStreamBuffer();
    return std::string(static_cast<const char *>(buffer.GetBufferStart()), out.GetSize());
}

bool preference_store::changed() const
{
    return rendered() != read_text;
}

bool preference_store::fits_its_reader() const
{
    return rendered().size() <= settings_file_size_limit;
}

void preference_store::start_afresh()
{
    keep_unusable_settings_file(path, "too large to be written back with the program's own entries");
    open({});
}

std::string preference_store::save()
{
    return save_settings_file(path, rendered());
}

void preference_store::save_in(background_save &save) const
{
    save.add(path, rendered());
}

std::string config_key(const char *group, const char *key)
{
    return std::string(group ? group : missing_part) + "_" + (key ? key : missing_part);
}

bool parse_decimal_int(const std::string &text, int *value)
{
    const char *end = text.data() + text.size();
    int parsed = 0;
    auto [stop, error] = std::from_chars(text.data(), end, parsed);
    if (text.empty() || error != std::errc() || stop != end)
        return false;
    *value = parsed;
    return true;
}

int config_read_string(wxConfigBase &store, const std::string &key, std::string *target)
{
    wxString value;
    if (!store.Read(bytes_to_wx(key), &value))
        return 0;
    *target = wx_to_bytes(value);
    return 1;
}

int config_read_int(wxConfigBase &store, const std::string &key, int *target)
{
    std::string text;
    return config_read_string(store, key, &text) && parse_decimal_int(text, target) ? 1 : 0;
}

int config_read_and_delete_int(wxConfigBase &store, const std::string &key, int *target)
{
    int found = config_read_int(store, key, target);
    config_delete_entry(store, key);
    return found;
}

int config_read_and_delete_string(wxConfigBase &store, const std::string &key, std::string *target)
{
    int found = config_read_string(store, key, target);
    config_delete_entry(store, key);
    return found;
}

void config_write_int(wxConfigBase &store, const std::string &key, int value)
{
    config_write_string(store, key, std::to_string(value));
}

void config_write_string(wxConfigBase &store, const std::string &key, const std::string &value)
{
    store.Write(bytes_to_wx(key), bytes_to_wx(value));
}

void config_delete_entry(wxConfigBase &store, const std::string &key)
{
    store.DeleteEntry(bytes_to_wx(key), true);
}
