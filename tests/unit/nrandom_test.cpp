#include "nrandom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <thread>
#include <vector>

namespace {

std::vector<uint32_t> draws(NRandom &generator, int count)
{
    std::vector<uint32_t> values;
    for (int k = 0; k < count; ++k)
        values.push_back(generator.rnd());
    return values;
}

// Seeds whose first step yields 0xFFFFFFFD and 1, the extremes of frnd().
constexpr uint32_t seed_of_topmost_draw = 538843659;
constexpr uint32_t seed_of_lowest_draw = 203358828;

}

TEST(NRandom, DefaultSequenceMatchesKnownValues)
{
    NRandom fresh;
    NRandom seeded;
    seeded.init(NRandom::default_seed);
    const std::vector<uint32_t> expected = {3568278821u, 3917071026u, 1524314850u, 749932902u,
                                            2635352178u, 3595952593u, 3124705530u, 2750302474u,
                                            297566510u,  1157305840u};
    EXPECT_EQ(draws(fresh, 10), expected);
    EXPECT_EQ(draws(seeded, 10), expected);
}

TEST(NRandom, ResetRepeatsFromTheLastSeeding)
{
    NRandom generator;
    std::vector<uint32_t> from_start = draws(generator, 50);
    generator.reset();
    EXPECT_EQ(draws(generator, 50), from_start);

    generator.seed(2024);
    std::vector<uint32_t> first = draws(generator, 1000);
    generator.reset();
    EXPECT_EQ(draws(generator, 1000), first);
    EXPECT_NE(first, from_start);
}

TEST(NRandom, StirredSeedIsRepeatableAndKnown)
{
    NRandom generator;
    generator.seed(42, 1, 2, 3, 4, 5);
    const std::vector<uint32_t> expected = {1833725560u, 1634583485u, 1827531975u, 879071055u};
    EXPECT_EQ(draws(generator, 4), expected);
    draws(generator, 300);
    generator.reset();
    EXPECT_EQ(draws(generator, 4), expected);

    NRandom plain;
    plain.seed(42);
    EXPECT_NE(draws(plain, 4), expected);
}

TEST(NRandom, FloatDrawsCoverZeroToExactlyOne)
{
    NRandom generator;
    generator.init(seed_of_topmost_draw);
    EXPECT_EQ(generator.rnd(), 0xFFFFFFFDu);
    generator.reset();
    EXPECT_EQ(generator.frnd(), 1.0f);

    generator.init(seed_of_lowest_draw);
    EXPECT_EQ(generator.frnd(), 0.0f);

    for (int k = 0; k < 100000; ++k) {
        float value = generator.frnd();
        ASSERT_GE(value, 0.0f);
        ASSERT_LE(value, 1.0f);
    }
}

TEST(SharedGenerator, RangedDrawsStayInRange)
{
    for (int n : {1, 2, 7, 10, 1000, 32768}) {
        // The smallest values must all turn up where they are not rare.
        std::vector<bool> seen(n <= 1000 ? static_cast<size_t>(std::min(n, 10)) : 0);
        for (int k = 0; k < 20000; ++k) {
            int value = xrand(n);
            ASSERT_GE(value, 0);
            ASSERT_LT(value, n);
            if (static_cast<size_t>(value) < seen.size())
                seen[static_cast<size_t>(value)] = true;
        }
        EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](bool b) { return b; })) << n;
    }
    for (int k = 0; k < 1000; ++k) {
        int value = xrand(INT_MAX);
        ASSERT_GE(value, 0);
    }
}

TEST(SharedGenerator, StirringChangesTheSequence)
{
    NRandom before = system_random_generator;
    xrand_stir(7);
    EXPECT_NE(static_cast<uint32_t>(xrand()), before.rnd());

    before = system_random_generator;
    xrand_initialize();
    EXPECT_NE(static_cast<uint32_t>(xrand()), before.rnd());

    before = system_random_generator;
    EXPECT_EQ(frand(), before.frnd());
}

TEST(SharedGenerator, DrawsFromTwoThreadsShareOneSequence)
{
    constexpr int per_thread = 20000;
    NRandom reference = system_random_generator;
    std::vector<uint32_t> drawn[2];
    std::thread workers[2];
    for (int t = 0; t < 2; ++t) {
        workers[t] = std::thread([&values = drawn[t]] {
            for (int k = 0; k < per_thread; ++k)
                values.push_back(static_cast<uint32_t>(xrand()));
        });
    }
    for (std::thread &worker : workers)
        worker.join();

    std::vector<uint32_t> all = drawn[0];
    all.insert(all.end(), drawn[1].begin(), drawn[1].end());
    std::vector<uint32_t> expected = draws(reference, 2 * per_thread);
    std::sort(all.begin(), all.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(all, expected);
}
