#pragma once

// The 15-bit pseudo-random sequence of the classic C library: the state is multiplied by
// 214013 and 2531011 is added (modulo 2^32); each number is bits 16..30 of the new state, so
// 0..32767. The same seed gives the same sequence on every machine, which keeps random screen
// effects reproducible in tests. One process-wide generator stands for the library's rand and
// srand; it starts seeded with 1.

#include <cstdint>

namespace platform {

class Random {
public:
    static constexpr int maximum = 32767;

    explicit Random(uint32_t seed = 1)
        : m_state(seed)
    {
    }
    void seed(uint32_t seed) { m_state = seed; }
    // The next number, 0..32767.
    int next()
    {
        m_state = m_state * 214013u + 2531011u;
        return int((m_state >> 16) & 0x7FFF);
    }

private:
    uint32_t m_state;
};

// The process-wide generator.
Random& processRandom();
int randomNext();
void randomSeed(uint32_t seed);

} // namespace platform
