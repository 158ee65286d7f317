// The main frame's menu bar: its items and what each stands for. Almost
// every item maps to one setter of the configuration, which stores the
// value, shows it in the menu and does the visible work; the tables below say
// which.
#include "menus.h"

#include "command_line.h"
#include "menu_ids.h"
#include "tqconfig.h"
#include "vusk_background.h"
#include "vusk_theme.h"

#include <wx/menu.h>

#include <algorithm>

namespace {

// ---- What the items are ----

enum class menu_kind { none, check, frame_check, radio };

// The menu column of the settings table (settings_table.h), with each
// setting's getter and setter. A frame_check item is carried out by the
// frame itself (the automap's switches also show or dock the map).
struct setting_menu {
    menu_kind kind;
    menu_setting setting;
    int id;            // of a check item
    const char *label; // of a check item
    int (TConfig::*get)() const;
    void (TConfig::*set)(int);
};

#define MENU_CHECK(setting, id, label) menu_kind::check, menu_setting::setting, id, label
#define FRAME_CHECK(setting, id, label) menu_kind::frame_check, menu_setting::setting, id, label
#define MENU_RADIO(setting) menu_kind::radio, menu_setting::setting, 0, nullptr
#define NO_MENU menu_kind::none, menu_setting{}, 0, nullptr
#define VUSK_SETTING_MENU(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                          shortcut)                                                                          \
    {menu, &TConfig::Get##Accessor, &TConfig::Set##Accessor},
#define VUSK_INSTALLATION_MENU(Accessor, status, menu) {menu, &TConfig::Get##Accessor, &TConfig::Set##Accessor},
constexpr setting_menu setting_menus[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_MENU, VUSK_INSTALLATION_MENU)};
#undef VUSK_INSTALLATION_MENU
#undef VUSK_SETTING_MENU
#undef NO_MENU
#undef MENU_RADIO
#undef FRAME_CHECK
#undef MENU_CHECK

constexpr bool is_check_item(const setting_menu &item)
{
    return item.kind == menu_kind::check || item.kind == menu_kind::frame_check;
}

const setting_menu *find_check_item(int id)
{
    for (const setting_menu &item : setting_menus)
        if (is_check_item(item) && item.id == id)
            return &item;
    return nullptr;
}

const setting_menu *find_setting_menu(menu_setting setting)
{
    for (const setting_menu &item : setting_menus)
        if (item.kind != menu_kind::none && item.setting == setting)
            return &item;
    return nullptr;
}

struct radio_choice {
    int id;
    const char *label;
    int value;
};

struct radio_group {
    menu_setting setting;
    const radio_choice *choices;
    size_t count;
    // What a value outside the group stands for.
    int fallback;
};

constexpr radio_choice layout_choices[] = {
    {id_menu_view_layout_embedded, "Embedded", layout_embedded},
    {id_menu_view_layout_left, "Left Top", layout_left_top},
    {id_menu_view_layout_left_bottom, "Left Bottom", layout_left_bottom},
};

constexpr radio_choice group_choices[] = {
    {id_menu_view_group_status_off, "Off", 0},
    {id_menu_view_group_status_vertical, "Vertical", 1},
    {id_menu_view_group_status_horizontal, "Horizontal", 2},
};

constexpr radio_choice button_choices[] = {
    {id_menu_theme_buttons_red, "Red", theme_code_red},
    {id_menu_theme_buttons_brown, "Brown", theme_code_brown},
    {id_menu_theme_buttons_yellow, "Yellow", theme_code_yellow},
    {id_menu_theme_buttons_ygreen, "YGreen", theme_code_ygreen},
    {id_menu_theme_buttons_green, "Green", theme_code_green},
    {id_menu_theme_buttons_cyan, "Cyan", theme_code_cyan},
    {id_menu_theme_buttons_blue, "Blue", theme_code_blue},
    {id_menu_theme_buttons_purple, "Purple", theme_code_purple},
    {id_menu_theme_buttons_grey, "Grey", theme_code_grey},
};

constexpr radio_choice background_choices[] = {
    {id_menu_theme_background_red, "Red", theme_code_red},
    {id_menu_theme_background_brown, "Brown", theme_code_brown},
    {id_menu_theme_background_yellow, "Yellow", theme_code_yellow},
    {id_menu_theme_background_ygreen, "YGreen", theme_code_ygreen},
    {id_menu_theme_background_green, "Green", theme_code_green},
    {id_menu_theme_background_cyan, "Cyan", theme_code_cyan},
    {id_menu_theme_background_blue, "Blue", theme_code_blue},
    {id_menu_theme_background_purple, "Purple", theme_code_purple},
    {id_menu_theme_background_grey, "Grey", theme_code_grey},
};

constexpr radio_choice style_choices[] = {
    {id_menu_theme_bg_none, "None", background_style_black},
    {id_menu_theme_bg_solid, "Solid", background_style_solid},
    {id_menu_theme_bg_maze1, "Maze1", background_style_maze1},
    {id_menu_theme_bg_maze2, "Maze2", background_style_maze2},
    {id_menu_theme_bg_bubbles, "Bubbles", background_style_circles},
};

template <size_t count> constexpr size_t size_of(const radio_choice (&)[count])
{
    return count;
}

const radio_group radio_groups[] = {
    {menu_setting::layout, layout_choices, size_of(layout_choices), layout_embedded},
    {menu_setting::group_status, group_choices, size_of(group_choices), 0},
    {menu_setting::button_theme, button_choices, size_of(button_choices), theme_code_blue},
    {menu_setting::background_color, background_choices, size_of(background_choices), theme_code_blue},
    {menu_setting::background_style, style_choices, size_of(style_choices), background_style_maze2},
};

const radio_group *find_group(menu_setting setting)
{
    for (const radio_group &group : radio_groups)
        if (group.setting == setting)
            return &group;
    return nullptr;
}

int radio_id(const radio_group &group, int value)
{
    for (size_t i = 0; i < group.count; ++i)
        if (group.choices[i].value == value)
            return group.choices[i].id;
    return 0;
}

// The font colours are a radio group that the menus alone set.
struct font_colour_choice {
    int id;
    const char *label;
    int code;
    const char *word; // as the player is told
};

constexpr font_colour_choice font_colour_choices[] = {
    {id_menu_view_font_color_default, "Default", 0, "default"},
    {id_menu_view_font_color_zmud, "ZMud Font Colors", 2, "ZMud-style"},
    {id_menu_view_font_color_gmud, "GMud Font Colors", 3, "GMud-style"},
    {id_menu_view_font_color_bright, "Bright Font Colors", 1, "bright"},
};

const font_colour_choice *find_font_colour(int id)
{
    for (const font_colour_choice &choice : font_colour_choices)
        if (choice.id == id)
            return &choice;
    return nullptr;
}

// ---- Web pages ----

constexpr int help_service_port = 8080;

enum class web_endpoint { site, help_service };

struct web_page {
    int id;
    const char *label;
    web_endpoint endpoint;
    const char *path;
    const char *message;
};

constexpr web_page web_pages[] = {
    {id_menu_help_web_main, "Varn Ossic &Web Site", web_endpoint::site, "/?tq",
     "\nOpening the main Varn Ossic web page in your browser..."},
    {id_menu_help_web_forum, "Player &Forums", web_endpoint::site, "/forum",
     "\nOpening the Varn Ossic Player Forums in your browser..."},
    {id_menu_help_web_help, "&Help Search", web_endpoint::help_service, "/help",
     "\nOpening the help page search engine in your browser..."},
    {0, nullptr, web_endpoint::site, nullptr, nullptr},
    {id_menu_help_web_maps, "&Maps", web_endpoint::site, "/maps?tq",
     "\nOpening the Varn Ossic Maps page in your web browser..."},
    {id_menu_help_web_quests, "&Quests", web_endpoint::site, "/quests?tq",
     "\nOpening the Varn Ossic Quest Guides in your web browser..."},
    {id_menu_help_web_skills, "S&pells and Skills", web_endpoint::help_service, "/spells",
     "\nOpening the Varn Ossic Spells and Skills page in your web browser..."},
    {id_menu_help_web_shops, "&Shops and Stores", web_endpoint::help_service, "/shops",
     "\nOpening the Varn Ossic Stores and Shops page in your web browser..."},
    {0, nullptr, web_endpoint::site, nullptr, nullptr},
    {id_menu_help_web_rules, "Game &Rules", web_endpoint::help_service, "/rules",
     "\nOpening the Varn Ossic Rules in your web browser..."},
    {id_menu_help_web_commands, "All &Commands", web_endpoint::help_service, "/commands",
     "\nOpening the Varn Ossic Command list in your web browser..."},
    {id_menu_help_web_socials, "S&ocials", web_endpoint::help_service, "/socials",
     "\nOpening the Varn Ossic Social list in your web browser..."},
    {id_menu_help_web_faq, "F.A.&Q.", web_endpoint::help_service, "/faq",
     "\nOpening the Varn Ossic FAQ in your web browser..."},
    {0, nullptr, web_endpoint::site, nullptr, nullptr},
    {id_menu_help_web_changes, "Recent &Changes", web_endpoint::help_service, "/changes",
     "\nOpening the Varn Ossic Changelog in your web browser..."},
};

// ---- Building ----

struct plain_item {
    int id; // 0: a separator
    const char *label;
};

constexpr plain_item separator{0, nullptr};

constexpr plain_item file_items[] = {
    {id_menu_file_connect, "&Connect"}, {id_menu_file_disconnect, "&Disconnect"}, separator,
    {id_menu_file_logfile_save, "&Save Logfile"}, separator,
    {id_menu_view_clear_scrollback, "C&lear Scrollback"}, separator,
    {id_menu_file_quit, "E&xit"},
};

// Check items by id, 0 for a separator.
constexpr int preference_checks[] = {
    id_menu_pref_status_bar, id_menu_pref_sky_bar, id_menu_pref_hpbar, id_menu_pref_enemy_hpbar,
    id_menu_pref_exp_display, id_menu_pref_colorflash, 0, id_menu_pref_channel_window, id_menu_pref_channel_dupe, 0,
    id_menu_view_popup_display, id_menu_view_fkey_buttons, id_menu_view_direction_buttons, id_menu_view_hint_buttons,
    0, id_menu_view_command_pushthrough, id_menu_view_local_echo, id_menu_view_command_separator,
    id_menu_view_keypad_walking, 0, id_menu_view_mw_scrollbar, id_menu_view_locking_scrollback,
    id_menu_view_url_hotlinking, 0, id_menu_view_audio_enable, 0,
};

constexpr plain_item preference_items[] = {{id_menu_pref_default, "Use Default Preferences"}};

constexpr plain_item theme_items[] = {{id_menu_theme_default, "Default Color/Background"}, separator};
constexpr plain_item font_size_items[] = {{id_menu_view_font_incr, "Bigger Font"},
                                          {id_menu_view_font_decr, "Smaller Font"}};
constexpr int font_checks[] = {id_menu_pref_compact_mode, 0};
constexpr plain_item font_dialog_items[] = {{id_menu_view_change_font, "Change &Font"},
                                            {id_menu_view_change_button_font, "Change &Button Font"}};

constexpr plain_item online_map_items[] = {{id_menu_help_web_maps, "&Online Maps"}, separator};
constexpr int automap_checks[] = {id_menu_view_automap_display, id_menu_view_automap_docked, 0};
constexpr plain_item map_size_items[] = {
    {id_menu_view_map_big, "Big Map"},  {id_menu_view_map_med, "Medium Map"},
    {id_menu_view_map_small, "Small Map"}, separator,
    {id_menu_view_map_incr, "Increase Map Size"}, {id_menu_view_map_decr, "Decrease Map Size"},
};

constexpr plain_item help_items[] = {
    {id_menu_help_kb_shortcuts, "&Keyboard Shortcuts"}, {id_menu_help_mud_basic_help, "&Basic Commands"},
    {id_menu_help_mud_more_help, "&More Commands"}, separator, {id_menu_help_update, "&Check for Updates"},
    separator, {id_menu_help_about, "&About"},
};

constexpr bool bound(int id)
{
    return id == 0 || is_bound_menu_id(id);
}

template <typename item> constexpr bool bound(const item &entry)
{
    return bound(entry.id);
}

template <typename item, size_t count> constexpr bool all_bound(const item (&items)[count])
{
    for (const item &entry : items)
        if (!bound(entry))
            return false;
    return true;
}

// Every item the menus are built from reaches the frame's dispatcher.
static_assert(all_bound(file_items) && all_bound(preference_checks) && all_bound(preference_items) &&
              all_bound(theme_items) && all_bound(font_size_items) && all_bound(font_checks) &&
              all_bound(font_dialog_items) && all_bound(online_map_items) && all_bound(automap_checks) &&
              all_bound(map_size_items) && all_bound(help_items) && all_bound(setting_menus) &&
              all_bound(layout_choices) && all_bound(group_choices) && all_bound(button_choices) &&
              all_bound(background_choices) && all_bound(style_choices) && all_bound(font_colour_choices) &&
              all_bound(web_pages));

template <size_t count> constexpr bool listed_in(int id, const int (&ids)[count])
{
    for (int listed : ids)
        if (listed == id)
            return true;
    return false;
}

constexpr bool every_check_item_placed()
{
    for (const setting_menu &item : setting_menus)
        if (is_check_item(item) && !listed_in(item.id, preference_checks) && !listed_in(item.id, font_checks) &&
            !listed_in(item.id, automap_checks))
            return false;
    return true;
}

// A setting's check item would otherwise be dispatched but shown in no menu.
static_assert(every_check_item_placed(), "a check item of the settings table has no place in a menu");

wxString label_of(const char *label)
{
    return wxString::FromAscii(label);
}

template <size_t count> void append_plain(wxMenu &menu, const plain_item (&items)[count])
{
    for (const plain_item &item : items) {
        if (item.id == 0)
            menu.AppendSeparator();
        else
            menu.Append(item.id, label_of(item.label));
    }
}

template <size_t count> void append_checks(wxMenu &menu, const int (&ids)[count])
{
    for (int id : ids) {
        if (id == 0)
            menu.AppendSeparator();
        else
            menu.AppendCheckItem(id, label_of(find_check_item(id)->label));
    }
}

wxMenu *radio_menu(const radio_group &group)
{
    auto *menu = new wxMenu;
    for (size_t i = 0; i < group.count; ++i)
        menu->AppendRadioItem(group.choices[i].id, label_of(group.choices[i].label));
    return menu;
}

wxMenu *file_menu()
{
    auto *menu = new wxMenu;
    append_plain(*menu, file_items);
    return menu;
}

wxMenu *preferences_menu()
{
    auto *menu = new wxMenu;
    menu->AppendSubMenu(radio_menu(*find_group(menu_setting::layout)), wxS("Layout"));
    menu->AppendSubMenu(radio_menu(*find_group(menu_setting::group_status)), wxS("Group Display"));
    append_checks(*menu, preference_checks);
    append_plain(*menu, preference_items);
    return menu;
}

wxMenu *themes_menu()
{
    auto *menu = new wxMenu;
    menu->AppendSubMenu(radio_menu(*find_group(menu_setting::button_theme)), wxS("Button Colors"));
    menu->AppendSubMenu(radio_menu(*find_group(menu_setting::background_color)), wxS("Background Colors"));
    menu->AppendSubMenu(radio_menu(*find_group(menu_setting::background_style)), wxS("Background Styles"));
    append_plain(*menu, theme_items);
    auto *font_colours = new wxMenu;
    for (const font_colour_choice &choice : font_colour_choices)
        font_colours->AppendRadioItem(choice.id, label_of(choice.label));
    menu->AppendSubMenu(font_colours, wxS("Font Colors"));
    append_plain(*menu, font_size_items);
    append_checks(*menu, font_checks);
    append_plain(*menu, font_dialog_items);
    return menu;
}

wxMenu *maps_menu()
{
    auto *menu = new wxMenu;
    append_plain(*menu, online_map_items);
    append_checks(*menu, automap_checks);
    append_plain(*menu, map_size_items);
    return menu;
}

wxMenu *online_info_menu()
{
    auto *menu = new wxMenu;
    for (const web_page &page : web_pages) {
        if (page.id == 0)
            menu->AppendSeparator();
        else
            menu->Append(page.id, label_of(page.label));
    }
    return menu;
}

wxMenu *help_menu()
{
    auto *menu = new wxMenu;
    append_plain(*menu, help_items);
    return menu;
}

} // namespace

wxMenu *windows_menu()
{
    auto *menu = new wxMenu;
    menu->Append(id_menu_windows_not_connected, wxS("Not Connected"));
    menu->Enable(id_menu_windows_not_connected, false);
    return menu;
}

namespace {

constexpr int channel_height_step = 5;
constexpr int input_height_step = 12;

} // namespace

// ---- The tables' answers ----

menu_check menu_item_for(menu_setting setting, int value)
{
    if (const radio_group *group = find_group(setting)) {
        int id = radio_id(*group, value);
        if (id == 0)
            id = radio_id(*group, group->fallback);
        return {id, true};
    }
    if (const setting_menu *item = find_setting_menu(setting); item != nullptr && is_check_item(*item))
        return {item->id, value != 0};
    return {};
}

bool menu_toggle_for(int id, menu_setting *setting)
{
    const setting_menu *item = find_check_item(id);
    if (item == nullptr)
        return false;
    *setting = item->setting;
    return true;
}

int toggled(int value)
{
    return value == 0 ? 1 : 0;
}

bool menu_radio_for(int id, menu_setting *setting, int *value)
{
    for (const radio_group &group : radio_groups) {
        for (size_t i = 0; i < group.count; ++i) {
            if (group.choices[i].id == id) {
                *setting = group.setting;
                *value = group.choices[i].value;
                return true;
            }
        }
    }
    return false;
}

void append_main_menus(wxMenuBar &bar)
{
    bar.Append(file_menu(), wxS("&File"));
    bar.Append(preferences_menu(), wxS("&Preferences"));
    bar.Append(themes_menu(), wxS("&Themes"));
    bar.Append(windows_menu(), wxS("&Windows"));
    bar.Append(maps_menu(), wxS("&Maps"));
    bar.Append(online_info_menu(), wxS("Online &Info"));
    bar.Append(help_menu(), wxS("&Help"));
}

bool web_page_for(int id, std::string *url, std::string *message)
{
    for (const web_page &page : web_pages) {
        if (page.id != id || id == 0)
            continue;
        if (page.endpoint == web_endpoint::site)
            *url = web_page_url(page.path);
        else
            *url = std::string("http://") + connect_address + ":" + std::to_string(help_service_port) + page.path;
        *message = page.message;
        return true;
    }
    return false;
}

int bigger_channel_height(int height)
{
    return std::min(height + channel_height_step, channel_height_max);
}

int smaller_channel_height(int height)
{
    return std::max(height - channel_height_step, channel_height_min);
}

int bigger_input_height(int height)
{
    return std::min(height + input_height_step, input_height_max);
}

int smaller_input_height(int height)
{
    return std::max(height - input_height_step, input_height_min);
}

std::vector<menu_check> setting_marks(const TConfig &config)
{
    std::vector<menu_check> marks;
    for (const setting_menu &item : setting_menus)
        if (item.kind != menu_kind::none)
            marks.push_back(menu_item_for(item.setting, (config.*item.get)()));
    for (const font_colour_choice &choice : font_colour_choices)
        if (choice.code == config.GetFontColors())
            marks.push_back({choice.id, true});
    return marks;
}

menu_check toggle_setting_of(int id, TConfig &config)
{
    menu_setting setting;
    if (!menu_toggle_for(id, &setting))
        return {};
    const setting_menu &item = *find_setting_menu(setting);
    (config.*item.set)(toggled((config.*item.get)()));
    return menu_item_for(item.setting, (config.*item.get)());
}

bool choose_setting_of(int id, TConfig &config)
{
    menu_setting setting;
    int value = 0;
    if (!menu_radio_for(id, &setting, &value))
        return false;
    (config.*find_setting_menu(setting)->set)(value);
    return true;
}

bool font_colour_for(int id, int *code, const char **word)
{
    const font_colour_choice *choice = find_font_colour(id);
    if (choice == nullptr)
        return false;
    *code = choice->code;
    *word = choice->word;
    return true;
}
