#ifndef VUSK_TQCONFIG_H
#define VUSK_TQCONFIG_H

// The configuration: named records of the player's settings, one of them
// current, reached through the process-wide TConfig.

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "config_effects.h"
#include "vusk_theme.h"

// Values of the Layout setting; any other value lays out as embedded.
enum mw_layout_choice { layout_embedded = 0, layout_left_top = 1, layout_left_bottom = 2 };

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

// Popup names come from the server; a record remembers at most this many.
constexpr int popup_list_capacity = 100;
// Every character name the server logs in with can add a record.
constexpr int record_list_capacity = 200;

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

// The settings of a record, in declaration order (the files list them in
// another order, tqconfig_fields).
struct tqconfig_settings {
    std::string name;
    std::string font;
    int font_size = default_font_size;
    std::string button_font;
    int button_font_size = default_button_font_size;
    int keypad_walking = 1;
    int url_hotlinking = 1;
    int compact_mode = 0;
    int cmd_pushthrough = 0;
    int local_echo = 1;
    int cmd_separator = 1;
    int button_tooltips = 0;
    int direction_button_enable = 0;
    int hint_button_enable = 1;
    int fkey_button_display = 0;
    int status_bar = 1;
    int sky_bar = 1;
    int exp_display = 1;
    int hp_display = 0;
    int hpbar_enable = 1;
    int enemy_hp_display = 1;
    int enemy_hpbar_enable = 1;
    int popup_display = 1;
    int mw_scrollbar_enable = 1;
    int locking_scrollback_enable = 0;
    int group_status_display = 1;
    int current_layout = 2;
    int current_theme = theme_code_yellow;
    int current_background_theme = theme_code_cyan;
    int font_colors_setting = 0;
    int theme_bg_setting = 3;
    int automap_docked = 1;
    int automap_display = 1;
    int automap_size = automap_size_default;
    int input_height = 48;
    int channel_window_enable = 0;
    int channel_window_height = 25;
    int channel_window_dupe = 1;
    int colorflash_enable = 1;
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

private:
    std::deque<popup_data> popup_list;
};

// How the sanity step treats a number read from a file.
enum class sanity_rule {
    none,       // taken as it is
    bit,        // reduced to its lowest bit
    range,      // outside low..high it becomes fallback
    clamp,      // brought to the nearer end of low..high
    odd_range,  // the next odd value, brought into low..high (both odd)
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

constexpr int tqconfig_field_count = 39;
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
    // list. Returns the stored record, or null when the list is full.
    tqconfig *add(const tqconfig &record);
    // Makes the record of that name current (none when there is no such
    // record); returns whether one was found.
    bool select(const std::string &name);
    tqconfig *current_record() const { return current; }
    const std::vector<std::unique_ptr<tqconfig>> &records() const { return record_list; }

    // The running program's side of the setters; null until the main frame
    // exists.
    void set_effects(config_effects *effects) { this->effects = effects; }

    // Raised when a setting that the settings status line reports changes;
    // the main tick sends that line while the player is logged in.
    int config_update_pending = 0;

    const std::string &GetName() const;
    const std::string &GetFontName() const;
    const std::string &GetButtonFontName() const;
    int GetFontSize() const { return read(&tqconfig::font_size); }
    int GetButtonFontSize() const { return read(&tqconfig::button_font_size); }
    int GetKeypadWalking() const { return read(&tqconfig::keypad_walking); }
    int GetUrlHotlinking() const { return read(&tqconfig::url_hotlinking); }
    int GetCompactMode() const { return read(&tqconfig::compact_mode); }
    int GetLocalEcho() const { return read(&tqconfig::local_echo); }
    int GetCommandSeparator() const { return read(&tqconfig::cmd_separator); }
    int GetCommandPushthrough() const { return read(&tqconfig::cmd_pushthrough); }
    int GetHintButton() const { return read(&tqconfig::hint_button_enable); }
    int GetDirectionButton() const { return read(&tqconfig::direction_button_enable); }
    int GetFkeyButton() const { return read(&tqconfig::fkey_button_display); }
    int GetButtonTooltips() const { return read(&tqconfig::button_tooltips); }
    int GetStatusBar() const { return read(&tqconfig::status_bar); }
    int GetSkyBar() const { return read(&tqconfig::sky_bar); }
    int GetExpDisplay() const { return read(&tqconfig::exp_display); }
    int GetHpbarEnable() const { return read(&tqconfig::hpbar_enable); }
    int GetEnemyHpbarEnable() const { return read(&tqconfig::enemy_hpbar_enable); }
    int GetGroupStatus() const { return read(&tqconfig::group_status_display); }
    int GetPopupDisplay() const { return read(&tqconfig::popup_display); }
    int GetLockingScrollback() const { return read(&tqconfig::locking_scrollback_enable); }
    int GetMwScrollbar() const { return read(&tqconfig::mw_scrollbar_enable); }
    int GetLayout() const { return read(&tqconfig::current_layout); }
    int GetButtonTheme() const { return read(&tqconfig::current_theme); }
    int GetBackgroundColor() const { return read(&tqconfig::current_background_theme); }
    int GetFontColors() const { return read(&tqconfig::font_colors_setting); }
    int GetBackgroundStyle() const { return read(&tqconfig::theme_bg_setting); }
    int GetAutomapDocked() const { return read(&tqconfig::automap_docked); }
    int GetAutomapEnable() const { return read(&tqconfig::automap_display); }
    int GetAutomapSize() const { return read(&tqconfig::automap_size); }
    int GetInputHeight() const { return read(&tqconfig::input_height); }
    int GetChannelWindow() const { return read(&tqconfig::channel_window_enable); }
    int GetChannelHeight() const { return read(&tqconfig::channel_window_height); }
    int GetChannelDupe() const { return read(&tqconfig::channel_window_dupe); }
    int GetColorFlash() const { return read(&tqconfig::colorflash_enable); }
    int GetSystemAudio() const { return system_audio; }

    void SetName(const std::string &name);
    void SetFont(const wxFont &font);
    void SetButtonFont(const wxFont &font);
    void SetKeypadWalking(int value);
    void SetUrlHotlinking(int value);
    void SetLocalEcho(int value);
    void SetCommandPushthrough(int value);
    void SetLockingScrollback(int value);
    void SetCommandSeparator(int value);
    void SetColorFlash(int value);
    void SetCompactMode(int value);
    void SetChannelDupe(int value);
    void SetAutomapEnable(int value);
    void SetAutomapDocked(int value);
    void SetFontColors(int value);
    void SetButtonTooltips(int value);
    // An even size becomes the next odd one; sizes are kept within the
    // automap's cell sizes.
    void SetAutomapSize(int value);
    void SetInputHeight(int value);
    void SetChannelHeight(int value);
    void SetMwScrollbar(int value);
    void SetHintButton(int value);
    void SetDirectionButton(int value);
    void SetFkeyButton(int value);
    void SetPopupDisplay(int value);
    void SetChannelWindow(int value);
    void SetStatusBar(int value);
    void SetSkyBar(int value);
    void SetExpDisplay(int value);
    void SetHpbarEnable(int value);
    void SetEnemyHpbarEnable(int value);
    void SetGroupStatus(int value);
    void SetLayout(int value);
    void SetBackgroundStyle(int value);
    void SetBackgroundColor(int value);
    void SetButtonTheme(int value);
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
    // Adds the record of one single_config element, brought into range.
    void load_xml_single_system_config(vusk_xml_reader &reader);
    // Writes the system list and saves every record to its own file; returns
    // the failures, the first first.
    std::vector<std::string> save_xml_system_config(vusk_xml_writer &writer);

private:
    void select_loaded_record();
    void refresh_after_switch();

    int read(int tqconfig::*member) const { return current ? current->*member : 0; }
    const std::string &read(std::string tqconfig::*member) const;
    bool store(int tqconfig::*member, int value);
    bool store_if_changed(int tqconfig::*member, int value);
    void store_and_show(int tqconfig::*member, int value, menu_setting setting);
    bool change_and_show(int tqconfig::*member, int value, menu_setting setting);

    void mark_pending() { config_update_pending = 1; }
    void show(menu_setting setting, int value);
    void relayout();
    void show_status_display_if_logged_in();
    void show_status_bar_if_logged_in();
    void set_status_display_setting(int tqconfig::*member, int value, menu_setting setting, status_display_part part);

    std::vector<std::unique_ptr<tqconfig>> record_list;
    tqconfig *current = nullptr;
    int system_audio = 1;
    config_effects *effects = nullptr;
};

#endif
