// When the writes a disk refused are tried again: the pause grows while the
// disk keeps refusing, up to its longest, and starts over once the disk
// takes a write.
#include "retry_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The pauses between the first sight of refused writes and each retry, the
// retried writes refused again at once every time.
std::vector<long long> pauses_while_refused(retry_schedule &schedule, long long &now_ms, int retries)
{
    constexpr long long tick_ms = 20;
    std::vector<long long> pauses;
    long long seen = now_ms;
    schedule.due(now_ms, true);
    while (static_cast<int>(pauses.size()) < retries) {
        now_ms += tick_ms;
        if (schedule.due(now_ms, true)) {
            pauses.push_back(now_ms - seen);
            // The writes are on their way, and then refused again.
            schedule.due(now_ms, false);
            now_ms += tick_ms;
            seen = now_ms;
            schedule.due(now_ms, true);
        }
    }
    return pauses;
}

} // namespace

TEST(RetrySchedule, ThePauseDoublesWhileTheDiskRefusesAndStartsOverOnceItTakesAWrite)
{
    retry_schedule schedule;
    long long now_ms = 1000000;
    const long long first = retry_schedule::first_pause_ms;
    const long long longest = retry_schedule::longest_pause_ms;
    EXPECT_EQ(pauses_while_refused(schedule, now_ms, 6),
              (std::vector<long long>{first, 2 * first, 4 * first, longest, longest, longest}));
    schedule.disk_took_a_write(now_ms);
    EXPECT_EQ(pauses_while_refused(schedule, now_ms, 2), (std::vector<long long>{first, 2 * first}));
}

// Writes taken on every tick while refused ones wait never put their retry
// off.
TEST(RetrySchedule, WritesTakenMeanwhileNeverPutTheRetryOff)
{
    retry_schedule schedule;
    long long now_ms = 0;
    EXPECT_FALSE(schedule.due(now_ms, true));
    while (now_ms < 2 * retry_schedule::longest_pause_ms && !schedule.due(now_ms, true)) {
        now_ms += 20;
        schedule.disk_took_a_write(now_ms);
    }
    EXPECT_EQ(now_ms, retry_schedule::first_pause_ms);
}

TEST(RetrySchedule, NothingIsDueWhileNoRefusedWriteWaits)
{
    retry_schedule schedule;
    for (long long now_ms = 0; now_ms < 4 * retry_schedule::longest_pause_ms; now_ms += 20)
        EXPECT_FALSE(schedule.due(now_ms, false)) << now_ms;
    // Refused writes seen late wait their pause from then.
    const long long seen = 4 * retry_schedule::longest_pause_ms;
    EXPECT_FALSE(schedule.due(seen, true));
    EXPECT_FALSE(schedule.due(seen + retry_schedule::first_pause_ms - 1, true));
    EXPECT_TRUE(schedule.due(seen + retry_schedule::first_pause_ms, true));
}
