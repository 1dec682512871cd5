#include "rebuild.hpp"

#include "hull.hpp"
#include "scene.hpp"

HullResult rebuildHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices, HullTrace& trace)
{
    // Only the hull computation lies between the two readings.
    const std::clock_t t1 = std::clock();
    const std::int32_t count = computeHull(points, n, pointIndices);
    const std::clock_t t2 = std::clock();

    // Input points, the vertices over them in the order found (a caller lists
    // them from here once HullBuffer is reordered), then the closed outline.
    clearScene(Scene);
    for (std::int32_t i = 0; i < n; ++i) addPoint(points[i], InputColor);
    for (std::int32_t i = 0; i < count; ++i) addPoint(HullBuffer[std::size_t(i)], HullVertexColor);
    orderHullOutline(count);
    for (std::int32_t i = 0; i + 1 < count; ++i)
        addSegment({HullBuffer[std::size_t(i)], HullBuffer[std::size_t(i + 1)]}, OutlineColor);
    if (count > 0) addSegment({HullBuffer[std::size_t(count - 1)], HullBuffer[0]}, OutlineColor);

    // The window's step-by-step replay, outside the timed interval.
    traceHull(points, n, trace);
    return {count, t2 - t1};
}
