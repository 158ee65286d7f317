#ifndef VUSK_TAG_DISPATCH_H
#define VUSK_TAG_DISPATCH_H

// The tagged messages that the stream parser takes out of the game text are
// recognised here, their simple payloads parsed (every number overflow-safe),
// and each is handed to its owner through vusk_tag_effects, which the main
// frame implements. Where plain text goes is decided here too.

constexpr int hp_value_count = 6;
constexpr int xp_percentage_count = 8;
constexpr int hint_button_count = 12;
constexpr int fkey_button_count = 8;

// "dirs": the first word switches the direction pad, if it is "on" or "off".
enum class dirs_switch { unchanged, on, off };

// No exit mask came with "dirs".
constexpr int no_exit_mask = -1;

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

// Every row of the tag table has its effect here. Payloads the dispatcher
// does not parse arrive as terminated strings, never null.
class vusk_tag_effects {
public:
    virtual ~vusk_tag_effects() = default;

    // Settings consulted before a tag acts.
    virtual bool color_flash_enabled() = 0;
    virtual bool system_audio_enabled() = 0;

    // "login": name is the first line of the data (at most 7999 bytes), or ""
    // when that line is empty: then the title and configuration stay as
    // they are. Nothing here checks the name for use as a file name.
    virtual void login(const char *name) = 0;
    virtual void map_message(const char *data, int length) = 0;
    virtual void walk_fail(const char *data, int length) = 0;
    // "dirs": exit_mask is no_exit_mask or 0..825, five bits per letter.
    virtual void set_directions(dirs_switch pad, int exit_mask) = 0;
    virtual void set_area_name(const char *name) = 0;
    virtual void set_combat_mode(const char *data) = 0;
    virtual void clear_combat_mode(const char *data) = 0;
    virtual void set_client_id(const char *id) = 0;
    virtual void display_enemy_hp(const enemy_hp &enemy) = 0;
    // "enemyhp" without data, and after "ncombat": there is no enemy.
    virtual void clear_enemy_hp() = 0;
    virtual void display_group(const char *data) = 0;
    virtual void display_xp_percentages(const xp_percentages &xp) = 0;
    // "event colorflash ...", only while colour flashing is on.
    virtual void color_flash(const char *arguments) = 0;
    // "event tqpong": the answer to the last "tqping".
    virtual void ping_reply() = 0;
    virtual void display_hp(const hp_values &hp) = 0;
    // "sound", only while sound is on.
    virtual void play_sound(const char *request) = 0;
    virtual void clear_hint_buttons() = 0;
    virtual void create_popup_window(const char *definition) = 0;
    virtual void tq_append(const char *name) = 0;
    virtual void tq_unappend() = 0;
    // "chdiv" and "chudiv", after the dispatcher has set its own flag.
    virtual void set_divert_channel(const char *name) = 0;
    virtual void clear_divert_channel() = 0;
    virtual void tq_divert(const char *name) = 0;
    virtual void tq_undivert() = 0;
    virtual void config_cmd_process(const char *command) = 0;
    virtual void update_sky_display(const char *data) = 0;
    virtual void update_icon_display(const char *flags) = 0;
    // A tag "votemenu<number>": number is the tag's text after "votemenu".
    // Sets the entry up, then rebuilds the "&Vote" menu in its place.
    virtual void vote_menu_entry(const char *number, const char *data) = 0;
    // "bf1".."bf8" and "b1".."b12": number is the key or button, already
    // checked against the row's size.
    virtual void setup_fkey_button(int number, const char *tag, const char *data) = 0;
    virtual void setup_hint_button(int number, const char *tag, const char *data) = 0;
};

// The displays that one run of plain text goes to.
struct text_route {
    bool channel = false;
    bool main = false;
    // The current display: the main one, or a popup that text is diverted to.
    bool current = false;
};

class vusk_tag_dispatcher {
public:
    explicit vusk_tag_dispatcher(vusk_tag_effects &effects);
    vusk_tag_dispatcher(const vusk_tag_dispatcher &) = delete;
    vusk_tag_dispatcher &operator=(const vusk_tag_dispatcher &) = delete;

    // One complete tag. A null tag is ignored and null data taken as empty.
    // The data's length is that of its terminated text: the debugging
    // commands that inject tags pass a nominal length.
    void process_tagged_data(const char *tag, const char *data, int length);

    // Where the next run of plain text goes, given the ChannelWindow and
    // ChannelDupe settings.
    text_route route_text(bool channel_window_on, bool channel_dupe_on) const;

    // 1 between "chdiv" and "chudiv".
    int channel_divert_active = 0;

private:
    struct tag_row;
    static const tag_row table[];

    void dispatch_prefixed(const char *tag, const char *data);
    void login(const char *data);
    void directions(const char *data);
    void enemy(const char *data);
    void event(const char *data);
    void hp(const char *data);
    void xp(const char *data);
    void buttons(const char *tag, const char *data);

    vusk_tag_effects &effects_;
};

// atoi's reading (leading blanks, a sign, digits; 0 when there are none),
// but a value beyond int saturates instead of being undefined.
int read_int_clamped(const char *text);

#endif
