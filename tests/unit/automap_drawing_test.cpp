// The automap's pictures without a window: terrain colours, rooms, roads and
// trails, walls and doors, markers, the player marker, the compass, the sizes.
#include "automap_drawing.h"
#include "automap_map_text.h"

#include <gtest/gtest.h>

#include <cstring>

using automap_test::put_corner;
using automap_test::put_room;

namespace {

constexpr int CELL = 11;
constexpr vusk_color ROAD_LIGHT{131, 90, 34};
constexpr vusk_color ROAD_DARK{92, 51, 23};
constexpr int GRASS = 4; // (0, 192, 0)

struct map_picture {
    explicit map_picture(const automap_grid &grid)
        : canvas(automap_bitmap_size(CELL) + 1, automap_bitmap_size(CELL) + 1)
    {
        draw_automap(canvas.view(), grid, CELL);
    }

    vusk_color at(int x, int y) const { return canvas.view().color_at(x, y); }

    int count(const vusk_color &colour, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += at(x, y) == colour;
        return n;
    }

    bool same_pixels(const map_picture &other) const
    {
        const pixel_view &a = canvas.view(), &b = other.canvas.view();
        return std::memcmp(a.pixel(0, 0), b.pixel(0, 0), size_t(a.height()) * a.width() * 4) == 0;
    }

    automap_canvas canvas;
};

int centre(int cell) { return cell * CELL + CELL / 2 + 1; }

// Two grass rooms side by side with these flags and this passage between.
map_picture pair(int left_flags, int right_flags, int passage = passage_open)
{
    automap_grid grid;
    put_room(grid, 9, 11, GRASS, left_flags, 30);
    put_room(grid, 11, 11, GRASS, right_flags, 31);
    grid.at(10, 11).passage = passage;
    return map_picture(grid);
}

// Dark and light road pixels on the way between the two rooms' centres.
std::pair<int, int> road_between(const map_picture &picture)
{
    const int x0 = centre(9) + 2, x1 = centre(11) - 2, y = centre(11);
    return {picture.count(ROAD_DARK, x0, y - 2, x1, y + 2), picture.count(ROAD_LIGHT, x0, y - 2, x1, y + 2)};
}

automap_grid one_room(int terrain, int flags, int id = 50)
{
    automap_grid grid;
    put_room(grid, 11, 11, terrain, flags, id);
    return grid;
}

} // namespace

TEST(AutomapPicture, TerrainColoursWithTheirShades)
{
    vusk_color dark, base, light;
    for (int code : {0, 27, 40, -1}) {
        get_terrain_color(dark, base, light, code);
        EXPECT_EQ(std::make_tuple(dark, base, light),
                  std::make_tuple(vusk_color(57, 57, 57), vusk_color(64, 64, 64), vusk_color(76, 76, 76)));
    }
    get_terrain_color(dark, base, light, 9);
    EXPECT_EQ(std::make_tuple(dark, base, light),
              std::make_tuple(vusk_color(216, 216, 28), vusk_color(240, 240, 32), vusk_color(255, 255, 38)));
    get_terrain_color(dark, base, light, 25); // given whole
    EXPECT_EQ(std::make_tuple(dark, base, light),
              std::make_tuple(vusk_color(224, 0, 0), vusk_color(255, 32, 0), vusk_color(255, 160, 0)));

    // A room of an unknown terrain is grey with its speckles; the same map
    // draws the same pixels, another room id other speckles.
    const map_picture grey(one_room(27, 0));
    const int left = 11 * CELL + 1 - CELL / 2 + 2;
    const int grey_pixels = grey.count({64, 64, 64}, left, left, left + 15, left + 15) +
                            grey.count({57, 57, 57}, left, left, left + 15, left + 15) +
                            grey.count({76, 76, 76}, left, left, left + 15, left + 15);
    EXPECT_EQ(grey_pixels, 16 * 16);
    EXPECT_TRUE(grey.same_pixels(map_picture(one_room(27, 0))));
    EXPECT_FALSE(grey.same_pixels(map_picture(one_room(27, 0, 51))));
}

TEST(AutomapPicture, RoadsTrailsWallsAndDoors)
{
    auto [road_dark, road_light] = road_between(pair(room_flag_road, room_flag_road));
    EXPECT_GE(road_dark, 2 * CELL - 6);
    EXPECT_GE(road_light, 2 * (2 * CELL - 6));
    // A road room and a trail room share no road: a trail, dark pixels only.
    auto [trail_dark, trail_light] = road_between(pair(room_flag_road, room_flag_trail));
    EXPECT_GT(trail_dark, CELL);
    EXPECT_EQ(trail_light, 0);
    auto [none_dark, none_light] = road_between(pair(room_flag_road, 0));
    EXPECT_EQ(none_dark + none_light, 0);

    // A wall between two road rooms: no road, three white lines.
    const map_picture walled = pair(room_flag_road, room_flag_road, passage_wall);
    auto [walled_dark, walled_light] = road_between(walled);
    EXPECT_EQ(walled_dark + walled_light, 0);
    const int x = centre(10), top = 11 * CELL + 1, bottom = 11 * CELL + CELL;
    for (int column : {x - 1, x, x + 1})
        EXPECT_EQ(walled.count(vusk_WHITE, column, top, column, bottom), CELL) << column;
    EXPECT_EQ(pair(0, 0, passage_green_door).count({0, 128, 0}, x, top, x, bottom), CELL);
    EXPECT_EQ(pair(0, 0, passage_red_door).count({192, 0, 0}, x, top, x, bottom), CELL);

    // A diagonal road through an open corner; the corner's other diagonal
    // open instead draws none.
    automap_grid grid;
    put_room(grid, 9, 9, GRASS, room_flag_road, 20);
    put_room(grid, 11, 11, GRASS, room_flag_road, 21);
    put_corner(grid, 10, 10, passage_open, passage_wall);
    EXPECT_EQ(map_picture(grid).at(centre(10), centre(10)), ROAD_DARK);
    put_corner(grid, 10, 10, passage_wall, passage_open);
    EXPECT_NE(map_picture(grid).at(centre(10), centre(10)), ROAD_DARK);
}

TEST(AutomapPicture, AStarHidesTheStairs)
{
    const map_picture star(one_room(10, room_flag_marker));
    EXPECT_FALSE(star.same_pixels(map_picture(one_room(10, 0))));
    EXPECT_TRUE(star.same_pixels(map_picture(one_room(10, room_flag_marker | room_flag_up))));
    const map_picture up(one_room(10, room_flag_up)), down(one_room(10, room_flag_down));
    const int c = centre(11), r = CELL - 2;
    EXPECT_EQ(up.at(c, c - r), vusk_BLACK);
    EXPECT_NE(up.at(c, c + r), vusk_BLACK);
    EXPECT_EQ(down.at(c, c + r), vusk_BLACK);
}

TEST(AutomapPicture, ThePlayerMarkerStandsOutFromItsRoom)
{
    EXPECT_EQ(player_marker_color(automap_grid()), vusk_WHITE);
    EXPECT_EQ(player_marker_color(one_room(9, 0)), vusk_color(0, 0, 255));
    EXPECT_EQ(player_marker_color(one_room(3, 0)), vusk_color(255, 0, 255));
}

TEST(AutomapCompass, SectorsCommandsAndColours)
{
    const int s = automap_window_size(CELL), w = s / 2;
    const std::pair<wxPoint, const char *> targets[] = {
        {{w, w}, nullptr},           {{w + 12, w - 12}, nullptr}, {{s - 2, s - 2}, "down"},
        {{s - 2, 2}, "up"},          {{w + 50, w}, "east"},       {{w + 50, w + 50}, "southeast"},
        {{w, w + 50}, "south"},      {{w - 50, w + 50}, "southwest"}, {{w - 50, w}, "west"},
        {{2, 2}, "northwest"},       {{w, w - 50}, "north"},      {{w + 50, w - 50}, "northeast"},
        {{w + 50, w - 2}, "east"},
    };
    for (const auto &[where, command] : targets) {
        const char *sent = compass_command(calc_mouseover_sector(where.x, where.y, s, CELL));
        EXPECT_STREQ(sent ? sent : "", command ? command : "") << where.x << "," << where.y;
    }
    EXPECT_EQ(compass_command(11), nullptr);

    const compass_target east = compass_targets(s)[2];
    EXPECT_EQ(std::make_tuple(east.x, east.y, east.size), std::make_tuple(w + s * 41 / 100, w, s * 20 / 250));
    EXPECT_EQ(compass_target_colors(east, sector_east, 0x4).outline, vusk_color(0, 255, 0));
    EXPECT_EQ(compass_target_colors(east, sector_east, 0).outline, vusk_color(255, 64, 64));
    EXPECT_EQ(compass_target_colors(east, sector_west, 0x4).label, vusk_color(0, 255, 0));
    EXPECT_EQ(compass_target_colors(east, sector_west, ~0x4).outline, vusk_color(96, 96, 96));
    EXPECT_EQ(arrow_points(0, 16)[0], wxPoint(0, -16)); // tips: up at 0, right at 90
    EXPECT_EQ(arrow_points(90, 16)[0], wxPoint(16, 0));
}

TEST(AutomapSizes, TheFormulaHolds)
{
    EXPECT_EQ(automap_window_size(7), 129);
    EXPECT_EQ(automap_panel_size(7), wxSize(131, 152));
    EXPECT_EQ(automap_caption_x(203, 70), 66);
    EXPECT_EQ(automap_caption_x(40, 70), 5);
}
