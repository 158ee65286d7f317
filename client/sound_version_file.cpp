#include "sound_version_file.h"

#include "download_path.h"
#include "settings_files.h"
#include "vusk_xml.h"

#include <cstdio>
#include <cstring>

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
    return !record.filename.empty() && record.filename.size() <= max_download_name_length && record.version != 0;
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
        writer.start_tag("version_info", 1);
        writer.write_single_field("filename", record.filename.c_str());
        writer.write_single_field("version", record.version);
        writer.end_tag(1);
    }
}

} // namespace

std::vector<sound_version_entry> load_sound_versions(const std::string &path)
{
    std::vector<sound_version_entry> records;
    read_xml_file(path, true, [&records](vusk_xml_reader &reader) {
        read_elements_named(reader, "version_info", [&records](vusk_xml_reader &element) {
            sound_version_entry record = read_record(element);
            if (is_usable(record) && records.size() < max_sound_version_records)
                records.push_back(std::move(record));
        });
        return true;
    });
    return records;
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
