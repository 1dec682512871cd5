#pragma once

// The inputs the hull benchmark and the peer agreement tests share: made once,
// from fixed seeds, so every run and every library sees the same points.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <random>
#include <utility>
#include <vector>

#include "point.hpp"

namespace bench {

// The points of one input, stored like the program stores them: an array of
// PointCapacity entries of which the first n are used.
struct Input {
    std::vector<Point> points = std::vector<Point>(PointCapacity);
    std::int32_t n = 0;
};

inline constexpr unsigned RandomSeed = 1000;
// How many different inputs of one kind and size the benchmark takes in turn, so
// that no branch predictor learns a single input by heart.
inline constexpr unsigned InputRotation = 16;
inline constexpr std::int32_t CircleCount = 10000;
inline constexpr double CircleRadius = 1e6;
// Circle coordinates are whole multiples of this step, the spacing of floats
// just below 2^20: every one is an exact float, and the hull arithmetic on them
// (differences below 2^21, products below 2^42 in steps of 2^-8) is exact too.
inline constexpr double CircleStep = 1.0 / 16.0;

// n points drawn the way the program draws them, from a fixed seed instead of
// the clock: x = rand() % 1000, then y = rand() % 1000.
inline Input randomInput(std::int32_t n, unsigned seed = RandomSeed)
{
    Input in;
    in.n = n;
    std::srand(seed);
    for (std::int32_t i = 0; i < n; ++i) {
        const int x = std::rand() % 1000;
        const int y = std::rand() % 1000;
        in.points[std::size_t(i)].x = float(x);
        in.points[std::size_t(i)].y = float(y);
    }
    return in;
}

// CircleCount points at equal angles 2*pi*k/CircleCount, counter-clockwise from
// (CircleRadius, 0), each coordinate rounded to CircleStep. Neighbours are 628
// apart and the middle one of three lies 0.197 outside the chord of the other
// two; rounding moves a point by at most 0.045, so every point stays a strict
// corner and all of them are hull vertices (strictlyConvex checks it exactly).
inline std::vector<Point> circleRing()
{
    std::vector<Point> ring(CircleCount);
    for (std::int32_t k = 0; k < CircleCount; ++k) {
        const double angle = 2.0 * std::numbers::pi * double(k) / double(CircleCount);
        ring[std::size_t(k)].x = float(std::round(CircleRadius * std::cos(angle) / CircleStep) * CircleStep);
        ring[std::size_t(k)].y = float(std::round(CircleRadius * std::sin(angle) / CircleStep) * CircleStep);
    }
    return ring;
}

// The ring in a shuffled order (fixed seed), so that no library is handed its
// points already sorted by angle or by x.
inline Input circleInput(unsigned seed = RandomSeed)
{
    const std::vector<Point> ring = circleRing();
    Input in;
    in.n = CircleCount;
    std::copy(ring.begin(), ring.end(), in.points.begin());
    std::mt19937 generator(seed);
    for (std::int32_t i = CircleCount - 1; i > 0; --i) {
        const auto j = std::int32_t(generator() % std::uint32_t(i + 1));
        std::swap(in.points[std::size_t(i)], in.points[std::size_t(j)]);
    }
    return in;
}

// True when every three cyclically consecutive points turn strictly left, in
// exact integer arithmetic on coordinates that are multiples of CircleStep.
// Together with angles that go round once, that makes the ring convex with
// every point a corner.
inline bool strictlyConvex(const std::vector<Point>& ring)
{
    const auto units = [](float v) { return std::int64_t(double(v) / CircleStep); };
    const std::size_t n = ring.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % n];
        const Point& c = ring[(i + 2) % n];
        for (const Point* p : {&a, &b, &c})
            if (double(units(p->x)) * CircleStep != double(p->x)
                || double(units(p->y)) * CircleStep != double(p->y))
                return false;
        const std::int64_t turn = (units(b.x) - units(a.x)) * (units(c.y) - units(a.y))
                                - (units(b.y) - units(a.y)) * (units(c.x) - units(a.x));
        if (turn <= 0) return false;
    }
    return true;
}

} // namespace bench
