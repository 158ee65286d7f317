#ifndef VUSK_SETTINGS_TABLE_H
#define VUSK_SETTINGS_TABLE_H

// Every setting, described once: one row each, in the order of the
// configuration files. The rows are expanded where each column is needed:
// the record's members and their defaults, TConfig's getters and setters, the
// files' fields and their sanity rules, the defaults "Use Default
// Preferences" restores (tqconfig.h, tqconfig.cpp); the menu items that show
// them (config_effects.h, menus.cpp); the settings status line
// (control_commands.cpp); the server's "config" commands (config_commands.cpp)
// and the Control-Shift shortcuts (setting_toggles.cpp). A column names what
// only the layer that expands it knows (menu ids, the frame's flashing), so
// each expansion uses the columns of its own layer and drops the others.
//
// Kinds of rows, each a macro the expansion passes:
//   TEXT(Accessor, member)                  text; GetAccessor
//   FONT_SIZE(Accessor, member, default, sanity)
//                                           a number set together with its font
//                                           (SetFont, SetButtonFont); GetAccessor
//   STORED(member, default, sanity)         a number only stored and written
//   SETTING(Accessor, member, default, sanity, setter, effect, reset,
//           status, menu, word, shortcut)   GetAccessor and SetAccessor(int)
//   INSTALLATION(Accessor, status, menu)    the sound switch: TConfig's own, kept
//                                           in the system file; written by hand
// The columns of a SETTING:
//   member    the record's member, also the element name in the files.
//   default   the value of a new record.
//   sanity    what a value read from a file becomes: as_is, lowest_bit,
//             in_range(low, high, fallback), clamped(low, high),
//             odd_in_range(low, high, fallback) (tqconfig.h).
//   setter    what SetAccessor does before the effect (setter_kind below).
//   effect    what a change does on screen beside the menu (a function beside
//             the setters in tqconfig.cpp), or nullptr.
//   reset     what "Use Default Preferences" does with it (default_reset).
//   status    STATUS_LINE(slot): the settings status line reports it in that
//             slot of config_status_settings, and the setter marks the
//             configuration changed so the server hears of it; or NO_STATUS_LINE.
//   menu      MENU_CHECK(menu_setting, id, label): a check item the generic
//             toggle switches; FRAME_CHECK(...): a check item whose handler is
//             the frame's own; MENU_RADIO(menu_setting): a radio group (its
//             items are in menus.cpp); or NO_MENU.
//   word      CONFIG_WORD(word): the "config" command word that enables and
//             disables it; CONFIG_WORD_FLASH(word, flash): one that can also
//             make its panel flash (config_command_target::flash); or
//             NO_CONFIG_WORD.
//   shortcut  the control_key_action that flips it, or unbound.

// What a setter does with its value before the setting's effect.
enum class setter_kind {
    stores,            // stores it
    stores_in_range,   // stores it brought into range by its sanity rule
    stores_and_shows,  // stores it; the menu shows it
    changes,           // a different value only: stores it
    changes_and_shows, // a different value only: stores it; the menu shows it
};

// What "Use Default Preferences" does with a setting.
enum class default_reset {
    kept,      // leaves it
    stored,    // stores the default; the refresh that follows shows it
    by_setter, // gives the default to the setter, so its menu mark follows
};

#define VUSK_NO_ROW(...)

// clang-format off
#define VUSK_SETTINGS(TEXT, FONT_SIZE, STORED, SETTING, INSTALLATION)                                             \
    TEXT(Name, name)                                                                                                \
    TEXT(FontName, font)                                                                                            \
    FONT_SIZE(FontSize, font_size, default_font_size, in_range(font_size_min, font_size_max, default_font_size))    \
    TEXT(ButtonFontName, button_font)                                                                               \
    FONT_SIZE(ButtonFontSize, button_font_size, default_button_font_size,                                           \
              in_range(font_size_min, font_size_max, default_button_font_size))                                     \
    SETTING(KeypadWalking, keypad_walking, 1, lowest_bit, setter_kind::stores_and_shows, nullptr,                   \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(keypad_walking, id_menu_view_keypad_walking, "Move Using &Number Pad"),                      \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(UrlHotlinking, url_hotlinking, 1, lowest_bit, setter_kind::stores_and_shows, nullptr,                   \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(url_hotlinking, id_menu_view_url_hotlinking, "Enable URL Linking"),                          \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(CompactMode, compact_mode, 0, lowest_bit, setter_kind::stores_and_shows, resync_text_font,              \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(compact_mode, id_menu_pref_compact_mode, "Compact Font"),                                    \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(LocalEcho, local_echo, 1, lowest_bit, setter_kind::stores_and_shows, nullptr,                           \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(local_echo, id_menu_view_local_echo, "&Enable Local Echo"),                                  \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(CommandSeparator, cmd_separator, 1, lowest_bit, setter_kind::stores_and_shows, nullptr,                 \
            default_reset::by_setter, STATUS_LINE(command_separator),                                               \
            MENU_CHECK(command_separator, id_menu_view_command_separator, "Command Separator"),                     \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(CommandPushthrough, cmd_pushthrough, 0, lowest_bit, setter_kind::stores_and_shows, nullptr,             \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(command_pushthrough, id_menu_view_command_pushthrough, "Select &Last Command"),              \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(HintButton, hint_button_enable, 1, lowest_bit, setter_kind::changes_and_shows, relayout,                \
            default_reset::stored, STATUS_LINE(hint_button),                                                        \
            MENU_CHECK(hint_buttons, id_menu_view_hint_buttons, "&Hint Buttons"),                                   \
            CONFIG_WORD_FLASH("hint_buttons", flash_hint_buttons), unbound)                                         \
    SETTING(DirectionButton, direction_button_enable, 0, lowest_bit, setter_kind::changes_and_shows, relayout,      \
            default_reset::stored, STATUS_LINE(direction_button),                                                   \
            MENU_CHECK(direction_buttons, id_menu_view_direction_buttons, "&Direction Buttons"),                    \
            CONFIG_WORD("direction_buttons"), unbound)                                                              \
    SETTING(FkeyButton, fkey_button_display, 0, lowest_bit, setter_kind::changes_and_shows, relayout,               \
            default_reset::stored, STATUS_LINE(fkey_button),                                                        \
            MENU_CHECK(fkey_buttons, id_menu_view_fkey_buttons, "&Function Key Buttons"),                           \
            CONFIG_WORD("fkey_buttons"), toggle_fkey_buttons)                                                       \
    SETTING(ButtonTooltips, button_tooltips, 0, lowest_bit, setter_kind::stores, nullptr,                           \
            default_reset::kept, NO_STATUS_LINE, NO_MENU, NO_CONFIG_WORD, unbound)                                  \
    SETTING(StatusBar, status_bar, 1, lowest_bit, setter_kind::changes_and_shows, show_status_bar_and_relayout,     \
            default_reset::stored, STATUS_LINE(status_bar),                                                         \
            MENU_CHECK(status_bar, id_menu_pref_status_bar, "&Status Bar"),                                         \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(SkyBar, sky_bar, 1, lowest_bit, setter_kind::changes_and_shows, show_sky_bar_and_relayout,              \
            default_reset::stored, STATUS_LINE(sky_bar),                                                            \
            MENU_CHECK(sky_bar, id_menu_pref_sky_bar, "S&ky Bar"),                                                  \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(ExpDisplay, exp_display, 1, lowest_bit, setter_kind::changes_and_shows, show_exp_display_and_relayout,  \
            default_reset::stored, STATUS_LINE(exp_display),                                                        \
            MENU_CHECK(exp_display, id_menu_pref_exp_display, "E&xp Bar"),                                          \
            CONFIG_WORD("exp_bar"), toggle_exp_display)                                                             \
    /* The server's word "status_bar" switches the health bars, which it calls the status display. */              \
    SETTING(HpbarEnable, hpbar_enable, 1, lowest_bit, setter_kind::changes_and_shows, show_hpbar_and_relayout,      \
            default_reset::stored, STATUS_LINE(hpbar_enable),                                                       \
            MENU_CHECK(hpbar, id_menu_pref_hpbar, "HP Bar"),                                                        \
            CONFIG_WORD_FLASH("status_bar", flash_status_display), toggle_hp_bar)                                   \
    STORED(hp_display, 0, lowest_bit)                                                                               \
    SETTING(EnemyHpbarEnable, enemy_hpbar_enable, 1, lowest_bit, setter_kind::changes_and_shows,                    \
            show_enemy_hpbar_and_relayout, default_reset::stored, STATUS_LINE(enemy_hpbar_enable),                  \
            MENU_CHECK(enemy_hpbar, id_menu_pref_enemy_hpbar, "Enemy HP Bar"),                                      \
            NO_CONFIG_WORD, toggle_enemy_hp_bar)                                                                    \
    STORED(enemy_hp_display, 1, lowest_bit)                                                                         \
    SETTING(GroupStatus, group_status_display, 1, in_range(0, 2, 0), setter_kind::changes_and_shows,                \
            hide_group_display_if_off_and_relayout, default_reset::stored, STATUS_LINE(group_status),               \
            MENU_RADIO(group_status), NO_CONFIG_WORD, toggle_group_status)                                          \
    SETTING(PopupDisplay, popup_display, 1, lowest_bit, setter_kind::changes_and_shows, relayout,                   \
            default_reset::stored, STATUS_LINE(popup_display),                                                      \
            MENU_CHECK(popup_display, id_menu_view_popup_display, "&Popup Buttons"),                                \
            CONFIG_WORD_FLASH("popup_buttons", flash_popup_buttons), toggle_popup_display)                          \
    SETTING(LockingScrollback, locking_scrollback_enable, 0, lowest_bit, setter_kind::stores_and_shows, nullptr,    \
            default_reset::by_setter, NO_STATUS_LINE,                                                               \
            MENU_CHECK(locking_scrollback, id_menu_view_locking_scrollback, "Locking Scrollback"),                  \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(MwScrollbar, mw_scrollbar_enable, 1, lowest_bit, setter_kind::changes_and_shows,                        \
            reset_scrollbars_and_refresh, default_reset::stored, NO_STATUS_LINE,                                    \
            MENU_CHECK(mw_scrollbar, id_menu_view_mw_scrollbar, "Main Scrollbar"),                                  \
            NO_CONFIG_WORD, toggle_mw_scrollbar)                                                                    \
    SETTING(Layout, current_layout, layout_left_bottom, clamped(layout_embedded, layout_left_bottom),               \
            setter_kind::changes_and_shows, change_layout, default_reset::stored, STATUS_LINE(layout),              \
            MENU_RADIO(layout), NO_CONFIG_WORD, unbound)                                                            \
    SETTING(ButtonTheme, current_theme, theme_code_yellow, as_is, setter_kind::changes_and_shows,                   \
            change_button_theme, default_reset::kept, STATUS_LINE(button_theme),                                    \
            MENU_RADIO(button_theme), NO_CONFIG_WORD, unbound)                                                      \
    SETTING(BackgroundColor, current_background_theme, theme_code_cyan, as_is, setter_kind::changes_and_shows,      \
            change_background, default_reset::kept, STATUS_LINE(background_color),                                  \
            MENU_RADIO(background_color), NO_CONFIG_WORD, unbound)                                                  \
    /* The font colours' items also switch the palette: the frame's own. */                                         \
    SETTING(FontColors, font_colors_setting, 0, in_range(0, 3, 0), setter_kind::stores, nullptr,                    \
            default_reset::kept, STATUS_LINE(font_colors), NO_MENU, NO_CONFIG_WORD, unbound)                        \
    SETTING(BackgroundStyle, theme_bg_setting, 3, in_range(0, 4, 3), setter_kind::changes_and_shows,                \
            change_background, default_reset::kept, STATUS_LINE(background_style),                                  \
            MENU_RADIO(background_style), NO_CONFIG_WORD, unbound)                                                  \
    SETTING(AutomapDocked, automap_docked, 1, lowest_bit, setter_kind::stores, nullptr,                             \
            default_reset::stored, STATUS_LINE(automap_docked),                                                     \
            FRAME_CHECK(automap_docked, id_menu_view_automap_docked, "Docked Map"),                                 \
            NO_CONFIG_WORD, unbound)                                                                                \
    /* The frame shows the map as it switches it: its "config" word is the frame's. */                              \
    SETTING(AutomapEnable, automap_display, 1, lowest_bit, setter_kind::stores, nullptr,                            \
            default_reset::stored, STATUS_LINE(automap_enable),                                                     \
            FRAME_CHECK(automap_display, id_menu_view_automap_display, "&Automap"),                                 \
            NO_CONFIG_WORD, unbound)                                                                                \
    /* The automap makes odd cell sizes; larger ones cost memory without end. */                                    \
    SETTING(AutomapSize, automap_size, automap_size_default,                                                        \
            odd_in_range(automap_size_min, automap_size_max, automap_size_default), setter_kind::stores_in_range,   \
            nullptr, default_reset::stored, NO_STATUS_LINE, NO_MENU, NO_CONFIG_WORD, unbound)                       \
    SETTING(InputHeight, input_height, 48, in_range(input_height_min, input_height_max, 48), setter_kind::stores,   \
            nullptr, default_reset::kept, NO_STATUS_LINE, NO_MENU, NO_CONFIG_WORD, unbound)                         \
    SETTING(ChannelWindow, channel_window_enable, 0, lowest_bit, setter_kind::changes,                              \
            show_channel_window_and_relayout, default_reset::stored, STATUS_LINE(channel_window),                   \
            MENU_CHECK(channel_window, id_menu_pref_channel_window, "Tabbed &Channel Window"),                      \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(ChannelHeight, channel_window_height, 25, in_range(channel_height_min, channel_height_max, 25),         \
            setter_kind::stores, nullptr, default_reset::stored, NO_STATUS_LINE, NO_MENU, NO_CONFIG_WORD, unbound)  \
    SETTING(ChannelDupe, channel_window_dupe, 1, lowest_bit, setter_kind::stores, nullptr,                          \
            default_reset::by_setter, STATUS_LINE(channel_dupe),                                                    \
            MENU_CHECK(channel_dupe, id_menu_pref_channel_dupe, "D&uplicate Channel Sends in Main Window"),         \
            NO_CONFIG_WORD, unbound)                                                                                \
    SETTING(ColorFlash, colorflash_enable, 1, lowest_bit, setter_kind::stores_and_shows, nullptr,                   \
            default_reset::by_setter, STATUS_LINE(color_flash),                                                     \
            MENU_CHECK(colorflash, id_menu_pref_colorflash, "Show &Color Flash Events"),                            \
            NO_CONFIG_WORD, unbound)                                                                                \
    INSTALLATION(SystemAudio, STATUS_LINE(system_audio),                                                            \
                 MENU_CHECK(audio_enable, id_menu_view_audio_enable, "Enable Sounds"))
// clang-format on

#endif
