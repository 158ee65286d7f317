#include "tqconfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

// What the configuration files hold, in their order, with each number's
// default and its rule for values read from a file.
enum rule { text, none, bit, range, clamp, odd_range };

struct expected_field {
    const char *element;
    std::string tqconfig::*text;
    int tqconfig::*number;
    rule kind;
    int low;
    int high;
    int fallback;
    int default_value;
};

expected_field text_field(const char *element, std::string tqconfig::*member)
{
    return {element, member, nullptr, text, 0, 0, 0, 0};
}

expected_field number(const char *element, int tqconfig::*member, rule kind, int default_value, int low = 0,
                      int high = 0, int fallback = 0)
{
    return {element, nullptr, member, kind, low, high, fallback, default_value};
}

const std::vector<expected_field> file_fields = {
    text_field("name", &tqconfig::name),
    text_field("font", &tqconfig::font),
    number("font_size", &tqconfig::font_size, range, 10, 2, 150, 10),
    text_field("button_font", &tqconfig::button_font),
    number("button_font_size", &tqconfig::button_font_size, range, 7, 2, 150, 7),
    number("keypad_walking", &tqconfig::keypad_walking, bit, 1),
    number("url_hotlinking", &tqconfig::url_hotlinking, bit, 1),
    number("compact_mode", &tqconfig::compact_mode, bit, 0),
    number("local_echo", &tqconfig::local_echo, bit, 1),
    number("cmd_separator", &tqconfig::cmd_separator, bit, 1),
    number("cmd_pushthrough", &tqconfig::cmd_pushthrough, bit, 0),
    number("hint_button_enable", &tqconfig::hint_button_enable, bit, 1),
    number("direction_button_enable", &tqconfig::direction_button_enable, bit, 0),
    number("fkey_button_display", &tqconfig::fkey_button_display, bit, 0),
    number("button_tooltips", &tqconfig::button_tooltips, bit, 0),
    number("status_bar", &tqconfig::status_bar, bit, 1),
    number("sky_bar", &tqconfig::sky_bar, bit, 1),
    number("exp_display", &tqconfig::exp_display, bit, 1),
    number("hpbar_enable", &tqconfig::hpbar_enable, bit, 1),
    number("hp_display", &tqconfig::hp_display, bit, 0),
    number("enemy_hpbar_enable", &tqconfig::enemy_hpbar_enable, bit, 1),
    number("enemy_hp_display", &tqconfig::enemy_hp_display, bit, 1),
    number("group_status_display", &tqconfig::group_status_display, range, 1, 0, 2, 0),
    number("popup_display", &tqconfig::popup_display, bit, 1),
    number("locking_scrollback_enable", &tqconfig::locking_scrollback_enable, bit, 0),
    number("mw_scrollbar_enable", &tqconfig::mw_scrollbar_enable, bit, 1),
    number("current_layout", &tqconfig::current_layout, clamp, 2, 0, 2),
    number("current_theme", &tqconfig::current_theme, none, 0),
    number("current_background_theme", &tqconfig::current_background_theme, none, 70),
    number("font_colors_setting", &tqconfig::font_colors_setting, range, 0, 0, 3, 0),
    number("theme_bg_setting", &tqconfig::theme_bg_setting, range, 3, 0, 4, 3),
    number("automap_docked", &tqconfig::automap_docked, bit, 1),
    number("automap_display", &tqconfig::automap_display, bit, 1),
    number("automap_size", &tqconfig::automap_size, odd_range, 11, 5, 61, 11),
    number("input_height", &tqconfig::input_height, range, 48, 24, 800, 48),
    number("channel_window_enable", &tqconfig::channel_window_enable, bit, 0),
    number("channel_window_height", &tqconfig::channel_window_height, range, 25, 10, 80, 25),
    number("channel_window_dupe", &tqconfig::channel_window_dupe, bit, 1),
    number("colorflash_enable", &tqconfig::colorflash_enable, bit, 1),
};

int expected_after_sanity(const expected_field &field, int value)
{
    bool outside = value < field.low || value > field.high;
    switch (field.kind) {
    case bit:
        return value & 1;
    case range:
        return outside ? field.fallback : value;
    case clamp:
        return value < field.low ? field.low : (value > field.high ? field.high : value);
    case odd_range: // the next odd size, kept within the range
        return std::clamp(value | 1, field.low, field.high);
    default:
        return value;
    }
}

std::vector<int> probe_values(const expected_field &field)
{
    std::vector<int> values = {INT_MIN, INT_MIN + 1, -1000, -3, -2, -1, 0, 1, 2, 3, 100000, INT_MAX - 1, INT_MAX};
    for (int edge : {field.low, field.high})
        for (int delta : {-2, -1, 0, 1, 2})
            values.push_back(edge + delta);
    return values;
}

popup_data popup(const char *name, int x)
{
    popup_data entry;
    snprintf(entry.name, sizeof entry.name, "%s", name);
    entry.x = x;
    entry.y = x + 1;
    entry.cols = x + 2;
    entry.rows = x + 3;
    entry.width = x + 4;
    entry.height = x + 5;
    return entry;
}

std::string popup_names(const tqconfig &record)
{
    std::string names;
    for (const popup_data &entry : record.popups())
        names += entry.name;
    return names;
}

} // namespace

TEST(TqconfigFields, FileOrderNamesAndMembersMatchTheFiles)
{
    ASSERT_EQ(tqconfig_fields.size(), file_fields.size());
    for (size_t i = 0; i < file_fields.size(); ++i) {
        SCOPED_TRACE(file_fields[i].element);
        EXPECT_STREQ(tqconfig_fields[i].element, file_fields[i].element);
        EXPECT_TRUE(tqconfig_fields[i].text == file_fields[i].text);
        EXPECT_TRUE(tqconfig_fields[i].number == file_fields[i].number);
    }
}

TEST(TqconfigFields, DefaultsOfANewRecord)
{
    const tqconfig record;
    for (const expected_field &field : file_fields) {
        SCOPED_TRACE(field.element);
        if (field.number) {
            EXPECT_EQ(record.*field.number, field.default_value);
        }
    }
    EXPECT_EQ(record.name, "");
    EXPECT_TRUE(record.popups().empty());
}

TEST(TqconfigSanity, EveryNumberAtItsEdgesAndExtremes)
{
    for (const expected_field &field : file_fields) {
        if (field.number == nullptr)
            continue;
        for (int value : probe_values(field)) {
            SCOPED_TRACE(std::string(field.element) + " = " + std::to_string(value));
            tqconfig record;
            record.*field.number = value;
            record.sanity_check_system_config();
            EXPECT_EQ(record.*field.number, expected_after_sanity(field, value));
        }
    }
}

TEST(TqconfigSanity, CasesOfDamagedFiles)
{
    tqconfig record;
    record.font_size = 1;
    record.input_height = 801;
    record.current_layout = -3;
    record.group_status_display = -1;
    record.theme_bg_setting = 5;
    record.keypad_walking = 2;
    record.local_echo = 3;
    record.current_theme = 33;
    record.button_font_size = 100000;
    record.automap_size = 400;
    record.channel_window_height = 81;
    record.sanity_check_system_config();
    EXPECT_EQ(record.font_size, 10);
    EXPECT_EQ(record.input_height, 48);
    EXPECT_EQ(record.current_layout, 0);
    EXPECT_EQ(record.group_status_display, 0);
    EXPECT_EQ(record.theme_bg_setting, 3);
    EXPECT_EQ(record.keypad_walking, 0);
    EXPECT_EQ(record.local_echo, 1);
    EXPECT_EQ(record.current_theme, 33);
    EXPECT_EQ(record.button_font_size, 7);
    EXPECT_EQ(record.automap_size, 61);
    EXPECT_EQ(record.channel_window_height, 25);

    record.font_size = 150;
    record.current_layout = 7;
    record.automap_size = 12;
    record.sanity_check_system_config();
    EXPECT_EQ(record.font_size, 150);
    EXPECT_EQ(record.current_layout, 2);
    EXPECT_EQ(record.automap_size, 13);
}

TEST(TqconfigCopy, EachCopyReversesThePopupsAndTwoCopiesRestoreThem)
{
    tqconfig original;
    original.name = "Arden";
    original.sky_bar = 0;
    original.push_popup(popup("C", 30));
    original.push_popup(popup("B", 20));
    original.push_popup(popup("A", 10));
    ASSERT_EQ(popup_names(original), "ABC");

    tqconfig once;
    once = original;
    EXPECT_EQ(popup_names(once), "CBA");
    EXPECT_EQ(once.name, "Arden");
    EXPECT_EQ(once.sky_bar, 0);

    tqconfig twice(once);
    EXPECT_EQ(popup_names(twice), "ABC");
    ASSERT_NE(twice.find_popup("B"), nullptr);
    EXPECT_EQ(twice.find_popup("B")->rows, 23);
    EXPECT_EQ(twice.find_popup("B")->height, 25);
}

TEST(TqconfigCopy, AssignmentReplacesTheTargetsPopupsAndSelfAssignmentKeepsThem)
{
    tqconfig source;
    source.push_popup(popup("new", 1));
    tqconfig target;
    target.push_popup(popup("old", 2));
    target = source;
    EXPECT_EQ(popup_names(target), "new");

    tqconfig &same = source;
    source.push_popup(popup("second", 3));
    source = same;
    EXPECT_EQ(popup_names(source), "secondnew");
}

TEST(TqconfigPopups, SaveUpdatesInPlaceOrAddsAtTheHead)
{
    tqconfig record;
    record.save_popup(popup("chat", 1));
    record.save_popup(popup("who", 2));
    EXPECT_EQ(popup_names(record), "whochat");
    record.save_popup(popup("chat", 50));
    EXPECT_EQ(popup_names(record), "whochat");
    EXPECT_EQ(record.find_popup("chat")->x, 50);
    EXPECT_EQ(record.find_popup("chat")->cols, 52);
    EXPECT_EQ(record.find_popup("Chat"), nullptr);
    EXPECT_EQ(record.find_popup(nullptr), nullptr);
}

TEST(TqconfigPopups, TheListIsBoundedAndForgetsItsLastEntry)
{
    tqconfig record;
    for (int i = 0; i < popup_list_capacity + 50; ++i)
        record.save_popup(popup(("window" + std::to_string(i)).c_str(), i));
    EXPECT_EQ(record.popups().size(), static_cast<size_t>(popup_list_capacity));
    EXPECT_STREQ(record.popups().front().name, ("window" + std::to_string(popup_list_capacity + 49)).c_str());
    EXPECT_EQ(record.find_popup("window0"), nullptr);
}

TEST(TqconfigPopups, AnUnterminatedNameIsCutAtItsCapacity)
{
    popup_data entry;
    memset(entry.name, 'w', sizeof entry.name);
    tqconfig record;
    record.push_popup(entry);
    EXPECT_EQ(strlen(record.popups().front().name), static_cast<size_t>(popup_name_capacity - 1));
}

TEST(TConfigRecords, AddReplacesInPlaceAndKeepsTheCurrentRecord)
{
    TConfig config;
    tqconfig first;
    first.name = "Arden";
    tqconfig second;
    second.name = "Bryn";
    config.add(first);
    config.add(second);
    ASSERT_TRUE(config.select("Arden"));
    tqconfig *current = config.current_record();

    tqconfig replacement;
    replacement.name = "Arden";
    replacement.input_height = 300;
    replacement.push_popup(popup("map", 5));
    EXPECT_EQ(config.add(replacement), current);

    ASSERT_EQ(config.records().size(), 2u);
    EXPECT_EQ(config.records()[0]->name, "Arden");
    EXPECT_EQ(config.records()[1]->name, "Bryn");
    EXPECT_EQ(config.current_record(), current);
    EXPECT_EQ(config.GetInputHeight(), 300);
    EXPECT_EQ(config.GetPopupData("map").x, 5);
}

TEST(TConfigRecords, AddKeepsACopyAndGetMatchesExactly)
{
    TConfig config;
    {
        tqconfig temporary;
        temporary.name = "Arden";
        temporary.font_size = 14;
        config.add(temporary);
    }
    ASSERT_NE(config.get("Arden"), nullptr);
    EXPECT_EQ(config.get("Arden")->font_size, 14);
    EXPECT_EQ(config.get("arden"), nullptr);
    EXPECT_EQ(config.get("Arden "), nullptr);
    EXPECT_FALSE(config.select("Nobody"));
    EXPECT_EQ(config.current_record(), nullptr);
}

// A full list makes room by forgetting the record least recently current,
// never the current one; replacing a known record needs no room.
TEST(TConfigRecords, TheRecordListIsBoundedAndForgetsTheLeastRecentlyUsed)
{
    TConfig config;
    tqconfig record;
    for (int i = 0; i < record_list_capacity; ++i) {
        record.name = "character" + std::to_string(i);
        ASSERT_NE(config.add(record), nullptr);
    }
    ASSERT_TRUE(config.select("character0"));
    ASSERT_TRUE(config.select("character2"));
    record.name = "one too many";
    ASSERT_NE(config.add(record), nullptr);
    EXPECT_EQ(config.records().size(), static_cast<size_t>(record_list_capacity));
    EXPECT_EQ(config.get("character1"), nullptr);
    record.name = "two too many";
    config.add(record);
    EXPECT_EQ(config.get("character3"), nullptr);
    EXPECT_NE(config.get("character0"), nullptr);
    EXPECT_NE(config.get("character2"), nullptr);
    EXPECT_EQ(config.GetName(), "character2");
    record.name = "character7";
    record.sky_bar = 0;
    ASSERT_NE(config.add(record), nullptr);
    EXPECT_EQ(config.get("character7")->sky_bar, 0);
    EXPECT_EQ(config.records().size(), static_cast<size_t>(record_list_capacity));
}

TEST(TConfigRecords, WithoutACurrentRecordGettersReadNothing)
{
    TConfig config;
    EXPECT_EQ(config.GetName(), "junk");
    EXPECT_EQ(config.GetFontName(), "junk");
    EXPECT_EQ(config.GetButtonFontName(), "junk");
    EXPECT_EQ(config.GetFontSize(), 0);
    EXPECT_EQ(config.GetLayout(), 0);
    EXPECT_EQ(config.GetBackgroundColor(), 0);
    EXPECT_EQ(config.GetAutomapSize(), 0);
    EXPECT_EQ(config.GetSystemAudio(), 1);

    popup_data stored = popup("chat", 9);
    config.SavePopupData(stored);
    popup_data found = config.GetPopupData("chat");
    EXPECT_STREQ(found.name, "chat");
    EXPECT_EQ(found.x, 0);
    EXPECT_EQ(found.height, 0);
}

TEST(TConfigRecords, PopupStoreOfTheCurrentRecord)
{
    TConfig config;
    tqconfig record;
    record.name = "Arden";
    config.add(record);
    config.select("Arden");

    config.SavePopupData(popup("chat", 10));
    config.SavePopupData(popup("who", 20));
    config.SavePopupData(popup("chat", 30));
    EXPECT_EQ(popup_names(*config.current_record()), "whochat");
    EXPECT_EQ(config.GetPopupData("chat").width, 34);
    EXPECT_EQ(config.config_update_pending, 0);

    std::string long_name(300, 'n');
    popup_data unknown = config.GetPopupData(long_name.c_str());
    EXPECT_EQ(strlen(unknown.name), static_cast<size_t>(popup_name_capacity - 1));
    EXPECT_EQ(unknown.x, 0);
}

TEST(TConfigRecords, InstanceIsOneObject)
{
    TConfig *config = TConfig::Instance();
    EXPECT_EQ(config, TConfig::Instance());
    EXPECT_EQ(config->current_record(), nullptr);
    EXPECT_EQ(config->GetSystemAudio(), 1);
}
