#include "automap_model.h"

#include "tqconfig.h"
#include "util.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int code_offset = 64;
constexpr int corner_value_mask = 63;
constexpr int corner_high_shift = 16;
constexpr int room_group_length = 4;
constexpr int direction_count = 8;
constexpr int first_move_letter = 'A';
// A step of this size ends any slide at once: a larger speed-up adds nothing.
constexpr int speed_up_max = 2 * automap_size_max;

// One block of rows of the map message: its rows lie on every other grid row
// from first_y, its cells on every other grid column from first_x.
enum class block_kind { passage, corner_low, corner_high, rooms };

struct map_block {
    int rows;
    int first_y;
    int cells;
    int first_x;
    block_kind kind;
};

constexpr map_block map_blocks[] = {
    {12, 0, 11, 1, block_kind::passage},     // north-south passages
    {11, 1, 12, 0, block_kind::passage},     // east-west passages
    {12, 0, 12, 0, block_kind::corner_low},  // north-west/south-east diagonals
    {12, 0, 12, 0, block_kind::corner_high}, // north-east/south-west diagonals
    {11, 1, 11, 1, block_kind::rooms},
};

const map_offset unit_moves[direction_count] = {
    {0, 1}, {-1, 0}, {0, -1}, {1, 0}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1},
};

// The text of a map message as unsigned bytes, ending at its length or at
// its first NUL byte.
class map_text_reader {
public:
    map_text_reader(const char *data, int length)
        : next_(reinterpret_cast<const unsigned char *>(data)),
          end_(data != nullptr ? next_ + std::max(length, 0) : next_)
    {
    }

    bool at_end() const { return next_ == end_ || *next_ == '\0'; }
    bool at_newline() const { return !at_end() && *next_ == '\n'; }
    int take() { return *next_++; }
    void skip_newlines()
    {
        while (at_newline())
            ++next_;
    }

private:
    const unsigned char *next_;
    const unsigned char *end_;
};

void store_code(automap_cell &cell, block_kind kind, int code)
{
    switch (kind) {
    case block_kind::passage: cell.passage = code - code_offset; break;
    case block_kind::corner_low: cell.passage = code & corner_value_mask; break;
    case block_kind::corner_high: cell.passage |= (code & corner_value_mask) << corner_high_shift; break;
    case block_kind::rooms: break;
    }
}

// Reads the four codes of one room; false when the text ends inside them.
bool read_room_group(map_text_reader &in, automap_cell &cell)
{
    int codes[room_group_length];
    for (int &code : codes) {
        if (in.at_end())
            return false;
        code = in.take();
    }
    cell.terrain = codes[0] - code_offset;
    cell.flags = codes[1] - code_offset;
    cell.room_id = codes[2] - code_offset;
    cell.field3 = codes[3] - code_offset;
    return true;
}

// One row: its cells from west to east, characters past the last cell
// skipped, then the run of newlines that ends it. False when the text ended.
bool read_row(map_text_reader &in, const map_block &block, int y, automap_grid &grid)
{
    int filled = 0;
    while (!in.at_end() && !in.at_newline()) {
        if (filled == block.cells) {
            in.take();
            continue;
        }
        automap_cell &cell = grid.at(block.first_x + 2 * filled, y);
        if (block.kind != block_kind::rooms)
            store_code(cell, block.kind, in.take());
        else if (!read_room_group(in, cell))
            return false;
        ++filled;
    }
    if (in.at_end())
        return false;
    in.skip_newlines();
    return true;
}

bool read_blocks(map_text_reader &in, automap_grid &grid)
{
    for (const map_block &block : map_blocks) {
        for (int row = 0; row < block.rows; ++row) {
            if (!read_row(in, block, block.first_y + 2 * row, grid))
                return false;
        }
    }
    return true;
}

int move_direction(int letter)
{
    const int direction = letter - first_move_letter;
    return direction >= 0 && direction < direction_count ? direction : -1;
}

int toward_zero(int value, int step)
{
    return value > 0 ? std::max(value - step, 0) : std::min(value + step, 0);
}

} // namespace

const automap_cell *automap_grid::room(int x, int y) const
{
    if (x < 0 || y < 0 || x >= automap_grid_cells || y >= automap_grid_cells)
        return nullptr;
    const automap_cell &cell = cells_[x][y];
    return cell.room_id != 0 ? &cell : nullptr;
}

int automap_grid::passage(int x, int y) const
{
    if (x < 0 || y < 0 || x >= automap_grid_cells || y >= automap_grid_cells)
        return passage_open;
    return cells_[x][y].passage;
}

void automap_grid::clear()
{
    for (auto &column : cells_)
        std::fill(std::begin(column), std::end(column), automap_cell());
}

int corner_nw_se(const automap_cell &corner)
{
    return corner.passage & corner_value_mask;
}

int corner_ne_sw(const automap_cell &corner)
{
    return (corner.passage >> corner_high_shift) & corner_value_mask;
}

map_message_header parse_map_text(const char *data, int length, automap_grid &grid)
{
    grid.clear();
    map_message_header header;
    map_text_reader in(data, length);
    if (in.at_end())
        return header;
    header.move_letter = in.take();
    if (read_blocks(in, grid) && !in.at_end()) {
        header.has_mode = true;
        header.mode = in.take() - code_offset;
    }
    return header;
}

map_offset move_offset(int direction, int cells)
{
    if (direction < 0 || direction >= direction_count)
        return {};
    return {unit_moves[direction].x * cells, unit_moves[direction].y * cells};
}

automap_model::automap_model(int cell_size) : cell_size_(cell_size) {}

bool automap_model::display_socket_data(const char *data, int length)
{
    if (map_in_transition()) {
        queue_socket_data(data, length);
        return false;
    }
    parse_socket_data(data, length);
    return true;
}

bool automap_model::walk_fail(const char *data)
{
    int direction = 0;
    if (data == nullptr || map_in_transition() || !is_int(data, &direction) || direction < 0 ||
        direction >= direction_count)
        return false;
    const map_offset blocked = move_offset(direction, cell_size_);
    offset_ = {-(2 * blocked.x) / 3, -(2 * blocked.y) / 3};
    animating_ = true;
    return true;
}

bool automap_model::map_in_transition() const
{
    return offset_.x != 0 || offset_.y != 0 || zoom_counter_ != 0;
}

void automap_model::parse_socket_data(const char *data, int length)
{
    clear_map_data();
    const map_message_header header = parse_map_text(data, length, grid_);
    zoom_mode_ = header.has_mode ? header.mode : 0;
    if (zoom_mode_ == zoom_in_mode)
        zoom_counter_ = 1;
    else if (zoom_mode_ == zoom_out_mode)
        zoom_counter_ = zoom_frames;
    animating_ = true;
    const map_offset step = move_offset(move_direction(header.move_letter), cell_size_);
    offset_ = {2 * step.x, 2 * step.y};
}

void automap_model::queue_socket_data(const char *data, int length)
{
    if (int(queue_.size()) >= automap_queue_capacity)
        queue_.pop_front();
    const int kept = data != nullptr ? std::clamp(length, 0, automap_queued_text_max) : 0;
    queue_.emplace_back(data != nullptr ? data : "", size_t(kept));
}

bool automap_model::dequeue_socket_data()
{
    if (queue_.empty())
        return false;
    const std::string text = std::move(queue_.front());
    queue_.pop_front();
    parse_socket_data(text.c_str(), int(text.size()));
    return true;
}

void automap_model::clear_map_data()
{
    offset_ = {};
    zoom_counter_ = 0;
    grid_.clear();
}

void automap_model::clear_queued_data()
{
    queue_.clear();
}

void automap_model::full_clear()
{
    clear_map_data();
    clear_queued_data();
    speed_up_ = 0;
}

automap_step automap_model::periodic_update(int jitter)
{
    if (!animating_)
        return automap_step::idle;
    const int step = std::max((jitter + cell_size_) / 4 + speed_up_, 1);
    offset_.x = toward_zero(offset_.x, step);
    offset_.y = toward_zero(offset_.y, step);
    advance_zoom();
    automap_step result = automap_step::moved;
    if (!map_in_transition())
        after_motion_ends(result);
    return result;
}

void automap_model::advance_zoom()
{
    if (zoom_counter_ == 0)
        return;
    if (zoom_mode_ == zoom_in_mode)
        zoom_counter_ = zoom_counter_ >= zoom_frames ? 0 : zoom_counter_ + 1;
    else if (zoom_mode_ == zoom_out_mode)
        --zoom_counter_;
}

// The next waiting map starts the next animation, faster while more wait;
// with none waiting the animation stops and the speed-up falls back.
void automap_model::after_motion_ends(automap_step &result)
{
    if (dequeue_socket_data()) {
        result = automap_step::parsed;
        if (queue_.size() > 1)
            speed_up_ = std::min(speed_up_ + 1, speed_up_max);
        else if (queue_.size() == 1 && speed_up_ > 1)
            --speed_up_;
        return;
    }
    if (speed_up_ > 0)
        --speed_up_;
    animating_ = false;
}
