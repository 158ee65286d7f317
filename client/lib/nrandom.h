#ifndef VUSK_NRANDOM_H
#define VUSK_NRANDOM_H

// A lag-8 multiply-with-carry pseudo-random generator that remembers its last
// seeding, so that a picture drawn from one seed comes out the same each time.

#include <cstddef>
#include <cstdint>

class NRandom {
public:
    static constexpr uint32_t default_seed = 123456789;

    // Constant-initialised, so the process-wide generators are ready before
    // any other static constructor could draw from them.
    constexpr NRandom() { init(default_seed); }

    constexpr void init(uint32_t seed_value)
    {
        lag[0] = seed_value;
        for (int k = 1; k < lag_count; ++k)
            lag[k] = lag[k - 1] * seed_multiplier + seed_increment;
        carry = initial_carry;
        index = 0;
        save();
    }

    uint32_t iterate();
    uint32_t rnd() { return iterate(); }
    // In [0, 1]; the topmost draws round to exactly 1.0.
    float frnd();
    // Mixes value into the state.
    NRandom &operator<<(uint32_t value);
    void seed(uint32_t value);
    void seed(uint32_t value, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e);
    // Restarts the sequence from the last seeding.
    void reset();

private:
    static constexpr int lag_count = 8;
    static constexpr uint32_t seed_multiplier = 69069;
    static constexpr uint32_t seed_increment = 12345;
    static constexpr uint32_t initial_carry = 362436689;

    constexpr void save()
    {
        saved_index = index;
        saved_carry = carry;
        for (int k = 0; k < lag_count; ++k)
            saved_lag[k] = lag[k];
    }

    uint32_t index = 0;
    uint32_t saved_index = 0;
    uint32_t saved_lag[lag_count] = {};
    uint32_t lag[lag_count] = {};
    uint32_t saved_carry = 0;
    uint32_t carry = 0;
};

extern NRandom system_random_generator;
extern NRandom background_prng;

// The process-wide generator. These may be called from any thread.
int xrand();
// 0..n-1 for 1 <= n <= 32768.
int xrand(int n);
float frand();
void xrand_stir(uint32_t value);
// Stirs in the current time; called once at start-up.
void xrand_initialize();

// Fills bytes from the system's entropy source, so that two processes
// started in the same second draw different bytes; from xrand only where
// that source fails.
void fill_from_entropy(unsigned char *bytes, size_t count);

#endif
