#pragma once

#include <array>
#include <cstdint>

#include "point.hpp"

// Hull vertices as computeHull finds them; orderHullOutline reorders them in place.
extern std::array<Point, PointCapacity> HullBuffer;

// Writes the convex hull vertices of points[0..n) to HullBuffer and returns their
// count. Order: leftmost L, rightmost R, then the vertices above the line L-R in
// pre-order of the farthest-point split, then those below it. pointIndices is the
// run's index list 0..n-1. Safe for any n and any coordinates: n < 1 writes
// nothing, and a larger n than PointCapacity counts as PointCapacity. Allocates
// nothing.
std::int32_t computeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices);

// Makes the kernel's scratch memory and HullBuffer resident and brings its code
// into the caches, so that the first computeHull spends its time on the hull
// rather than on page faults and instruction fetches. Called once at start-up;
// computeHull works without it, only its first call is slower.
void prepareHull();

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
