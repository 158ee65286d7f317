#ifndef VUSK_AUTOMAP_MODEL_H
#define VUSK_AUTOMAP_MODEL_H

// The automap without a window: the grid of rooms and passages that a "map"
// message describes, the parser of that message, the maps that wait while an
// animation runs, and the animation itself (the slide toward the new room,
// the bump of a failed walk, the zoom, and the speed-up of a backlog).
//
// Everything in a map message comes from the server: the parser reads bytes
// as unsigned codes and never reads past the end of the text, whatever it
// holds.

#include <deque>
#include <string>

constexpr int automap_grid_cells = 23; // cells along each side of the grid
constexpr int automap_centre_cell = 11; // the player's room is (11, 11)

// Room flags.
constexpr int room_flag_marker = 0x1;
constexpr int room_flag_road = 0x2;
constexpr int room_flag_trail = 0x4;
constexpr int room_flag_up = 0x8;
constexpr int room_flag_down = 0x10;

// Passage values; others draw nothing.
constexpr int passage_open = 0;
constexpr int passage_green_door = 2;
constexpr int passage_red_door = 3;
constexpr int passage_wall = 4;

// Maps that wait while an animation runs: the newest ones are kept.
constexpr int automap_queue_capacity = 8;
// A waiting map keeps at most this many bytes of its text.
constexpr int automap_queued_text_max = 4079;

struct automap_cell {
    int terrain = 0;
    int flags = 0;
    int room_id = 0; // 0: no room
    int field3 = 0;  // kept, not drawn
    int passage = 0;
};

// Cells indexed (x, y), x to the east and y to the south. Rooms sit where x
// and y are both odd, two cells apart; the cell between two rooms holds the
// passage between them; a corner cell (x and y even) holds the passages of
// its two diagonals.
class automap_grid {
public:
    automap_cell &at(int x, int y) { return cells_[x][y]; }
    const automap_cell &at(int x, int y) const { return cells_[x][y]; }
    // The room at (x, y); null outside the grid or where there is no room.
    const automap_cell *room(int x, int y) const;
    // The passage value at (x, y); 0 outside the grid.
    int passage(int x, int y) const;
    void clear();

private:
    automap_cell cells_[automap_grid_cells][automap_grid_cells] = {};
};

// The two diagonals through a corner cell.
int corner_nw_se(const automap_cell &corner);
int corner_ne_sw(const automap_cell &corner);

// What a map message says besides its cells.
struct map_message_header {
    int move_letter = 0; // 0 when the text was empty
    bool has_mode = false;
    int mode = 0; // the mode character's code minus 64
};

// Reads one map message into `grid`, which is cleared first. Reading stops
// at the first NUL byte or after `length` bytes, whichever comes first;
// cells not reached stay empty.
map_message_header parse_map_text(const char *data, int length, automap_grid &grid);

// An offset of the map in pixels; the map is at rest at (0, 0).
struct map_offset {
    int x = 0;
    int y = 0;
};

// One room step toward the direction of a move (0 north, 1 east, 2 south,
// 3 west, 4 north-east, 5 south-east, 6 south-west, 7 north-west, the order
// of the move letters "A" to "H"), scaled by cells: (0, 0) for any other.
map_offset move_offset(int direction, int cells);

// What one animation step did.
enum class automap_step {
    idle,   // nothing animates: nothing to show
    moved,  // the view changed
    parsed, // the view changed and a waiting map was parsed: draw it
};

class automap_model {
public:
    static constexpr int zoom_in_mode = 1;   // "A": zoom counter 1 up to 9
    static constexpr int zoom_out_mode = 2;  // "B": zoom counter 9 down to 1
    static constexpr int zoom_frames = 9;

    explicit automap_model(int cell_size);

    int cell_size() const { return cell_size_; }
    void set_cell_size(int cell_size) { cell_size_ = cell_size; }

    // A "map" message: parsed at once when the view is at rest (true: draw
    // it), else kept for later (false).
    bool display_socket_data(const char *data, int length);
    // A "walkfail" message, the blocked direction 0..7: the view jumps two
    // thirds of a cell toward it and comes back. False when ignored (not a
    // direction, or the view is not at rest).
    bool walk_fail(const char *data);
    bool map_in_transition() const;

    void parse_socket_data(const char *data, int length);
    void queue_socket_data(const char *data, int length);
    // Parses the oldest waiting map; false when none waits.
    bool dequeue_socket_data();
    void clear_map_data();
    void clear_queued_data();
    // The map emptied, nothing waiting, no speed-up.
    void full_clear();

    // Every new picture of the map needs at least one step to be shown.
    void start_animating() { animating_ = true; }
    // One step of the main tick; `jitter` is 0..3, drawn at random.
    automap_step periodic_update(int jitter);

    const automap_grid &grid() const { return grid_; }
    map_offset offset() const { return offset_; }
    int zoom_counter() const { return zoom_counter_; }
    int speed_up() const { return speed_up_; }
    int queued_count() const { return int(queue_.size()); }

private:
    void advance_zoom();
    void after_motion_ends(automap_step &result);

    int cell_size_;
    int speed_up_ = 0;
    bool animating_ = false;
    map_offset offset_;
    int zoom_mode_ = 0;
    int zoom_counter_ = 0;
    automap_grid grid_;
    std::deque<std::string> queue_;
};

#endif
