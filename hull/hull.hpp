#pragma once

// The hull kernel's interface: computeHull, the HullBuffer it fills, its two
// code paths, and the outline order.

#include <array>
#include <cstddef>
#include <cstdint>

#include "point.hpp"

// Hull vertices as computeHull finds them; orderHullOutline reorders them in place.
extern std::array<Point, PointCapacity> HullBuffer;

// Writes the convex hull vertices of points[0..n) to HullBuffer and returns their
// count. Order: leftmost L, rightmost R, then the vertices above the line L-R in
// pre-order of the farthest-point split, then those below it. Point i is
// points[i]: every pass reads them in order, so no index list is needed. Safe
// for any n and any coordinates: n < 1 writes nothing, and a larger n than
// PointCapacity counts as PointCapacity. Allocates nothing.
std::int32_t computeHull(const Point* points, std::int32_t n);

// What start-up makes resident before the timed call: the memory computeHull
// writes (its scratch and HullBuffer) and an address inside its code, so that
// the first call spends its time on the hull rather than on page faults and
// instruction fetches. How to touch them is the program's business (its
// start-up in driver/); computeHull works without it, only its first call is
// slower.
struct KernelMemory {
    void* scratch;
    std::size_t scratchBytes;
    void* hull;
    std::size_t hullBytes;
    std::uintptr_t code;
};

KernelMemory kernelMemory();

// The kernel's two code paths: portable C++, and eight lanes at a time where the
// processor has AVX2. They write identical entries; tests run both.
enum class HullPath { Portable, Avx2 };

// The path computeHull takes on this processor, chosen once at start-up.
HullPath fastestHullPath();

// computeHull on the given path (Avx2 falls back where the processor lacks it).
std::int32_t computeHullOn(HullPath path, const Point* points, std::int32_t n);

// Permutes HullBuffer[0..count) into a clockwise outline (y up) starting at the
// lowest of the leftmost vertices.
void orderHullOutline(std::int32_t count);
