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

automap_grid parsed(const std::string &text, map_message_header *header = nullptr)
{
    automap_grid grid;
    const map_message_header h = parse_map_text(text.c_str(), int(text.size()), grid);
    if (header)
        *header = h;
    return grid;
}

// The text from a heap block of exactly its own size, without a terminator:
// reading one byte past it is a sanitizer failure.
automap_grid parsed_unterminated(const std::string &text)
{
    std::unique_ptr<char[]> block(new char[text.size()]);
    std::copy(text.begin(), text.end(), block.get());
    automap_grid grid;
    parse_map_text(block.get(), int(text.size()), grid);
    return grid;
}

automap_grid sample_grid()
{
    automap_grid grid;
    put_room(grid, 11, 11, 9, room_flag_road, 42);
    put_room(grid, 13, 11, 3, room_flag_up | room_flag_marker, 77);
    put_room(grid, 1, 21, 31, room_flag_down, 5);
    put_room(grid, 21, 1, 25, 0, 128); // an id from a byte above 0x7F
    grid.at(12, 11).passage = passage_green_door;
    grid.at(11, 12).passage = passage_wall;
    grid.at(22, 21).passage = passage_red_door;
    put_corner(grid, 12, 12, passage_wall, passage_open);
    put_corner(grid, 0, 22, 63, 17);
    return grid;
}

bool same_cells(const automap_grid &a, const automap_grid &b)
{
    for (int x = 0; x < automap_grid_cells; ++x)
        for (int y = 0; y < automap_grid_cells; ++y) {
            const automap_cell &p = a.at(x, y), &q = b.at(x, y);
            if (p.terrain != q.terrain || p.flags != q.flags || p.room_id != q.room_id || p.field3 != q.field3 ||
                p.passage != q.passage)
                return false;
        }
    return true;
}

bool empty(const automap_grid &grid)
{
    return same_cells(grid, automap_grid());
}

// Steps until the view is at rest and nothing waits; the offsets seen after
// each step.
std::vector<map_offset> run_to_rest(automap_model &model, int jitter = 0)
{
    std::vector<map_offset> seen;
    for (int guard = 0; guard < 1000 && model.periodic_update(jitter) != automap_step::idle; ++guard)
        seen.push_back(model.offset());
    return seen;
}

} // namespace

TEST(AutomapParser, AWholeMapComesBackCellForCell)
{
    const automap_grid grid = sample_grid();
    map_message_header header;
    const automap_grid read = parsed(map_text(grid, 'C', 'B'), &header);
    EXPECT_TRUE(same_cells(read, grid));
    EXPECT_EQ(header.move_letter, 'C');
    EXPECT_TRUE(header.has_mode);
    EXPECT_EQ(header.mode, 2);
    EXPECT_EQ(read.at(21, 1).room_id, 128);
    EXPECT_EQ(corner_nw_se(read.at(0, 22)), 63);
    EXPECT_EQ(corner_ne_sw(read.at(0, 22)), 17);
}

TEST(AutomapParser, EdgesOfTheRowRules)
{
    // The text ends right after the move letter: an empty grid.
    map_message_header header;
    EXPECT_TRUE(empty(parsed("A", &header)));
    EXPECT_EQ(header.move_letter, 'A');
    EXPECT_FALSE(header.has_mode);

    // A newline right after the letter leaves row y = 0 empty; the next row
    // is y = 2.
    automap_grid grid = parsed("A\nBC\n");
    EXPECT_EQ(grid.at(1, 0).passage, 0);
    EXPECT_EQ(grid.at(1, 2).passage, 2);
    EXPECT_EQ(grid.at(3, 2).passage, 3);

    // Blank lines end one row only.
    grid = parsed("ABB\n\n\n\nDD\n");
    EXPECT_EQ(grid.at(3, 0).passage, 2);
    EXPECT_EQ(grid.at(1, 2).passage, 4);
    EXPECT_EQ(grid.at(1, 4).passage, 0);

    // Block 2 has 12 cells a row: of 14 characters the last two are skipped.
    std::string text = "A";
    for (int row = 0; row < 12; ++row)
        text += "@@@@@@@@@@@\n";
    text += "ABCDEFGHIJKLMN\nZ\n";
    grid = parsed(text);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(grid.at(2 * i, 1).passage, 1 + i) << "x = " << 2 * i;
    EXPECT_EQ(grid.at(0, 3).passage, 'Z' - 64); // the next row takes up after the newline

    // A short row leaves its other cells empty.
    grid = parsed("AD\n");
    EXPECT_EQ(grid.at(1, 0).passage, 4);
    EXPECT_EQ(grid.at(3, 0).passage, 0);
}

TEST(AutomapParser, StopsAtTheEndOfTheTextWhereverItFalls)
{
    const std::string whole = map_text(sample_grid());
    // Cut inside the room group of (13, 11): the groups before it are kept,
    // the cut one is not, and nothing past the end is read.
    const size_t rooms = whole.size() - 1 - 11 * (11 * 4 + 1);
    const size_t row_of_centre = rooms + 5 * (11 * 4 + 1);
    const size_t inside_group = row_of_centre + 6 * 4 + 2;
    const automap_grid cut = parsed_unterminated(whole.substr(0, inside_group));
    EXPECT_EQ(cut.at(11, 11).room_id, 42);
    EXPECT_EQ(cut.at(13, 11).room_id, 0);
    EXPECT_EQ(cut.at(13, 11).terrain, 0);
    EXPECT_EQ(cut.at(1, 21).room_id, 0);

    // Every length of the text: never past its end, and never a cell that
    // the whole text does not have.
    const automap_grid full = parsed(whole);
    for (size_t length = 0; length <= whole.size(); ++length) {
        const automap_grid part = parsed_unterminated(whole.substr(0, length));
        for (int x = 0; x < automap_grid_cells; ++x)
            for (int y = 0; y < automap_grid_cells; ++y)
                if (part.at(x, y).room_id != 0) {
                    ASSERT_EQ(part.at(x, y).room_id, full.at(x, y).room_id) << length;
                }
    }

    // A NUL byte ends the text too, whatever the length says.
    std::string with_nul = whole;
    with_nul[rooms] = '\0';
    EXPECT_EQ(parsed(with_nul).at(11, 11).room_id, 0);
    EXPECT_EQ(parsed(with_nul).at(12, 11).passage, passage_green_door);
}

TEST(AutomapModel, AMapAtRestSlidesInFromTheMoveAndLaterMapsWait)
{
    automap_model model(CELL);
    EXPECT_TRUE(model.display_socket_data("A", 1));
    EXPECT_EQ(model.offset().x, 0);
    EXPECT_EQ(model.offset().y, 2 * CELL);
    EXPECT_TRUE(model.map_in_transition());

    const std::string next = map_text(sample_grid(), 'F');
    EXPECT_FALSE(model.display_socket_data(next.c_str(), int(next.size())));
    EXPECT_EQ(model.queued_count(), 1);

    // With cell size 7 each step moves 1 or 2 pixels: 14 pixels take 7 to 14 steps.
    automap_model slow(CELL);
    slow.display_socket_data("B", 1);
    int steps = 0;
    for (int previous = slow.offset().x; slow.map_in_transition(); previous = slow.offset().x) {
        slow.periodic_update(steps % 4);
        const int moved = slow.offset().x - previous;
        EXPECT_TRUE(moved == 1 || moved == 2) << moved;
        ++steps;
    }
    EXPECT_GE(steps, 7);
    EXPECT_LE(steps, 14);

    // Letters outside "A".."H" do not slide.
    for (const char *letter : {"@", "I", "a", "\xc1"}) {
        automap_model still(CELL);
        still.display_socket_data(letter, 1);
        EXPECT_FALSE(still.map_in_transition()) << letter;
    }
    const int directions[8][2] = {{0, 1}, {-1, 0}, {0, -1}, {1, 0}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
    for (int d = 0; d < 8; ++d) {
        automap_model moving(CELL);
        const char letter = char('A' + d);
        moving.display_socket_data(&letter, 1);
        EXPECT_EQ(moving.offset().x, 2 * CELL * directions[d][0]) << letter;
        EXPECT_EQ(moving.offset().y, 2 * CELL * directions[d][1]) << letter;
    }
}

TEST(AutomapModel, QueuedMapsSpeedTheAnimationUpAndItFallsBackAtRest)
{
    automap_model model(CELL);
    model.display_socket_data("A", 1);
    for (int i = 0; i < 3; ++i)
        model.display_socket_data("C", 1);
    ASSERT_EQ(model.queued_count(), 3);

    auto finish_slide = [&] {
        automap_step step;
        do
            step = model.periodic_update(0);
        while (step == automap_step::moved && model.map_in_transition());
        return step;
    };
    EXPECT_EQ(finish_slide(), automap_step::parsed); // the first waiting map
    EXPECT_EQ(model.queued_count(), 2);
    EXPECT_EQ(model.speed_up(), 1);
    EXPECT_EQ(model.offset().y, -2 * CELL);
    EXPECT_EQ(finish_slide(), automap_step::parsed);
    EXPECT_EQ(model.queued_count(), 1);
    EXPECT_EQ(model.speed_up(), 1); // it falls only from above 1
    EXPECT_EQ(finish_slide(), automap_step::parsed);
    EXPECT_EQ(model.queued_count(), 0);
    EXPECT_EQ(model.speed_up(), 1);
    EXPECT_EQ(finish_slide(), automap_step::moved);
    EXPECT_EQ(model.speed_up(), 0);
    EXPECT_FALSE(model.animating());
    EXPECT_EQ(model.periodic_update(0), automap_step::idle);
}

TEST(AutomapModel, AFloodOfMapsKeepsOnlyTheNewest)
{
    automap_model model(CELL);
    model.display_socket_data("A", 1);
    for (int i = 0; i < 100; ++i) {
        automap_grid grid;
        put_room(grid, 11, 11, 3, 0, 1 + i);
        const std::string text = map_text(grid, 'B');
        model.display_socket_data(text.c_str(), int(text.size()));
    }
    EXPECT_EQ(model.queued_count(), automap_queue_capacity);
    std::vector<int> ids;
    for (int guard = 0; guard < 10000; ++guard) {
        const automap_step step = model.periodic_update(3);
        if (step == automap_step::idle)
            break;
        if (step == automap_step::parsed)
            ids.push_back(model.grid().at(11, 11).room_id);
    }
    std::vector<int> newest;
    for (int id = 100 - automap_queue_capacity + 1; id <= 100; ++id)
        newest.push_back(id);
    EXPECT_EQ(ids, newest);
    // Raised while more than one waited (six times), lowered with one
    // waiting, and once more at rest.
    EXPECT_EQ(model.speed_up(), 4);
}

TEST(AutomapModel, AWaitingMapKeepsItsFirst4079Bytes)
{
    // A map whose mode character lies beyond byte 4079 (a long first row is
    // skipped to its newline): parsed at once it zooms, parsed from the
    // queue it does not.
    std::string zooming = "@" + std::string(5000, '@') + map_text(automap_grid()).substr(12);
    zooming.back() = 'A';
    automap_model direct(CELL);
    direct.display_socket_data(zooming.c_str(), int(zooming.size()));
    EXPECT_EQ(direct.zoom_counter(), 1);

    automap_model queued(CELL);
    queued.display_socket_data("A", 1);
    queued.display_socket_data(zooming.c_str(), int(zooming.size()));
    run_to_rest(queued);
    EXPECT_EQ(queued.zoom_mode(), 0);
    EXPECT_FALSE(queued.map_in_transition());
}

TEST(AutomapModel, AFailedWalkBumpsOnceAndComesBack)
{
    automap_model model(CELL);
    EXPECT_TRUE(model.walk_fail("0"));
    EXPECT_EQ(model.offset().x, 0);
    EXPECT_EQ(model.offset().y, -4); // -(2 * 7) / 3, toward zero
    EXPECT_FALSE(model.walk_fail("1")); // the view is not back yet
    EXPECT_EQ(model.offset().y, -4);
    run_to_rest(model);
    EXPECT_FALSE(model.map_in_transition());

    EXPECT_TRUE(model.walk_fail("5")); // south-east
    EXPECT_EQ(model.offset().x, 4);
    EXPECT_EQ(model.offset().y, 4);
    run_to_rest(model);

    for (const char *bad : {"8", "-1", "x", "", " ", "99999999999999999999"})
        EXPECT_FALSE(model.walk_fail(bad)) << bad;
    EXPECT_FALSE(model.walk_fail(nullptr));
    EXPECT_FALSE(model.map_in_transition());
}

TEST(AutomapModel, ZoomFramesCountUpForAAndDownForB)
{
    auto frames = [](char mode) {
        automap_model model(CELL);
        const std::string text = map_text(automap_grid(), '@', mode);
        model.display_socket_data(text.c_str(), int(text.size()));
        std::vector<int> seen{model.zoom_counter()};
        while (model.map_in_transition() && seen.size() < 20) {
            model.periodic_update(0);
            seen.push_back(model.zoom_counter());
        }
        return seen;
    };
    EXPECT_EQ(frames('A'), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(frames('B'), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(frames('C'), (std::vector<int>{0}));

    // A map during a zoom waits for it.
    automap_model model(CELL);
    const std::string zoom = map_text(automap_grid(), '@', 'B');
    model.display_socket_data(zoom.c_str(), int(zoom.size()));
    EXPECT_FALSE(model.display_socket_data("A", 1));
    EXPECT_FALSE(model.walk_fail("0"));
}

TEST(AutomapModel, FullClearEmptiesEverything)
{
    automap_model model(CELL);
    const std::string text = map_text(sample_grid(), 'A');
    model.display_socket_data(text.c_str(), int(text.size()));
    model.display_socket_data(text.c_str(), int(text.size()));
    model.display_socket_data(text.c_str(), int(text.size()));
    model.periodic_update(0);
    model.full_clear();
    EXPECT_TRUE(empty(model.grid()));
    EXPECT_EQ(model.queued_count(), 0);
    EXPECT_EQ(model.speed_up(), 0);
    EXPECT_FALSE(model.map_in_transition());
}
