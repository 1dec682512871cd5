#pragma once

#include <cstdint>
#include <ctime>

#include "point.hpp"
#include "steps.hpp"

// What one computation of the hull gave: the vertex count, and the processor
// time of computeHull alone, between two clock() readings.
struct HullResult {
    std::int32_t count = 0;
    std::clock_t ticks = 0;
    double millis() const { return double(ticks) * 1000.0 / double(CLOCKS_PER_SEC); }
};

// The hull of points[0..n) and everything shown of it, as a run and every
// edit in the window make it: computeHull timed, then the Scene refilled with
// the input points, the vertices in the order computeHull found them and the
// closed outline; HullBuffer is left in outline order, and trace holds the
// steps of the same set. pointIndices is the index list 0..n-1.
HullResult rebuildHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices, HullTrace& trace);
