#include "tick_counters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// The ticks (1-based) on which the counter fires over `ticks` ticks.
std::vector<int> firing_ticks(trigger_force_counter &counter, int ticks, int idle_tick = 0)
{
    std::vector<int> fired;
    for (int tick = 1; tick <= ticks; ++tick)
        if (counter.tick(tick != idle_tick))
            fired.push_back(tick);
    return fired;
}
}

TEST(TriggerForcing, WaitingLineIsForcedOnEveryThirdTick)
{
    trigger_force_counter counter;
    EXPECT_EQ(firing_ticks(counter, 10), (std::vector<int>{3, 6, 9}));
}

TEST(TriggerForcing, TickWithoutAWaitingLineRestartsTheCount)
{
    trigger_force_counter counter;
    EXPECT_EQ(firing_ticks(counter, 10, 2), (std::vector<int>{5, 8}));
    trigger_force_counter idle;
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(idle.tick(false));
}

TEST(PeriodicTick, FiresOnEvery101stTick)
{
    periodic_tick reminder(voting_reminder_period);
    std::vector<int> fired;
    for (int tick = 1; tick <= 303; ++tick)
        if (reminder.tick())
            fired.push_back(tick);
    EXPECT_EQ(fired, (std::vector<int>{101, 202, 303}));
}

TEST(ShutdownCountdown, RequestIsCarriedOutOnTheFourthFollowingTick)
{
    int countdown = shutdown_countdown_start;
    EXPECT_FALSE(shutdown_countdown_tick(countdown));
    EXPECT_FALSE(shutdown_countdown_tick(countdown));
    EXPECT_FALSE(shutdown_countdown_tick(countdown));
    EXPECT_TRUE(shutdown_countdown_tick(countdown));
    EXPECT_EQ(countdown, 1);
    EXPECT_FALSE(shutdown_countdown_tick(countdown));
    EXPECT_EQ(countdown, 0);
    EXPECT_FALSE(shutdown_countdown_tick(countdown));
    EXPECT_EQ(countdown, 0);
}

TEST(ShutdownCountdown, SecondRequestRestartsTheCountdown)
{
    int countdown = shutdown_countdown_start;
    shutdown_countdown_tick(countdown);
    shutdown_countdown_tick(countdown);
    countdown = shutdown_countdown_start;
    int ticks = 0;
    while (!shutdown_countdown_tick(countdown))
        ++ticks;
    EXPECT_EQ(ticks + 1, 4);
}

TEST(ShutdownCountdown, NothingHappensWithoutARequest)
{
    int countdown = 0;
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE(shutdown_countdown_tick(countdown));
    int negative = -3;
    EXPECT_FALSE(shutdown_countdown_tick(negative));
    EXPECT_EQ(negative, -3);
}

TEST(TickPacer, KeepsTicksOnTheGridAndRestartsItAfterAStall)
{
    tick_pacer pacer(20);
    EXPECT_EQ(pacer.start(1000), 20);
    // Handled 3 ms late: the next tick is aimed 17 ms ahead, at 1040.
    EXPECT_EQ(pacer.next_delay(1023), 17);
    EXPECT_EQ(pacer.next_delay(1041), 19);
    // Over a period late: fire at once (1 ms), staying on the grid.
    EXPECT_EQ(pacer.next_delay(1085), 1);
    EXPECT_EQ(pacer.next_delay(1086), 14);
    // A long stall does not make a burst of catch-up ticks.
    EXPECT_EQ(pacer.next_delay(2000), 20);
    EXPECT_EQ(pacer.next_delay(2020), 20);
}

TEST(TickPacer, AverageRateIsExactDespiteSteadyLateness)
{
    tick_pacer pacer(20);
    long long now = 0;
    long long delay = pacer.start(now);
    const int ticks = 1000;
    for (int i = 0; i < ticks; ++i) {
        now += delay + 2; // every tick handled 2 ms after it was due
        delay = pacer.next_delay(now);
    }
    EXPECT_EQ(now, ticks * 20LL + 2);
}
