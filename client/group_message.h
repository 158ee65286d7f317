#ifndef VUSK_GROUP_MESSAGE_H
#define VUSK_GROUP_MESSAGE_H

// The "group" message as rows of the group display, and the arithmetic of
// the rows' heights. Each line of the message is read on its own.

#include "hpbar_display_data.h"

#include <vector>

// Rows beyond this many are ignored; a taller panel would not fit a screen.
constexpr int group_row_limit = 64;
// A member's name longer than this is cut.
constexpr size_t member_name_max_length = 255;

// The line from `line` to `line_end` (exclusive; it holds no newline) as a
// row: six integers, then the kind character and the name. Six integers and
// nothing else give a member row with an empty name. False when the line
// gives no row.
bool parse_update_line(const char *line, const char *line_end, hpbar_display_data &row);

// Rows in message order up to the first line that gives none.
std::vector<hpbar_display_data> parse_group_message(const char *data);

// The panel's height for these rows: each row its height plus 1, one more
// pixel, and 6 when a short row (a '.' or '-' row) is among them; 1 without
// rows.
int group_ysize(const std::vector<hpbar_display_data> &rows, int row_height, int short_row_height);

// Height of one row of this kind.
int group_row_height(const hpbar_display_data &row, int row_height, int short_row_height);

// The row under y (panel coordinates), or -1.
int group_row_at(const std::vector<hpbar_display_data> &rows, int y, int row_height, int short_row_height);

// Before the first '-' row: a separator line, drawn when rows came before it.
constexpr int group_separator_space = 3;

#endif
