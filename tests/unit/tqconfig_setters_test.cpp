#include "recording_config_effects.h"
#include "tqconfig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

using calls = std::vector<std::string>;

class ConfigWithFrame : public ::testing::Test {
protected:
    ConfigWithFrame()
    {
        tqconfig record;
        record.name = "Arden";
        config.add(record);
        config.select("Arden");
        config.set_effects(&frame);
    }

    TConfig config;
    recording_config_effects frame;
};

struct setter_case {
    const char *setting;
    void (TConfig::*set)(int);
    int (TConfig::*get)() const;
    bool only_when_changed;
    bool marks_pending;
    int changed_value;
    calls after_change;  // what the frame sees when the value changes (not logged in)
};

// Every setter, changed from the value of a new record to another value.
const std::vector<setter_case> setter_cases = {
    {"KeypadWalking", &TConfig::SetKeypadWalking, &TConfig::GetKeypadWalking, false, false, 0, {"check 12371 off"}},
    {"UrlHotlinking", &TConfig::SetUrlHotlinking, &TConfig::GetUrlHotlinking, false, false, 0, {"check 12374 off"}},
    {"LocalEcho", &TConfig::SetLocalEcho, &TConfig::GetLocalEcho, false, false, 0, {"check 12370 off"}},
    {"CommandPushthrough", &TConfig::SetCommandPushthrough, &TConfig::GetCommandPushthrough, false, false, 1,
     {"check 12368 on"}},
    {"LockingScrollback", &TConfig::SetLockingScrollback, &TConfig::GetLockingScrollback, false, false, 1,
     {"check 12373 on"}},
    {"CommandSeparator", &TConfig::SetCommandSeparator, &TConfig::GetCommandSeparator, false, true, 0,
     {"check 12369 off"}},
    {"ColorFlash", &TConfig::SetColorFlash, &TConfig::GetColorFlash, false, true, 0, {"check 12367 off"}},
    {"CompactMode", &TConfig::SetCompactMode, &TConfig::GetCompactMode, false, false, 1,
     {"check 12375 on", "global_font_resync"}},
    {"ChannelDupe", &TConfig::SetChannelDupe, &TConfig::GetChannelDupe, false, true, 0, {}},
    {"AutomapEnable", &TConfig::SetAutomapEnable, &TConfig::GetAutomapEnable, false, true, 0, {}},
    {"AutomapDocked", &TConfig::SetAutomapDocked, &TConfig::GetAutomapDocked, false, true, 0, {}},
    {"FontColors", &TConfig::SetFontColors, &TConfig::GetFontColors, false, true, 2, {}},
    {"ButtonTooltips", &TConfig::SetButtonTooltips, &TConfig::GetButtonTooltips, false, false, 1, {}},
    {"AutomapSize", &TConfig::SetAutomapSize, &TConfig::GetAutomapSize, false, false, 15, {}},
    {"InputHeight", &TConfig::SetInputHeight, &TConfig::GetInputHeight, false, false, 100, {}},
    {"ChannelHeight", &TConfig::SetChannelHeight, &TConfig::GetChannelHeight, false, false, 40, {}},
    {"MwScrollbar", &TConfig::SetMwScrollbar, &TConfig::GetMwScrollbar, true, false, 0,
     {"check 12372 off", "reset_scrollbars", "refresh"}},
    {"HintButton", &TConfig::SetHintButton, &TConfig::GetHintButton, true, true, 0,
     {"check 12354 off", "resize", "refresh"}},
    {"DirectionButton", &TConfig::SetDirectionButton, &TConfig::GetDirectionButton, true, true, 1,
     {"check 12355 on", "resize", "refresh"}},
    {"FkeyButton", &TConfig::SetFkeyButton, &TConfig::GetFkeyButton, true, true, 1,
     {"check 12356 on", "resize", "refresh"}},
    {"PopupDisplay", &TConfig::SetPopupDisplay, &TConfig::GetPopupDisplay, true, true, 0,
     {"check 12353 off", "resize", "refresh"}},
    {"ChannelWindow", &TConfig::SetChannelWindow, &TConfig::GetChannelWindow, true, true, 1,
     {"show channel_window", "resize", "refresh"}},
    {"StatusBar", &TConfig::SetStatusBar, &TConfig::GetStatusBar, true, true, 0,
     {"check 12357 off", "resize", "refresh"}},
    {"SkyBar", &TConfig::SetSkyBar, &TConfig::GetSkyBar, true, true, 0, {"check 12358 off", "resize", "refresh"}},
    {"ExpDisplay", &TConfig::SetExpDisplay, &TConfig::GetExpDisplay, true, true, 0,
     {"check 12360 off", "status_display exp 0", "resize", "refresh"}},
    {"HpbarEnable", &TConfig::SetHpbarEnable, &TConfig::GetHpbarEnable, true, true, 0,
     {"check 12359 off", "status_display hpbar 0", "resize", "refresh"}},
    {"EnemyHpbarEnable", &TConfig::SetEnemyHpbarEnable, &TConfig::GetEnemyHpbarEnable, true, true, 0,
     {"check 12361 off", "status_display enemy_hpbar 0", "resize", "refresh"}},
    {"GroupStatus", &TConfig::SetGroupStatus, &TConfig::GetGroupStatus, true, true, 2,
     {"check 12363 on", "resize", "refresh"}},
    {"Layout", &TConfig::SetLayout, &TConfig::GetLayout, true, true, 1, {"check 12351 on", "change_layout"}},
    {"BackgroundStyle", &TConfig::SetBackgroundStyle, &TConfig::GetBackgroundStyle, true, true, 4,
     {"check 12400 on", "change_theme 1"}},
    {"BackgroundColor", &TConfig::SetBackgroundColor, &TConfig::GetBackgroundColor, true, true, 2,
     {"check 12378 on", "change_theme 1"}},
    {"ButtonTheme", &TConfig::SetButtonTheme, &TConfig::GetButtonTheme, true, true, 90,
     {"check 12395 on", "change_theme 0"}},
    {"SystemAudio", &TConfig::SetSystemAudio, &TConfig::GetSystemAudio, true, true, 0,
     {"stop_audio", "check 12376 off"}},
};

// The settings that the settings status line reports to the server.
const std::set<std::string> status_line_settings = {
    "SystemAudio", "CommandSeparator", "DirectionButton", "HintButton",     "FkeyButton",    "StatusBar",
    "SkyBar",      "ExpDisplay",       "HpbarEnable",     "EnemyHpbarEnable", "PopupDisplay", "GroupStatus",
    "Layout",      "AutomapEnable",    "AutomapDocked",   "ChannelWindow",  "ChannelDupe",   "ColorFlash",
    "FontColors",  "ButtonTheme",      "BackgroundColor", "BackgroundStyle",
};

// The calls of a setter given the value it already has: those of a change,
// with the check mark showing that value.
calls with_check_state(calls expected, int value)
{
    for (std::string &call : expected)
        if (call.rfind("check ", 0) == 0)
            call = call.substr(0, call.rfind(' ')) + (value ? " on" : " off");
    return expected;
}

} // namespace

TEST_F(ConfigWithFrame, EverySetterWithAnUnchangedValue)
{
    for (const setter_case &setter : setter_cases) {
        SCOPED_TRACE(setter.setting);
        frame.calls.clear();
        config.config_update_pending = 0;
        int value = (config.*setter.get)();
        (config.*setter.set)(value);

        EXPECT_EQ((config.*setter.get)(), value);
        if (setter.only_when_changed) {
            EXPECT_TRUE(frame.calls.empty());
            EXPECT_EQ(config.config_update_pending, 0);
            continue;
        }
        EXPECT_EQ(config.config_update_pending, setter.marks_pending ? 1 : 0);
        EXPECT_EQ(frame.calls, with_check_state(setter.after_change, value));
    }
}

TEST_F(ConfigWithFrame, EverySetterWithAChangedValue)
{
    for (const setter_case &setter : setter_cases) {
        SCOPED_TRACE(setter.setting);
        frame.calls.clear();
        config.config_update_pending = 0;
        ASSERT_NE((config.*setter.get)(), setter.changed_value);
        (config.*setter.set)(setter.changed_value);

        EXPECT_EQ((config.*setter.get)(), setter.changed_value);
        EXPECT_EQ(frame.calls, setter.after_change);
        EXPECT_EQ(config.config_update_pending, setter.marks_pending ? 1 : 0);
    }
}

TEST_F(ConfigWithFrame, ThePendingSettersAreExactlyThoseOfTheStatusLine)
{
    std::set<std::string> pending;
    for (const setter_case &setter : setter_cases) {
        config.config_update_pending = 0;
        (config.*setter.set)(setter.changed_value);
        if (config.config_update_pending)
            pending.insert(setter.setting);
    }
    EXPECT_EQ(pending, status_line_settings);
}

TEST_F(ConfigWithFrame, WithoutTheFrameOnlyTheDataChanges)
{
    config.set_effects(nullptr);
    for (const setter_case &setter : setter_cases) {
        SCOPED_TRACE(setter.setting);
        config.config_update_pending = 0;
        (config.*setter.set)(setter.changed_value);
        EXPECT_EQ((config.*setter.get)(), setter.changed_value);
        EXPECT_EQ(config.config_update_pending, setter.marks_pending ? 1 : 0);
    }
    EXPECT_TRUE(frame.calls.empty());
}

TEST(ConfigWithoutRecord, SettersDoNothingButTheSoundSwitch)
{
    TConfig config;
    recording_config_effects frame;
    config.set_effects(&frame);
    for (const setter_case &setter : setter_cases) {
        if (std::string(setter.setting) == "SystemAudio")
            continue;
        SCOPED_TRACE(setter.setting);
        (config.*setter.set)(setter.changed_value);
        EXPECT_EQ((config.*setter.get)(), 0);
    }
    config.SetName("Arden");
    config.UseDefaultPrefs();
    EXPECT_EQ(config.GetName(), "junk");
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(config.config_update_pending, 0);

    config.SetSystemAudio(0);
    EXPECT_EQ(config.GetSystemAudio(), 0);
    EXPECT_EQ(frame.calls, (calls{"stop_audio", "check 12376 off"}));
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST_F(ConfigWithFrame, PanelsFollowWhileLoggedIn)
{
    frame.is_logged_in = true;
    config.SetStatusBar(0);
    config.SetSkyBar(0);
    EXPECT_EQ(frame.calls, (calls{"check 12357 off", "hide status_bar", "resize", "refresh", "check 12358 off",
                                  "hide sky_bar", "resize", "refresh"}));

    frame.calls.clear();
    config.SetExpDisplay(0);
    config.SetHpbarEnable(0);
    config.SetEnemyHpbarEnable(0);
    config.SetHpbarEnable(1);
    EXPECT_EQ(frame.calls,
              (calls{"check 12360 off", "status_display exp 0", "show status_display", "resize", "refresh",
                     "check 12359 off", "status_display hpbar 0", "show status_display", "resize", "refresh",
                     "check 12361 off", "status_display enemy_hpbar 0", "hide status_display", "resize", "refresh",
                     "check 12359 on", "status_display hpbar 1", "show status_display", "resize", "refresh"}));
}

TEST_F(ConfigWithFrame, GroupDisplayOffHidesIt)
{
    config.SetGroupStatus(0);
    EXPECT_EQ(frame.calls, (calls{"check 12362 on", "hide group_display", "resize", "refresh"}));
    frame.calls.clear();
    config.SetGroupStatus(1);
    EXPECT_EQ(frame.calls, (calls{"check 12364 on", "resize", "refresh"}));
}

// GTK keeps one item of a radio group checked: a value outside the group
// checks the item of what is used in its place.
TEST_F(ConfigWithFrame, RadioValuesOutsideTheirGroupCheckWhatIsUsedInstead)
{
    config.SetLayout(7);
    config.SetGroupStatus(-1);
    config.SetBackgroundStyle(9);
    config.SetBackgroundColor(3);
    config.SetButtonTheme(-40);
    EXPECT_EQ(frame.calls, (calls{"check 12350 on", "change_layout", "check 12362 on", "resize", "refresh",
                                  "check 12399 on", "change_theme 1", "check 12384 on", "change_theme 1",
                                  "check 12393 on", "change_theme 0"}));
    EXPECT_EQ(config.GetBackgroundColor(), 3);
    EXPECT_EQ(config.GetButtonTheme(), -40);
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST_F(ConfigWithFrame, EveryThemeCodeChecksItsOwnItem)
{
    const int codes[] = {0, 1, 2, 40, 50, 60, 70, 80, 90};
    const int button_ids[] = {12389, 12393, 12387, 12388, 12390, 12391, 12392, 12394, 12395};
    const int background_ids[] = {12380, 12384, 12378, 12379, 12381, 12382, 12383, 12385, 12386};
    config.SetBackgroundColor(5);
    for (int i = 0; i < 9; ++i) {
        frame.calls.clear();
        config.SetButtonTheme(codes[(i + 1) % 9]);
        config.SetButtonTheme(codes[i]);
        config.SetBackgroundColor(codes[i]);
        EXPECT_EQ(frame.calls.at(2), "check " + std::to_string(button_ids[i]) + " on");
        EXPECT_EQ(frame.calls.at(4), "check " + std::to_string(background_ids[i]) + " on");
    }
}

TEST_F(ConfigWithFrame, SoundThatCannotStartSwitchesItselfOff)
{
    config.SetSystemAudio(0);
    frame.calls.clear();
    config.config_update_pending = 0;
    frame.audio_starts = false;
    config.SetSystemAudio(1);
    EXPECT_EQ(config.GetSystemAudio(), 0);
    EXPECT_EQ(frame.calls, (calls{"start_audio", "check 12376 off"}));
    EXPECT_EQ(config.config_update_pending, 1);

    frame.calls.clear();
    frame.audio_starts = true;
    config.SetSystemAudio(1);
    EXPECT_EQ(config.GetSystemAudio(), 1);
    EXPECT_EQ(frame.calls, (calls{"start_audio", "check 12376 on"}));
}

TEST_F(ConfigWithFrame, AutomapSizeTakesTheNextOddSizeWithinTheMapsSizes)
{
    config.SetAutomapSize(61);
    EXPECT_EQ(config.GetAutomapSize(), 61);
    config.SetAutomapSize(12);
    EXPECT_EQ(config.GetAutomapSize(), 13);
    config.SetAutomapSize(400);
    EXPECT_EQ(config.GetAutomapSize(), 61);
    config.SetAutomapSize(-7);
    EXPECT_EQ(config.GetAutomapSize(), 5);
    config.SetAutomapSize(4);
    EXPECT_EQ(config.GetAutomapSize(), 5);
}

TEST_F(ConfigWithFrame, RenameTouchesOnlyTheName)
{
    config.SetName("Bryn");
    EXPECT_EQ(config.GetName(), "Bryn");
    EXPECT_EQ(config.current_record(), config.get("Bryn"));
    EXPECT_TRUE(frame.calls.empty());
    EXPECT_EQ(config.config_update_pending, 0);
}

TEST_F(ConfigWithFrame, RefreshPrefsReappliesEveryPanelSetting)
{
    tqconfig &record = *config.current_record();
    record.current_layout = 0;
    record.group_status_display = 2;
    record.status_bar = 0;
    record.exp_display = 0;
    record.hpbar_enable = 0;
    record.channel_window_enable = 1;
    record.fkey_button_display = 1;
    record.automap_docked = 0;
    record.automap_size = 15;
    frame.is_logged_in = true;

    config.RefreshPrefs();
    EXPECT_EQ(frame.calls,
              (calls{"check 12350 on", "check 12363 on", "check 12357 off", "check 12358 on", "check 12359 off",
                     "check 12361 on", "check 12360 off", "show status_display", "hide status_bar",
                     "check 12367 on", "check 12365 on", "check 12366 on", "show channel_window", "check 12353 on",
                     "check 12356 on", "check 12355 off", "check 12354 on", "check 12372 on", "check 12375 off",
                     "check 12410 on", "check 12411 off", "automap_size 15", "enable_menu_items",
                     "enable_automap", "reset_scrollbars"}));
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST_F(ConfigWithFrame, RefreshPrefsBeforeLoginLeavesThePanelsAlone)
{
    config.RefreshPrefs();
    for (const char *panel_call : {"show status_display", "hide status_display", "show status_bar", "hide status_bar"})
        EXPECT_EQ(std::count(frame.calls.begin(), frame.calls.end(), panel_call), 0) << panel_call;
    EXPECT_EQ(frame.calls.size(), 23u);
}

TEST_F(ConfigWithFrame, RefreshThemesChecksTheColoursUsed)
{
    tqconfig &record = *config.current_record();
    record.current_theme = 3;
    record.current_background_theme = 80;
    record.theme_bg_setting = 1;
    config.RefreshThemes();
    EXPECT_EQ(frame.calls, (calls{"check 12393 on", "check 12385 on", "check 12397 on", "change_theme 0"}));
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST(ConfigWithoutRecord, RefreshesOnlyMarkTheConfigurationChanged)
{
    TConfig config;
    config.RefreshPrefs();
    EXPECT_EQ(config.config_update_pending, 1);
    config.config_update_pending = 0;
    config.RefreshThemes();
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST_F(ConfigWithFrame, UseDefaultPrefsRestoresDisplayAndInputSettings)
{
    tqconfig &record = *config.current_record();
    const tqconfig defaults;
    for (const tqconfig_field &field : tqconfig_fields)
        if (field.number)
            record.*field.number = 0;
    record.group_status_display = 2;
    record.automap_size = 21;
    record.channel_window_height = 60;
    record.compact_mode = 1;
    record.button_tooltips = 1;
    record.hp_display = 1;
    record.current_theme = 80;
    record.current_background_theme = 2;
    record.font_colors_setting = 3;
    record.theme_bg_setting = 4;
    record.input_height = 300;
    record.font = "Serif 12";
    record.font_size = 12;
    record.button_font = "Sans 9";
    record.button_font_size = 9;
    config.SavePopupData(popup_data{"chat", 1, 2, 3, 4, 5, 6});

    config.UseDefaultPrefs();

    for (int tqconfig::*member :
         {&tqconfig::current_layout, &tqconfig::hpbar_enable, &tqconfig::enemy_hpbar_enable, &tqconfig::status_bar,
          &tqconfig::sky_bar, &tqconfig::exp_display, &tqconfig::group_status_display, &tqconfig::popup_display,
          &tqconfig::fkey_button_display, &tqconfig::direction_button_enable, &tqconfig::hint_button_enable,
          &tqconfig::cmd_pushthrough, &tqconfig::local_echo, &tqconfig::cmd_separator, &tqconfig::keypad_walking,
          &tqconfig::mw_scrollbar_enable, &tqconfig::locking_scrollback_enable, &tqconfig::url_hotlinking,
          &tqconfig::compact_mode, &tqconfig::automap_display, &tqconfig::automap_docked, &tqconfig::automap_size,
          &tqconfig::channel_window_enable, &tqconfig::channel_window_height, &tqconfig::channel_window_dupe,
          &tqconfig::colorflash_enable})
        EXPECT_EQ(record.*member, defaults.*member);

    EXPECT_EQ(record.name, "Arden");
    EXPECT_EQ(record.button_tooltips, 1);
    EXPECT_EQ(record.hp_display, 1);
    EXPECT_EQ(record.enemy_hp_display, 0);
    EXPECT_EQ(record.current_theme, 80);
    EXPECT_EQ(record.current_background_theme, 2);
    EXPECT_EQ(record.font_colors_setting, 3);
    EXPECT_EQ(record.theme_bg_setting, 4);
    EXPECT_EQ(record.input_height, 300);
    EXPECT_EQ(record.font, "Serif 12");
    EXPECT_EQ(record.font_size, 12);
    EXPECT_EQ(record.button_font, "Sans 9");
    EXPECT_EQ(record.button_font_size, 9);
    EXPECT_EQ(config.GetPopupData("chat").height, 6);
    EXPECT_EQ(config.config_update_pending, 1);
}

TEST_F(ConfigWithFrame, UseDefaultPrefsMovesTheMenuAndTheTextLayoutWithIt)
{
    config.SetCompactMode(1);
    config.SetLocalEcho(0);
    frame.calls.clear();
    config.UseDefaultPrefs();

    auto position = [&](const std::string &call) {
        for (size_t i = 0; i < frame.calls.size(); ++i)
            if (frame.calls[i] == call)
                return static_cast<int>(i);
        return -1;
    };
    EXPECT_GE(position("check 12370 on"), 0);
    EXPECT_GE(position("check 12375 off"), 0);
    EXPECT_EQ(position("global_font_resync"), position("check 12375 off") + 1);
    EXPECT_EQ(frame.calls.back(), "change_layout");
    EXPECT_GE(position("reset_scrollbars"), 0);
}
