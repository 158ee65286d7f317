#include "tqconfig.h"

#include "global_fonts.h"
#include "text_bytes.h"
#include "vusk_font.h"

#include <wx/font.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

char global_uuid[client_id_capacity] = "";

namespace {
const std::string no_record_text = "junk";

std::string description_of(const wxFont &font)
{
    return wx_to_bytes(font.GetNativeFontInfoDesc()).substr(0, record_text_max_length);
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

tqconfig_field number_field(const char *element, int tqconfig::*member, field_sanity sanity)
{
    return {element, nullptr, member, sanity.rule, sanity.low, sanity.high, sanity.fallback};
}

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

#define VUSK_TEXT_FIELD(Accessor, member) text_field(#member, &tqconfig::member),
#define VUSK_FONT_SIZE_FIELD(Accessor, member, default_value, sanity) number_field(#member, &tqconfig::member, sanity),
#define VUSK_STORED_FIELD(member, default_value, sanity) number_field(#member, &tqconfig::member, sanity),
#define VUSK_SETTING_FIELD(Accessor, member, default_value, sanity, ...) \
    number_field(#member, &tqconfig::member, sanity),
const std::array<tqconfig_field, tqconfig_field_count> tqconfig_fields = {
    VUSK_SETTINGS(VUSK_TEXT_FIELD, VUSK_FONT_SIZE_FIELD, VUSK_STORED_FIELD, VUSK_SETTING_FIELD, VUSK_NO_ROW)};
#undef VUSK_SETTING_FIELD
#undef VUSK_STORED_FIELD
#undef VUSK_FONT_SIZE_FIELD
#undef VUSK_TEXT_FIELD

namespace {

// ---- The effect column of the settings table: what a change does on screen
// beside its menu item. A setter calls its effect after storing the value,
// and only while the running program has handed the configuration its
// effects.

using setting_effect = void (*)(const TConfig &config, config_effects &effects, int value);

void show_status_display_if_logged_in(const TConfig &config, config_effects &effects)
{
    if (effects.logged_in())
        effects.show_status_display(config.GetExpDisplay() || config.GetHpbarEnable() ||
                                    config.GetEnemyHpbarEnable());
}

void show_status_bar_if_logged_in(const TConfig &config, config_effects &effects)
{
    if (effects.logged_in())
        effects.show_status_bar(config.GetStatusBar() != 0);
}

void relayout(const TConfig &, config_effects &effects, int)
{
    effects.resize();
    effects.refresh();
}

void show_status_display_part(const TConfig &config, config_effects &effects, status_display_part part,
                              int value)
{
    effects.set_status_display_part(part, value);
    show_status_display_if_logged_in(config, effects);
    relayout(config, effects, value);
}

void resync_text_font(const TConfig &, config_effects &effects, int)
{
    effects.global_font_resync();
}

void reset_scrollbars_and_refresh(const TConfig &, config_effects &effects, int)
{
    effects.reset_scrollbars();
    effects.refresh();
}

void show_channel_window_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    effects.show_channel_window(value != 0);
    relayout(config, effects, value);
}

void show_status_bar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_bar_if_logged_in(config, effects);
    relayout(config, effects, value);
}

void show_sky_bar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    if (effects.logged_in())
        effects.show_sky_bar(value != 0);
    relayout(config, effects, value);
}

void show_exp_display_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::exp, value);
}

void show_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::hpbar, value);
}

void show_enemy_hpbar_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    show_status_display_part(config, effects, status_display_part::enemy_hpbar, value);
}

void hide_group_display_if_off_and_relayout(const TConfig &config, config_effects &effects, int value)
{
    if (value == 0)
        effects.hide_group_display();
    relayout(config, effects, value);
}

void change_layout(const TConfig &, config_effects &effects, int)
{
    effects.menu_view_change_layout_helper();
}

void change_button_theme(const TConfig &, config_effects &effects, int)
{
    effects.global_change_theme(0);
}

// The background is drawn anew.
void change_background(const TConfig &, config_effects &effects, int)
{
    effects.global_change_theme(1);
}

// What a SETTING row of the table asks of its setter and of "Use Default
// Preferences".
struct setting_row {
    int tqconfig::*member;
    setter_kind setter;
    setting_effect effect;
    default_reset reset;
    bool reported; // in the settings status line
    std::optional<menu_setting> menu;
};

#define STATUS_LINE(slot) true
#define NO_STATUS_LINE false
#define MENU_CHECK(setting, id, label) menu_setting::setting
#define FRAME_CHECK(setting, id, label) menu_setting::setting
#define MENU_RADIO(setting) menu_setting::setting
#define NO_MENU std::nullopt
#define VUSK_SETTING_ROW(Accessor, member, default_value, sanity, setter, effect, reset, status, menu, word, \
                         shortcut)                                                                          \
    {&tqconfig::member, setter, effect, reset, status, menu},
const setting_row setting_rows[] = {
    VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTING_ROW, VUSK_NO_ROW)};
#undef VUSK_SETTING_ROW
#undef NO_MENU
#undef MENU_RADIO
#undef FRAME_CHECK
#undef MENU_CHECK
#undef NO_STATUS_LINE
#undef STATUS_LINE

const setting_row &row_of(int tqconfig::*member)
{
    return *std::find_if(std::begin(setting_rows), std::end(setting_rows),
                         [member](const setting_row &row) { return row.member == member; });
}

const setting_row &row_of(menu_setting setting)
{
    return *std::find_if(std::begin(setting_rows), std::end(setting_rows),
                         [setting](const setting_row &row) { return row.menu == setting; });
}

const tqconfig_field &field_of(int tqconfig::*member)
{
    return *std::find_if(tqconfig_fields.begin(), tqconfig_fields.end(),
                         [member](const tqconfig_field &field) { return field.number == member; });
}

bool only_when_changed(setter_kind setter)
{
    return setter == setter_kind::changes || setter == setter_kind::changes_and_shows;
}

bool shows_in_menu(setter_kind setter)
{
    return setter == setter_kind::stores_and_shows || setter == setter_kind::changes_and_shows;
}

} // namespace

#define VUSK_SETTER(Accessor, member, ...) \
    void TConfig::Set##Accessor(int value) { set(&tqconfig::member, value); }
VUSK_SETTINGS(VUSK_NO_ROW, VUSK_NO_ROW, VUSK_NO_ROW, VUSK_SETTER, VUSK_NO_ROW)
#undef VUSK_SETTER

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
    return sane_value(field_of(&tqconfig::automap_size), cell_size);
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

tqconfig::tqconfig(const tqconfig &other)
    : tqconfig_settings(other), unchanged_since_adopted(other.unchanged_since_adopted)
{
    for (const popup_data &entry : other.popup_list)
        popup_list.push_front(entry);
}

tqconfig &tqconfig::operator=(const tqconfig &other)
{
    if (this == &other)
        return *this;
    tqconfig_settings::operator=(other);
    unchanged_since_adopted = other.unchanged_since_adopted;
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
    make_room();
    record_list.push_back(std::make_unique<tqconfig>(record));
    use_order.push_back(record_list.back().get());
    return record_list.back().get();
}

bool TConfig::select(const std::string &name)
{
    make_current(get(name));
    return current != nullptr;
}

void TConfig::make_current(tqconfig *record)
{
    current = record;
    const auto known = std::find(use_order.begin(), use_order.end(), record);
    if (known != use_order.end())
        std::rotate(known, known + 1, use_order.end());
}

const std::string &TConfig::read(std::string tqconfig::*member) const
{
    return current ? current->*member : no_record_text;
}

void TConfig::set(int tqconfig::*member, int value)
{
    const setting_row &row = row_of(member);
    if (current == nullptr || (only_when_changed(row.setter) && current->*member == value))
        return;
    const int stored = row.setter == setter_kind::stores_in_range ? sane_value(field_of(member), value) : value;
    if (current->*member != stored)
        current->mark_changed();
    current->*member = stored;
    if (shows_in_menu(row.setter) && row.menu)
        show(*row.menu, value);
    if (effects && row.effect)
        row.effect(*this, *effects, value);
    if (row.reported)
        mark_pending();
}

void TConfig::show(menu_setting setting, int value)
{
    if (effects)
        effects->show_setting(setting, value);
}

void TConfig::show_values(menu_marks marks, std::initializer_list<menu_setting> settings)
{
    if (marks == menu_marks::left)
        return;
    for (menu_setting setting : settings)
        show(setting, read(row_of(setting).member));
}

void TConfig::show_every_value()
{
    for (const setting_row &row : setting_rows)
        if (row.menu)
            show(*row.menu, read(row.member));
}

void TConfig::SetName(const std::string &name)
{
    if (current == nullptr)
        return;
    current->name = name;
    current->mark_changed();
}

void TConfig::SetFont(const wxFont &font)
{
    store_font(font, &tqconfig::font, &tqconfig::font_size);
}

void TConfig::SetButtonFont(const wxFont &font)
{
    store_font(font, &tqconfig::button_font, &tqconfig::button_font_size);
}

// The fonts are stored again whenever the shared fonts are rebuilt: only a
// different font changes the record.
void TConfig::store_font(const wxFont &font, std::string tqconfig::*description, int tqconfig::*size)
{
    if (current == nullptr)
        return;
    const std::string described = description_of(font);
    if (current->*description != described || current->*size != font.GetPointSize())
        current->mark_changed();
    current->*description = described;
    current->*size = font.GetPointSize();
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
    refresh_prefs(menu_marks::shown);
}

void TConfig::refresh_prefs(menu_marks marks)
{
    mark_pending();
    if (effects == nullptr)
        return;
    show_values(marks, {menu_setting::layout, menu_setting::group_status, menu_setting::status_bar, menu_setting::sky_bar,
                 menu_setting::hpbar, menu_setting::enemy_hpbar, menu_setting::exp_display});
    show_status_display_if_logged_in(*this, *effects);
    show_status_bar_if_logged_in(*this, *effects);
    show_values(marks, {menu_setting::colorflash, menu_setting::channel_window, menu_setting::channel_dupe});
    effects->show_channel_window(GetChannelWindow() != 0);
    show_values(marks, {menu_setting::popup_display, menu_setting::fkey_buttons, menu_setting::direction_buttons,
                 menu_setting::hint_buttons, menu_setting::mw_scrollbar, menu_setting::compact_mode,
                 menu_setting::automap_display, menu_setting::automap_docked});
    effects->set_automap_size(GetAutomapSize());
    effects->enable_menu_items();
    effects->enable_automap();
    effects->reset_scrollbars();
}

void TConfig::RefreshThemes()
{
    refresh_themes(menu_marks::shown);
}

void TConfig::refresh_themes(menu_marks marks)
{
    mark_pending();
    if (effects == nullptr)
        return;
    show_values(marks, {menu_setting::button_theme, menu_setting::background_color, menu_setting::background_style});
    effects->global_change_theme(0);
}

// The values stored directly first, so that the setters' effects see the
// defaults in place.
void TConfig::UseDefaultPrefs()
{
    if (current == nullptr)
        return;
    const tqconfig defaults;
    current->mark_changed();
    reset_to(defaults, default_reset::stored);
    reset_to(defaults, default_reset::by_setter);
    RefreshPrefs();
    if (effects)
        effects->menu_view_change_layout_helper();
}

void TConfig::reset_to(const tqconfig &defaults, default_reset reset)
{
    for (const setting_row &row : setting_rows) {
        if (row.reset != reset)
            continue;
        if (reset == default_reset::by_setter)
            set(row.member, defaults.*row.member);
        else
            current->*row.member = defaults.*row.member;
    }
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
    if (current == nullptr)
        return;
    current->save_popup(entry);
    current->mark_changed();
}

popup_data TConfig::GetPopupData(const char *name) const
{
    popup_data result;
    copy_popup_name(result, name);
    const popup_data *known = current ? current->find_popup(result.name) : nullptr;
    return known ? *known : result;
}
