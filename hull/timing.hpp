#pragma once

// The hull timed: computeHull's result with the processor time it took.

#include <cstdint>
#include <ctime>

#include "point.hpp"

// What one computation of the hull gave: the vertex count, and the processor
// time of computeHull alone, between two clock() readings.
struct HullResult {
    std::int32_t count = 0;
    std::clock_t ticks = 0;
    double millis() const { return double(ticks) * 1000.0 / double(CLOCKS_PER_SEC); }
};

// computeHull on points[0..n) between two readings of the processor clock:
// HullBuffer[0..count) holds the vertices in the order found.
HullResult timeHull(const Point* points, std::int32_t n);
