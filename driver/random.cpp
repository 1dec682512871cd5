// The program's own copy of the C library's additive random generator.

#include "random.hpp"

namespace {

constexpr std::uint32_t Ring = 34;
constexpr int Discarded = 310;

// The word 31 back and the word 3 back, summed modulo 2^32.
std::uint32_t step(RandomStream& s)
{
    const std::uint32_t w = s.words[(s.next + Ring - 31) % Ring] + s.words[(s.next + Ring - 3) % Ring];
    s.words[s.next] = w;
    s.next = (s.next + 1) % Ring;
    return w;
}

} // namespace

void seedRandom(RandomStream& s, std::uint32_t seed)
{
    if (seed == 0) seed = 1;
    // 16807 * word mod (2^31 - 1) by Schrage's method, in the signed 32-bit
    // words of the original: a seed from 2^31 on starts negative.
    std::int32_t word = std::int32_t(seed);
    s.words[0] = seed;
    for (std::uint32_t i = 1; i < 31; ++i) {
        const std::int64_t hi = word / 127773, lo = word % 127773;
        std::int64_t next = 16807 * lo - 2836 * hi;
        if (next < 0) next += 2147483647;
        word = std::int32_t(next);
        s.words[i] = std::uint32_t(word);
    }
    // The ring's first three sums read the first three words again.
    for (std::uint32_t i = 31; i < Ring; ++i) s.words[i] = s.words[i - 31];
    s.next = 0;
    for (int i = 0; i < Discarded; ++i) step(s);
}

std::int32_t nextRandom(RandomStream& s) { return std::int32_t(step(s) >> 1); }
