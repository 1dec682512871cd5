#include "timing.hpp"

#include "hull.hpp"

HullResult timeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices)
{
    // Only the hull computation lies between the two readings.
    const std::clock_t t1 = std::clock();
    const std::int32_t count = computeHull(points, n, pointIndices);
    const std::clock_t t2 = std::clock();
    return {count, t2 - t1};
}
