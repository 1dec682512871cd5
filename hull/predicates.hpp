#pragma once

// The orientation test every hull computation here uses, exact for whole
// coordinates, and a filtered form of it that is never wrong.

#include <cmath>

#include "point.hpp"

// The orientation's differences, products and difference on coordinates
// already in double: orientation() below, and loops that convert an edge's
// ends once.
inline double orientationOf(double ax, double ay, double bx, double by, double px, double py)
{
    return (by - py) * (ax - px) - (ay - py) * (bx - px);
}

// Twice the signed area of (a, b, p): positive when p lies strictly left of the
// directed edge a->b (y up), zero on its line, and growing with p's distance from
// it. The four differences, then the two products, then their difference, all in
// double from the float coordinates: for integer coordinates below 2^24 every step
// is exact, so every comparison of the value is too. The kernel and the outline
// rely on three consequences: orientation(b, a, p) is exactly the negation; p equal
// to a or b gives exactly 0; and the value depends on nothing but these six floats,
// so every code path that evaluates it this way agrees to the bit. (Built with
// -ffp-contract=off: a fused multiply-add would round the products differently.)
inline double orientation(float ax, float ay, float bx, float by, float px, float py)
{
    return orientationOf(ax, ay, bx, by, px, py);
}

inline double orientation(const Point& a, const Point& b, const Point& p)
{
    return orientation(a.x, a.y, b.x, b.y, p.x, p.y);
}

// True when c lies on or left of a->b for certain: exactly when c is an end of the
// edge or the edge has no length (both products are then the same number, so the
// value is exactly 0), otherwise with a margin that covers the rounding of the
// double evaluation for any finite input. False for NaN and overflow.
//
// The margin's bound, with u = 2^-53 the rounding unit of double: each difference
// of two floats is rounded at most once (a relative error of u), each product
// once more, so a computed product is within 3u + O(u^2) of the exact one
// relative to itself; the final difference adds u of |d1 d2| + |d3 d4|. So the
// computed value is within (4u + O(u^2)) (|d1 d2| + |d3 d4|) = 2^-51 (...) of the
// exact one. Finite floats never underflow or overflow here (differences below
// 2^129, nonzero ones at least 2^-149, so products between 2^-298 and 2^258), so
// the relative bounds hold. The margin is twice that, 2^-50 (|d1 d2| + |d3 d4|),
// which also covers its own rounding: a value at or above it is surely >= 0.
inline bool surelyLeftOrOn(float ax, float ay, float bx, float by, float cx, float cy)
{
    if ((cx == ax && cy == ay) || (cx == bx && cy == by) || (ax == bx && ay == by)) return true;
    const double d1 = double(by) - double(cy), d2 = double(ax) - double(cx);
    const double d3 = double(ay) - double(cy), d4 = double(bx) - double(cx);
    const double value = d1 * d2 - d3 * d4;
    const double margin = 0x1p-50 * (std::fabs(d1 * d2) + std::fabs(d3 * d4));
    return value >= margin && margin == margin;
}
