#ifndef VUSK_RETRY_SCHEDULE_H
#define VUSK_RETRY_SCHEDULE_H

// When to try again the writes a disk refused: a pause after the refusal is
// first seen, doubling with each retry the disk refuses again up to a
// longest pause, and the first pause again once the disk takes a write.

#include <optional>

class retry_schedule {
public:
    static constexpr long long first_pause_ms = 1000;
    static constexpr long long longest_pause_ms = 8000;

    // The disk took a write: the writes it refused wait at most the first
    // pause from now.
    void disk_took_a_write(long long now_ms);
    // Whether the refused writes waiting are to be tried again now; the
    // pause counts from the first call that sees them waiting.
    bool due(long long now_ms, bool refused_writes_wait);

private:
    long long pause_ms = first_pause_ms;
    std::optional<long long> next_ms;
};

#endif
