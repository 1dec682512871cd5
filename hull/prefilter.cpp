// The prefilter: the extreme points, a box proven to lie inside their hexagon, and
// the copy of every point outside that box. On the program's input the box holds
// about 95 % of the points, which the rest of the kernel then never sees.

#include <cmath>

#include "kernel.hpp"
#include "predicates.hpp"

// Strict tests in index order: the first of equal values stays, NaN never wins
// (unless point 0 is one, and then nothing replaces it).
void scanExtremes(const Point* p, std::int32_t n, Extremes& e)
{
    // The extreme values ride in registers; reading them back through the
    // indices would chain every point's tests to a load.
    float left = p[e.left].x, right = p[e.right].x;
    float minSum = p[e.minSum].x + p[e.minSum].y, maxSum = p[e.maxSum].x + p[e.maxSum].y;
    float minDiff = p[e.minDiff].x - p[e.minDiff].y, maxDiff = p[e.maxDiff].x - p[e.maxDiff].y;
    for (std::int32_t i = 1; i < n; ++i) {
        const float x = p[i].x, y = p[i].y, s = x + y, d = x - y;
        if (x < left) { left = x; e.left = i; }
        if (x > right) { right = x; e.right = i; }
        if (s < minSum) { minSum = s; e.minSum = i; }
        if (s > maxSum) { maxSum = s; e.maxSum = i; }
        if (d < minDiff) { minDiff = d; e.minDiff = i; }
        if (d > maxDiff) { maxDiff = d; e.maxDiff = i; }
    }
}

// L and R from the extremes: the leftmost and the rightmost point, first of
// equals. When every point shares one x they are one point, and the lowest and
// the highest point (first of equals) take their places instead, so a vertical
// set keeps both of its ends.
HullEnds hullEnds(const Point* p, std::int32_t n, const Extremes& e)
{
    HullEnds ends{e.left, e.right};
    if (ends.left != ends.right) return ends;
    for (std::int32_t i = 1; i < n; ++i) {
        if (p[ends.left].y > p[i].y) ends.left = i;
        if (p[ends.right].y < p[i].y) ends.right = i;
    }
    return ends;
}

bool boxInside(const Point* const (&hex)[6], const InteriorBox& box)
{
    const float corners[4][2] = {{box.x1, box.y1}, {box.x2, box.y1}, {box.x2, box.y2}, {box.x1, box.y2}};
    for (const auto& c : corners)
        for (int k = 0; k < 6; ++k)
            if (!surelyLeftOrOn(hex[k]->x, hex[k]->y, hex[(k + 1) % 6]->x, hex[(k + 1) % 6]->y, c[0], c[1]))
                return false;
    return true;
}

// The largest box the four diagonal extremes suggest, checked against the hexagon
// L, min(x+y), max(x-y), R, max(x+y), min(x-y) (counter-clockwise) and pulled
// towards its centre until all four corners are proven inside.
InteriorBox interiorBox(const HullPasses& passes, const Point* p, const Extremes& e)
{
    const Point* const hex[6] = {&p[e.left], &p[e.minSum], &p[e.maxDiff], &p[e.right], &p[e.maxSum], &p[e.minDiff]};
    for (const Point* h : hex)
        if (!std::isfinite(h->x) || !std::isfinite(h->y)) return {};
    // The six are numbers, so plain comparisons (what fmax and fmin do then too).
    const auto larger = [](float a, float b) { return a > b ? a : b; };
    const auto smaller = [](float a, float b) { return a < b ? a : b; };
    double x1 = larger(p[e.minSum].x, p[e.minDiff].x), x2 = smaller(p[e.maxSum].x, p[e.maxDiff].x);
    double y1 = larger(p[e.minSum].y, p[e.maxDiff].y), y2 = smaller(p[e.maxSum].y, p[e.minDiff].y);
    if (!(x1 < x2 && y1 < y2)) return {};
    const double cx = 0.5 * (x1 + x2), cy = 0.5 * (y1 + y2);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const InteriorBox box{float(x1), float(x2), float(y1), float(y2)};
        if (passes.boxInside(hex, box)) return box;
        x1 += (cx - x1) / 8;
        x2 -= (x2 - cx) / 8;
        y1 += (cy - y1) / 8;
        y2 -= (y2 - cy) / 8;
    }
    return {};
}

// Copies the points of [0, n) outside the open box to out, in index order;
// gives how many. Every slot is written and only the count moves, so there is
// no branch per point.
std::int32_t keepOutside(const Point* p, std::int32_t n, const InteriorBox& box, Columns& out)
{
    std::int32_t kept = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const float x = p[i].x, y = p[i].y;
        out.put(kept, x, y, i);
        kept += !(x > box.x1 && x < box.x2 && y > box.y1 && y < box.y2);
    }
    return kept;
}
