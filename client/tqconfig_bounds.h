#ifndef VUSK_TQCONFIG_BOUNDS_H
#define VUSK_TQCONFIG_BOUNDS_H

// How many characters' records, and how many of their settings files, may
// wait for the disk, and why no changed record is lost while the disk is
// slow, refuses writes, or takes them again. Every number the rule rests on
// is here, with the check that ties them together.
//
// - Every character name the server logs in with can add a record; the list
//   holds record_list_capacity. A full list unloads the record least
//   recently current; a changed one has its file written by the settings
//   writer's thread (settings_files.h).
// - Until that write is on disk, the pending write holds the only copy of the
//   record's settings: at most max_only_copies wait so, on their way or
//   refused by the disk. A changed record that finds no room stays in
//   memory, up to records_waiting_for_the_disk beyond the capacity.
// - A slow disk: while writes are on their way and the records behind the
//   disk (contents waiting plus records held) reach
//   records_behind_the_disk_pausing_reads, the main tick does not read the
//   game socket, and the server waits. One read takes at most the socket's
//   queue, so brings at most most_logins_in_one_read new records: a read
//   begun under the threshold never reaches the sum of both bounds (the
//   check below).
// - A disk that refused writes: they are tried again by the main tick after
//   a pause that grows while the disk keeps refusing (retry_schedule.h),
//   and at once when a changed record finds no room. Until their outcome
//   the reading waits as for a slow disk, and the records of the read in
//   progress stay in memory, even beyond records_waiting_for_the_disk, so
//   a disk freed just before a flood loses nothing.
// - Only while the disk refuses every write it was given does the game go on
//   being read; a changed record that then finds no room and no place in
//   memory is not saved, said on standard error.

#include "socket.h"

#include <cstddef>

constexpr int record_list_capacity = 200;
constexpr int records_waiting_for_the_disk = 1024;
constexpr size_t max_only_copies = 1024;
constexpr int records_behind_the_disk_pausing_reads = 768;

// A login tag after the one before it: "slogin;N;" (the semicolon that
// closes a tag's data also opens the next tag).
constexpr int shortest_login_tag = 9;
// One of them begun in the read before.
constexpr int most_logins_in_one_read = socket_queue_capacity / shortest_login_tag + 1;

static_assert(records_behind_the_disk_pausing_reads + most_logins_in_one_read <
                  static_cast<int>(max_only_copies) + records_waiting_for_the_disk,
              "a read while the settings writes are behind could lose a character's settings");

// The most records in memory: those of a read that came while refused
// writes were tried again stay until the outcome.
constexpr int most_records_in_memory = record_list_capacity + records_waiting_for_the_disk + most_logins_in_one_read;

#endif
