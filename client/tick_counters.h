#ifndef VUSK_TICK_COUNTERS_H
#define VUSK_TICK_COUNTERS_H

// Bookkeeping of the 20 ms main tick that needs no window.

// The shutdown countdown: a quit request sets it to `shutdown_countdown_start`
// and each tick lowers it; 0 means no shutdown is under way.
constexpr int shutdown_countdown_start = 5;
extern int global_shutdown_flag;

// Lowers a running countdown by one; true on the tick it reaches 1, when the
// state is saved and the frame destroyed.
bool shutdown_countdown_tick(int &countdown);

// A partial line of text that waits for its end is handed to the trigger
// after it has waited on three consecutive ticks.
class trigger_force_counter {
public:
    // Called once per tick; true when the waiting line must be forced now.
    bool tick(bool line_pending);

private:
    static constexpr int ticks_to_wait = 3;
    int waiting_ticks_ = 0;
};

// True on every `period`-th call (the voting reminder runs on every 101st tick).
class periodic_tick {
public:
    explicit periodic_tick(int period) : period_(period) {}
    bool tick();

private:
    int period_;
    int count_ = 0;
};

constexpr int voting_reminder_period = 101;

// Keeps the main tick on a fixed 20 ms grid. A repeating toolkit timer counts
// each interval from the moment its previous one was handled, so every tick
// comes a little late and the lateness adds up (about 9% fewer ticks, and
// that much less of the server's text read per second); instead each tick is
// a one-shot timer aimed at the next point of the grid.
class tick_pacer {
public:
    explicit tick_pacer(long period_ms) : period_(period_ms) {}
    // The grid starts at `now`; returns the delay to the first tick.
    long start(long long now_ms);
    // Called on each tick; returns the delay to the next one, at least 1 ms.
    // After a stall of more than one period the grid starts again from now
    // rather than firing a burst of ticks to catch up.
    long next_delay(long long now_ms);

private:
    long period_;
    long long deadline_ = 0;
};

#endif
