#include "tqconfig_files.h"

#include "nrandom.h"
#include "preference_store.h"
#include "settings_files.h"
#include "tqconfig.h"
#include "util.h"
#include "vusk_xml.h"

#include <wx/fileconf.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <limits>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {
int current_time()
{
    return static_cast<int>(std::time(nullptr));
}
}

std::string loaded_config_name = no_config_name;
int global_uuid_create_time = current_time();
int global_last_voting_time = 0;
int global_last_voting_reminder_time = 0;
int global_voting_reminder_enable = 1;
std::string global_config_directory_path;
std::array<voting_url, voting_url_count> voting_urls;

namespace {
const char system_file_name[] = "varn_ossic";
const char *const reserved_config_names[] = {system_file_name, "sound_version"};
const char config_file_extension[] = ".cfg";
const char library_directory[] = "/Library/Varn Ossic";
const char hidden_directory[] = "/.VarnOssic";
constexpr mode_t config_directory_mode = 0700;

// Room for a text whose every byte is written as the longest entity.
constexpr size_t escaped_capacity(size_t max_length)
{
    return max_length * (sizeof "&amp;" - 1) + 1;
}

constexpr int client_id_length = client_id_capacity - 1;
const char local_id_mark[] = "DFLT";


const char main_group[] = "main";
const char uuid_key[] = "uuid";
const char config_dir_key[] = "config_dir";

struct stored_number {
    const char *key;
    int *value;
};

// The installation's numbers, stored in group "main".
const stored_number installation_numbers[] = {
    {"uuid_create_time", &global_uuid_create_time},
    {"last_voting_time", &global_last_voting_time},
    {"last_voting_reminder_time", &global_last_voting_reminder_time},
    {"voting_reminders", &global_voting_reminder_enable},
};

// The longest line the store's writer makes of one of the program's
// entries: a key of at most own_key_max_length bytes ("main_" and a key
// above, or a vote entry's), and each byte of the value in two at most (an
// escape, or ISO-8859-1 text in UTF-8), quoted when it begins with a space.
constexpr size_t own_key_max_length = 32;
constexpr size_t longest_store_line(size_t value_max_length)
{
    return own_key_max_length + sizeof "=\"\"\n" - 1 + 2 * value_max_length;
}
constexpr size_t number_text_max_length = std::numeric_limits<int>::digits10 + 2;
// A configuration directory in use names an existing directory: shorter
// than PATH_MAX.
constexpr size_t longest_own_entries =
    longest_store_line(client_id_capacity - 1) + std::size(installation_numbers) * longest_store_line(number_text_max_length) +
    longest_store_line(PATH_MAX) + 2 * voting_url_count * longest_store_line(voting_text_max_length);
static_assert(longest_own_entries <= settings_file_size_limit,
              "the program's own preferences could make a store larger than its reader takes");

// The one record of the former flat layout.
const char legacy_record_group[] = "pf001";
const char *const legacy_record_keys[] = {
    "font", "font_size", "keypad_walking", "url_hotlinking", "local_echo", "cmd_pushthrough", "button_display",
    "fkey_button_display", "button_tooltips", "hp_display", "mini_hp_display", "enemy_hp_display",
    "group_status_display", "popup_display", "mw_scrollbar_enable", "use_new_layout", "current_theme",
    "bright_color_display", "zmud_color_display", "gmud_color_display", "automap_docked", "automap_display",
    "automap_size", "input_height",
};

// Elements that earlier versions wrote: a nonzero value selects when_set,
// zero selects when_clear (if it has one).
struct older_element {
    const char *element;
    int tqconfig::*member;
    int when_set;
    std::optional<int> when_clear;
};

const older_element older_elements[] = {
    {"use_new_layout", &tqconfig::current_layout, 1, 0},
    {"bright_color_display", &tqconfig::font_colors_setting, 1, std::nullopt},
    {"zmud_color_display", &tqconfig::font_colors_setting, 2, std::nullopt},
    {"gmud_color_display", &tqconfig::font_colors_setting, 3, std::nullopt},
};

struct popup_number {
    const char *element;
    int popup_data::*member;
};

const popup_number popup_numbers[] = {
    {"x", &popup_data::x},
    {"y", &popup_data::y},
    {"width", &popup_data::width},
    {"height", &popup_data::height},
};

// Reads an element's text, cut to max_length bytes once its entities are
// decoded.
std::string read_text(vusk_xml_reader &reader, size_t max_length)
{
    std::vector<char> text(escaped_capacity(max_length));
    reader.read_data(text.data(), static_cast<int>(text.size()));
    return std::string(text.data(), strnlen(text.data(), max_length));
}

void read_field(vusk_xml_reader &reader, const tqconfig_field &field, tqconfig &record)
{
    if (field.text == &tqconfig::name)
        record.name = read_text(reader, config_name_max_length);
    else if (field.text)
        record.*field.text = read_text(reader, record_text_max_length);
    else
        reader.read_data(&(record.*field.number));
}

void read_older_element(vusk_xml_reader &reader, const older_element &older, tqconfig &record)
{
    int value = 0;
    if (!reader.read_data(&value))
        return;
    if (value != 0)
        record.*older.member = older.when_set;
    else if (older.when_clear)
        record.*older.member = *older.when_clear;
}

popup_data read_popup(vusk_xml_reader &reader)
{
    popup_data entry;
    char tag[xml_tag_name_capacity];
    while (reader.read_tag(tag, sizeof tag)) {
        const popup_number *number = nullptr;
        for (const popup_number &known : popup_numbers)
            if (wordcmp(tag, known.element))
                number = &known;
        if (wordcmp(tag, "name"))
            snprintf(entry.name, sizeof entry.name, "%s", read_text(reader, popup_name_capacity - 1).c_str());
        else if (number)
            reader.read_data(&(entry.*number->member));
        else
            reader.skip_data();
    }
    return entry;
}

void read_popup_list(vusk_xml_reader &reader, tqconfig &record)
{
    read_elements_named(reader, "single_popup_window",
                        [&record](vusk_xml_reader &popup) { record.push_popup(read_popup(popup)); });
}

void read_record_element(vusk_xml_reader &reader, const char *tag, tqconfig &record)
{
    for (const tqconfig_field &field : tqconfig_fields)
        if (wordcmp(tag, field.element))
            return read_field(reader, field, record);
    for (const older_element &older : older_elements)
        if (wordcmp(tag, older.element))
            return read_older_element(reader, older, record);
    if (wordcmp(tag, "popup_window_list"))
        return read_popup_list(reader, record);
    reader.skip_data();
}

// A name the files cannot hold, or a number (an old way of saying none),
// stands for the unnamed configuration.
bool names_no_configuration(const std::string &name)
{
    int number = 0;
    return name == no_config_name || parse_decimal_int(name, &number) || !is_valid_config_name(name);
}

// A login under a name without a record: the unnamed record takes the name,
// otherwise the record in use is copied under it.
void adopt_name(TConfig &config, const std::string &name)
{
    tqconfig *in_use = config.current_record();
    if (in_use && in_use->name.empty()) {
        in_use->name = name;
        return;
    }
    tqconfig copy = in_use ? *in_use : tqconfig();
    copy.name = name;
    copy.mark_adopted();
    config.add(copy);
    config.select(name);
}

// The failures of every save finished since the last report, those of each
// record unloaded among them: the files not saved in one line, the refused
// ones tried again in another.
void report_finished_saves()
{
    finished_save all;
    for (finished_save &save : take_up_finished_saves()) {
        std::move(save.not_saved.begin(), save.not_saved.end(), std::back_inserter(all.not_saved));
        std::move(save.tried_again.begin(), save.tried_again.end(), std::back_inserter(all.tried_again));
    }
    say_settings_files(settings_not_saved, all.not_saved);
    say_settings_files(settings_tried_again, all.tried_again);
}

// Hands one record's own file to the save; nothing without a configuration
// directory, nor for a record whose name no file may have (read from a
// damaged file).
void save_record_file(background_save &save, const tqconfig &record)
{
    if (global_config_directory_path.empty() || !is_valid_config_name(record.name))
        return;
    save.add(config_file_path(record.name), rendered([&record](FILE *file) {
                 vusk_xml_writer writer(file);
                 record.save_xml_single_system_config(writer);
             }));
}

std::string vote_key(int entry, const char *part)
{
    return "main_vote_menu" + std::to_string(entry) + "_" + part;
}

void read_vote_text(wxConfigBase &store, const std::string &key, std::optional<std::string> &target)
{
    std::string value;
    if (config_read_string(store, key, &value) && !value.empty())
        target = value.substr(0, voting_text_max_length);
}

void read_installation_numbers(wxConfigBase &store)
{
    for (const stored_number &number : installation_numbers)
        if (!config_read_int(store, main_group, number.key, number.value))
            config_read_and_delete_int(store, nullptr, number.key, number.value);
}

void read_client_id(wxConfigBase &store)
{
    std::string id;
    if (!config_read_string(store, uuid_key, &id) || id.empty()) {
        create_default_uuid();
        return;
    }
    safe_strcpy(global_uuid, id.c_str(), client_id_capacity);
    read_installation_numbers(store);
}

void find_and_create_config_directory(wxConfigBase &store)
{
    std::string config_dir;
    config_read_string(store, config_dir_key, &config_dir);
    std::string directory = find_config_directory(config_dir, getenv("HOME"));
    if (!directory.empty() && create_config_directory(directory))
        global_config_directory_path = directory;
}

void load_preferences(wxConfigBase &store)
{
    read_client_id(store);
    find_and_create_config_directory(store);
    for (int entry = 0; entry < voting_url_count; ++entry) {
        read_vote_text(store, vote_key(entry, "name"), voting_urls[entry].label);
        read_vote_text(store, vote_key(entry, "url"), voting_urls[entry].url);
    }
    load_and_nuke_oldstyle_system_config(store);
}

void write_preferences(wxConfigBase &store)
{
    config_write_string(store, uuid_key, global_uuid);
    for (const stored_number &number : installation_numbers)
        config_write_int(store, main_group, number.key, *number.value);
    if (!global_config_directory_path.empty())
        config_write_string(store, config_dir_key, global_config_directory_path);
    for (int entry = 0; entry < voting_url_count; ++entry) {
        const voting_url &vote = voting_urls[entry];
        if (vote.label) {
            config_write_string(store, vote_key(entry, "name"), *vote.label);
            config_write_string(store, vote_key(entry, "url"), vote.url.value_or(""));
        } else {
            config_delete_entry(store, vote_key(entry, "name"));
            config_delete_entry(store, vote_key(entry, "url"));
        }
    }
}

// The store's other entries make way for the program's own when both would
// not fit.
void save_preferences(preference_store &store)
{
    write_preferences(store.entries());
    if (store.fits_its_reader())
        return;
    store.start_afresh();
    write_preferences(store.entries());
}
}

int does_directory_exist(const char *path)
{
    struct stat status;
    return path && stat(path, &status) == 0 && S_ISDIR(status.st_mode) ? 1 : 0;
}

std::string find_config_directory(const std::string &config_dir, const char *home)
{
    if (!config_dir.empty() && config_dir[0] == '/')
        return config_dir;
    // An empty HOME would put the directory at the root of the file system.
    if (home == nullptr || *home == '\0')
        return {};
    // A relative directory would move with the directory the program was
    // started in.
    if (!config_dir.empty())
        return std::string(home) + "/" + config_dir;
    const std::string library = std::string(home) + library_directory;
    const std::string hidden = std::string(home) + hidden_directory;
    if (!does_directory_exist(library.c_str()) && does_directory_exist(hidden.c_str()))
        return hidden;
    return library;
}

bool create_config_directory(const std::string &path)
{
    if (does_directory_exist(path.c_str()))
        return true;
    const std::filesystem::path directory(path);
    std::error_code ignored;
    if (directory.has_parent_path())
        std::filesystem::create_directories(directory.parent_path(), ignored);
    if (mkdir(path.c_str(), config_directory_mode) == 0)
        return true;
    const int reason = errno;
    if (does_directory_exist(path.c_str()))
        return true;
    fprintf(stderr, "Varn Ossic: cannot create the configuration directory %s: %s; settings are kept in memory only\n",
            path.c_str(), strerror(reason));
    return false;
}

bool is_valid_config_name(const std::string &name)
{
    if (name.size() > config_name_max_length || name.find("..") != std::string::npos ||
        (!name.empty() && name[0] == '.'))
        return false;
    for (char character : name) {
        const unsigned char byte = static_cast<unsigned char>(character);
        if (character == '/' || byte < ' ' || byte == 0x7f)
            return false;
    }
    // Case-blind, for configuration directories on case-blind file systems.
    for (const char *own : reserved_config_names)
        if (strcasecmp(name.c_str(), own) == 0)
            return false;
    return true;
}

std::string config_file_path(const std::string &name)
{
    return global_config_directory_path + "/" + name + config_file_extension;
}

void create_default_uuid()
{
    static const char hex_digits[] = "0123456789abcdef";
    unsigned char random[client_id_length];
    fill_from_entropy(random, sizeof random);
    for (int position = 0; position < client_id_length; ++position)
        global_uuid[position] = hex_digits[random[position] & 15];
    global_uuid[client_id_length] = '\0';
    memcpy(global_uuid, local_id_mark, strlen(local_id_mark));
}

namespace {
class client_id_setter final : public client_id_owner {
public:
    void set_client_id(const char *id) override { set_uuid(id); }
};
} // namespace

client_id_owner &client_id_tags()
{
    static client_id_setter owner;
    return owner;
}

void set_uuid(const char *text)
{
    if (text == nullptr || *text == '\0') {
        create_default_uuid();
        return;
    }
    safe_strcpy(global_uuid, text, client_id_capacity);
    const int now = current_time();
    global_uuid_create_time = now;
    global_last_voting_reminder_time = now;
    global_last_voting_time = now;
    TConfig::Instance()->save_requests.request();
}

void run_requested_config_save(long long now_ms)
{
    if (TConfig::Instance()->save_requests.take_due(now_ms))
        start_system_config_save();
    report_finished_saves();
    retry_refused_settings_writes_when_due(now_ms);
    TConfig::Instance()->unload_records_held_for_the_disk();
}

bool settings_writes_backlogged()
{
    if (settings_only_copies_being_written() == 0)
        return false;
    const size_t behind = settings_only_copies_waiting() + TConfig::Instance()->records_held_for_the_disk();
    return behind >= static_cast<size_t>(records_behind_the_disk_pausing_reads);
}

void load_and_nuke_oldstyle_system_config(wxConfigBase &store)
{
    std::string ignored;
    if (!config_read_and_delete_string(store, main_group, "curr_config", &ignored) &&
        !config_read_and_delete_string(store, nullptr, "curr_config", &ignored))
        return;
    if (!config_read_and_delete_string(store, legacy_record_group, "name", &ignored))
        return;
    for (const char *key : legacy_record_keys)
        config_delete_entry(store, legacy_record_group, key);
}

void load_system_config()
{
    preference_store store;
    load_preferences(store.entries());
    if (!store.fits_its_reader())
        save_preferences(store);
    if (store.changed()) {
        const std::string failure = store.save();
        if (!failure.empty())
            say_settings_files(settings_not_saved, {failure});
    }
    TConfig::Instance()->load_system_config_file();
}

void start_system_config_save()
{
    background_save save;
    save.add_failed_unloads_again();
    {
        preference_store store;
        save_preferences(store);
        store.save_in(save);
    }
    if (global_config_directory_path.empty())
        return;
    const TConfig &config = *TConfig::Instance();
    save.add(config_file_path(system_file_name), rendered([&config, &save](FILE *file) {
                 fprintf(file, "%s\n\n", xml_declaration);
                 vusk_xml_writer writer(file);
                 config.save_xml_system_config(writer, save);
             }));
}

void finish_config_saves()
{
    wait_for_background_saves();
    report_finished_saves();
}

void save_system_config()
{
    start_system_config_save();
    finish_config_saves();
}

void tqconfig::save_xml_single_system_config(vusk_xml_writer &writer) const
{
    writer.start_tag("single_config", 1);
    for (const tqconfig_field &field : tqconfig_fields) {
        if (field.text)
            writer.write_single_field(field.element, (this->*field.text).c_str());
        else
            writer.write_single_field(field.element, this->*field.number);
    }
    writer.start_tag("popup_window_list", 1);
    for (const popup_data &entry : popups()) {
        writer.start_tag("single_popup_window", 1);
        writer.write_single_field("name", entry.name);
        for (const popup_number &number : popup_numbers)
            writer.write_single_field(number.element, entry.*number.member);
        writer.end_tag(1);
    }
    writer.end_tag(1);
    writer.end_tag(1);
}

void TConfig::load_xml_single_system_config(vusk_xml_reader &reader)
{
    tqconfig record;
    char tag[xml_tag_name_capacity];
    while (reader.read_tag(tag, sizeof tag))
        read_record_element(reader, tag, record);
    record.sanity_check_system_config();
    take_record_read(record);
}

void TConfig::take_record_read(const tqconfig &record)
{
    const bool asked = reading_for == nullptr || record.name == *reading_for;
    if (asked || get(record.name) || record_list.size() < static_cast<size_t>(record_list_capacity))
        add(record);
    else
        ++records_refused;
}

bool TConfig::read_records(const std::string &path, const std::string &asked, bool has_declaration,
                           const char *element, void (TConfig::*load)(vusk_xml_reader &))
{
    reading_for = &asked;
    records_refused = 0;
    const bool read = read_xml_file(path, has_declaration, [this, element, load](vusk_xml_reader &reader) {
        return read_elements_named(reader, element, [this, load](vusk_xml_reader &inner) { (this->*load)(inner); }) > 0;
    });
    reading_for = nullptr;
    if (records_refused > 0)
        keep_damaged_settings_file(path, std::to_string(records_refused) + " records of other characters in " + path +
                                             " were not read, as at most " + std::to_string(record_list_capacity) +
                                             " are held");
    return read;
}

// Adds every record of the configuration file of that name; false when there
// is no such file to read.
bool TConfig::read_record_file(const std::string &name)
{
    if (global_config_directory_path.empty() || !is_valid_config_name(name))
        return false;
    return read_records(config_file_path(name), name, false, "single_config", &TConfig::load_xml_single_system_config);
}

// The record the system file names is the one it is read for.
void TConfig::read_system_file()
{
    read_records(config_file_path(system_file_name), loaded_config_name, true, "system_config_list",
                 &TConfig::load_xml_system_config);
}

void TConfig::load_xml_system_config(vusk_xml_reader &reader)
{
    char tag[xml_tag_name_capacity];
    while (reader.read_tag(tag, sizeof tag)) {
        if (wordcmp(tag, "curr_config"))
            loaded_config_name = read_text(reader, config_name_max_length);
        else if (wordcmp(tag, "system_audio_enable"))
            reader.read_data(&system_audio);
        else if (wordcmp(tag, "single_config"))
            load_xml_single_system_config(reader);
        else
            reader.skip_data();
    }
}

void TConfig::load_system_config_file()
{
    select_loaded_record();
    apply_font();
}

void TConfig::select_loaded_record()
{
    if (!global_config_directory_path.empty())
        read_system_file();
    // Without a name the unnamed record's file is read; when there is none
    // either, a default record stands in for it.
    if (names_no_configuration(loaded_config_name))
        loaded_config_name.clear();
    if (get(loaded_config_name) == nullptr)
        read_record_file(loaded_config_name);
    make_current(get(loaded_config_name));
    if (current)
        return;
    if (record_list.empty())
        add(tqconfig());
    make_current(record_list.front().get());
    loaded_config_name = current->name;
}

void TConfig::save_xml_system_config(vusk_xml_writer &writer, background_save &save) const
{
    writer.start_tag("system_config_list", 1);
    writer.write_single_field("curr_config", loaded_config_name.substr(0, config_name_max_length).c_str());
    writer.write_single_field("system_audio_enable", system_audio);
    for (const std::unique_ptr<tqconfig> &record : record_list)
        save_record_file(save, *record);
    writer.end_tag(1);
    writer.print_blank_line();
}

void TConfig::make_room()
{
    constexpr int most_unloads_per_record = 2;
    for (int unload = 0; unload < most_unloads_per_record; ++unload)
        if (record_list.size() < static_cast<size_t>(record_list_capacity) ||
            !unload_least_recently_used(refused_writes::tried_again_first))
            return;
}

size_t TConfig::records_held_for_the_disk() const
{
    const size_t capacity = static_cast<size_t>(record_list_capacity);
    return record_list.size() > capacity ? record_list.size() - capacity : 0;
}

void TConfig::unload_records_held_for_the_disk()
{
    constexpr int most_unloads_per_tick = 32;
    for (int unload = 0; records_held_for_the_disk() > 0; ++unload) {
        const bool beyond_their_bound = records_held_for_the_disk() > static_cast<size_t>(records_waiting_for_the_disk);
        if ((unload >= most_unloads_per_tick && !beyond_their_bound) ||
            !unload_least_recently_used(refused_writes::left_to_their_schedule))
            return;
    }
}

bool TConfig::waits_for_the_disk() const
{
    return record_list.size() < static_cast<size_t>(record_list_capacity + records_waiting_for_the_disk) ||
           settings_only_copies_being_written() > 0;
}

bool TConfig::unload_least_recently_used(refused_writes refused)
{
    const auto unused =
        std::find_if(use_order.begin(), use_order.end(), [this](const tqconfig *record) { return record != current; });
    if (unused == use_order.end())
        return false;
    if (!(*unused)->is_unchanged_adoption() && !settings_writes_have_room()) {
        if (refused == refused_writes::tried_again_first)
            retry_refused_settings_writes();
        if (waits_for_the_disk())
            return false;
    }
    if (!(*unused)->is_unchanged_adoption()) {
        background_save save(if_write_fails::content_kept);
        save_record_file(save, **unused);
    }
    if (!global_config_directory_path.empty() && is_valid_config_name((*unused)->name))
        forget_settings_file(config_file_path((*unused)->name));
    record_list.erase(std::find_if(record_list.begin(), record_list.end(),
                                   [unused](const std::unique_ptr<tqconfig> &record) { return record.get() == *unused; }));
    use_order.erase(unused);
    return true;
}

void TConfig::UseConfig(const std::string &name)
{
    if (!is_valid_config_name(name))
        return;
    tqconfig *record = get(name);
    bool file_read = false;
    if (record == nullptr) {
        file_read = read_record_file(name);
        record = get(name);
    }
    // A file without the record of its name counts as missing.
    if (record)
        make_current(record);
    else
        adopt_name(*this, name);
    if (current)
        loaded_config_name = current->name;
    // Reading a file may also have replaced other records, the one in use
    // among them.
    if (record || file_read)
        refresh_after_switch();
}

void TConfig::refresh_after_switch()
{
    // Every menu item shows the record switched to, the command line's
    // settings too, each once.
    refresh_themes(menu_marks::left);
    refresh_prefs(menu_marks::left);
    show_every_value();
    if (effects == nullptr) {
        apply_font();
        return;
    }
    effects->rebuild_fonts(*this);
    effects->menu_view_change_layout_helper();
    effects->global_font_resync();
    effects->button_font_resync();
}
