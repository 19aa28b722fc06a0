#pragma once
// The game's one pseudo-random generator: a linear congruential generator with 15-bit results.
// Every consumer draws in a fixed order so that a preset route repeats exactly.

#include <cstdint>

struct GameRandom {
    uint32_t state = 1;
    uint64_t drawCount = 0;  // every draw since the program started; tests and the dump read it

    void seed(uint32_t n) { state = n; }

    int32_t draw()
    {
        state = state * 214013u + 2531011u;
        ++drawCount;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }
};
