// The timed hull: computeHull between two readings of the clock.

#include "timing.hpp"

#include <chrono>

#include "hull.hpp"

#ifdef __EMSCRIPTEN__
// A browser's clock() counts whole milliseconds, which a hull of 10000 points
// does not fill: the page reads the finest clock the browser gives instead
// (the steady clock, 0.1 ms from disk, 5 us with cross-origin isolation) in
// clock ticks, which are microseconds there.
HullResult timeHull(const Point* points, std::int32_t n)
{
    const auto t1 = std::chrono::steady_clock::now();
    const std::int32_t count = computeHull(points, n);
    const auto t2 = std::chrono::steady_clock::now();
    const double millis = std::chrono::duration<double, std::milli>(t2 - t1).count();
    return {count, std::clock_t(millis * (double(CLOCKS_PER_SEC) / 1000.0) + 0.5)};
}
#else
HullResult timeHull(const Point* points, std::int32_t n)
{
    // Only the hull computation lies between the two readings.
    const std::clock_t t1 = std::clock();
    const std::int32_t count = computeHull(points, n);
    const std::clock_t t2 = std::clock();
    return {count, t2 - t1};
}
#endif
