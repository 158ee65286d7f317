#ifndef VUSK_MENU_IDS_H
#define VUSK_MENU_IDS_H

// Ids of the main frame's menu items, each named after the handler it
// reaches. The frame binds every id from the first to the last to one
// dispatcher, whose switch over this enumeration has no default: an item
// added here without a case does not compile (-Wswitch), and one outside the
// bound range fails the static assertion in menus.cpp. Keep them in order.
enum menu_id : int {
    id_menu_file_connect = 12345,
    id_menu_file_disconnect = 12346,
    id_menu_file_logfile_save = 12347,
    id_menu_file_quit = 12348,
    id_menu_view_clear_scrollback = 12349,

    id_menu_view_layout_embedded = 12350,
    id_menu_view_layout_left = 12351,
    id_menu_view_layout_left_bottom = 12352,
    id_menu_view_popup_display = 12353,
    id_menu_view_hint_buttons = 12354,
    id_menu_view_direction_buttons = 12355,
    id_menu_view_fkey_buttons = 12356,
    id_menu_pref_status_bar = 12357,
    id_menu_pref_sky_bar = 12358,
    id_menu_pref_hpbar = 12359,
    id_menu_pref_exp_display = 12360,
    id_menu_pref_enemy_hpbar = 12361,
    id_menu_view_group_status_off = 12362,
    id_menu_view_group_status_horizontal = 12363,
    id_menu_view_group_status_vertical = 12364,
    id_menu_pref_channel_window = 12365,
    id_menu_pref_channel_dupe = 12366,
    id_menu_pref_colorflash = 12367,
    id_menu_view_command_pushthrough = 12368,
    id_menu_view_command_separator = 12369,
    id_menu_view_local_echo = 12370,
    id_menu_view_keypad_walking = 12371,
    id_menu_view_mw_scrollbar = 12372,
    id_menu_view_locking_scrollback = 12373,
    id_menu_view_url_hotlinking = 12374,
    id_menu_pref_compact_mode = 12375,
    id_menu_view_audio_enable = 12376,
    id_menu_pref_default = 12377,

    id_menu_theme_background_red = 12378,
    id_menu_theme_background_brown = 12379,
    id_menu_theme_background_yellow = 12380,
    id_menu_theme_background_ygreen = 12381,
    id_menu_theme_background_green = 12382,
    id_menu_theme_background_cyan = 12383,
    id_menu_theme_background_blue = 12384,
    id_menu_theme_background_purple = 12385,
    id_menu_theme_background_grey = 12386,

    id_menu_theme_buttons_red = 12387,
    id_menu_theme_buttons_brown = 12388,
    id_menu_theme_buttons_yellow = 12389,
    id_menu_theme_buttons_ygreen = 12390,
    id_menu_theme_buttons_green = 12391,
    id_menu_theme_buttons_cyan = 12392,
    id_menu_theme_buttons_blue = 12393,
    id_menu_theme_buttons_purple = 12394,
    id_menu_theme_buttons_grey = 12395,

    id_menu_theme_bg_none = 12396,
    id_menu_theme_bg_solid = 12397,
    id_menu_theme_bg_maze1 = 12398,
    id_menu_theme_bg_maze2 = 12399,
    id_menu_theme_bg_bubbles = 12400,
    id_menu_theme_default = 12401,

    id_menu_view_font_color_default = 12402,
    id_menu_view_font_color_zmud = 12403,
    id_menu_view_font_color_gmud = 12404,
    id_menu_view_font_color_bright = 12405,
    id_menu_view_font_incr = 12406,
    id_menu_view_font_decr = 12407,
    id_menu_view_change_font = 12408,
    id_menu_view_change_button_font = 12409,

    id_menu_view_automap_display = 12410,
    id_menu_view_automap_docked = 12411,
    id_menu_view_map_big = 12412,
    id_menu_view_map_med = 12413,
    id_menu_view_map_small = 12414,
    id_menu_view_map_incr = 12415,
    id_menu_view_map_decr = 12416,

    id_menu_help_kb_shortcuts = 12417,
    id_menu_help_mud_basic_help = 12418,
    id_menu_help_mud_more_help = 12419,
    id_menu_help_web_main = 12420,
    id_menu_help_web_forum = 12421,
    id_menu_help_web_help = 12423,
    id_menu_help_web_maps = 12424,
    id_menu_help_web_shops = 12425,
    id_menu_help_web_skills = 12426,
    id_menu_help_web_quests = 12427,
    id_menu_help_web_rules = 12429,
    id_menu_help_web_commands = 12430,
    id_menu_help_web_socials = 12431,
    id_menu_help_web_faq = 12432,
    id_menu_help_web_changes = 12433,
    id_menu_help_about = 12434,
    id_menu_help_update = 12435,

    // The vote menu: entries 1 to 8, "Vote For All" and the reminder switch.
    id_menu_vote_1 = 12436,
    id_menu_vote_2 = 12437,
    id_menu_vote_3 = 12438,
    id_menu_vote_4 = 12439,
    id_menu_vote_5 = 12440,
    id_menu_vote_6 = 12441,
    id_menu_vote_7 = 12442,
    id_menu_vote_8 = 12443,
    id_menu_vote_all = 12444,
    id_menu_vote_reminder = 12445,

    // The Windows menu: one check item per popup window (at most sixteen),
    // the item while there are none, and the reset of their positions.
    id_menu_popup_1 = 12446,
    id_menu_popup_2 = 12447,
    id_menu_popup_3 = 12448,
    id_menu_popup_4 = 12449,
    id_menu_popup_5 = 12450,
    id_menu_popup_6 = 12451,
    id_menu_popup_7 = 12452,
    id_menu_popup_8 = 12453,
    id_menu_popup_9 = 12454,
    id_menu_popup_10 = 12455,
    id_menu_popup_11 = 12456,
    id_menu_popup_12 = 12457,
    id_menu_popup_13 = 12458,
    id_menu_popup_14 = 12459,
    id_menu_popup_15 = 12460,
    id_menu_popup_16 = 12461,
    id_menu_windows_not_connected = 12462,
    id_menu_popup_reset = 12463,
};

// The range the frame binds.
constexpr menu_id menu_id_first = id_menu_file_connect;
constexpr menu_id menu_id_last = id_menu_popup_reset;

constexpr menu_id id_menu_vote_first = id_menu_vote_1;
constexpr menu_id id_menu_vote_last = id_menu_vote_8;
constexpr menu_id id_menu_popup_first = id_menu_popup_1;
constexpr menu_id id_menu_popup_last = id_menu_popup_16;

constexpr bool is_bound_menu_id(int id)
{
    return id >= menu_id_first && id <= menu_id_last;
}

#endif
