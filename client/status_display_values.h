#ifndef VUSK_STATUS_DISPLAY_VALUES_H
#define VUSK_STATUS_DISPLAY_VALUES_H

// The numbers and the enemy name that the status display shows, as the
// "hp", "enemyhp" and "xpp" tags set them. Each store reports whether what
// it stored differs from before, so the panel repaints only then.

#include "status_display_geometry.h"
#include "tag_owners.h"

#include <string>

// An enemy name longer than this is cut; no bar could show more of it.
constexpr size_t enemy_name_max_length = 255;
constexpr int exp_full_scale = 1000; // experience is given per mille

extern const char no_enemy_name[];

// The three player bars, in the order they stand.
enum player_bar_index { bar_health, bar_mana, bar_movement, player_bar_count };

struct status_display_values {
    int hp = -1;
    int hpmax = 1;
    int mana = -1;
    int manamax = 1;
    int move = -1;
    int movemax = 1;
    // Per mille towards each of up to eight levels, largest first.
    int exp[xp_percentage_count] = {};
    std::string enemy_name = no_enemy_name;
    // -1 while there is no enemy.
    int enemy_percent = -1;

    // Back to "nothing known": empty bars, no enemy, no experience.
    void reset_values();
    // Stores the numbers the tag held, in order; true only when it held all
    // six and one of them changed.
    bool store_hp(const hp_values &values);
    // Stores the percentage, and the name when one came; true when the name
    // changed, or the percentage did while a name came with it.
    bool store_enemy(const enemy_hp &enemy);
    void clear_enemy();
    // Stores the percentages largest first; true when that changed anything.
    bool store_xp(const xp_percentages &xp);
    void sort_exp_array();

    // The text beside a player bar in a text mode that shows texts: the
    // label and the value, with the maximum unless only values are shown.
    std::string player_bar_text(int bar, int text_mode) const;
    // The experience text: the largest level in whole percent, FULL from 100.
    std::string exp_text(int text_mode) const;
};

#endif
