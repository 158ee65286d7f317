#include "tqconfig.h"

#include "global_fonts.h"
#include "text_bytes.h"
#include "vusk_font.h"

#include <wx/font.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

char global_uuid[client_id_capacity] = "";

namespace {
const std::string no_record_text = "junk";

std::string description_of(const wxFont &font)
{
    return wx_to_bytes(font.GetNativeFontInfoDesc());
}

// Gives the font the face, style and weight of a description the toolkit
// accepts, else keeps its face; the size is taken in either case. A font that
// has them already keeps its glyphs.
void apply_description(vusk_font *font, const std::string &description, int point_size)
{
    if (font == nullptr)
        return;
    wxFont scratch;
    if (scratch.SetNativeFontInfo(bytes_to_wx(description))) {
        scratch.SetPointSize(point_size);
        font->bulk_change_font(scratch);
    } else if (font->GetPointSize() != point_size) {
        font->SetPointSize(point_size);
    }
}

tqconfig_field text_field(const char *element, std::string tqconfig::*member)
{
    return {element, member, nullptr, sanity_rule::none, 0, 0, 0};
}

tqconfig_field number_field(const char *element, int tqconfig::*member, sanity_rule rule = sanity_rule::none,
                            int low = 0, int high = 0, int fallback = 0)
{
    return {element, nullptr, member, rule, low, high, fallback};
}

tqconfig_field flag_field(const char *element, int tqconfig::*member)
{
    return number_field(element, member, sanity_rule::bit);
}

// The automap makes odd cell sizes; larger ones cost memory without end.
const tqconfig_field automap_size_field = number_field("automap_size", &tqconfig::automap_size,
                                                       sanity_rule::odd_range, automap_size_min, automap_size_max,
                                                       automap_size_default);

constexpr int last_layout = 2;

void copy_popup_name(popup_data &entry, const char *name)
{
    snprintf(entry.name, sizeof entry.name, "%s", name ? name : "");
}

template <class PopupList>
auto find_named(PopupList &list, const char *name) -> decltype(&list.front())
{
    if (name == nullptr)
        return nullptr;
    for (auto &entry : list)
        if (strncmp(entry.name, name, popup_name_capacity) == 0)
            return &entry;
    return nullptr;
}

} // namespace

const std::array<tqconfig_field, tqconfig_field_count> tqconfig_fields = {
    text_field("name", &tqconfig::name),
    text_field("font", &tqconfig::font),
    number_field("font_size", &tqconfig::font_size, sanity_rule::range, font_size_min, font_size_max,
                 default_font_size),
    text_field("button_font", &tqconfig::button_font),
    number_field("button_font_size", &tqconfig::button_font_size, sanity_rule::range, font_size_min,
                 font_size_max, default_button_font_size),
    flag_field("keypad_walking", &tqconfig::keypad_walking),
    flag_field("url_hotlinking", &tqconfig::url_hotlinking),
    flag_field("compact_mode", &tqconfig::compact_mode),
    flag_field("local_echo", &tqconfig::local_echo),
    flag_field("cmd_separator", &tqconfig::cmd_separator),
    flag_field("cmd_pushthrough", &tqconfig::cmd_pushthrough),
    flag_field("hint_button_enable", &tqconfig::hint_button_enable),
    flag_field("direction_button_enable", &tqconfig::direction_button_enable),
    flag_field("fkey_button_display", &tqconfig::fkey_button_display),
    flag_field("button_tooltips", &tqconfig::button_tooltips),
    flag_field("status_bar", &tqconfig::status_bar),
    flag_field("sky_bar", &tqconfig::sky_bar),
    flag_field("exp_display", &tqconfig::exp_display),
    flag_field("hpbar_enable", &tqconfig::hpbar_enable),
    flag_field("hp_display", &tqconfig::hp_display),
    flag_field("enemy_hpbar_enable", &tqconfig::enemy_hpbar_enable),
    flag_field("enemy_hp_display", &tqconfig::enemy_hp_display),
    number_field("group_status_display", &tqconfig::group_status_display, sanity_rule::range, 0, 2, 0),
    flag_field("popup_display", &tqconfig::popup_display),
    flag_field("locking_scrollback_enable", &tqconfig::locking_scrollback_enable),
    flag_field("mw_scrollbar_enable", &tqconfig::mw_scrollbar_enable),
    number_field("current_layout", &tqconfig::current_layout, sanity_rule::clamp, 0, last_layout),
    number_field("current_theme", &tqconfig::current_theme),
    number_field("current_background_theme", &tqconfig::current_background_theme),
    number_field("font_colors_setting", &tqconfig::font_colors_setting, sanity_rule::range, 0, 3, 0),
    number_field("theme_bg_setting", &tqconfig::theme_bg_setting, sanity_rule::range, 0, 4, 3),
    flag_field("automap_docked", &tqconfig::automap_docked),
    flag_field("automap_display", &tqconfig::automap_display),
    automap_size_field,
    number_field("input_height", &tqconfig::input_height, sanity_rule::range, input_height_min, input_height_max, 48),
    flag_field("channel_window_enable", &tqconfig::channel_window_enable),
    number_field("channel_window_height", &tqconfig::channel_window_height, sanity_rule::range, channel_height_min, channel_height_max, 25),
    flag_field("channel_window_dupe", &tqconfig::channel_window_dupe),
    flag_field("colorflash_enable", &tqconfig::colorflash_enable),
};

int sane_value(const tqconfig_field &field, int value)
{
    bool outside = value < field.low || value > field.high;
    switch (field.rule) {
    case sanity_rule::none:
        return value;
    case sanity_rule::bit:
        return value & 1;
    case sanity_rule::range:
        return outside ? field.fallback : value;
    case sanity_rule::clamp:
        return value < field.low ? field.low : value > field.high ? field.high : value;
    case sanity_rule::odd_range:
        return std::clamp(value | 1, field.low, field.high);
    }
    return value;
}

int sane_automap_size(int cell_size)
{
    return sane_value(automap_size_field, cell_size);
}

tqconfig::tqconfig()
{
    font_size = global_font_size;
    if (global_font)
        font = description_of(*global_font);
    if (global_button_small_font) {
        button_font = description_of(*global_button_small_font);
        button_font_size = global_button_small_font->GetPointSize();
    }
}

tqconfig::tqconfig(const tqconfig &other) : tqconfig_settings(other)
{
    for (const popup_data &entry : other.popup_list)
        popup_list.push_front(entry);
}

tqconfig &tqconfig::operator=(const tqconfig &other)
{
    if (this == &other)
        return *this;
    tqconfig_settings::operator=(other);
    popup_list.clear();
    for (const popup_data &entry : other.popup_list)
        popup_list.push_front(entry);
    return *this;
}

void tqconfig::sanity_check_system_config()
{
    for (const tqconfig_field &field : tqconfig_fields)
        if (field.number)
            this->*field.number = sane_value(field, this->*field.number);
}

void tqconfig::push_popup(const popup_data &entry)
{
    popup_list.push_front(entry);
    popup_list.front().name[popup_name_capacity - 1] = '\0';
    if (popup_list.size() > static_cast<size_t>(popup_list_capacity))
        popup_list.pop_back();
}

void tqconfig::save_popup(const popup_data &entry)
{
    if (popup_data *known = find_named(popup_list, entry.name))
        *known = entry;
    else
        push_popup(entry);
}

const popup_data *tqconfig::find_popup(const char *name) const
{
    return find_named(popup_list, name);
}

TConfig *TConfig::Instance()
{
    static TConfig *const instance = new TConfig;
    return instance;
}

tqconfig *TConfig::get(const std::string &name) const
{
    for (const std::unique_ptr<tqconfig> &record : record_list)
        if (record->name == name)
            return record.get();
    return nullptr;
}

tqconfig *TConfig::add(const tqconfig &record)
{
    if (tqconfig *known = get(record.name)) {
        *known = record;
        return known;
    }
    if (record_list.size() >= static_cast<size_t>(record_list_capacity))
        return nullptr;
    record_list.push_back(std::make_unique<tqconfig>(record));
    return record_list.back().get();
}

bool TConfig::select(const std::string &name)
{
    current = get(name);
    return current != nullptr;
}

const std::string &TConfig::read(std::string tqconfig::*member) const
{
    return current ? current->*member : no_record_text;
}

const std::string &TConfig::GetName() const { return read(&tqconfig::name); }
const std::string &TConfig::GetFontName() const { return read(&tqconfig::font); }
const std::string &TConfig::GetButtonFontName() const { return read(&tqconfig::button_font); }

bool TConfig::store(int tqconfig::*member, int value)
{
    if (current == nullptr)
        return false;
    current->*member = value;
    return true;
}

bool TConfig::store_if_changed(int tqconfig::*member, int value)
{
    return current != nullptr && current->*member != value && store(member, value);
}

void TConfig::store_and_show(int tqconfig::*member, int value, menu_setting setting)
{
    if (store(member, value))
        show(setting, value);
}

bool TConfig::change_and_show(int tqconfig::*member, int value, menu_setting setting)
{
    if (!store_if_changed(member, value))
        return false;
    show(setting, value);
    return true;
}

void TConfig::show(menu_setting setting, int value)
{
    if (effects)
        effects->show_setting(setting, value);
}

void TConfig::relayout()
{
    if (effects == nullptr)
        return;
    effects->resize();
    effects->refresh();
}

void TConfig::show_status_display_if_logged_in()
{
    if (effects && effects->logged_in())
        effects->show_status_display(GetExpDisplay() || GetHpbarEnable() || GetEnemyHpbarEnable());
}

void TConfig::show_status_bar_if_logged_in()
{
    if (effects && effects->logged_in())
        effects->show_status_bar(GetStatusBar() != 0);
}

void TConfig::SetName(const std::string &name)
{
    if (current)
        current->name = name;
}

void TConfig::SetFont(const wxFont &font)
{
    if (current == nullptr)
        return;
    current->font = description_of(font);
    current->font_size = font.GetPointSize();
}

void TConfig::SetButtonFont(const wxFont &font)
{
    if (current == nullptr)
        return;
    current->button_font = description_of(font);
    current->button_font_size = font.GetPointSize();
}

void TConfig::SetKeypadWalking(int value)
{
    store_and_show(&tqconfig::keypad_walking, value, menu_setting::keypad_walking);
}

void TConfig::SetUrlHotlinking(int value)
{
    store_and_show(&tqconfig::url_hotlinking, value, menu_setting::url_hotlinking);
}

void TConfig::SetLocalEcho(int value)
{
    store_and_show(&tqconfig::local_echo, value, menu_setting::local_echo);
}

void TConfig::SetCommandPushthrough(int value)
{
    store_and_show(&tqconfig::cmd_pushthrough, value, menu_setting::command_pushthrough);
}

void TConfig::SetLockingScrollback(int value)
{
    store_and_show(&tqconfig::locking_scrollback_enable, value, menu_setting::locking_scrollback);
}

void TConfig::SetCommandSeparator(int value)
{
    if (!current)
        return;
    store_and_show(&tqconfig::cmd_separator, value, menu_setting::command_separator);
    mark_pending();
}

void TConfig::SetColorFlash(int value)
{
    if (!current)
        return;
    store_and_show(&tqconfig::colorflash_enable, value, menu_setting::colorflash);
    mark_pending();
}

void TConfig::SetCompactMode(int value)
{
    if (!current)
        return;
    store_and_show(&tqconfig::compact_mode, value, menu_setting::compact_mode);
    if (effects)
        effects->global_font_resync();
}

void TConfig::SetChannelDupe(int value)
{
    if (store(&tqconfig::channel_window_dupe, value))
        mark_pending();
}

void TConfig::SetAutomapEnable(int value)
{
    if (store(&tqconfig::automap_display, value))
        mark_pending();
}

void TConfig::SetAutomapDocked(int value)
{
    if (store(&tqconfig::automap_docked, value))
        mark_pending();
}

void TConfig::SetFontColors(int value)
{
    if (store(&tqconfig::font_colors_setting, value))
        mark_pending();
}

void TConfig::SetButtonTooltips(int value) { store(&tqconfig::button_tooltips, value); }
void TConfig::SetAutomapSize(int value) { store(&tqconfig::automap_size, sane_automap_size(value)); }
void TConfig::SetInputHeight(int value) { store(&tqconfig::input_height, value); }
void TConfig::SetChannelHeight(int value) { store(&tqconfig::channel_window_height, value); }

void TConfig::SetMwScrollbar(int value)
{
    if (!change_and_show(&tqconfig::mw_scrollbar_enable, value, menu_setting::mw_scrollbar) || !effects)
        return;
    effects->reset_scrollbars();
    effects->refresh();
}

void TConfig::SetHintButton(int value)
{
    if (!change_and_show(&tqconfig::hint_button_enable, value, menu_setting::hint_buttons))
        return;
    relayout();
    mark_pending();
}

void TConfig::SetDirectionButton(int value)
{
    if (!change_and_show(&tqconfig::direction_button_enable, value, menu_setting::direction_buttons))
        return;
    relayout();
    mark_pending();
}

void TConfig::SetFkeyButton(int value)
{
    if (!change_and_show(&tqconfig::fkey_button_display, value, menu_setting::fkey_buttons))
        return;
    relayout();
    mark_pending();
}

void TConfig::SetPopupDisplay(int value)
{
    if (!change_and_show(&tqconfig::popup_display, value, menu_setting::popup_display))
        return;
    relayout();
    mark_pending();
}

void TConfig::SetChannelWindow(int value)
{
    if (!store_if_changed(&tqconfig::channel_window_enable, value))
        return;
    if (effects)
        effects->show_channel_window(value != 0);
    relayout();
    mark_pending();
}

void TConfig::SetStatusBar(int value)
{
    if (!change_and_show(&tqconfig::status_bar, value, menu_setting::status_bar))
        return;
    show_status_bar_if_logged_in();
    relayout();
    mark_pending();
}

void TConfig::SetSkyBar(int value)
{
    if (!change_and_show(&tqconfig::sky_bar, value, menu_setting::sky_bar))
        return;
    if (effects && effects->logged_in())
        effects->show_sky_bar(value != 0);
    relayout();
    mark_pending();
}

void TConfig::set_status_display_setting(int tqconfig::*member, int value, menu_setting setting, status_display_part part)
{
    if (!change_and_show(member, value, setting))
        return;
    if (effects)
        effects->set_status_display_part(part, value);
    show_status_display_if_logged_in();
    relayout();
    mark_pending();
}

void TConfig::SetExpDisplay(int value)
{
    set_status_display_setting(&tqconfig::exp_display, value, menu_setting::exp_display, status_display_part::exp);
}

void TConfig::SetHpbarEnable(int value)
{
    set_status_display_setting(&tqconfig::hpbar_enable, value, menu_setting::hpbar, status_display_part::hpbar);
}

void TConfig::SetEnemyHpbarEnable(int value)
{
    set_status_display_setting(&tqconfig::enemy_hpbar_enable, value, menu_setting::enemy_hpbar,
                               status_display_part::enemy_hpbar);
}

void TConfig::SetGroupStatus(int value)
{
    if (!store_if_changed(&tqconfig::group_status_display, value))
        return;
    show(menu_setting::group_status, value);
    if (effects && value == 0)
        effects->hide_group_display();
    relayout();
    mark_pending();
}

void TConfig::SetLayout(int value)
{
    if (!store_if_changed(&tqconfig::current_layout, value))
        return;
    show(menu_setting::layout, value);
    if (effects)
        effects->menu_view_change_layout_helper();
    mark_pending();
}

void TConfig::SetBackgroundStyle(int value)
{
    if (!store_if_changed(&tqconfig::theme_bg_setting, value))
        return;
    show(menu_setting::background_style, value);
    if (effects)
        effects->global_change_theme(1);
    mark_pending();
}

void TConfig::SetBackgroundColor(int value)
{
    if (!store_if_changed(&tqconfig::current_background_theme, value))
        return;
    show(menu_setting::background_color, value);
    if (effects)
        effects->global_change_theme(1);
    mark_pending();
}

void TConfig::SetButtonTheme(int value)
{
    if (!store_if_changed(&tqconfig::current_theme, value))
        return;
    show(menu_setting::button_theme, value);
    if (effects)
        effects->global_change_theme(0);
    mark_pending();
}

void TConfig::SetSystemAudio(int value)
{
    if (value == system_audio)
        return;
    system_audio = value;
    mark_pending();
    if (effects == nullptr)
        return;
    if (value == 0)
        effects->stop_audio();
    else if (!effects->start_audio())
        system_audio = 0;
    show(menu_setting::audio_enable, system_audio);
}

void TConfig::RefreshPrefs()
{
    mark_pending();
    if (effects == nullptr)
        return;
    show(menu_setting::layout, GetLayout());
    show(menu_setting::group_status, GetGroupStatus());
    show(menu_setting::status_bar, GetStatusBar());
    show(menu_setting::sky_bar, GetSkyBar());
    show(menu_setting::hpbar, GetHpbarEnable());
    show(menu_setting::enemy_hpbar, GetEnemyHpbarEnable());
    show(menu_setting::exp_display, GetExpDisplay());
    show_status_display_if_logged_in();
    show_status_bar_if_logged_in();
    show(menu_setting::colorflash, GetColorFlash());
    show(menu_setting::channel_window, GetChannelWindow());
    show(menu_setting::channel_dupe, GetChannelDupe());
    effects->show_channel_window(GetChannelWindow() != 0);
    show(menu_setting::popup_display, GetPopupDisplay());
    show(menu_setting::fkey_buttons, GetFkeyButton());
    show(menu_setting::direction_buttons, GetDirectionButton());
    show(menu_setting::hint_buttons, GetHintButton());
    show(menu_setting::mw_scrollbar, GetMwScrollbar());
    show(menu_setting::compact_mode, GetCompactMode());
    show(menu_setting::automap_display, GetAutomapEnable());
    show(menu_setting::automap_docked, GetAutomapDocked());
    effects->set_automap_size(GetAutomapSize());
    effects->enable_menu_items();
    effects->enable_automap();
    effects->reset_scrollbars();
}

void TConfig::RefreshThemes()
{
    mark_pending();
    if (effects == nullptr)
        return;
    show(menu_setting::button_theme, GetButtonTheme());
    show(menu_setting::background_color, GetBackgroundColor());
    show(menu_setting::background_style, GetBackgroundStyle());
    effects->global_change_theme(0);
}

void TConfig::UseDefaultPrefs()
{
    if (current == nullptr)
        return;
    const tqconfig defaults;
    for (int tqconfig::*member :
         {&tqconfig::current_layout, &tqconfig::hpbar_enable, &tqconfig::enemy_hpbar_enable, &tqconfig::status_bar,
          &tqconfig::sky_bar, &tqconfig::exp_display, &tqconfig::group_status_display, &tqconfig::popup_display,
          &tqconfig::fkey_button_display, &tqconfig::direction_button_enable, &tqconfig::hint_button_enable,
          &tqconfig::mw_scrollbar_enable, &tqconfig::automap_display, &tqconfig::automap_docked,
          &tqconfig::automap_size, &tqconfig::channel_window_enable, &tqconfig::channel_window_height})
        current->*member = defaults.*member;
    SetCommandPushthrough(defaults.cmd_pushthrough);
    SetLocalEcho(defaults.local_echo);
    SetCommandSeparator(defaults.cmd_separator);
    SetKeypadWalking(defaults.keypad_walking);
    SetLockingScrollback(defaults.locking_scrollback_enable);
    SetUrlHotlinking(defaults.url_hotlinking);
    // Through the setter, so that the menu's check mark and the text layout
    // follow the restored value.
    SetCompactMode(defaults.compact_mode);
    SetChannelDupe(defaults.channel_window_dupe);
    SetColorFlash(defaults.colorflash_enable);
    RefreshPrefs();
    if (effects)
        effects->menu_view_change_layout_helper();
}

void config_effects::rebuild_fonts(TConfig &config)
{
    config.apply_font();
}

void TConfig::apply_font()
{
    if (current == nullptr)
        return;
    global_font_size = current->font_size;
    apply_description(global_font, current->font, global_font_size);
    apply_description(global_button_small_font, current->button_font, current->button_font_size);
    apply_description(global_button_large_font, current->button_font, current->button_font_size + large_button_font_step);
}

void TConfig::SavePopupData(popup_data entry)
{
    if (current)
        current->save_popup(entry);
}

popup_data TConfig::GetPopupData(const char *name) const
{
    popup_data result;
    copy_popup_name(result, name);
    const popup_data *known = current ? current->find_popup(result.name) : nullptr;
    return known ? *known : result;
}
