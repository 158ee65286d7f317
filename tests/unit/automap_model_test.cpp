// The automap's map messages, the maps waiting during an animation, and the
// slide, bump and zoom animations, without a window.
#include "automap_map_text.h"
#include "automap_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using automap_test::map_text;
using automap_test::put_corner;
using automap_test::put_room;

namespace {

constexpr int CELL = 7;

// The text from a heap block of exactly its length, without a terminator:
// reading a byte past it is a sanitizer failure.
automap_grid parsed(const std::string &text, map_message_header *header = nullptr)
{
    std::unique_ptr<char[]> block(new char[text.size()]);
    std::copy(text.begin(), text.end(), block.get());
    automap_grid grid;
    const map_message_header h = parse_map_text(block.get(), int(text.size()), grid);
    if (header)
        *header = h;
    return grid;
}

automap_grid sample_grid()
{
    automap_grid grid;
    put_room(grid, 11, 11, 9, room_flag_road, 42);
    put_room(grid, 13, 11, 3, room_flag_up, 77);
    put_room(grid, 21, 1, 25, 0, 128); // an id from a byte above 0x7F
    grid.at(12, 11).passage = passage_green_door;
    grid.at(11, 12).passage = passage_wall;
    put_corner(grid, 0, 22, 63, 17);
    return grid;
}

bool same_cells(const automap_grid &a, const automap_grid &b)
{
    for (int x = 0; x < automap_grid_cells; ++x)
        for (int y = 0; y < automap_grid_cells; ++y) {
            const automap_cell &p = a.at(x, y), &q = b.at(x, y);
            if (p.terrain != q.terrain || p.flags != q.flags || p.room_id != q.room_id || p.passage != q.passage)
                return false;
        }
    return true;
}

// Steps until the slide in progress has ended; returns what the last step did.
automap_step finish_slide(automap_model &model)
{
    automap_step step;
    do
        step = model.periodic_update(0);
    while (step == automap_step::moved && model.map_in_transition());
    return step;
}

} // namespace

TEST(AutomapParser, AWholeMapComesBackCellForCell)
{
    map_message_header header;
    const automap_grid read = parsed(map_text(sample_grid(), 'C', 'B'), &header);
    EXPECT_TRUE(same_cells(read, sample_grid()));
    EXPECT_EQ(header.move_letter, 'C');
    EXPECT_EQ(header.mode, 2);
    EXPECT_EQ(corner_nw_se(read.at(0, 22)), 63);
    EXPECT_EQ(corner_ne_sw(read.at(0, 22)), 17);
}

TEST(AutomapParser, EdgesOfTheRowRules)
{
    map_message_header header;
    EXPECT_TRUE(same_cells(parsed("A", &header), automap_grid()));
    EXPECT_EQ(header.move_letter, 'A');
    EXPECT_FALSE(header.has_mode);

    // A newline right after the letter leaves row y = 0 empty.
    automap_grid grid = parsed("A\nBC\n");
    EXPECT_EQ(grid.at(1, 0).passage, 0);
    EXPECT_EQ(grid.at(1, 2).passage, 2);
    EXPECT_EQ(grid.at(3, 2).passage, 3);

    // Blank lines end one row only.
    grid = parsed("ABB\n\n\n\nDD\n");
    EXPECT_EQ(grid.at(1, 2).passage, 4);
    EXPECT_EQ(grid.at(1, 4).passage, 0);

    // Block 2 has 12 cells a row: of 14 characters the last two are skipped.
    std::string text = "A";
    for (int row = 0; row < 12; ++row)
        text += "@@@@@@@@@@@\n";
    grid = parsed(text + "ABCDEFGHIJKLMN\nZ\n");
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(grid.at(2 * i, 1).passage, 1 + i) << "x = " << 2 * i;
    EXPECT_EQ(grid.at(0, 3).passage, 'Z' - 64);
}

TEST(AutomapParser, StopsAtTheEndOfTheTextWhereverItFalls)
{
    const std::string whole = map_text(sample_grid());
    // Cut inside the room group of (13, 11): the group before it stays, the
    // cut one does not.
    const size_t rooms = whole.size() - 1 - 11 * 45;
    const automap_grid cut = parsed(whole.substr(0, rooms + 5 * 45 + 6 * 4 + 2));
    EXPECT_EQ(cut.at(11, 11).room_id, 42);
    EXPECT_EQ(cut.at(13, 11).terrain, 0);

    // Every length: never past the end, never a room the whole text lacks.
    for (size_t length = 0; length <= whole.size(); ++length) {
        const automap_grid part = parsed(whole.substr(0, length));
        ASSERT_TRUE(part.at(11, 11).room_id == 0 || part.at(11, 11).room_id == 42) << length;
    }
    // A NUL byte ends the text too, whatever the length says.
    std::string with_nul = whole;
    with_nul[rooms] = '\0';
    EXPECT_EQ(parsed(with_nul).at(11, 11).room_id, 0);
    EXPECT_EQ(parsed(with_nul).at(12, 11).passage, passage_green_door);
}

TEST(AutomapModel, AMapAtRestSlidesInAndLaterMapsWait)
{
    const int directions[8][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int d = 0; d < 8; ++d) {
        automap_model model(CELL);
        const char letter = char('A' + d);
        EXPECT_TRUE(model.display_socket_data(&letter, 1));
        EXPECT_EQ(model.offset().x, 2 * CELL * directions[d][0]) << letter;
        EXPECT_EQ(model.offset().y, 2 * CELL * directions[d][1]) << letter;
        EXPECT_FALSE(model.display_socket_data("A", 1)); // during the slide it waits
        EXPECT_EQ(model.queued_count(), 1);
    }
    automap_model still(CELL);
    still.display_socket_data("I", 1);
    EXPECT_FALSE(still.map_in_transition());

    // At cell size 7 each step moves 1 or 2 pixels: 14 pixels take 7 to 14 steps.
    automap_model slow(CELL);
    slow.display_socket_data("B", 1);
    int steps = 0;
    for (int previous = slow.offset().x; slow.map_in_transition(); previous = slow.offset().x, ++steps) {
        slow.periodic_update(steps % 4);
        EXPECT_TRUE(slow.offset().x - previous == 1 || slow.offset().x - previous == 2);
    }
    EXPECT_GE(steps, 7);
    EXPECT_LE(steps, 14);
}

TEST(AutomapModel, WaitingMapsSpeedTheAnimationUpAndAFloodKeepsTheNewest)
{
    automap_model model(CELL);
    model.display_socket_data("A", 1);
    for (int i = 0; i < 3; ++i)
        model.display_socket_data("C", 1);
    EXPECT_EQ(finish_slide(model), automap_step::parsed);
    EXPECT_EQ(std::make_pair(model.queued_count(), model.speed_up()), std::make_pair(2, 1));
    EXPECT_EQ(finish_slide(model), automap_step::parsed);
    EXPECT_EQ(std::make_pair(model.queued_count(), model.speed_up()), std::make_pair(1, 1));
    EXPECT_EQ(finish_slide(model), automap_step::parsed);
    EXPECT_EQ(std::make_pair(model.queued_count(), model.speed_up()), std::make_pair(0, 1));
    EXPECT_EQ(finish_slide(model), automap_step::moved);
    EXPECT_EQ(model.speed_up(), 0);
    EXPECT_EQ(model.periodic_update(0), automap_step::idle);

    model.display_socket_data("A", 1);
    for (int id = 1; id <= 100; ++id) {
        automap_grid grid;
        put_room(grid, 11, 11, 3, 0, id);
        const std::string text = map_text(grid, 'B');
        model.display_socket_data(text.c_str(), int(text.size()));
    }
    EXPECT_EQ(model.queued_count(), automap_queue_capacity);
    std::vector<int> ids, newest;
    for (int id = 101 - automap_queue_capacity; id <= 100; ++id)
        newest.push_back(id);
    for (automap_step step; (step = finish_slide(model)) == automap_step::parsed;)
        ids.push_back(model.grid().at(11, 11).room_id);
    EXPECT_EQ(ids, newest);
}

TEST(AutomapModel, AFailedWalkBumpsOnceAndComesBack)
{
    automap_model model(CELL);
    EXPECT_TRUE(model.walk_fail("0"));
    EXPECT_EQ(model.offset().y, -4); // -(2 * 7) / 3, toward zero
    EXPECT_FALSE(model.walk_fail("1")); // the view is not back yet
    finish_slide(model);
    EXPECT_TRUE(model.walk_fail("5")); // south-east
    EXPECT_EQ(std::make_pair(model.offset().x, model.offset().y), std::make_pair(4, 4));
    finish_slide(model);
    for (const char *bad : {"8", "-1", "x", "", "99999999999999999999"})
        EXPECT_FALSE(model.walk_fail(bad)) << bad;
    EXPECT_FALSE(model.walk_fail(nullptr));
}

TEST(AutomapModel, ZoomFramesCountUpForAAndDownForB)
{
    auto frames = [](char mode) {
        automap_model model(CELL);
        const std::string text = map_text(automap_grid(), '@', mode);
        model.display_socket_data(text.c_str(), int(text.size()));
        EXPECT_EQ(model.display_socket_data("A", 1), mode != 'A' && mode != 'B');
        std::vector<int> seen{model.zoom_counter()};
        while (model.zoom_counter() != 0 && seen.size() < 20) {
            model.periodic_update(0);
            seen.push_back(model.zoom_counter());
        }
        return seen;
    };
    EXPECT_EQ(frames('A'), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(frames('B'), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(frames('C'), (std::vector<int>{0}));
}
