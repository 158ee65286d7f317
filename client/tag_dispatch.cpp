#include "tag_dispatch.h"

#include "tqconfig.h"
#include "util.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// A player's name is one line of at most this many characters.
constexpr size_t login_name_max_length = 7999;
constexpr char vote_menu_prefix[] = "votemenu";
constexpr size_t vote_menu_prefix_length = sizeof vote_menu_prefix - 1;
constexpr int exit_mask_bits_per_letter = 5;

bool is_word_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

// The first word of text, or null when text is blank.
const char *first_word(const char *text)
{
    while (is_word_space(*text))
        ++text;
    return *text ? text : nullptr;
}

// Reads up to max_count blank-separated numbers into values; returns how
// many words there were.
int read_numbers(const char *data, int *values, int max_count)
{
    int count = 0;
    for (const char *word = first_word(data); word && count < max_count; word = next_arg(word))
        values[count++] = read_int_clamped(word);
    return count;
}

// The mask from the word's first two characters: letters A to Z carry five
// bits each. Other characters count by their signed codes all the same (a
// one-character word pairs with its terminator); the exits read only the ten
// low bits.
int exit_mask_from_word(const char *word)
{
    const int high = static_cast<signed char>(word[0]) - 'A';
    const int low = static_cast<signed char>(word[1]) - 'A';
    return (high * (1 << exit_mask_bits_per_letter)) | low;
}

} // namespace

struct vusk_tag_dispatcher::tag_row {
    const char *name;
    void (*act)(vusk_tag_dispatcher &self, const char *data, int length);
};

namespace {

// Calls `act` with the owner when one is registered.
template <typename Owner, typename Act> void with(Owner *owner, Act act)
{
    if (owner != nullptr)
        act(*owner);
}

} // namespace

// Matched whole and case-sensitively, in this order; the tags that begin
// with "votemenu" or "b" come after (dispatch_prefixed).
const vusk_tag_dispatcher::tag_row vusk_tag_dispatcher::table[] = {
    {"login", [](vusk_tag_dispatcher &self, const char *data, int) { self.login(data); }},
    {"map", [](vusk_tag_dispatcher &self, const char *data, int length) {
         with(self.owners.automap, [&](automap_tag_owner &map) { map.map_message(data, length); });
     }},
    {"walkfail", [](vusk_tag_dispatcher &self, const char *data, int length) {
         with(self.owners.automap, [&](automap_tag_owner &map) { map.walk_fail(data, length); });
     }},
    {"dirs", [](vusk_tag_dispatcher &self, const char *data, int) { self.directions(data); }},
    {"areaname", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.automap, [&](automap_tag_owner &map) { map.set_area_name(data); });
     }},
    {"combat", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.automap, [&](automap_tag_owner &map) { map.set_combat_mode(data); });
     }},
    {"ncombat", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.automap, [&](automap_tag_owner &map) { map.clear_combat_mode(data); });
         with(self.owners.status_display, [](status_tag_owner &status) { status.clear_enemy_hp(); });
     }},
    {"uuid", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.client_id, [&](client_id_owner &owner) { owner.set_client_id(data); });
     }},
    {"enemyhp", [](vusk_tag_dispatcher &self, const char *data, int) { self.enemy(data); }},
    {"group", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.group_display, [&](group_tag_owner &group) { group.update(data); });
     }},
    {"xpp", [](vusk_tag_dispatcher &self, const char *data, int) { self.xp(data); }},
    {"event", [](vusk_tag_dispatcher &self, const char *data, int) { self.event(data); }},
    {"hp", [](vusk_tag_dispatcher &self, const char *data, int) { self.hp(data); }},
    {"sound", [](vusk_tag_dispatcher &self, const char *data, int) {
         if (TConfig::Instance()->GetSystemAudio())
             with(self.owners.sound, [&](sound_tag_owner &sound) { sound.parse_audio_tag(data); });
     }},
    {"bclear", [](vusk_tag_dispatcher &self, const char *, int) {
         with(self.owners.hint_buttons, [](hint_button_tag_owner &hints) { hints.clear(); });
     }},
    {"window_create", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.popups, [&](popup_tag_owner &popups) { popups.create_window(data); });
     }},
    {"append", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.frame, [&](frame_tag_owner &frame) { frame.tq_append(data); });
     }},
    {"unappend", [](vusk_tag_dispatcher &self, const char *, int) {
         with(self.owners.frame, [](frame_tag_owner &frame) { frame.tq_unappend(); });
     }},
    {"chdiv", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.channels, [&](channel_tag_owner &channels) { channels.set_divert_channel(data); });
         self.channel_divert_active_ = true;
     }},
    {"chudiv", [](vusk_tag_dispatcher &self, const char *, int) { self.channel_undivert(); }},
    {"divert", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.frame, [&](frame_tag_owner &frame) { frame.tq_divert(data); });
     }},
    {"undivert", [](vusk_tag_dispatcher &self, const char *, int) {
         with(self.owners.frame, [](frame_tag_owner &frame) { frame.tq_undivert(); });
     }},
    {"config", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.frame, [&](frame_tag_owner &frame) { frame.config_cmd_process(data); });
     }},
    {"skystate", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.status_bar, [&](status_bar_tag_owner &bar) { bar.update_sky_display(data); });
     }},
    {"icons", [](vusk_tag_dispatcher &self, const char *data, int) {
         with(self.owners.status_bar, [&](status_bar_tag_owner &bar) { bar.update_icon_display(data); });
     }},
};

void vusk_tag_dispatcher::process_tagged_data(const char *tag, const char *data, int)
{
    if (!tag)
        return;
    if (!data)
        data = "";
    const int length = static_cast<int>(std::strlen(data));
    for (const tag_row &row : table) {
        if (std::strcmp(tag, row.name) == 0) {
            row.act(*this, data, length);
            return;
        }
    }
    dispatch_prefixed(tag, data);
}

void vusk_tag_dispatcher::dispatch_prefixed(const char *tag, const char *data)
{
    if (std::strncmp(tag, vote_menu_prefix, vote_menu_prefix_length) == 0) {
        with(owners.frame, [&](frame_tag_owner &frame) {
            frame.vote_menu_entry(tag + vote_menu_prefix_length, data);
        });
    } else if (tag[0] == 'b') {
        buttons(tag, data);
    }
}

void vusk_tag_dispatcher::channel_undivert()
{
    with(owners.channels, [](channel_tag_owner &channels) { channels.clear_divert_channel(); });
    channel_divert_active_ = false;
}

text_route vusk_tag_dispatcher::route_text(bool channel_window_on, bool channel_dupe_on) const
{
    text_route route;
    if (channel_divert_active_) {
        route.channel = true;
        // The tabbed window already shows the channel; copy it to the main
        // display only when the player asked for duplicates.
        route.main = !(channel_window_on && !channel_dupe_on);
    } else {
        route.current = true;
    }
    return route;
}

void vusk_tag_dispatcher::login(const char *data)
{
    const std::string name(data, std::min(std::strcspn(data, "\n"), login_name_max_length));
    with(owners.frame, [&](frame_tag_owner &frame) { frame.login(name.c_str()); });
}

// "on" or "off" switches the pad; a second word's exit mask goes to the pad
// and to the automap in either case.
void vusk_tag_dispatcher::directions(const char *data)
{
    with(owners.direction_pad, [&](direction_pad_tag_owner &pad) {
        if (wordcmp(data, "on"))
            pad.enable();
        else if (wordcmp(data, "off"))
            pad.disable();
    });
    const char *mask_word = next_arg(data);
    if (mask_word == nullptr)
        return;
    const int exit_mask = exit_mask_from_word(mask_word);
    with(owners.direction_pad, [&](direction_pad_tag_owner &pad) { pad.enable(exit_mask); });
    with(owners.automap, [&](automap_tag_owner &map) { map.set_exit_mask(exit_mask); });
}

void vusk_tag_dispatcher::enemy(const char *data)
{
    with(owners.status_display, [&](status_tag_owner &status) {
        if (!*data) {
            status.clear_enemy_hp();
            return;
        }
        enemy_hp enemy;
        enemy.percent = read_int_clamped(data);
        enemy.name = next_arg(data);
        status.display_enemy_hp(enemy);
    });
}

void vusk_tag_dispatcher::event(const char *data)
{
    if (wordcmp(data, "colorflash")) {
        if (TConfig::Instance()->GetColorFlash()) {
            const char *arguments = next_arg(data);
            with(owners.frame, [&](frame_tag_owner &frame) { frame.color_flash(arguments ? arguments : ""); });
        }
    } else if (std::strcmp(data, "tqpong") == 0) {
        with(owners.frame, [](frame_tag_owner &frame) { frame.ping_reply(); });
    }
}

void vusk_tag_dispatcher::hp(const char *data)
{
    hp_values hp;
    hp.count = read_numbers(data, hp.value, hp_value_count);
    with(owners.status_display, [&](status_tag_owner &status) { status.display_hp(hp); });
}

void vusk_tag_dispatcher::xp(const char *data)
{
    xp_percentages xp;
    read_numbers(data, xp.percent, xp_percentage_count);
    with(owners.status_display, [&](status_tag_owner &status) { status.display_xp_percentages(xp); });
}

// "bf<n>" is a function key; any other "b<n>" a hint button. A number out of
// the row's range does nothing.
void vusk_tag_dispatcher::buttons(const char *tag, const char *data)
{
    if (tag[1] == 'f') {
        const int key = read_int_clamped(tag + 2);
        if (key >= 1) {
            if (key <= fkey_button_count)
                with(owners.fkey_row, [&](button_row_tag_owner &row) { row.setup_button(key, tag, data); });
            return;
        }
    }
    const int button = read_int_clamped(tag + 1);
    if (button >= 1 && button <= hint_button_count)
        with(owners.hint_buttons, [&](hint_button_tag_owner &row) { row.setup_button(button, tag, data); });
}
