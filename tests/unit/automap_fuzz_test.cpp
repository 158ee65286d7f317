// Hostile map messages under the sanitizers: random bytes and mutated real
// maps, each in a block of exactly its length, through the parser, the queue,
// the animation and the drawing.
#include "automap_drawing.h"
#include "automap_map_text.h"
#include "automap_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

namespace {

std::string random_bytes(std::mt19937 &random, size_t length)
{
    std::uniform_int_distribution<int> byte(0, 255);
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const int b = byte(random);
        text += b < 24 ? '\n' : b < 120 ? char(64 + b % 32) : char(b);
    }
    return text;
}

std::string real_map(std::mt19937 &random)
{
    std::uniform_int_distribution<int> value(0, 63);
    automap_grid grid;
    for (int y = 0; y < automap_grid_cells; ++y)
        for (int x = 0; x < automap_grid_cells; ++x) {
            if (x % 2 == 1 && y % 2 == 1 && value(random) % 4)
                automap_test::put_room(grid, x, y, value(random) % 34, value(random) % 32, 1 + value(random));
            else if (x % 2 == 0 && y % 2 == 0)
                automap_test::put_corner(grid, x, y, value(random) % 6, value(random) % 6);
            else
                grid.at(x, y).passage = value(random) % 6;
        }
    return automap_test::map_text(grid, char('@' + value(random) % 10), char('@' + value(random) % 4));
}

void mutate(std::mt19937 &random, std::string &text)
{
    std::uniform_int_distribution<int> how(0, 4), byte(0, 255);
    for (int edits = 1 + how(random) * 3; edits > 0 && !text.empty(); --edits) {
        const size_t at = std::uniform_int_distribution<size_t>(0, text.size() - 1)(random);
        switch (how(random)) {
        case 0: text[at] = char(byte(random)); break;
        case 1: text.erase(at, 1 + byte(random) % 40); break;
        case 2: text.insert(at, 1 + byte(random) % 30, '\n'); break;
        case 3: text.insert(at, random_bytes(random, 1 + byte(random) % 60)); break;
        default: text.resize(at); break;
        }
    }
}

// Bytes are read unsigned: room values lie within a byte less 64, corner
// values in their two 6-bit fields.
void check_grid(const automap_grid &grid)
{
    for (int y = 0; y < automap_grid_cells; ++y)
        for (int x = 0; x < automap_grid_cells; ++x) {
            const automap_cell &cell = grid.at(x, y);
            for (int value : {cell.terrain, cell.flags, cell.room_id, cell.field3})
                ASSERT_TRUE(value >= -64 && value <= 191) << value;
            if (x % 2 == 0 && y % 2 == 0)
                ASSERT_EQ(cell.passage & ~(63 | 63 << 16), 0) << cell.passage;
            else
                ASSERT_TRUE(cell.passage >= -64 && cell.passage <= 191) << cell.passage;
        }
}

} // namespace

TEST(AutomapFuzz, RandomAndMutatedMapsNeverReadPastTheirEnd)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> length(0, 1500), coin(0, 2), jitter(0, 3);
    for (int cell : {5, 7, 61}) {
        automap_model model(cell);
        automap_canvas picture(automap_bitmap_size(cell) + 1, automap_bitmap_size(cell) + 1);
        automap_canvas window(automap_window_size(cell), automap_window_size(cell));
        for (int round = 0; round < 1000; ++round) {
            std::string text = coin(random) ? real_map(random) : random_bytes(random, size_t(length(random)));
            mutate(random, text);
            std::unique_ptr<char[]> block(new char[text.size()]);
            std::copy(text.begin(), text.end(), block.get());
            model.display_socket_data(block.get(), int(text.size()));
            model.walk_fail(text.c_str());
            check_grid(model.grid());
            ASSERT_LE(model.queued_count(), automap_queue_capacity);
            for (int step = 0; step < 3; ++step)
                model.periodic_update(jitter(random));
            if (round % 100 == 0) {
                draw_automap(picture.view(), model.grid(), cell);
                paint_map_picture(window.view(), picture.view(), cell, model.offset());
                draw_compass_arrows(window.view(), automap_window_size(cell), sector_east, 0x3ff);
            }
        }
        // However hostile, every animation comes to rest.
        int steps = 0;
        while (model.periodic_update(0) != automap_step::idle)
            ASSERT_LT(++steps, 10000);
        EXPECT_EQ(model.queued_count(), 0);
    }
}
