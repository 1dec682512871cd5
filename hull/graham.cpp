// Graham's scan written for reading, in its textbook form (Graham 1972, as
// Cormen et al. give it, with the collinear points kept out of the hull):
//
// 1. The pivot: the lowest point, of several the leftmost. It is a corner,
//    and every other point lies above it or right of it on its level, so the
//    others' angles about it lie in [0, pi) and the orientation test alone
//    orders them: a comes before b when pivot, a, b turn counter-clockwise.
// 2. The others sorted by that angle, of equal angles (on one ray from the
//    pivot, copies of the pivot included) the nearer first.
// 3. The stack starts with the pivot and the first sorted point. Each step
//    takes the next sorted point and pops while the last two stack points and
//    it do not turn strictly left, then pushes it. The stack then holds the
//    corners counter-clockwise from the pivot: a point inside an edge, on the
//    first or the last ray included, is popped by the farther one after it.

#include "method_parts.hpp"

void traceGraham(const Point* points, std::int32_t n, StackTrace& t)
{
    startStackTrace(t, HullMethod::Graham, points, n);
    if (n < 1) return;
    const Point* p = t.points.data();
    t.pivot = lowestPoint(p, n);
    for (std::int32_t i = 0; i < n; ++i)
        if (i != t.pivot) t.order.push_back(i);

    const Point& pivot = p[t.pivot];
    mergeSort(t.order, t.merge, [&](std::int32_t a, std::int32_t b) {
        ++t.sortTests;
        const double turn = orientation(pivot, p[a], p[b]);
        if (turn != 0.0) return turn > 0.0;
        ++t.sortComparisons;
        return alongRay(pivot, p[a]) < alongRay(pivot, p[b]);
    });

    pushFree(t, t.pivot);
    if (!t.order.empty()) pushFree(t, t.order[0]);
    recordStart(t);
    for (std::size_t k = 1; k < t.order.size(); ++k) takeOnStack(t, t.order[k], 2, false);
}
