// Hostile map messages under the sanitizers: random bytes and mutated real
// maps, from blocks of exactly their own length, through the parser, the
// queue, the animation and the drawing.
#include "automap_drawing.h"
#include "automap_map_text.h"
#include "automap_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

using automap_test::map_text;
using automap_test::put_corner;
using automap_test::put_room;

namespace {

constexpr int ROUNDS = 3000;

std::string random_bytes(std::mt19937 &random, size_t length)
{
    std::uniform_int_distribution<int> byte(0, 255), kind(0, 9);
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        const int k = kind(random);
        text += k == 0 ? '\n' : k == 1 ? char(64 + byte(random) % 32) : char(byte(random));
    }
    return text;
}

std::string real_map(std::mt19937 &random)
{
    std::uniform_int_distribution<int> value(0, 63), coin(0, 3);
    automap_grid grid;
    for (int y = 1; y < automap_grid_cells; y += 2)
        for (int x = 1; x < automap_grid_cells; x += 2)
            if (coin(random))
                put_room(grid, x, y, value(random) % 34, value(random) % 32, 1 + value(random));
    for (int y = 0; y < automap_grid_cells; ++y)
        for (int x = 0; x < automap_grid_cells; ++x) {
            if (x % 2 == 0 && y % 2 == 0)
                put_corner(grid, x, y, value(random) % 6, value(random) % 6);
            else if ((x + y) % 2 == 1)
                grid.at(x, y).passage = value(random) % 6;
        }
    return map_text(grid, char('@' + value(random) % 10), char('@' + coin(random)));
}

void mutate(std::mt19937 &random, std::string &text)
{
    std::uniform_int_distribution<int> how(0, 4), byte(0, 255);
    const int edits = 1 + how(random) * 3;
    for (int i = 0; i < edits && !text.empty(); ++i) {
        std::uniform_int_distribution<size_t> at(0, text.size() - 1);
        switch (how(random)) {
        case 0: text[at(random)] = char(byte(random)); break;
        case 1: text.erase(at(random), 1 + at(random) % 40); break;
        case 2: text.insert(at(random), 1 + byte(random) % 30, '\n'); break;
        case 3: text.insert(at(random), random_bytes(random, 1 + byte(random) % 60)); break;
        default: text.resize(at(random)); break;
        }
    }
}

// The text in a block of exactly its size, no terminator.
void feed(automap_model &model, const std::string &text)
{
    std::unique_ptr<char[]> block(new char[text.size() + 1]);
    std::copy(text.begin(), text.end(), block.get());
    model.display_socket_data(block.get(), int(text.size()));
}

void check_grid(const automap_grid &grid)
{
    for (int y = 0; y < automap_grid_cells; ++y)
        for (int x = 0; x < automap_grid_cells; ++x) {
            const automap_cell &cell = grid.at(x, y);
            // Bytes are read unsigned: every value lies in the range of a byte minus 64.
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
    std::uniform_int_distribution<int> length(0, 1500), choice(0, 2), jitter(0, 3);
    automap_model model(7);
    automap_canvas picture(automap_bitmap_size(7) + 1, automap_bitmap_size(7) + 1);
    automap_canvas window(automap_window_size(7), automap_window_size(7));
    for (int round = 0; round < ROUNDS; ++round) {
        std::string text;
        if (choice(random) == 0) {
            text = random_bytes(random, size_t(length(random)));
        } else {
            text = real_map(random);
            mutate(random, text);
        }
        feed(model, text);
        model.walk_fail(text.c_str());
        check_grid(model.grid());
        ASSERT_LE(model.queued_count(), automap_queue_capacity);
        for (int step = 0; step < 3; ++step)
            model.periodic_update(jitter(random));
        if (round % 50 == 0) {
            draw_automap(picture.view(), model.grid(), model.cell_size());
            paint_map_picture(window.view(), picture.view(), model.cell_size(), model.offset());
        }
    }
    // However hostile, every animation comes to rest.
    int steps = 0;
    while (model.periodic_update(0) != automap_step::idle)
        ASSERT_LT(++steps, 10000);
    EXPECT_EQ(model.queued_count(), 0);
    EXPECT_FALSE(model.map_in_transition());
}

TEST(AutomapFuzz, HostileGridsDrawAtEverySize)
{
    std::mt19937 random(61);
    std::uniform_int_distribution<int> any(-64, 191);
    for (int cell : {5, 7, 11, 61}) {
        automap_grid grid;
        for (int y = 0; y < automap_grid_cells; ++y)
            for (int x = 0; x < automap_grid_cells; ++x) {
                automap_cell &c = grid.at(x, y);
                c = {any(random), any(random), any(random), any(random), any(random) | (any(random) & 63) << 16};
            }
        automap_canvas picture(automap_bitmap_size(cell) + 1, automap_bitmap_size(cell) + 1);
        draw_automap(picture.view(), grid, cell);
        automap_canvas window(automap_window_size(cell), automap_window_size(cell));
        for (int x = -10; x < automap_window_size(cell) + 10; x += 3)
            calc_mouseover_sector(x, x / 2, automap_window_size(cell), cell);
        draw_compass_arrows(window.view(), automap_window_size(cell), sector_east, 0x3ff);
        draw_zoom_frames(window.view(), cell, 9);
    }
}
