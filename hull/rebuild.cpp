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
    addPoints(points, n, InputColor);
    addPoints(HullBuffer.data(), count, HullVertexColor);
    orderHullOutline(count);
    addClosedOutline(HullBuffer.data(), count, OutlineColor);

    // The window's step-by-step replay, outside the timed interval.
    traceHull(points, n, trace);
    return {count, t2 - t1};
}
