#ifndef VUSK_TAG_OWNERS_H
#define VUSK_TAG_OWNERS_H

// The owners of the tagged messages. Each subsystem that acts on tags
// implements the interface of its own tags and is registered in the
// dispatcher's `tag_owners` when it is built; a tag whose owner is not
// registered is ignored. The dispatcher recognises the tag, does the little
// parsing it owns (the login name, the exit mask, the event word, the button
// number, the status numbers) and hands the rest on as terminated text,
// never null.

constexpr int hp_value_count = 6;
constexpr int xp_percentage_count = 8;
constexpr int hint_button_count = 12;
constexpr int fkey_button_count = 8;

// "hp": the numbers read so far, in the order hp, max hp, mana, max mana,
// move, max move; count is how many the data held (0..6).
struct hp_values {
    int value[hp_value_count] = {};
    int count = 0;
};

// "xpp": up to eight percentages; those the data did not hold are 0.
struct xp_percentages {
    int percent[xp_percentage_count] = {};
};

// "enemyhp" with data: the enemy's health, and its name when a second word
// follows (null otherwise).
struct enemy_hp {
    int percent = 0;
    const char *name = nullptr;
};

// The tags the main frame carries out itself.
class frame_tag_owner {
public:
    // "login": name is the first line of the data (at most 7999 bytes), or ""
    // when that line is empty: then the title and configuration stay as
    // they are. Nothing here checks the name for use as a file name.
    virtual void login(const char *name) = 0;
    // "event colorflash ...", only while colour flashing is on.
    virtual void color_flash(const char *arguments) = 0;
    // "event tqpong": the answer to the last "tqping".
    virtual void ping_reply() = 0;
    virtual void tq_divert(const char *name) = 0;
    virtual void tq_append(const char *name) = 0;
    virtual void tq_undivert() = 0;
    virtual void tq_unappend() = 0;
    // "config": a configuration command from the server.
    virtual void config_cmd_process(const char *command) = 0;
    // A tag "votemenu<number>": number is the tag's text after "votemenu".
    virtual void vote_menu_entry(const char *number, const char *data) = 0;

protected:
    ~frame_tag_owner() = default;
};

// "uuid": the configuration keeps the client id.
class client_id_owner {
public:
    virtual void set_client_id(const char *id) = 0;

protected:
    ~client_id_owner() = default;
};

// "hp", "enemyhp", "xpp": the status display.
class status_tag_owner {
public:
    virtual void display_hp(const hp_values &hp) = 0;
    virtual void display_enemy_hp(const enemy_hp &enemy) = 0;
    // "enemyhp" without data, and after "ncombat": there is no enemy.
    virtual void clear_enemy_hp() = 0;
    virtual void display_xp_percentages(const xp_percentages &xp) = 0;

protected:
    ~status_tag_owner() = default;
};

// "skystate", "icons": the status bar.
class status_bar_tag_owner {
public:
    virtual void update_sky_display(const char *data) = 0;
    virtual void update_icon_display(const char *flags) = 0;

protected:
    ~status_bar_tag_owner() = default;
};

// "group": the group display. Returns whether the panel's height changed.
class group_tag_owner {
public:
    virtual bool update(const char *data) = 0;

protected:
    ~group_tag_owner() = default;
};

// "map", "walkfail", "areaname", "combat", "ncombat" and the exit mask of
// "dirs": the automap.
class automap_tag_owner {
public:
    virtual void map_message(const char *data, int length) = 0;
    virtual void walk_fail(const char *data, int length) = 0;
    // Five bits per letter; bits 0..9 are the exits, any others mean nothing.
    virtual void set_exit_mask(int exit_mask) = 0;
    virtual void set_area_name(const char *name) = 0;
    virtual void set_combat_mode(const char *data) = 0;
    virtual void clear_combat_mode(const char *data) = 0;

protected:
    ~automap_tag_owner() = default;
};

// "dirs": the direction pad.
class direction_pad_tag_owner {
public:
    virtual void enable() = 0;
    virtual void disable() = 0;
    // Five bits per letter; bits 0..9 are the exits, any others mean nothing.
    virtual void enable(int exit_mask) = 0;

protected:
    ~direction_pad_tag_owner() = default;
};

// "bf1".."bf8" (the function-key row) and "b1".."b12" (the hint buttons):
// number is the key or button, already checked against the row's size.
class button_row_tag_owner {
public:
    virtual void setup_button(int number, const char *tag, const char *data) = 0;

protected:
    ~button_row_tag_owner() = default;
};

// "bclear" besides the buttons: the hint row.
class hint_button_tag_owner : public button_row_tag_owner {
public:
    virtual void clear() = 0;

protected:
    ~hint_button_tag_owner() = default;
};

// "window_create": the popup manager.
class popup_tag_owner {
public:
    virtual void create_window(const char *definition) = 0;

protected:
    ~popup_tag_owner() = default;
};

// "chdiv", "chudiv": the channel window.
class channel_tag_owner {
public:
    virtual void set_divert_channel(const char *name) = 0;
    virtual void clear_divert_channel() = 0;

protected:
    ~channel_tag_owner() = default;
};

// "sound", only while sound is on: the sound pack.
class sound_tag_owner {
public:
    virtual void parse_audio_tag(const char *request) = 0;

protected:
    ~sound_tag_owner() = default;
};

// Who takes which tags; null until that subsystem is built.
struct tag_owners {
    frame_tag_owner *frame = nullptr;
    client_id_owner *client_id = nullptr;
    status_tag_owner *status_display = nullptr;
    status_bar_tag_owner *status_bar = nullptr;
    group_tag_owner *group_display = nullptr;
    automap_tag_owner *automap = nullptr;
    direction_pad_tag_owner *direction_pad = nullptr;
    hint_button_tag_owner *hint_buttons = nullptr;
    button_row_tag_owner *fkey_row = nullptr;
    popup_tag_owner *popups = nullptr;
    channel_tag_owner *channels = nullptr;
    sound_tag_owner *sound = nullptr;
};

#endif
