#pragma once

// The program's random numbers, the same sequence on every platform.

#include <array>
#include <cstdint>

// The program's own random numbers: the additive generator the GNU C library's
// srand/rand use by default, written out so that a seed draws the same points
// wherever the program is built, whatever C library it links. Seeding fills
// 34 words from the seed by a multiplicative step, discards 310 outputs, and
// then every word is the sum of the words 31 and 3 before it; an output is a
// word shifted right by one, 0 .. 2^31 - 1.
struct RandomStream {
    std::array<std::uint32_t, 34> words{}; // the last 34 words, a ring
    std::uint32_t next = 0;                // where the next word goes
};

// Starts the stream as srand(seed) starts the C library's.
void seedRandom(RandomStream& s, std::uint32_t seed);

// The next output, as rand() would give it.
std::int32_t nextRandom(RandomStream& s);
