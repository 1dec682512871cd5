#pragma once

// What the traces of gift wrapping, Graham's scan and the monotone chain share:
// their start point, their sort and their stack rule. Not part of the interface.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "merge_sort.hpp"
#include "methods.hpp"
#include "predicates.hpp"

// The lowest of points[0..n), of several the leftmost, first of equals: the
// start of the wrap and Graham's pivot. n >= 1.
inline std::int32_t lowestPoint(const Point* points, std::int32_t n)
{
    std::int32_t s = 0;
    for (std::int32_t i = 1; i < n; ++i)
        if (points[i].y < points[s].y || (points[i].y == points[s].y && points[i].x < points[s].x)) s = i;
    return s;
}

// How far p lies from `from` along a ray through it: the sum of the distances
// in x and in y, which orders the points of one ray as their distance does and
// is exact on whole coordinates up to 2^24.
inline double alongRay(const Point& from, const Point& p)
{
    return std::fabs(double(p.x) - double(from.x)) + std::fabs(double(p.y) - double(from.y));
}

// Sorts the indices of items by `before` (merge_sort.hpp), scratch taking
// their room.
template <class Before>
void mergeSort(std::vector<std::int32_t>& items, std::vector<std::int32_t>& scratch, Before before)
{
    scratch.resize(items.size());
    mergeSort(items.data(), scratch.data(), items.size(), before);
}

// Starts a stack trace of points[0..n): the input copied, everything else empty.
inline void startStackTrace(StackTrace& t, HullMethod method, const Point* points, std::int32_t n)
{
    t.method = method;
    t.points.assign(points, points + std::max(n, 0));
    t.pivot = -1;
    t.order.clear();
    t.sortTests = t.sortComparisons = 0;
    t.pushes.clear();
    t.steps.clear();
    t.live.clear();
}

// Pushes point onto the live stack without a test (the scan's first points).
inline void pushFree(StackTrace& t, std::int32_t point)
{
    t.pushes.push_back({point, t.live.empty() ? -1 : t.live.back()});
    t.live.push_back(std::int32_t(t.pushes.size() - 1));
}

// One step of the stack rule: takes point, pops while the two top points and
// it do not turn strictly left, but never below `floor` points, then pushes it.
inline void takeOnStack(StackTrace& t, std::int32_t point, std::size_t floor, bool upper)
{
    const Point* p = t.points.data();
    const Point& c = p[point];
    StackStep step;
    step.point = point;
    step.upper = upper;
    const std::size_t keep = std::max<std::size_t>(floor, 2);
    while (t.live.size() >= keep) {
        const Point& a = p[t.pushes[std::size_t(t.live[t.live.size() - 2])].point];
        const Point& b = p[t.pushes[std::size_t(t.live.back())].point];
        ++step.tests;
        if (orientation(a, b, c) > 0.0) break;
        t.live.pop_back();
        ++step.popped;
    }
    pushFree(t, point);
    step.push = t.live.back();
    step.depth = std::int32_t(t.live.size());
    t.steps.push_back(step);
}

// Step 0 of a stack trace: what the sort and the first pushes left.
inline void recordStart(StackTrace& t)
{
    StackStep start;
    start.push = t.live.empty() ? -1 : t.live.back();
    start.depth = std::int32_t(t.live.size());
    t.steps.push_back(start);
}
