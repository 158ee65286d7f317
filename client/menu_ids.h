#ifndef VUSK_MENU_IDS_H
#define VUSK_MENU_IDS_H

// Ids of the main frame's menu items, each named after the handler it is
// bound to.

constexpr int id_menu_file_connect = 12345;
constexpr int id_menu_file_disconnect = 12346;
constexpr int id_menu_file_logfile_save = 12347;
constexpr int id_menu_file_quit = 12348;
constexpr int id_menu_view_clear_scrollback = 12349;

constexpr int id_menu_view_layout_embedded = 12350;
constexpr int id_menu_view_layout_left = 12351;
constexpr int id_menu_view_layout_left_bottom = 12352;
constexpr int id_menu_view_popup_display = 12353;
constexpr int id_menu_view_hint_buttons = 12354;
constexpr int id_menu_view_direction_buttons = 12355;
constexpr int id_menu_view_fkey_buttons = 12356;
constexpr int id_menu_pref_status_bar = 12357;
constexpr int id_menu_pref_sky_bar = 12358;
constexpr int id_menu_pref_hpbar = 12359;
constexpr int id_menu_pref_exp_display = 12360;
constexpr int id_menu_pref_enemy_hpbar = 12361;
constexpr int id_menu_view_group_status_off = 12362;
constexpr int id_menu_view_group_status_horizontal = 12363;
constexpr int id_menu_view_group_status_vertical = 12364;
constexpr int id_menu_pref_channel_window = 12365;
constexpr int id_menu_pref_channel_dupe = 12366;
constexpr int id_menu_pref_colorflash = 12367;
constexpr int id_menu_view_command_pushthrough = 12368;
constexpr int id_menu_view_command_separator = 12369;
constexpr int id_menu_view_local_echo = 12370;
constexpr int id_menu_view_keypad_walking = 12371;
constexpr int id_menu_view_mw_scrollbar = 12372;
constexpr int id_menu_view_locking_scrollback = 12373;
constexpr int id_menu_view_url_hotlinking = 12374;
constexpr int id_menu_pref_compact_mode = 12375;
constexpr int id_menu_view_audio_enable = 12376;
constexpr int id_menu_pref_default = 12377;

constexpr int id_menu_theme_background_red = 12378;
constexpr int id_menu_theme_background_brown = 12379;
constexpr int id_menu_theme_background_yellow = 12380;
constexpr int id_menu_theme_background_ygreen = 12381;
constexpr int id_menu_theme_background_green = 12382;
constexpr int id_menu_theme_background_cyan = 12383;
constexpr int id_menu_theme_background_blue = 12384;
constexpr int id_menu_theme_background_purple = 12385;
constexpr int id_menu_theme_background_grey = 12386;

constexpr int id_menu_theme_buttons_red = 12387;
constexpr int id_menu_theme_buttons_brown = 12388;
constexpr int id_menu_theme_buttons_yellow = 12389;
constexpr int id_menu_theme_buttons_ygreen = 12390;
constexpr int id_menu_theme_buttons_green = 12391;
constexpr int id_menu_theme_buttons_cyan = 12392;
constexpr int id_menu_theme_buttons_blue = 12393;
constexpr int id_menu_theme_buttons_purple = 12394;
constexpr int id_menu_theme_buttons_grey = 12395;

constexpr int id_menu_theme_bg_none = 12396;
constexpr int id_menu_theme_bg_solid = 12397;
constexpr int id_menu_theme_bg_maze1 = 12398;
constexpr int id_menu_theme_bg_maze2 = 12399;
constexpr int id_menu_theme_bg_bubbles = 12400;
constexpr int id_menu_theme_default = 12401;

constexpr int id_menu_view_font_color_default = 12402;
constexpr int id_menu_view_font_color_zmud = 12403;
constexpr int id_menu_view_font_color_gmud = 12404;
constexpr int id_menu_view_font_color_bright = 12405;
constexpr int id_menu_view_font_incr = 12406;
constexpr int id_menu_view_font_decr = 12407;
constexpr int id_menu_view_change_font = 12408;
constexpr int id_menu_view_change_button_font = 12409;

constexpr int id_menu_view_automap_display = 12410;
constexpr int id_menu_view_automap_docked = 12411;
constexpr int id_menu_view_map_big = 12412;
constexpr int id_menu_view_map_med = 12413;
constexpr int id_menu_view_map_small = 12414;
constexpr int id_menu_view_map_incr = 12415;
constexpr int id_menu_view_map_decr = 12416;

constexpr int id_menu_help_kb_shortcuts = 12417;
constexpr int id_menu_help_mud_basic_help = 12418;
constexpr int id_menu_help_mud_more_help = 12419;
constexpr int id_menu_help_web_main = 12420;
constexpr int id_menu_help_web_forum = 12421;
constexpr int id_menu_help_web_help = 12423;
constexpr int id_menu_help_web_maps = 12424;
constexpr int id_menu_help_web_shops = 12425;
constexpr int id_menu_help_web_skills = 12426;
constexpr int id_menu_help_web_quests = 12427;
constexpr int id_menu_help_web_rules = 12429;
constexpr int id_menu_help_web_commands = 12430;
constexpr int id_menu_help_web_socials = 12431;
constexpr int id_menu_help_web_faq = 12432;
constexpr int id_menu_help_web_changes = 12433;
constexpr int id_menu_help_about = 12434;
constexpr int id_menu_help_update = 12435;

// The vote menu: entries 1 to 8, "Vote For All" and the reminder switch.
constexpr int id_menu_vote_first = 12436;
constexpr int id_menu_vote_last = 12443;
constexpr int id_menu_vote_all = 12444;
constexpr int id_menu_vote_reminder = 12445;

// The Windows menu's item while there are no popup windows.
constexpr int id_menu_windows_not_connected = 12462;

#endif
