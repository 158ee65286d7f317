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

#endif
