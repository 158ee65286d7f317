#include "status_display_values.h"

#include <algorithm>
#include <functional>
#include <iterator>

const char no_enemy_name[] = "(no enemy)";

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
