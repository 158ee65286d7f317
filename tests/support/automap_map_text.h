#ifndef VUSK_TEST_AUTOMAP_MAP_TEXT_H
#define VUSK_TEST_AUTOMAP_MAP_TEXT_H

// Writes the text of a "map" message for a grid, the way the server does:
// the move letter, five blocks of rows of codes (value + 64, corners + 64
// with their 6-bit value), then the mode character.

#include "automap_model.h"

#include <string>

namespace automap_test {

inline char code(int value)
{
    return char(value + 64);
}

inline std::string map_text(const automap_grid &grid, char move_letter = '@', char mode = '@')
{
    std::string text(1, move_letter);
    auto rows = [&](int first_y, int first_x, auto cell_text) {
        for (int y = first_y; y < automap_grid_cells; y += 2) {
            for (int x = first_x; x < automap_grid_cells; x += 2)
                text += cell_text(grid.at(x, y));
            text += '\n';
        }
    };
    rows(0, 1, [](const automap_cell &c) { return std::string(1, code(c.passage)); });
    rows(1, 0, [](const automap_cell &c) { return std::string(1, code(c.passage)); });
    rows(0, 0, [](const automap_cell &c) { return std::string(1, code(corner_nw_se(c))); });
    rows(0, 0, [](const automap_cell &c) { return std::string(1, code(corner_ne_sw(c))); });
    rows(1, 1, [](const automap_cell &c) {
        return std::string{code(c.terrain), code(c.flags), code(c.room_id), code(c.field3)};
    });
    text += mode;
    return text;
}

// A room at grid cell (x, y), both odd.
inline void put_room(automap_grid &grid, int x, int y, int terrain, int flags, int id)
{
    automap_cell &cell = grid.at(x, y);
    cell.terrain = terrain;
    cell.flags = flags;
    cell.room_id = id;
}

// Both diagonals of a corner cell.
inline void put_corner(automap_grid &grid, int x, int y, int nw_se, int ne_sw)
{
    grid.at(x, y).passage = nw_se | (ne_sw << 16);
}

}

#endif
