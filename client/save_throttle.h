#ifndef VUSK_SAVE_THROTTLE_H
#define VUSK_SAVE_THROTTLE_H

// Spaces out saves that others ask for. A request only marks a save; the
// main tick carries the marked save out once the last one it carried out is
// at least the interval old, so however many requests come in between, one
// save serves them all.
class save_throttle {
public:
    explicit save_throttle(long long interval_ms) : interval_ms(interval_ms) {}

    void request() { requested = true; }
    bool pending() const { return requested; }
    // True when a marked save is due at now_ms (a steady clock): the mark is
    // cleared and the caller saves.
    bool take_due(long long now_ms);

private:
    long long interval_ms;
    bool requested = false;
    bool saved_before = false;
    long long last_save_ms = 0;
};

#endif
