#include "nrandom.h"

#include <cerrno>
#include <ctime>
#include <mutex>
#include <sys/random.h>

namespace {

constexpr uint64_t step_multiplier = 809430660;
constexpr int stir_steps = 17;
constexpr double two_to_minus_31 = 4.656612873077393e-10;

// The shared generator may be drawn from on any thread.
std::mutex system_generator_mutex;

}

NRandom system_random_generator;
NRandom background_prng;

uint32_t NRandom::iterate()
{
    uint64_t t = lag[index] * step_multiplier + carry;
    carry = static_cast<uint32_t>(t >> 32);
    lag[index] = static_cast<uint32_t>(t);
    index = (index + 1) % lag_count;
    return static_cast<uint32_t>(t);
}

float NRandom::frnd()
{
    return static_cast<float>(static_cast<double>(iterate() >> 1) * two_to_minus_31);
}

NRandom &NRandom::operator<<(uint32_t value)
{
    lag[0] ^= value;
    for (int step = 0; step < stir_steps; ++step)
        iterate();
    return *this;
}

void NRandom::seed(uint32_t value)
{
    init(value);
}

void NRandom::seed(uint32_t value, uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e)
{
    init(value);
    *this << a << b << c << d << e;
    save();
}

void NRandom::reset()
{
    index = saved_index;
    carry = saved_carry;
    for (int k = 0; k < lag_count; ++k)
        lag[k] = saved_lag[k];
}

int xrand()
{
    std::lock_guard<std::mutex> lock(system_generator_mutex);
    return static_cast<int>(system_random_generator.rnd());
}

int xrand(int n)
{
    // 64 bits, so that a range above 32768 cannot overflow.
    int64_t low_bits = xrand() & 0xffff;
    return static_cast<int>((low_bits * n) >> 16);
}

float frand()
{
    std::lock_guard<std::mutex> lock(system_generator_mutex);
    return system_random_generator.frnd();
}

void xrand_stir(uint32_t value)
{
    std::lock_guard<std::mutex> lock(system_generator_mutex);
    system_random_generator << value;
}

void xrand_initialize()
{
    xrand_stir(static_cast<uint32_t>(time(nullptr)));
}

void fill_from_entropy(unsigned char *bytes, size_t count)
{
    size_t filled = 0;
    while (filled < count) {
        const ssize_t got = getrandom(bytes + filled, count - filled, 0);
        if (got > 0)
            filled += static_cast<size_t>(got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    for (; filled < count; ++filled)
        bytes[filled] = static_cast<unsigned char>(xrand());
}
