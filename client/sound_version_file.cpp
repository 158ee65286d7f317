#include "sound_version_file.h"

#include "download_path.h"
#include "settings_files.h"
#include "sound_names.h"
#include "vusk_xml.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

// One byte more than a filename may have, so that a longer one shows.
constexpr int filename_capacity = max_download_name_length + 2;

const char *const comment_lines[] = {
    "\tThis file contains version info for offical Varn Ossic sound effects.\n",
    "\tTo create a custom sound pack, create a folder named 'custom' in the\n",
    "\t'soundpack' folder and place your .ogg files directly in the 'custom'\n",
    "\tfolder.\n",
};

sound_version_entry read_record(vusk_xml_reader &reader)
{
    sound_version_entry record;
    char tag[xml_tag_name_capacity];
    while (reader.read_tag(tag, sizeof tag)) {
        if (wordcmp(tag, "filename")) {
            char filename[filename_capacity];
            reader.read_data(filename, sizeof filename);
            record.filename = filename;
        } else if (wordcmp(tag, "version")) {
            reader.read_data(&record.version);
        } else {
            reader.skip_data();
        }
    }
    return record;
}

bool is_usable(const sound_version_entry &record)
{
    return record.version != 0 && is_sound_pack_path(record.filename);
}

void write_records(FILE *file, const std::vector<sound_version_entry> &records)
{
    fprintf(file, "%s\n\n", xml_declaration);
    vusk_xml_writer writer(file);
    writer.start_tag("comment", 1);
    for (const char *line : comment_lines)
        writer.write_string(line);
    writer.end_tag(1);
    writer.print_blank_line();
    for (const sound_version_entry &record : records) {
        if (!is_usable(record))
            continue;
        writer.start_tag("version_info", 1);
        writer.write_single_field("filename", record.filename.c_str());
        writer.write_single_field("version", record.version);
        writer.end_tag(1);
    }
}

} // namespace

std::vector<sound_version_entry> load_sound_versions(const std::string &path)
{
    sound_version_list kept;
    read_xml_file(path, true, [&kept](vusk_xml_reader &reader) {
        read_elements_named(reader, "version_info", [&kept](vusk_xml_reader &element) {
            const sound_version_entry record = read_record(element);
            if (is_usable(record))
                kept.record(record.filename, record.version);
        });
        return true;
    });
    return kept.records();
}

namespace {
std::optional<std::string> rendered_records(const std::vector<sound_version_entry> &records)
{
    return rendered([&records](FILE *file) { write_records(file, records); });
}
} // namespace

std::string save_sound_versions(const std::string &path, const std::vector<sound_version_entry> &records)
{
    return save_rendered(path, rendered_records(records));
}

void save_sound_versions_in(background_save &save, const std::string &path,
                            const std::vector<sound_version_entry> &records)
{
    save.add(path, rendered_records(records));
}

sound_version_list::sound_version_list(const std::vector<sound_version_entry> &records)
{
    for (const sound_version_entry &entry : records)
        record(entry.filename, entry.version);
}

std::optional<int> sound_version_list::use(const std::string &filename)
{
    const auto found = by_filename.find(filename);
    if (found == by_filename.end())
        return std::nullopt;
    by_use.splice(by_use.end(), by_use, found->second);
    return found->second->version;
}

void sound_version_list::record(const std::string &filename, int version)
{
    if (use(filename)) {
        by_use.back().version = version;
        return;
    }
    if (by_use.size() >= max_sound_version_records) {
        by_filename.erase(by_use.front().filename);
        by_use.pop_front();
    }
    by_use.push_back({filename, version});
    by_filename.emplace(filename, std::prev(by_use.end()));
}

std::vector<sound_version_entry> sound_version_list::records() const
{
    return {by_use.begin(), by_use.end()};
}
