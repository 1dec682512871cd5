// The monotone chain written for reading, in its textbook form (Andrew 1979,
// on one stack as it is usually taught):
//
// 1. The points sorted by x, then y; the first and the last are corners.
// 2. The lower chain: from the first point to the right, each step takes the
//    next point, pops while the last two stack points and it do not turn
//    strictly left, then pushes it. It ends on the last point.
// 3. The upper chain: from the last point back to the left, the same rule on
//    the same stack, which never pops below the lower chain. It ends on the
//    first point again, which closes the hull and is not a second corner.
//
// The stack then holds the corners counter-clockwise from the first point:
// collinear points and copies are popped as in Graham's scan.

#include "method_parts.hpp"

void traceAndrew(const Point* points, std::int32_t n, StackTrace& t)
{
    startStackTrace(t, HullMethod::Andrew, points, n);
    if (n < 1) return;
    const Point* p = t.points.data();
    for (std::int32_t i = 0; i < n; ++i) t.order.push_back(i);
    mergeSort(t.order, t.merge, [&](std::int32_t a, std::int32_t b) {
        ++t.sortComparisons;
        return p[a].x < p[b].x || (p[a].x == p[b].x && p[a].y < p[b].y);
    });

    pushFree(t, t.order[0]);
    recordStart(t);
    const auto last = std::int32_t(t.order.size()) - 1;
    for (std::int32_t k = 1; k <= last; ++k) takeOnStack(t, t.order[std::size_t(k)], 2, false);
    const std::size_t lower = t.live.size();
    for (std::int32_t k = last - 1; k >= 0; --k) takeOnStack(t, t.order[std::size_t(k)], lower + 1, true);
}
