#include "status_display_values.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>

const char no_enemy_name[] = "(no enemy)";

namespace {

constexpr int percent_per_mille = 10;
constexpr int full_percent = 100;
constexpr int text_size = 64;

// Each bar's label with long labels and with short ones.
const char *const player_bar_labels[player_bar_count][2] = {
    {" hp", " hp"},
    {" mana", " mn"},
    {" move", " mv"},
};

} // namespace

void status_display_values::reset_values()
{
    hp = mana = move = -1;
    hpmax = manamax = movemax = 1;
    enemy_percent = -1;
    enemy_name = no_enemy_name;
    std::fill(std::begin(exp), std::end(exp), 0);
}

bool status_display_values::store_hp(const hp_values &values)
{
    int *const fields[hp_value_count] = {&hp, &hpmax, &mana, &manamax, &move, &movemax};
    bool changed = false;
    for (int i = 0; i < values.count && i < hp_value_count; ++i) {
        changed = changed || *fields[i] != values.value[i];
        *fields[i] = values.value[i];
    }
    return values.count >= hp_value_count && changed;
}

bool status_display_values::store_enemy(const enemy_hp &enemy)
{
    const bool percent_changed = enemy.percent != enemy_percent;
    enemy_percent = enemy.percent;
    if (enemy.name == nullptr)
        return false;
    const std::string name(enemy.name, std::min(std::char_traits<char>::length(enemy.name), enemy_name_max_length));
    if (name == enemy_name)
        return percent_changed;
    enemy_name = name;
    return true;
}

void status_display_values::clear_enemy()
{
    enemy_percent = -1;
    enemy_name = no_enemy_name;
}

// Compared once sorted: a tag that lists the same levels in another order
// shows nothing new.
bool status_display_values::store_xp(const xp_percentages &xp)
{
    int before[xp_percentage_count];
    std::copy(std::begin(exp), std::end(exp), before);
    std::copy(std::begin(xp.percent), std::end(xp.percent), exp);
    sort_exp_array();
    return !std::equal(std::begin(exp), std::end(exp), std::begin(before));
}

void status_display_values::sort_exp_array()
{
    std::sort(std::begin(exp), std::end(exp), std::greater<int>());
}

std::string status_display_values::player_bar_text(int bar, int text_mode) const
{
    const int values[player_bar_count][2] = {{hp, hpmax}, {mana, manamax}, {move, movemax}};
    const char *label = player_bar_labels[bar][text_mode == text_long_labels ? 0 : 1];
    char text[text_size];
    if (text_mode == text_values_only)
        std::snprintf(text, sizeof text, "%s:%4d", label, values[bar][0]);
    else
        std::snprintf(text, sizeof text, "%s:%4d/%d", label, values[bar][0], values[bar][1]);
    return text;
}

std::string status_display_values::exp_text(int text_mode) const
{
    const int percent = std::max(exp[0] / percent_per_mille, 0);
    const char *label = text_mode == text_long_labels ? "exp" : "xp";
    char text[text_size];
    if (percent >= full_percent)
        std::snprintf(text, sizeof text, " %s: FULL", label);
    else
        std::snprintf(text, sizeof text, " %s: %d%%", label, percent);
    return text;
}
