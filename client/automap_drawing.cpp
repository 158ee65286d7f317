#include "automap_drawing.h"

#include "util.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int grid_last = automap_grid_cells - 1;
constexpr int caption_gap_rows = automap_caption_rows;
constexpr int panel_border = 1;

// Terrain colours.
struct terrain_row {
    int code;
    vusk_color dark;
    vusk_color base;
    vusk_color light;
    bool whole; // all three given; otherwise dark and light derive from base
};

constexpr vusk_color default_terrain{64, 64, 64};
constexpr int last_terrain_code = 32;

const terrain_row terrain_table[] = {
    {1, {}, {96, 96, 96}, {}, false},
    {2, {}, {128, 90, 34}, {}, false},
    {3, {}, {0, 255, 0}, {}, false},
    {4, {}, {0, 192, 0}, {}, false},
    {5, {}, {0, 128, 0}, {}, false},
    {6, {}, {0, 64, 0}, {}, false},
    {7, {}, {64, 96, 128}, {}, false},
    {8, {}, {96, 160, 96}, {}, false},
    {9, {}, {240, 240, 32}, {}, false},
    {10, {}, {192, 192, 192}, {}, false},
    {11, {}, {128, 128, 128}, {}, false},
    {12, {}, {240, 240, 64}, {}, false},
    {13, {}, {128, 80, 128}, {}, false},
    {14, {}, {240, 240, 96}, {}, false},
    {15, {}, {64, 144, 64}, {}, false},
    {16, {}, {240, 240, 128}, {}, false},
    {17, {}, {32, 192, 64}, {}, false},
    {18, {}, {0, 0, 128}, {}, false},
    {19, {0, 192, 240}, {0, 240, 240}, {128, 255, 255}, true},
    {20, {}, {0, 32, 208}, {}, false},
    {21, {}, {0, 0, 96}, {}, false},
    {22, {}, {48, 48, 48}, {}, false},
    {23, {}, {0, 0, 0}, {}, false},
    {24, {160, 240, 255}, {255, 255, 255}, {192, 255, 255}, true},
    {25, {224, 0, 0}, {255, 32, 0}, {255, 160, 0}, true},
    {26, {}, {128, 96, 96}, {}, false},
    {28, {}, {144, 112, 64}, {}, false},
    {29, {}, {32, 160, 96}, {}, false},
    {30, {}, {240, 240, 160}, {}, false},
    {31, {}, {255, 255, 255}, {}, false},
    {32, {}, {0, 16, 160}, {}, false},
};

vusk_color scaled(const vusk_color &c, int tenths)
{
    auto channel = [&](int v) { return std::min(v * tenths / 10, 255); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

constexpr int dark_tenths = 9;
constexpr int light_tenths = 12;

// Fixed colours of the map.
constexpr vusk_color green_door{0, 128, 0};
constexpr vusk_color red_door{192, 0, 0};
constexpr vusk_color wall_white{255, 255, 255};
constexpr vusk_color road_light{131, 90, 34};
constexpr vusk_color road_dark{92, 51, 23};
constexpr vusk_color marker_black{0, 0, 0};

// Speckles: one pixel per 32 of a room's inner square, of each colour.
constexpr int speckle_density = 32;
constexpr int random_low_bits = 0x7fff;
constexpr int random_low_shift = 15;
constexpr int trail_gap_mask = 240;
constexpr int wobble_mask = 15;
constexpr int wobble_fall_below = 4;
constexpr int wobble_rise_from = 12;
constexpr int wobble_start = 3;
constexpr int wobble_max = 6;
constexpr int trail_straight_ends = 2;

// The player marker: white unless the room's terrain makes it stand out.
constexpr int marker_channel_limit = 176;
constexpr int zoom_frame_count = 3;

// Compass proportions, in parts of the window size.
constexpr int compass_reach_percent = 41;
constexpr int compass_diagonal_percent = 71;
constexpr int compass_stairs_percent = 92;
constexpr int compass_up_percent = 8;
constexpr int compass_stairs_zone_percent = 84;
constexpr int compass_up_zone_percent = 16;
constexpr int straight_arrow_parts = 20;
constexpr int straight_arrow_whole = 250;
constexpr int diagonal_arrow_divisor = 10;
constexpr double pi = 3.1415926536;
constexpr int degrees_per_sector = 45;
constexpr int sector_rounding = 22;

constexpr vusk_color arrow_idle{96, 96, 96};
constexpr vusk_color arrow_open{0, 255, 0};
constexpr vusk_color arrow_blocked{255, 64, 64};

// Exit-mask bits.
constexpr int exit_north = 0x1;
constexpr int exit_north_east = 0x2;
constexpr int exit_east = 0x4;
constexpr int exit_south_east = 0x8;
constexpr int exit_south = 0x10;
constexpr int exit_south_west = 0x20;
constexpr int exit_west = 0x40;
constexpr int exit_north_west = 0x80;
constexpr int exit_up = 0x100;
constexpr int exit_down = 0x200;

const char *const sector_commands[] = {
    nullptr, "east", "southeast", "south", "southwest", "west", "northwest", "north", "northeast", "down", "up",
};

int random_scaled(automap_random &random, int range)
{
    return int((int64_t(random.rand() & random_low_bits) * range) >> random_low_shift);
}

// Draws the map of a grid, step by step, into a picture.
class map_painter {
public:
    map_painter(pixel_view &view, const automap_grid &grid, int cell_size)
        : view_(view), grid_(grid), c_(cell_size), h_(cell_size / 2 + 1), d_(cell_size / 2)
    {
    }

    void redraw_draw_rooms();
    void redraw_draw_intersections();
    void redraw_draw_roads();
    void redraw_room_flags();
    void redraw_walls();

private:
    // The pixel at the centre of a cell.
    int centre(int cell) const { return cell * c_ + h_; }
    vusk_color base(int x, int y) const;

    void draw_room_square(int x, int y);
    void draw_vertical_blend(int x, int y);
    void draw_horizontal_blend(int x, int y);
    void draw_corner_blend(int x, int y);
    void draw_speckles(int x, int y, const automap_cell &room);

    void draw_intersection(int x, int y);
    bool draw_diagonal_pair(int x, int y, bool nw_se);
    bool half_left_out(int third_x, int third_y, int x0, int y0, int x1, int y1) const;
    void draw_strip_half(int cx, int cy, bool nw_se, bool upper_side, const vusk_color &from,
                         const vusk_color &to);
    void draw_door_across(int cx, int cy, bool nw_se, int value);
    void draw_wall_stubs(int x, int y);

    void draw_straight_joint(int x, int y, bool horizontal, uint32_t seed, int joint_flags);
    void draw_diagonal_joint(int from_x, int from_y, int direction_x, uint32_t seed, int joint_flags);
    bool joined(const automap_cell *a, const automap_cell *b, int passage) const;
    void draw_road(int x, int y, bool horizontal);
    void draw_trail(int x, int y, bool horizontal);
    void put_across(int along, int centre_line, int shift, bool horizontal, const vusk_color &colour);

    void draw_star(int cx, int cy, int r);
    void draw_chevron(int cx, int tip_y, int direction);

    void draw_passage(int x, int y, bool horizontal_line);
    void draw_wall_lines(int a0, int a1, int across, bool horizontal_line);
    void line(int a0, int across0, int a1, int across1, bool horizontal_line, const vusk_color &colour);

    pixel_view &view_;
    const automap_grid &grid_;
    int c_;
    int h_;
    int d_;
    automap_random random_;
};

vusk_color map_painter::base(int x, int y) const
{
    const automap_cell *room = grid_.room(x, y);
    if (room == nullptr)
        return vusk_BLACK;
    vusk_color dark, base_colour, light;
    get_terrain_color(dark, base_colour, light, room->terrain);
    return base_colour;
}

// ---- Rooms ----

void map_painter::redraw_draw_rooms()
{
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            draw_room_square(x, y);
    for (int y = 2; y < grid_last; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            draw_vertical_blend(x, y);
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 2; x < grid_last; x += 2)
            draw_horizontal_blend(x, y);
    for (int y = 2; y < grid_last; y += 2)
        for (int x = 2; x < grid_last; x += 2)
            draw_corner_blend(x, y);
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            if (const automap_cell *room = grid_.room(x, y))
                draw_speckles(x, y, *room);
}

void map_painter::draw_room_square(int x, int y)
{
    if (grid_.room(x, y) == nullptr)
        return;
    const int left = x * c_ + 1 - c_ / 2;
    const int top = y * c_ + 1 - c_ / 2;
    view_.DrawFilledRectangle(left, top, left + 2 * c_ - 1, top + 2 * c_ - 1, base(x, y));
}

void map_painter::draw_vertical_blend(int x, int y)
{
    if (grid_.room(x, y - 1) == nullptr && grid_.room(x, y + 1) == nullptr)
        return;
    view_.DrawYGradientRectangle(x * c_ + h_ - c_ + 2, y * c_ + h_ - 1, x * c_ + h_ + c_ - 2, y * c_ + h_ + 1,
                                 base(x, y - 1), base(x, y + 1));
}

void map_painter::draw_horizontal_blend(int x, int y)
{
    if (grid_.room(x - 1, y) == nullptr && grid_.room(x + 1, y) == nullptr)
        return;
    view_.DrawXGradientRectangle(x * c_ + h_ - 1, y * c_ + h_ - c_ + 2, x * c_ + h_ + 1, y * c_ + h_ + c_ - 2,
                                 base(x - 1, y), base(x + 1, y));
}

// A 3 x 3 patch mixing the four rooms around the corner in quarter steps.
void map_painter::draw_corner_blend(int x, int y)
{
    if (!grid_.room(x - 1, y - 1) && !grid_.room(x + 1, y - 1) && !grid_.room(x - 1, y + 1) &&
        !grid_.room(x + 1, y + 1))
        return;
    const vusk_color nw = base(x - 1, y - 1), ne = base(x + 1, y - 1);
    const vusk_color sw = base(x - 1, y + 1), se = base(x + 1, y + 1);
    auto mix = [](int from, int to, int steps) { return from + steps * ((to - from) / 4); };
    for (int i = 0; i < 3; ++i) {
        const vusk_color left{mix(nw.r, sw.r, i + 1), mix(nw.g, sw.g, i + 1), mix(nw.b, sw.b, i + 1)};
        const vusk_color right{mix(ne.r, se.r, i + 1), mix(ne.g, se.g, i + 1), mix(ne.b, se.b, i + 1)};
        for (int j = 0; j < 3; ++j)
            view_.DrawPixel(x * c_ + h_ - 1 + j, y * c_ + c_ / 2 + i, mix(left.r, right.r, j + 1),
                            mix(left.g, right.g, j + 1), mix(left.b, right.b, j + 1));
    }
}

void map_painter::draw_speckles(int x, int y, const automap_cell &room)
{
    vusk_color dark, base_colour, light;
    get_terrain_color(dark, base_colour, light, room.terrain);
    const int inner = 2 * c_ - 3;
    const int count = inner * inner / speckle_density;
    const int left = x * c_ + 2 - c_ / 2;
    const int top = y * c_ + 2 - c_ / 2;
    random_.srand(uint32_t(room.room_id));
    for (const vusk_color &colour : {light, dark}) {
        for (int i = 0; i < count; ++i) {
            const int px = random_scaled(random_, inner);
            const int py = random_scaled(random_, inner);
            view_.DrawPixel(left + px, top + py, colour);
        }
    }
}

// ---- Corners ----

void map_painter::redraw_draw_intersections()
{
    for (int y = 0; y < automap_grid_cells; y += 2)
        for (int x = 0; x < automap_grid_cells; x += 2)
            draw_intersection(x, y);
}

void map_painter::draw_intersection(int x, int y)
{
    const bool nw_se = draw_diagonal_pair(x, y, true);
    const bool ne_sw = draw_diagonal_pair(x, y, false);
    if (!nw_se && !ne_sw)
        draw_wall_stubs(x, y);
}

// The diagonal strip joining the two rooms of one diagonal through the
// corner; false when that diagonal is walled or has no room at either end.
bool map_painter::draw_diagonal_pair(int x, int y, bool nw_se)
{
    const automap_cell &corner = grid_.at(x, y);
    const int value = nw_se ? corner_nw_se(corner) : corner_ne_sw(corner);
    // The pair's rooms: first the one at the upper end of the diagonal.
    const int first_x = nw_se ? x - 1 : x + 1;
    const int second_x = nw_se ? x + 1 : x - 1;
    if (value == passage_wall || (!grid_.room(first_x, y - 1) && !grid_.room(second_x, y + 1)))
        return false;
    const vusk_color from = base(first_x, y - 1), to = base(second_x, y + 1);
    // The third rooms: above-right of the pair's diagonal and below-left of
    // it for north-west/south-east, above-left and below-right otherwise.
    const int upper_third_x = nw_se ? x + 1 : x - 1;
    const int lower_third_x = nw_se ? x - 1 : x + 1;
    const bool upper_out = half_left_out(upper_third_x, y - 1, first_x, y - 1, second_x, y + 1);
    const bool lower_out = half_left_out(lower_third_x, y + 1, first_x, y - 1, second_x, y + 1);
    const int cx = centre(x), cy = centre(y);
    if (!upper_out)
        draw_strip_half(cx, cy, nw_se, true, from, to);
    if (!lower_out)
        draw_strip_half(cx, cy, nw_se, false, from, to);
    if (!upper_out && !lower_out && (value == passage_green_door || value == passage_red_door))
        draw_door_across(cx, cy, nw_se, value);
    return true;
}

// A third room that is open toward either room of the pair joins them
// itself: no strip edge on its side.
bool map_painter::half_left_out(int third_x, int third_y, int x0, int y0, int x1, int y1) const
{
    if (grid_.room(third_x, third_y) == nullptr)
        return false;
    const int toward_first = grid_.passage((third_x + x0) / 2, (third_y + y0) / 2);
    const int toward_second = grid_.passage((third_x + x1) / 2, (third_y + y1) / 2);
    return toward_first == passage_open || toward_second == passage_open;
}

// The room squares around a corner meet between (cx, cy) and (cx + 1,
// cy + 1). Lines parallel to the diagonal, k pixels off it on one side, run
// between the two room squares of the pair: gradients near the diagonal,
// three white lines at d.
void map_painter::draw_strip_half(int cx, int cy, bool nw_se, bool upper_side, const vusk_color &from,
                                  const vusk_color &to)
{
    for (int k = 1; k <= d_ + 1; ++k) {
        int x0, y0, x1, y1; // (x0, y0) is the end toward the pair's first room
        if (nw_se && upper_side) {
            x0 = cx + 1, y0 = cy + 1 - k, x1 = cx + k, y1 = cy;
        } else if (nw_se) {
            x0 = cx + 1 - k, y0 = cy + 1, x1 = cx, y1 = cy + k;
        } else if (upper_side) {
            x0 = cx, y0 = cy + 1 - k, x1 = cx + 1 - k, y1 = cy;
        } else {
            x0 = cx + k, y0 = cy + 1, x1 = cx + 1, y1 = cy + k;
        }
        if (k >= d_ - 1)
            view_.DrawLine(x0, y0, x1, y1, wall_white);
        else
            view_.DrawGradientLine(x0, y0, x1, y1, from, to);
    }
}

// A door bar of two lines across the diagonal at the corner.
void map_painter::draw_door_across(int cx, int cy, bool nw_se, int value)
{
    const vusk_color &colour = value == passage_green_door ? green_door : red_door;
    const int e = std::max(d_ / 2, 1);
    if (nw_se) {
        view_.DrawLine(cx - e, cy + e, cx + e, cy - e, colour);
        view_.DrawLine(cx + 1 - e, cy + e + 1, cx + 1 + e, cy + 1 - e, colour);
    } else {
        view_.DrawLine(cx - e, cy - e, cx + e, cy + e, colour);
        view_.DrawLine(cx + 1 - e, cy - e, cx + 1 + e, cy + e, colour);
    }
}

// Walls reaching the corner from its four sides meet at its centre.
void map_painter::draw_wall_stubs(int x, int y)
{
    const int cx = centre(x), cy = centre(y);
    if (grid_.passage(x, y - 1) != passage_open)
        draw_wall_lines(cy - d_, cy, cx, false);
    if (grid_.passage(x, y + 1) != passage_open)
        draw_wall_lines(cy, cy + d_, cx, false);
    if (grid_.passage(x - 1, y) != passage_open)
        draw_wall_lines(cx - d_, cx, cy, true);
    if (grid_.passage(x + 1, y) != passage_open)
        draw_wall_lines(cx, cx + d_, cy, true);
}

// ---- Roads and trails ----

void map_painter::redraw_draw_roads()
{
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 2; x < grid_last; x += 2) {
            const automap_cell *left = grid_.room(x - 1, y), *right = grid_.room(x + 1, y);
            if (joined(left, right, grid_.at(x, y).passage))
                draw_straight_joint(x - 1, y, true, uint32_t(right->room_id ^ left->room_id),
                                    left->flags & right->flags);
        }
    for (int y = 2; y < grid_last; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2) {
            const automap_cell *upper = grid_.room(x, y - 1), *lower = grid_.room(x, y + 1);
            if (joined(upper, lower, grid_.at(x, y).passage))
                draw_straight_joint(x, y - 1, false, uint32_t(2 * upper->room_id ^ lower->room_id),
                                    upper->flags & lower->flags);
        }
    for (int y = 2; y < grid_last; y += 2)
        for (int x = 2; x < grid_last; x += 2) {
            const automap_cell &corner = grid_.at(x, y);
            const automap_cell *ne = grid_.room(x + 1, y - 1), *sw = grid_.room(x - 1, y + 1);
            const automap_cell *nw = grid_.room(x - 1, y - 1), *se = grid_.room(x + 1, y + 1);
            const uint32_t seed = uint32_t(2 * (ne ? ne->room_id : 0) ^ (sw ? sw->room_id : 0));
            if (joined(ne, sw, corner_ne_sw(corner)))
                draw_diagonal_joint(x - 1, y + 1, 1, seed, sw->flags & ne->flags);
            if (joined(nw, se, corner_nw_se(corner)))
                draw_diagonal_joint(x + 1, y + 1, -1, seed, se->flags & nw->flags);
        }
}

bool map_painter::joined(const automap_cell *a, const automap_cell *b, int passage) const
{
    const int either = room_flag_road | room_flag_trail;
    return a != nullptr && b != nullptr && (a->flags & either) != 0 && (b->flags & either) != 0 &&
           passage != passage_wall;
}

// From the room at (x, y) to the next one east or south.
void map_painter::draw_straight_joint(int x, int y, bool horizontal, uint32_t seed, int joint_flags)
{
    random_.srand(seed);
    if (joint_flags & room_flag_road)
        draw_road(x, y, horizontal);
    else
        draw_trail(x, y, horizontal);
}

// A pixel `along` the path and `shift` across it from the centre line.
void map_painter::put_across(int along, int centre_line, int shift, bool horizontal, const vusk_color &colour)
{
    if (horizontal)
        view_.DrawPixel(along, centre_line + shift, colour);
    else
        view_.DrawPixel(centre_line + shift, along, colour);
}

// From the first room's centre, one step per pixel, to a pixel before the
// second's: a dark middle between two light sides, wobbling.
void map_painter::draw_road(int x, int y, bool horizontal)
{
    const int start = horizontal ? centre(x) : centre(y);
    const int line = horizontal ? centre(y) : centre(x);
    const int steps = 2 * c_;
    int state = wobble_start;
    for (int i = 0; i < steps; ++i) {
        const int middle = line + wobble_shift(state);
        put_across(start + i, middle, -1, horizontal, road_light);
        put_across(start + i, middle, 0, horizontal, road_dark);
        put_across(start + i, middle, 1, horizontal, road_light);
        state = o2_modify(state, random_);
    }
    put_across(start - 1, line, 0, horizontal, road_dark);
    put_across(start + steps, line, 0, horizontal, road_dark);
}

// One dark pixel per step, with gaps; straight at both ends.
void map_painter::draw_trail(int x, int y, bool horizontal)
{
    const int start = horizontal ? centre(x) : centre(y);
    const int line = horizontal ? centre(y) : centre(x);
    const int steps = 2 * c_;
    int state = wobble_start;
    for (int i = 0; i < steps; ++i) {
        if (random_.rand() & trail_gap_mask) {
            const bool straight = i < trail_straight_ends || i >= steps - trail_straight_ends;
            put_across(start + i, line, straight ? 0 : wobble_shift(state), horizontal, road_dark);
        }
        state = o2_modify(state, random_);
    }
}

// From the lower room's centre up toward the other room, direction_x +1
// toward the north-east and -1 toward the north-west.
void map_painter::draw_diagonal_joint(int from_x, int from_y, int direction_x, uint32_t seed, int joint_flags)
{
    random_.srand(seed);
    const int sx = centre(from_x), sy = centre(from_y);
    const int steps = 2 * c_;
    const int ex = sx + direction_x * steps, ey = sy - steps;
    if (joint_flags & room_flag_road) {
        view_.DrawLine(sx - 1, sy, ex - 1, ey, road_light);
        view_.DrawLine(sx + 1, sy, ex + 1, ey, road_light);
    }
    for (int i = 0; i < steps; ++i) {
        const int px = sx + direction_x * i, py = sy - i;
        view_.DrawPixel(px, py, road_dark);
        if (random_.rand() & 1)
            view_.DrawPixel(px, py - 1, road_dark);
        else
            view_.DrawPixel(px + direction_x, py, road_dark);
    }
    view_.DrawPixel(ex, ey, road_dark);
}

// ---- Markers ----

void map_painter::redraw_room_flags()
{
    const int r = c_ - 2;
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2) {
            const automap_cell *room = grid_.room(x, y);
            if (room == nullptr)
                continue;
            const int cx = centre(x), cy = centre(y);
            if (room->flags & room_flag_marker) {
                draw_star(cx, cy, r);
                continue;
            }
            if (room->flags & room_flag_up)
                draw_chevron(cx, cy - r, 1);
            if (room->flags & room_flag_down)
                draw_chevron(cx, cy + r, -1);
        }
}

// Eight strokes of 135 degrees: an eight-pointed star.
void map_painter::draw_star(int cx, int cy, int r)
{
    constexpr int points = 8;
    constexpr double turn = 3.0 * pi / 4.0;
    int px = cx, py = cy - r;
    double angle = 0.0;
    for (int i = 0; i < points; ++i) {
        angle += turn;
        const int nx = cx - int(r * std::sin(angle));
        const int ny = cy - int(r * std::cos(angle));
        view_.DrawLine(px, py, nx, ny, marker_black);
        px = nx;
        py = ny;
    }
}

// A chevron pointing away from the room's centre, two pixels thick;
// direction 1 opens downward (the up stairs), -1 upward.
void map_painter::draw_chevron(int cx, int tip_y, int direction)
{
    const int third = c_ / 3;
    for (int thickness = 0; thickness < 2; ++thickness) {
        const int y = tip_y + direction * thickness;
        view_.DrawLine(cx, y, cx - third, y + direction * third, marker_black);
        view_.DrawLine(cx, y, cx + third, y + direction * third, marker_black);
    }
}

// ---- Walls and doors ----

void map_painter::redraw_walls()
{
    for (int y = 0; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            draw_passage(x, y, true);
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 0; x < automap_grid_cells; x += 2)
            draw_passage(x, y, false);
}

// A north-south passage is a horizontal line across the cell, an east-west
// one a vertical line.
void map_painter::draw_passage(int x, int y, bool horizontal_line)
{
    const int value = grid_.at(x, y).passage;
    const int along = (horizontal_line ? x : y) * c_;
    const int across = horizontal_line ? centre(y) : centre(x);
    if (value == passage_green_door || value == passage_red_door)
        line(along + 1, across, along + c_, across, horizontal_line, value == passage_green_door ? green_door : red_door);
    else if (value == passage_wall)
        draw_wall_lines(along + 1, along + c_, across, horizontal_line);
}

// Three white lines side by side, the middle one a pixel longer at each end.
void map_painter::draw_wall_lines(int a0, int a1, int across, bool horizontal_line)
{
    line(a0, across - 1, a1, across - 1, horizontal_line, wall_white);
    line(a0 - 1, across, a1 + 1, across, horizontal_line, wall_white);
    line(a0, across + 1, a1, across + 1, horizontal_line, wall_white);
}

// A line from a0 to a1 along the given direction, at `across` (a row for a
// horizontal line, a column for a vertical one).
void map_painter::line(int a0, int across0, int a1, int across1, bool horizontal_line, const vusk_color &colour)
{
    if (horizontal_line)
        view_.DrawLine(a0, across0, a1, across1, colour);
    else
        view_.DrawLine(across0, a0, across1, a1, colour);
}

// ---- The window ----

int half_window(int cell_size) { return automap_window_size(cell_size) / 2; }

void square_outline(pixel_view &view, int cx, int cy, int r, const vusk_color &colour)
{
    view.DrawLine(cx - r, cy - r, cx + r, cy - r, colour);
    view.DrawLine(cx + r, cy - r, cx + r, cy + r, colour);
    view.DrawLine(cx + r, cy + r, cx - r, cy + r, colour);
    view.DrawLine(cx - r, cy + r, cx - r, cy - r, colour);
}

void diamond_outline(pixel_view &view, int cx, int cy, int r, const vusk_color &colour)
{
    view.DrawLine(cx, cy - r, cx + r, cy, colour);
    view.DrawLine(cx + r, cy, cx, cy + r, colour);
    view.DrawLine(cx, cy + r, cx - r, cy, colour);
    view.DrawLine(cx - r, cy, cx, cy - r, colour);
}

int nearest(double v) { return int(std::floor(v + 0.5)); }

} // namespace

// ---- Sizes ----

wxSize automap_panel_size(int cell_size)
{
    const int s = automap_window_size(cell_size);
    return {s + 2 * panel_border, s + automap_map_top + panel_border};
}

int automap_caption_x(int panel_width, int text_width)
{
    return std::max(panel_width / 2 - text_width / 2, automap_min_caption_x);
}

int automap_caption_y(int text_height)
{
    return (caption_gap_rows - text_height) / 2 + panel_border;
}

automap_canvas::automap_canvas(int width, int height)
    : bytes_(size_t(std::max(width, 1)) * size_t(std::max(height, 1)) * pixel_view::BYTES_PER_PIXEL),
      view_(bytes_.data(), std::max(width, 1), std::max(height, 1), std::max(width, 1) * pixel_view::BYTES_PER_PIXEL)
{
    view_.Clear(vusk_BLACK);
}

void get_terrain_color(vusk_color &dark, vusk_color &base, vusk_color &light, int code)
{
    base = default_terrain;
    dark = scaled(base, dark_tenths);
    light = scaled(base, light_tenths);
    if (code < 1 || code > last_terrain_code)
        return;
    for (const terrain_row &row : terrain_table) {
        if (row.code != code)
            continue;
        base = row.base;
        dark = row.whole ? row.dark : scaled(base, dark_tenths);
        light = row.whole ? row.light : scaled(base, light_tenths);
        return;
    }
}

int o2_modify(int state, automap_random &random)
{
    const int d = random.rand() & wobble_mask;
    if (d < wobble_fall_below && state >= 1) {
        --state;
        if (state == 4)
            state = 3;
        else if (state == 1)
            state = 0;
    } else if (d >= wobble_rise_from && state < wobble_max) {
        ++state;
        if (state == 2)
            state = 3;
        else if (state == 5)
            state = 6;
    }
    return state;
}

int wobble_shift(int state)
{
    if (state <= 1)
        return 1;
    return state >= 5 ? -1 : 0;
}

void draw_automap(pixel_view &view, const automap_grid &grid, int cell_size)
{
    map_painter painter(view, grid, cell_size);
    painter.redraw_draw_rooms();
    painter.redraw_draw_intersections();
    painter.redraw_draw_roads();
    painter.redraw_room_flags();
    painter.redraw_walls();
}

void paint_map_picture(pixel_view &window, const pixel_view &map, int cell_size, map_offset offset)
{
    const int w = half_window(cell_size);
    const int b = automap_bitmap_size(cell_size) / 2;
    window.DrawBitmap(map, w - b - 1 - offset.x, w - b - 1 - offset.y);
}

vusk_color player_marker_color(const automap_grid &grid)
{
    const automap_cell *room = grid.room(automap_centre_cell, automap_centre_cell);
    if (room == nullptr)
        return vusk_WHITE;
    vusk_color dark, base, light;
    get_terrain_color(dark, base, light, room->terrain);
    auto stand_out = [](int channel) { return channel < marker_channel_limit ? 255 : 0; };
    return {stand_out(base.r), stand_out(base.g), stand_out(base.b)};
}

void draw_player_marker(pixel_view &window, int cell_size, const vusk_color &colour)
{
    const int w = half_window(cell_size);
    diamond_outline(window, w, w, cell_size / 2, colour);
    diamond_outline(window, w, w, cell_size / 2 - 1, colour);
}

void draw_zoom_frames(pixel_view &window, int cell_size, int counter)
{
    const int w = half_window(cell_size);
    window.Clear(vusk_BLACK);
    for (int i = 0; i < zoom_frame_count; ++i)
        square_outline(window, w, w, cell_size * counter - i, vusk_WHITE);
}

// ---- The compass ----

std::array<compass_target, compass_target_count> compass_targets(int window_size)
{
    const int s = window_size;
    const int w = s / 2;
    const int r = s * compass_reach_percent / 100;
    const int d = r * compass_diagonal_percent / 100;
    const int p = s * compass_stairs_percent / 100;
    const int q = s * compass_up_percent / 100;
    const int straight = s * straight_arrow_parts / straight_arrow_whole;
    const int diagonal = s / diagonal_arrow_divisor;
    return {{
        {sector_north, exit_north, w, w - r, 0, straight, "N", "W"},
        {sector_south, exit_south, w, w + r, 180, straight, "S", "W"},
        {sector_east, exit_east, w + r, w, 90, straight, "E", "W"},
        {sector_west, exit_west, w - r, w, 270, straight, "W", "W"},
        {sector_down, exit_down, p, p, 180, straight, "D", "W"},
        {sector_up, exit_up, p, q, 0, straight, "U", "W"},
        {sector_north_west, exit_north_west, w - d, w - d, -45, diagonal, "NW", "NW"},
        {sector_north_east, exit_north_east, w + d, w - d, 45, diagonal, "NE", "NW"},
        {sector_south_west, exit_south_west, w - d, w + d, -135, diagonal, "SW", "NW"},
        {sector_south_east, exit_south_east, w + d, w + d, 135, diagonal, "SE", "NW"},
    }};
}

compass_colors compass_target_colors(const compass_target &target, int hover_sector, int exit_mask)
{
    const bool open = (exit_mask & target.exit_bit) != 0;
    if (target.sector == hover_sector)
        return {open ? arrow_open : arrow_blocked, vusk_WHITE};
    return {arrow_idle, open ? arrow_open : arrow_idle};
}

std::array<wxPoint, 7> arrow_points(int angle, int size)
{
    const int k = size / 4;
    const double theta = angle * pi / 180.0;
    const wxPoint a(nearest(k * std::cos(theta)), nearest(k * std::sin(theta)));
    const wxPoint b(nearest(-k * std::sin(theta)), nearest(k * std::cos(theta)));
    return {{-4 * b, 4 * a, 2 * a, 2 * a + 3 * b, -2 * a + 3 * b, -2 * a, -4 * a}};
}

void draw_arrow(pixel_view &view, int x, int y, int angle, int size, const vusk_color &outline,
                const vusk_color &fill)
{
    const std::array<wxPoint, 7> points = arrow_points(angle, size);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx == 0 && dy == 0)
                continue;
            for (size_t i = 0; i < points.size(); ++i) {
                const wxPoint &from = points[i], &to = points[(i + 1) % points.size()];
                view.DrawLine(x + dx + from.x, y + dy + from.y, x + dx + to.x, y + dy + to.y, vusk_BLACK);
            }
        }
    view.DrawPolygon(int(points.size()), points.data(), x, y, outline, fill);
}

void draw_compass_arrows(pixel_view &window, int window_size, int hover_sector, int exit_mask)
{
    for (const compass_target &target : compass_targets(window_size)) {
        const compass_colors colors = compass_target_colors(target, hover_sector, exit_mask);
        draw_arrow(window, target.x, target.y, target.angle, target.size, colors.outline, compass_arrow_fill);
    }
}

int calc_mouseover_sector(int x, int y, int window_size, int cell_size)
{
    const int s = window_size;
    if (x >= s * compass_stairs_zone_percent / 100) {
        if (y >= s * compass_stairs_zone_percent / 100)
            return sector_down;
        if (y <= s * compass_up_zone_percent / 100)
            return sector_up;
    }
    const int dx = x - s / 2, dy = y - s / 2;
    if (std::abs(dx) <= cell_size + 1 && std::abs(dy) <= cell_size + 1)
        return sector_none;
    const int sector = (calc_angle(dx, dy) + sector_rounding) / degrees_per_sector + 1;
    return sector == sector_down ? sector_east : sector;
}

const char *compass_command(int sector)
{
    if (sector < sector_east || sector > sector_up)
        return nullptr;
    return sector_commands[sector];
}
