// The automap's pictures without a window: terrain colours, rooms, roads and
// trails, walls and doors, markers, the player marker, the zoom frames, the
// compass and the sizes.
#include "automap_drawing.h"
#include "automap_map_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <tuple>

using automap_test::put_corner;
using automap_test::put_room;

namespace {

constexpr int CELL = 11;
constexpr int H = CELL / 2 + 1;
constexpr vusk_color ROAD_LIGHT{131, 90, 34};
constexpr vusk_color ROAD_DARK{92, 51, 23};
constexpr int GRASS = 4; // (0, 192, 0)

struct map_picture {
    explicit map_picture(const automap_grid &grid, int cell = CELL)
        : canvas(automap_bitmap_size(cell) + 1, automap_bitmap_size(cell) + 1)
    {
        draw_automap(canvas.view(), grid, cell);
    }

    vusk_color at(int x, int y) const { return canvas.view().color_at(x, y); }

    // How many pixels of `colour` lie in the rectangle (inclusive).
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
        for (int y = 0; y < a.height(); ++y)
            if (std::memcmp(a.pixel(0, y), b.pixel(0, y), size_t(a.width()) * pixel_view::BYTES_PER_PIXEL) != 0)
                return false;
        return true;
    }

    automap_canvas canvas;
};

int centre(int cell) { return cell * CELL + H; }

// Two grass rooms side by side, (9, 11) and (11, 11), with these flags and
// this passage between them.
automap_grid pair(int left_flags, int right_flags, int passage = passage_open)
{
    automap_grid grid;
    put_room(grid, 9, 11, GRASS, left_flags, 30);
    put_room(grid, 11, 11, GRASS, right_flags, 31);
    grid.at(10, 11).passage = passage;
    return grid;
}

// Road pixels on the way between the two rooms' centres (the band around the
// centre line, away from either end).
std::pair<int, int> road_pixels_between(const map_picture &picture)
{
    const int x0 = centre(9) + 2, x1 = centre(11) - 2, y = centre(11);
    return {picture.count(ROAD_DARK, x0, y - 2, x1, y + 2), picture.count(ROAD_LIGHT, x0, y - 2, x1, y + 2)};
}

} // namespace

TEST(AutomapTerrain, ColoursAndTheirDarkAndLightShades)
{
    vusk_color dark, base, light;
    for (int code : {0, 27, 33, 40, -1, 1000}) {
        get_terrain_color(dark, base, light, code);
        EXPECT_EQ(base, vusk_color(64, 64, 64)) << code;
        EXPECT_EQ(dark, vusk_color(57, 57, 57)) << code;
        EXPECT_EQ(light, vusk_color(76, 76, 76)) << code;
    }
    get_terrain_color(dark, base, light, 9);
    EXPECT_EQ(base, vusk_color(240, 240, 32));
    EXPECT_EQ(dark, vusk_color(216, 216, 28));
    EXPECT_EQ(light, vusk_color(255, 255, 38)); // capped at 255
    get_terrain_color(dark, base, light, 25);
    EXPECT_EQ(dark, vusk_color(224, 0, 0));
    EXPECT_EQ(base, vusk_color(255, 32, 0));
    EXPECT_EQ(light, vusk_color(255, 160, 0));
    get_terrain_color(dark, base, light, 32);
    EXPECT_EQ(base, vusk_color(0, 16, 160));
}

TEST(AutomapPicture, RoomsFillTheirSquareInTheirTerrainsColours)
{
    automap_grid grid;
    put_room(grid, 11, 11, 27, 0, 12); // a terrain without a colour: grey
    put_room(grid, 13, 11, 9, 0, 13);
    const map_picture picture(grid);
    std::set<std::tuple<int, int, int>> grey_room;
    // Inside the square's seams, which blend toward the rooms around.
    const int left = 11 * CELL + 1 - CELL / 2;
    for (int y = left + 2; y < left + 2 * CELL - 2; ++y)
        for (int x = left + 2; x < left + CELL; ++x) {
            const vusk_color c = picture.at(x, y);
            grey_room.insert({c.r, c.g, c.b});
        }
    // Base, speckles light and dark, and the blend toward the yellow room on
    // the right edge: only the first three in the left half.
    EXPECT_EQ(grey_room, (std::set<std::tuple<int, int, int>>{{64, 64, 64}, {57, 57, 57}, {76, 76, 76}}));
    EXPECT_EQ(picture.at(centre(13) + 3, centre(11) + 3), vusk_color(240, 240, 32));
    EXPECT_EQ(picture.at(centre(7), centre(11)), vusk_BLACK); // no room there
    // The same map draws the same pixels; another room id other speckles.
    EXPECT_TRUE(picture.same_pixels(map_picture(grid)));
    put_room(grid, 11, 11, 27, 0, 99);
    EXPECT_FALSE(picture.same_pixels(map_picture(grid)));
}

TEST(AutomapPicture, RoadsTrailsAndNothing)
{
    // Both rooms with the road flag: a road, light sides and a dark middle.
    auto [road_dark, road_light] = road_pixels_between(map_picture(pair(room_flag_road, room_flag_road)));
    EXPECT_GE(road_dark, 2 * CELL - 6);
    EXPECT_GE(road_light, 2 * (2 * CELL - 6));
    // A road room and a trail room share no road: a trail, dark pixels only.
    auto [trail_dark, trail_light] = road_pixels_between(map_picture(pair(room_flag_road, room_flag_trail)));
    EXPECT_GT(trail_dark, CELL);
    EXPECT_EQ(trail_light, 0);
    // A road room beside a room with neither: nothing.
    auto [none_dark, none_light] = road_pixels_between(map_picture(pair(room_flag_road, 0)));
    EXPECT_EQ(none_dark + none_light, 0);
}

TEST(AutomapPicture, AWallSuppressesTheRoadAndShowsThreeWhiteLines)
{
    const map_picture walled(pair(room_flag_road, room_flag_road, passage_wall));
    auto [dark, light] = road_pixels_between(walled);
    EXPECT_EQ(dark + light, 0);
    const int x = 10 * CELL + H;
    for (int column : {x - 1, x, x + 1})
        EXPECT_EQ(walled.count(vusk_WHITE, column, 11 * CELL + 1, column, 11 * CELL + CELL), CELL) << column;
    // The middle line is a pixel longer at each end.
    EXPECT_EQ(walled.at(x, 11 * CELL), vusk_WHITE);
    EXPECT_EQ(walled.at(x, 11 * CELL + CELL + 1), vusk_WHITE);

    // Doors: a bar of their colour across the passage.
    const map_picture green(pair(0, 0, passage_green_door)), red(pair(0, 0, passage_red_door));
    EXPECT_EQ(green.count(vusk_color(0, 128, 0), x, 11 * CELL + 1, x, 11 * CELL + CELL), CELL);
    EXPECT_EQ(red.count(vusk_color(192, 0, 0), x, 11 * CELL + 1, x, 11 * CELL + CELL), CELL);
}

TEST(AutomapPicture, AStarHidesTheStairs)
{
    auto room_with = [](int flags) {
        automap_grid grid;
        put_room(grid, 11, 11, 10, flags, 50);
        return grid;
    };
    const map_picture plain(room_with(0)), star(room_with(room_flag_marker));
    const map_picture up(room_with(room_flag_up)), down(room_with(room_flag_down));
    EXPECT_FALSE(star.same_pixels(plain));
    EXPECT_TRUE(star.same_pixels(map_picture(room_with(room_flag_marker | room_flag_up))));
    EXPECT_TRUE(star.same_pixels(map_picture(room_with(room_flag_marker | room_flag_down))));
    // The up chevron's tip is at the top of the room, the down one's at the bottom.
    const int cx = centre(11), cy = centre(11), r = CELL - 2;
    EXPECT_EQ(up.at(cx, cy - r), vusk_BLACK);
    EXPECT_NE(up.at(cx, cy + r), vusk_BLACK);
    EXPECT_EQ(down.at(cx, cy + r), vusk_BLACK);
    EXPECT_NE(down.at(cx, cy - r), vusk_BLACK);
}

TEST(AutomapPicture, CornersJoinDiagonalRoomsBetweenWalls)
{
    // North-west and south-east rooms with no rooms beside: the strip
    // through the corner has white edges on both sides.
    automap_grid grid;
    put_room(grid, 9, 9, GRASS, 0, 20);
    put_room(grid, 11, 11, GRASS, 0, 21);
    put_corner(grid, 10, 10, passage_open, passage_wall);
    const map_picture open(grid);
    const int cx = centre(10), cy = centre(10), d = CELL / 2;
    // The edges d pixels off the diagonal, clear of the seams' blends.
    EXPECT_EQ(open.at(cx + 3, cy + 3 - d), vusk_WHITE); // north-east
    EXPECT_EQ(open.at(cx + 3 - d, cy + 3), vusk_WHITE); // south-west
    EXPECT_EQ(open.at(cx + 1, cy), vusk_color(0, 192, 0)); // the strip between

    // Walled: no strip.
    put_corner(grid, 10, 10, passage_wall, passage_wall);
    const map_picture walled(grid);
    EXPECT_EQ(walled.at(cx + 3, cy + 3 - d), vusk_BLACK);
    EXPECT_EQ(walled.at(cx + 3 - d, cy + 3), vusk_BLACK);

    // A red door across the diagonal.
    put_corner(grid, 10, 10, passage_red_door, passage_wall);
    EXPECT_GT(map_picture(grid).count(vusk_color(192, 0, 0), cx - d, cy - d, cx + d, cy + d), 0);

    // A diagonal road joins the rooms' centres.
    put_room(grid, 9, 9, GRASS, room_flag_road, 20);
    put_room(grid, 11, 11, GRASS, room_flag_road, 21);
    put_corner(grid, 10, 10, passage_open, passage_wall);
    const map_picture road(grid);
    EXPECT_EQ(road.at(cx, cy), ROAD_DARK);
    EXPECT_EQ(road.at(centre(9), centre(9)), ROAD_DARK);
    put_corner(grid, 10, 10, passage_wall, passage_open); // the other diagonal is the open one
    EXPECT_NE(map_picture(grid).at(cx, cy), ROAD_DARK);
}

TEST(AutomapWindow, PlayerMarkerStandsOutFromItsRoom)
{
    automap_grid grid;
    EXPECT_EQ(player_marker_color(grid), vusk_WHITE);
    put_room(grid, 11, 11, 9, 0, 1);
    EXPECT_EQ(player_marker_color(grid), vusk_color(0, 0, 255));
    put_room(grid, 11, 11, 3, 0, 1);
    EXPECT_EQ(player_marker_color(grid), vusk_color(255, 0, 255));

    automap_canvas window(automap_window_size(CELL), automap_window_size(CELL));
    draw_player_marker(window.view(), CELL, vusk_color(0, 0, 255));
    const int w = automap_window_size(CELL) / 2;
    for (auto [x, y] : {std::pair{w, w - CELL / 2}, {w + CELL / 2, w}, {w, w + CELL / 2}, {w - CELL / 2, w},
                        {w, w - CELL / 2 + 1}})
        EXPECT_EQ(window.view().color_at(x, y), vusk_color(0, 0, 255));
    EXPECT_EQ(window.view().color_at(w, w), vusk_BLACK);
}

TEST(AutomapWindow, ThePictureMovesWithTheOffsetAndZoomFramesGrow)
{
    automap_grid grid;
    put_room(grid, 11, 11, 9, 0, 1);
    const map_picture map(grid);
    automap_canvas window(automap_window_size(CELL), automap_window_size(CELL));
    const int w = automap_window_size(CELL) / 2;
    // At rest the centre room's centre is the window's centre.
    paint_map_picture(window.view(), map.canvas.view(), CELL, {});
    const int shift = w - automap_bitmap_size(CELL) / 2 - 1;
    EXPECT_EQ(centre(11) + shift, w);
    for (int x = 0; x < window.view().width(); x += 7)
        EXPECT_EQ(window.view().color_at(x, 5), map.at(x - shift, 5 - shift));
    paint_map_picture(window.view(), map.canvas.view(), CELL, {2 * CELL, -CELL});
    EXPECT_EQ(window.view().color_at(50, 60), map.at(50 - shift + 2 * CELL, 60 - shift - CELL));

    draw_zoom_frames(window.view(), CELL, 3);
    EXPECT_EQ(window.view().color_at(w - 3 * CELL, w), vusk_WHITE);
    EXPECT_EQ(window.view().color_at(w - 3 * CELL + 2, w), vusk_WHITE);
    EXPECT_EQ(window.view().color_at(w - 3 * CELL + 3, w), vusk_BLACK);
    EXPECT_EQ(window.view().color_at(w - 3 * CELL - 1, w), vusk_BLACK);
}

TEST(AutomapCompass, SectorsUnderThePointer)
{
    const int s = automap_window_size(CELL), w = s / 2;
    EXPECT_EQ(calc_mouseover_sector(w, w, s, CELL), sector_none);
    EXPECT_EQ(calc_mouseover_sector(w + CELL + 1, w - CELL - 1, s, CELL), sector_none);
    EXPECT_EQ(calc_mouseover_sector(s - 2, s - 2, s, CELL), sector_down);
    EXPECT_EQ(calc_mouseover_sector(s - 2, 2, s, CELL), sector_up);
    EXPECT_EQ(calc_mouseover_sector(w + 50, w, s, CELL), sector_east);
    EXPECT_EQ(calc_mouseover_sector(w + 50, w + 50, s, CELL), sector_south_east);
    EXPECT_EQ(calc_mouseover_sector(w, w + 50, s, CELL), sector_south);
    EXPECT_EQ(calc_mouseover_sector(w - 50, w + 50, s, CELL), sector_south_west);
    EXPECT_EQ(calc_mouseover_sector(w - 50, w, s, CELL), sector_west);
    EXPECT_EQ(calc_mouseover_sector(w - 50, w - 50, s, CELL), sector_north_west);
    EXPECT_EQ(calc_mouseover_sector(w, w - 50, s, CELL), sector_north);
    EXPECT_EQ(calc_mouseover_sector(w + 50, w - 50, s, CELL), sector_north_east);
    EXPECT_EQ(calc_mouseover_sector(w + 50, w - 2, s, CELL), sector_east); // just above east: still east
    EXPECT_EQ(calc_mouseover_sector(2, 2, s, CELL), sector_north_west);     // the upper left corner

    const char *commands[] = {nullptr, "east", "southeast", "south", "southwest", "west",
                              "northwest", "north", "northeast", "down", "up"};
    for (int sector = 0; sector <= sector_up; ++sector) {
        const char *command = compass_command(sector);
        if (commands[sector] == nullptr)
            EXPECT_EQ(command, nullptr);
        else
            EXPECT_STREQ(command, commands[sector]);
    }
    EXPECT_EQ(compass_command(11), nullptr);
    EXPECT_EQ(compass_command(-1), nullptr);
}

TEST(AutomapCompass, TargetsTheirPlacesAndColours)
{
    const int s = 201, w = 100, r = 82, d = 58;
    const auto targets = compass_targets(s);
    auto find = [&](int sector) {
        for (const compass_target &t : targets)
            if (t.sector == sector)
                return t;
        return compass_target{};
    };
    EXPECT_EQ(std::make_tuple(find(sector_north).x, find(sector_north).y, find(sector_north).size), std::make_tuple(w, w - r, 16));
    EXPECT_EQ(std::make_tuple(find(sector_south_east).x, find(sector_south_east).y, find(sector_south_east).size),
              std::make_tuple(w + d, w + d, 20));
    EXPECT_EQ(std::make_tuple(find(sector_down).x, find(sector_down).y), std::make_tuple(184, 184));
    EXPECT_EQ(std::make_tuple(find(sector_up).x, find(sector_up).y), std::make_tuple(184, 16));
    // A target under the pointer for which the player may go shows it.
    const compass_target east = find(sector_east);
    EXPECT_EQ(compass_target_colors(east, sector_east, 0x4).outline, vusk_color(0, 255, 0));
    EXPECT_EQ(compass_target_colors(east, sector_east, 0).outline, vusk_color(255, 64, 64));
    EXPECT_EQ(compass_target_colors(east, sector_east, 0).label, vusk_WHITE);
    EXPECT_EQ(compass_target_colors(east, sector_west, 0x4).label, vusk_color(0, 255, 0));
    EXPECT_EQ(compass_target_colors(east, sector_west, ~0x4).label, vusk_color(96, 96, 96));
    EXPECT_EQ(compass_target_colors(east, sector_west, 0x4).outline, vusk_color(96, 96, 96));

    // An arrow's tip points the way of its angle.
    const auto up = arrow_points(0, 16);
    EXPECT_EQ(up[0], wxPoint(0, -16));
    const auto right = arrow_points(90, 16);
    EXPECT_EQ(right[0], wxPoint(16, 0));
    automap_canvas window(s, s);
    draw_compass_arrows(window.view(), s, sector_north, 0x1);
    EXPECT_EQ(window.view().color_at(w, w - r), compass_arrow_fill);
    EXPECT_EQ(window.view().color_at(w, w - r - 16), vusk_color(0, 255, 0));
}

TEST(AutomapSizes, TheWindowAndThePanelFollowTheCellSize)
{
    EXPECT_EQ(automap_window_size(7), 129);
    EXPECT_EQ(automap_bitmap_size(7), 161);
    EXPECT_EQ(automap_panel_size(7), wxSize(131, 152));
    EXPECT_EQ(automap_panel_size(11), wxSize(203, 224));
    EXPECT_EQ(automap_caption_x(203, 70), 66);
    EXPECT_EQ(automap_caption_x(40, 70), 5);
    EXPECT_EQ(automap_caption_y(14), 4);
}
