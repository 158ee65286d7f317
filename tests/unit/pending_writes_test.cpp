// The writes of settings files not yet taken up: each entry's state, and the
// bound on the settings that wait nowhere else, full of entries in each
// state.
#include "pending_writes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using state = pending_writes::state;

std::string path_of(size_t index)
{
    return "/c/N" + std::to_string(index) + ".cfg";
}

// The bound full of only copies, each handed with its index as sequence.
void fill_with_only_copies(pending_writes &pending)
{
    for (size_t index = 0; index < max_only_copies; ++index)
        pending.handed(path_of(index), "settings", index, if_write_fails::content_kept);
}

void fail_every_write(pending_writes &pending)
{
    for (size_t index = 0; index < max_only_copies; ++index)
        EXPECT_EQ(pending.settle(path_of(index), index, true), state::only_copy);
}

} // namespace

TEST(PendingWrites, HeldWritesTakeNoRoomAndGoWhenWrittenOrFailed)
{
    pending_writes pending;
    for (size_t index = 0; index < max_only_copies + 1; ++index)
        pending.handed(path_of(index), "settings", index, if_write_fails::content_dropped);
    EXPECT_TRUE(pending.has_room());
    EXPECT_EQ(pending.only_copies(), 0u);
    EXPECT_EQ(pending.settle(path_of(0), 0, false), state::held);
    EXPECT_EQ(pending.settle(path_of(1), 1, true), state::held);
    EXPECT_EQ(pending.find(path_of(0)), nullptr);
    EXPECT_EQ(pending.find(path_of(1)), nullptr);
    EXPECT_EQ(pending.size(), max_only_copies - 1);
}

TEST(PendingWrites, TheBoundFullOfOnlyCopiesWaitingHasRoomAgainOnceOneIsWritten)
{
    pending_writes pending;
    pending.handed(path_of(0), "settings", 0, if_write_fails::content_kept);
    EXPECT_TRUE(pending.has_room());
    fill_with_only_copies(pending);
    EXPECT_FALSE(pending.has_room());
    EXPECT_EQ(pending.only_copies(), max_only_copies);
    EXPECT_EQ(pending.settle(path_of(5), 5, false), state::only_copy);
    EXPECT_TRUE(pending.has_room());
    EXPECT_EQ(pending.find(path_of(5)), nullptr);
}

TEST(PendingWrites, TheBoundFullOfFailedWritesKeepsEachUntilWrittenAgain)
{
    pending_writes pending;
    fill_with_only_copies(pending);
    fail_every_write(pending);
    EXPECT_FALSE(pending.has_room());
    EXPECT_EQ(pending.failed().size(), max_only_copies);
    ASSERT_NE(pending.find(path_of(3)), nullptr);
    EXPECT_EQ(pending.find(path_of(3))->now, state::failed);

    // Written again: waiting once more, still counted, then gone.
    pending.handed(path_of(3), "settings", max_only_copies + 3, if_write_fails::content_kept);
    EXPECT_EQ(pending.find(path_of(3))->now, state::only_copy);
    EXPECT_FALSE(pending.has_room());
    EXPECT_EQ(pending.settle(path_of(3), max_only_copies + 3, false), state::only_copy);
    EXPECT_TRUE(pending.has_room());
    EXPECT_EQ(pending.failed().size(), max_only_copies - 1);
}

// A record logged in again after its write failed is in memory once more:
// its next save's write holds no only copy.
TEST(PendingWrites, AFailedWriteReplacedByAHeldOneGivesItsRoomBack)
{
    pending_writes pending;
    fill_with_only_copies(pending);
    fail_every_write(pending);
    pending.handed(path_of(7), "newer", max_only_copies, if_write_fails::content_dropped);
    EXPECT_TRUE(pending.has_room());
    EXPECT_EQ(pending.find(path_of(7))->content, "newer");
    EXPECT_EQ(pending.find(path_of(7))->now, state::held);
}

TEST(PendingWrites, AHeldWriteBecomesTheOnlyCopyWhenItsRecordIsUnloaded)
{
    pending_writes pending;
    fill_with_only_copies(pending);
    EXPECT_EQ(pending.settle(path_of(0), 0, false), state::only_copy);
    pending.handed("/c/Held.cfg", "settings", max_only_copies, if_write_fails::content_dropped);
    EXPECT_TRUE(pending.has_room());
    pending.make_only_copy("/c/Held.cfg");
    EXPECT_FALSE(pending.has_room());
    EXPECT_EQ(pending.settle("/c/Held.cfg", max_only_copies, true), state::only_copy);
    EXPECT_EQ(pending.find("/c/Held.cfg")->now, state::failed);
    // A failed one stays failed, and counted once.
    pending.make_only_copy("/c/Held.cfg");
    EXPECT_EQ(pending.only_copies(), max_only_copies);
}

// The outcome of an earlier write of a file that a later one replaced
// settles nothing.
TEST(PendingWrites, AnEarlierWriteReplacedSettlesNothing)
{
    pending_writes pending;
    pending.handed(path_of(0), "old", 1, if_write_fails::content_kept);
    pending.handed(path_of(0), "new", 2, if_write_fails::content_kept);
    EXPECT_EQ(pending.only_copies(), 1u);
    EXPECT_EQ(pending.settle(path_of(0), 1, true), std::nullopt);
    EXPECT_EQ(pending.find(path_of(0))->content, "new");
    EXPECT_EQ(pending.find(path_of(0))->now, state::only_copy);
    EXPECT_EQ(pending.settle(path_of(0), 2, false), state::only_copy);
    EXPECT_EQ(pending.only_copies(), 0u);
    EXPECT_EQ(pending.size(), 0u);
}

// What the disk still has to take: only copies on their way, not those it
// refused, and again once a refused one is handed to it anew.
TEST(PendingWrites, OnlyCopiesBeingWrittenLeaveOutTheFailedUntilHandedAgain)
{
    pending_writes pending;
    fill_with_only_copies(pending);
    EXPECT_EQ(pending.only_copies_being_written(), max_only_copies);
    EXPECT_FALSE(pending.has_failed());
    fail_every_write(pending);
    EXPECT_EQ(pending.only_copies_being_written(), 0u);
    EXPECT_EQ(pending.only_copies(), max_only_copies);
    EXPECT_TRUE(pending.has_failed());
    pending.handed(path_of(0), "settings", max_only_copies, if_write_fails::content_kept);
    EXPECT_EQ(pending.only_copies_being_written(), 1u);
    EXPECT_EQ(pending.settle(path_of(0), max_only_copies, false), state::only_copy);
    EXPECT_EQ(pending.only_copies_being_written(), 0u);
    EXPECT_EQ(pending.only_copies(), max_only_copies - 1);
    // Every failed one handed again: none is left failed.
    for (size_t index = 1; index < max_only_copies; ++index)
        pending.handed(path_of(index), "settings", max_only_copies + index, if_write_fails::content_kept);
    EXPECT_FALSE(pending.has_failed());
}
