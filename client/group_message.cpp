#include "group_message.h"

#include "util.h"

#include <cstring>
#include <string>

namespace {

constexpr int short_rows_extra = 6;
constexpr char dot_mark = '.';
constexpr char dash_mark = '-';

std::string cut_name(std::string name)
{
    if (name.size() > member_name_max_length)
        name.resize(member_name_max_length);
    return name;
}

// The text after the kind character up to a carriage return, without a
// kind character closing it.
std::string marked_name(const std::string &text)
{
    std::string name = text.substr(1, text.find('\r') - 1);
    if (!name.empty() && (name.back() == dot_mark || name.back() == dash_mark))
        name.pop_back();
    return name;
}

} // namespace

bool parse_update_line(const char *line, const char *line_end, hpbar_display_data &row)
{
    if (line == nullptr || line == line_end)
        return false;
    // A terminated copy of the line alone, so no reading runs into the next.
    const std::string text(line, line_end);
    int *const numbers[] = {&row.hp, &row.hpmax, &row.mana, &row.manamax, &row.move, &row.movemax};
    const char *word = text.c_str();
    while (*word == ' ' || *word == '\t')
        ++word;
    for (int *number : numbers) {
        if (!is_int(word, number))
            return false;
        word = next_arg(word);
    }
    const std::string rest = word != nullptr ? std::string(word) : std::string();
    const bool marked = !rest.empty() && (rest[0] == dot_mark || rest[0] == dash_mark);
    row.kind = !marked ? row_member : rest[0] == dot_mark ? row_dot : row_dash;
    row.name = cut_name(marked ? marked_name(rest) : rest);
    return true;
}

std::vector<hpbar_display_data> parse_group_message(const char *data)
{
    std::vector<hpbar_display_data> rows;
    if (data == nullptr)
        return rows;
    const char *line = data;
    while (*line != '\0' && int(rows.size()) < group_row_limit) {
        const char *end = line + std::strcspn(line, "\n");
        hpbar_display_data row;
        if (!parse_update_line(line, end, row))
            break;
        rows.push_back(std::move(row));
        line = *end == '\n' ? end + 1 : end;
    }
    return rows;
}

int group_row_height(const hpbar_display_data &row, int row_height, int short_row_height)
{
    return row.kind == row_member ? row_height : short_row_height;
}

int group_ysize(const std::vector<hpbar_display_data> &rows, int row_height, int short_row_height)
{
    if (rows.empty())
        return 1;
    int height = int(rows.size()) + 1;
    bool short_rows = false;
    for (const hpbar_display_data &row : rows) {
        height += group_row_height(row, row_height, short_row_height);
        short_rows = short_rows || row.kind != row_member;
    }
    return short_rows ? height + short_rows_extra : height;
}

int group_row_at(const std::vector<hpbar_display_data> &rows, int y, int row_height, int short_row_height)
{
    int r = y - 1;
    bool dash_seen = false;
    for (size_t i = 0; i < rows.size() && r >= 0; ++i) {
        if (rows[i].kind == row_dash && !dash_seen) {
            dash_seen = true;
            r -= group_separator_space;
        }
        const int height = group_row_height(rows[i], row_height, short_row_height);
        if (r <= height)
            return int(i);
        r -= height + 1;
    }
    return -1;
}
