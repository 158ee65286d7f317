#ifndef VUSK_TQCONFIG_H
#define VUSK_TQCONFIG_H

// The configuration: named records of the player's settings, one of them
// current, reached through the process-wide TConfig.

#include <array>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "config_effects.h"
#include "save_throttle.h"
#include "settings_table.h"
#include "tqconfig_bounds.h"
#include "vusk_theme.h"

// Values of the Layout setting; any other value lays out as embedded.
enum mw_layout_choice { layout_embedded = 0, layout_left_top = 1, layout_left_bottom = 2 };
// The left layouts put the panels in a column left of the main display.
constexpr bool is_left_layout(int layout)
{
    return layout == layout_left_top || layout == layout_left_bottom;
}

class background_save;
class wxFont;
class vusk_xml_reader;
class vusk_xml_writer;

// The client id: 32 characters, empty until the configuration provides one.
constexpr int client_id_capacity = 33;
extern char global_uuid[client_id_capacity];

constexpr int popup_name_capacity = 100;

// The stored geometry of one popup window. cols and rows travel with the
// entry but are never written to a file.
struct popup_data {
    char name[popup_name_capacity] = "";
    int x = 0;
    int y = 0;
    int cols = 0;
    int rows = 0;
    int width = 0;
    int height = 0;
};

// A record holds the descriptions of its fonts up to this many bytes, so
// that its file holds each whole however its characters are escaped.
constexpr size_t record_text_max_length = 2000;

// Popup names come from the server; a record remembers at most this many.
constexpr int popup_list_capacity = 100;

constexpr int default_font_size = 10;
constexpr int default_button_font_size = 7;
// The large button font is this many points above the small one.
constexpr int large_button_font_step = 2;
constexpr int automap_size_min = 5;
constexpr int automap_size_max = 61;
constexpr int automap_size_default = 11;
constexpr int font_size_min = 2;
constexpr int font_size_max = 150;
constexpr int input_height_min = 24;
constexpr int input_height_max = 800;
constexpr int channel_height_min = 10;
constexpr int channel_height_max = 80;

// How the sanity step treats a number read from a file.
enum class sanity_rule {
    none,       // taken as it is
    bit,        // reduced to its lowest bit
    range,      // outside low..high it becomes fallback
    clamp,      // brought to the nearer end of low..high
    odd_range,  // the next odd value, brought into low..high (both odd)
};

// The sanity column of the settings table.
struct field_sanity {
    sanity_rule rule;
    int low;
    int high;
    int fallback;
};
constexpr field_sanity as_is{sanity_rule::none, 0, 0, 0};
constexpr field_sanity lowest_bit{sanity_rule::bit, 0, 0, 0};
constexpr field_sanity in_range(int low, int high, int fallback)
{
    return {sanity_rule::range, low, high, fallback};
}
constexpr field_sanity clamped(int low, int high)
{
    return {sanity_rule::clamp, low, high, 0};
}
constexpr field_sanity odd_in_range(int low, int high, int fallback)
{
    return {sanity_rule::odd_range, low, high, fallback};
}

// The settings of a record (settings_table.h), with the defaults of a new one.
struct tqconfig_settings {
#define VUSK_TEXT_MEMBER(Accessor, member) std::string member;
#define VUSK_FONT_SIZE_MEMBER(Accessor, member, default_value, sanity) int member = default_value;
#define VUSK_STORED_MEMBER(member, default_value, sanity) int member = default_value;
#define VUSK_SETTING_MEMBER(Accessor, member, default_value, ...) int member = default_value;
    VUSK_SETTINGS(VUSK_TEXT_MEMBER, VUSK_FONT_SIZE_MEMBER, VUSK_STORED_MEMBER, VUSK_SETTING_MEMBER, VUSK_NO_ROW)
#undef VUSK_SETTING_MEMBER
#undef VUSK_STORED_MEMBER
#undef VUSK_FONT_SIZE_MEMBER
#undef VUSK_TEXT_MEMBER
};

// One named configuration record: its settings and the geometry of the
// player's popup windows.
class tqconfig : public tqconfig_settings {
public:
    // Defaults; the fonts are those of the live global fonts.
    tqconfig();
    // A copy lists the popups in reverse order: the file reader puts each
    // entry at the head, and the copy kept in the configuration turns the
    // list back into file order.
    tqconfig(const tqconfig &other);
    tqconfig &operator=(const tqconfig &other);

    // Brings every setting read from a file back into its range.
    void sanity_check_system_config();

    const std::deque<popup_data> &popups() const { return popup_list; }
    // Puts an entry at the head; a full list forgets its last entry.
    void push_popup(const popup_data &entry);
    // Updates the entry of that name in place, or adds it at the head.
    void save_popup(const popup_data &entry);
    const popup_data *find_popup(const char *name) const;

    // Writes the record as one single_config element.
    void save_xml_single_system_config(vusk_xml_writer &writer) const;

    // A copy adopted under a new name holds nothing of its own until a
    // setting or a popup's geometry is stored in it.
    void mark_adopted() { unchanged_since_adopted = true; }
    void mark_changed() { unchanged_since_adopted = false; }
    bool is_unchanged_adoption() const { return unchanged_since_adopted; }

private:
    std::deque<popup_data> popup_list;
    bool unchanged_since_adopted = false;
};

// One setting as the configuration files name it: a text field or a number
// with its sanity rule.
struct tqconfig_field {
    const char *element;
    std::string tqconfig::*text;
    int tqconfig::*number;
    sanity_rule rule;
    int low;
    int high;
    int fallback;
};

#define VUSK_COUNT_ROW(...) +1
constexpr int tqconfig_field_count =
    0 VUSK_SETTINGS(VUSK_COUNT_ROW, VUSK_COUNT_ROW, VUSK_COUNT_ROW, VUSK_COUNT_ROW, VUSK_NO_ROW);
#undef VUSK_COUNT_ROW
// Every setting of a record, in the order of the configuration files.
extern const std::array<tqconfig_field, tqconfig_field_count> tqconfig_fields;

int sane_value(const tqconfig_field &field, int value);
int sane_automap_size(int cell_size);

// The configuration: all known records, the current one, and the sound
// switch, which belongs to the installation rather than to a record.
// Without a current record every number reads 0, every text "junk", and the
// setters (but SetSystemAudio) do nothing.
class TConfig {
public:
    TConfig() = default;
    TConfig(const TConfig &) = delete;
    TConfig &operator=(const TConfig &) = delete;

    // The program's configuration, created on first use, never destroyed.
    static TConfig *Instance();

    // The first record of that exact name, or null.
    tqconfig *get(const std::string &name) const;
    // Stores a copy of the record: over the record of the same name (which
    // stays where it is, and stays current if it was), else at the end of the
    // list. A full list first saves and unloads the record least recently
    // current (never the current one); its file holds it for its next
    // login (while the disk is far behind, a changed record stays in memory
    // a while longer, beyond the capacity, as tqconfig_bounds.h says); a copy
    // unchanged since adopted is dropped without a file, and its next login
    // adopts a copy again. Returns the stored record.
    tqconfig *add(const tqconfig &record);
    // Makes the record of that name current (none when there is no such
    // record); returns whether one was found.
    bool select(const std::string &name);
    tqconfig *current_record() const { return current; }
    const std::vector<std::unique_ptr<tqconfig>> &records() const { return record_list; }
    // Records held beyond the capacity while the disk was behind.
    size_t records_held_for_the_disk() const;
    // Unloads records held beyond the capacity while their settings may wait
    // for the disk, a few at a time, so that the records behind the disk
    // fall without new logins; and, once no write is on its way, every
    // record beyond the bound of those held, unsaved.
    void unload_records_held_for_the_disk();

    // The running program's side of the setters; null until the main frame
    // exists.
    void set_effects(config_effects *effects) { this->effects = effects; }

    // Raised when a setting that the settings status line reports changes;
    // the main tick sends that line while the player is logged in.
    int config_update_pending = 0;

    // Saves the server asks for (with a client id) are carried out by the
    // main tick, at most one in this time.
    static constexpr long long requested_save_interval_ms = 1000;
    save_throttle save_requests{requested_save_interval_ms};

    // GetAccessor for every row of the settings table that has one, and
    // SetAccessor(int) for every SETTING row: it does what the row's setter
    // kind says, then the row's effect, and marks the configuration changed
    // when the status line reports the setting.
#define VUSK_TEXT_GETTER(Accessor, member) \
    const std::string &Get##Accessor() const { return read(&tqconfig::member); }
#define VUSK_NUMBER_GETTER(Accessor, member, ...) \
    int Get##Accessor() const { return read(&tqconfig::member); }
#define VUSK_SETTING_ACCESSORS(Accessor, member, ...)                 \
    int Get##Accessor() const { return read(&tqconfig::member); } \
    void Set##Accessor(int value);
    VUSK_SETTINGS(VUSK_TEXT_GETTER, VUSK_NUMBER_GETTER, VUSK_NO_ROW, VUSK_SETTING_ACCESSORS, VUSK_NO_ROW)
#undef VUSK_SETTING_ACCESSORS
#undef VUSK_NUMBER_GETTER
#undef VUSK_TEXT_GETTER

    void SetName(const std::string &name);
    void SetFont(const wxFont &font);
    void SetButtonFont(const wxFont &font);
    int GetSystemAudio() const { return system_audio; }
    // Starts or stops audio output; sound that cannot start switches itself
    // off again.
    void SetSystemAudio(int value);

    // Re-checks the preference menu items and re-applies the panel states.
    void RefreshPrefs();
    // Re-checks the three theme menus and re-themes the frame.
    void RefreshThemes();
    // Returns the display and input preferences to their defaults.
    void UseDefaultPrefs();
    // Rebuilds the shared text and button fonts from the current record;
    // re-rendering the panels with them is the caller's work.
    void apply_font();

    // The popup geometry store of the current record.
    void SavePopupData(popup_data entry);
    popup_data GetPopupData(const char *name) const;

    // The configuration files (tqconfig_files.cpp).
    // Switches to the configuration of a character's name, from memory, from
    // its file, or as a copy of the one in use. A name that cannot be a
    // configuration's file name changes nothing.
    void UseConfig(const std::string &name);
    // Reads the system file and makes the record it names current; some
    // record is current afterwards.
    void load_system_config_file();
    void load_xml_system_config(vusk_xml_reader &reader);
    // Adds the record of one single_config element, brought into range
    // (while a file is read, as read_records says).
    void load_xml_single_system_config(vusk_xml_reader &reader);
    // Writes the system list and hands every record's own file to the save.
    void save_xml_system_config(vusk_xml_writer &writer, background_save &save) const;

private:
    // Whether a refresh shows the values in the menus too.
    enum class menu_marks { shown, left };
    void refresh_prefs(menu_marks marks);
    void refresh_themes(menu_marks marks);

    void select_loaded_record();
    // Reads the records of a file. The record of the name asked for is
    // always taken; one of another name only over the record of its name or
    // into free room, so that reading never unloads a record for another
    // character. A file whose records did not all find room is kept aside
    // when it is next saved. False when there is no file to read.
    bool read_records(const std::string &path, const std::string &asked, bool has_declaration, const char *element,
                      void (TConfig::*load)(vusk_xml_reader &));
    bool read_record_file(const std::string &name);
    void read_system_file();
    // A record read from a file joins the list as read_records says.
    void take_record_read(const tqconfig &record);
    void refresh_after_switch();
    // The record becomes current, the most recently used.
    void make_current(tqconfig *record);
    // What unloading a changed record that finds no room for its settings
    // does with the writes the disk refused.
    enum class refused_writes { tried_again_first, left_to_their_schedule };
    // Saves the record least recently current but the current one to its
    // file in the background (unless unchanged since adopted), and forgets it.
    // Returns false when the record is left in memory for now: its settings
    // would wait for the disk beside the most that may, and it may wait
    // (waits_for_the_disk).
    bool unload_least_recently_used(refused_writes refused);
    // Whether a changed record that finds no room for its settings stays in
    // memory: up to the bound of the records held, and beyond it while
    // writes are on their way to the disk (tqconfig_bounds.h).
    bool waits_for_the_disk() const;
    // Unloads records while the list is full, at most a few for one record
    // added, so that records left in memory while the disk is behind leave
    // again one by one.
    void make_room();

    int read(int tqconfig::*member) const { return current ? current->*member : 0; }
    const std::string &read(std::string tqconfig::*member) const;
    // What every SETTING row's SetAccessor does.
    void set(int tqconfig::*member, int value);
    void reset_to(const tqconfig &defaults, default_reset reset);
    void store_font(const wxFont &font, std::string tqconfig::*description, int tqconfig::*size);

    void mark_pending() { config_update_pending = 1; }
    void show(menu_setting setting, int value);
    // Each setting's menu item shows its current value, unless the marks are
    // left.
    void show_values(menu_marks marks, std::initializer_list<menu_setting> settings);
    // Every setting with a menu item, in the table's order.
    void show_every_value();

    // While a file is read: the name of the record it is read for, and how
    // many records of other names found no room.
    const std::string *reading_for = nullptr;
    size_t records_refused = 0;
    std::vector<std::unique_ptr<tqconfig>> record_list;
    // The records from least to most recently current (or added).
    std::vector<const tqconfig *> use_order;
    tqconfig *current = nullptr;
    int system_audio = 1;
    config_effects *effects = nullptr;
};

#endif
