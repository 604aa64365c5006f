// xorshift32: the same series for the same seed on every machine, so that a
// failing run can be replayed from the seed it prints.
#pragma once

#include <stdint.h>

class SeededRandom
{
public:
    explicit SeededRandom(uint32_t seed) : state(seed ? seed : 1) {}
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    uint32_t Below(uint32_t limit) { return limit ? Next() % limit : 0; }

private:
    uint32_t state;
};
