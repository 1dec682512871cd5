// The farthest-point hull and the outline order, written the slow, literal way.

#include "hull_reference.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

using IndexSet = std::vector<std::int32_t>;

double orientation(const Point& a, const Point& b, const Point& p)
{
    const double d1 = double(b.y) - double(p.y);
    const double d2 = double(a.x) - double(p.x);
    const double d3 = double(a.y) - double(p.y);
    const double d4 = double(b.x) - double(p.x);
    return d1 * d2 - d3 * d4;
}

IndexSet selectLeftOf(const std::vector<Point>& pts, const IndexSet& source, std::int32_t a,
                      std::int32_t b)
{
    IndexSet set{a, b};
    for (const std::int32_t p : source) {
        if (p == a || p == b) continue;
        if (orientation(pts[a], pts[b], pts[p]) > 0.0) set.push_back(p);
    }
    return set;
}

std::int32_t farthestFromEdge(const std::vector<Point>& pts, const IndexSet& set)
{
    double best = orientation(pts[set[0]], pts[set[1]], pts[set[2]]);
    std::size_t bestAt = 2;
    for (std::size_t k = 3; k < set.size(); ++k) {
        const double v = orientation(pts[set[0]], pts[set[1]], pts[set[k]]);
        if (v > best) {
            best = v;
            bestAt = k;
        }
    }
    return set[bestAt];
}

void expandHull(const std::vector<Point>& pts, const IndexSet& set, std::vector<Point>& out)
{
    if (set.size() == 2) return;
    if (set.size() == 3) {
        out.push_back(pts[set[2]]);
        return;
    }
    const std::int32_t v = farthestFromEdge(pts, set);
    out.push_back(pts[v]);
    expandHull(pts, selectLeftOf(pts, set, set[0], v), out);
    expandHull(pts, selectLeftOf(pts, set, v, set[1]), out);
}

} // namespace

std::vector<Point> referenceHull(const std::vector<Point>& pts)
{
    const auto n = std::int32_t(pts.size());
    std::vector<Point> out;
    if (n < 1) return out;
    IndexSet all(std::size_t(n), 0);
    for (std::int32_t i = 0; i < n; ++i) all[std::size_t(i)] = i;

    std::int32_t l = 0, r = 0;
    for (std::int32_t i = 1; i < n; ++i) {
        if (pts[l].x > pts[i].x) l = i;
        if (pts[r].x < pts[i].x) r = i;
    }
    // A vertical set keeps its lowest and highest point.
    if (l == r) {
        for (std::int32_t i = 1; i < n; ++i) {
            if (pts[l].y > pts[i].y) l = i;
            if (pts[r].y < pts[i].y) r = i;
        }
    }
    out.push_back(pts[l]);
    out.push_back(pts[r]);
    const IndexSet upper = selectLeftOf(pts, all, l, r);
    const IndexSet lower = selectLeftOf(pts, all, r, l);
    expandHull(pts, upper, out);
    expandHull(pts, lower, out);
    return out;
}

namespace {

void swapPlace(Point& p, Point& q)
{
    std::swap(p.x, q.x);
    std::swap(p.y, q.y);
}

float directionKey(const Point& base, const Point& p)
{
    const double dx = double(p.x) - double(base.x);
    const double dy = double(p.y) - double(base.y);
    const float slope = float(-(dy / dx));
    return float(std::atan(double(slope)));
}

double turn(const Point& base, const Point& p, const Point& q)
{
    return (double(p.y) - double(q.y)) * (double(base.x) - double(q.x))
         - (double(base.y) - double(q.y)) * (double(p.x) - double(q.x));
}

bool fartherOut(const Point& base, const Point& p, const Point& q)
{
    return q.x != p.x ? q.x > p.x : (q.y - base.y) > (p.y - base.y);
}

bool sweptBefore(const Point& base, float keyQ, float keyP, const Point& q, const Point& p)
{
    if (!(keyQ == keyP)) return keyQ < keyP;
    return turn(base, p, q) > 0.0;
}

} // namespace

std::vector<Point> referenceOutline(std::vector<Point> h)
{
    const auto count = std::int32_t(h.size());
    if (count <= 1) return h;
    for (std::int32_t i = 0; i + 1 < count; ++i)
        for (std::int32_t j = i + 1; j < count; ++j)
            if (h[j].x < h[i].x || (h[j].x == h[i].x && h[j].y < h[i].y)) swapPlace(h[i], h[j]);
    std::vector<float> key(h.size());
    for (std::int32_t i = 1; i < count; ++i) key[i] = directionKey(h[0], h[i]);
    if (count < 3) return h;
    std::int32_t closing = 1;
    for (std::int32_t i = 2; i < count; ++i)
        if (sweptBefore(h[0], key[closing], key[i], h[closing], h[i])) closing = i;
    const Point closer = h[closing];
    const float closingKey = key[closing];
    for (std::int32_t i = 1; i + 1 < count; ++i) {
        for (std::int32_t j = i + 1; j < count; ++j) {
            bool before = sweptBefore(h[0], key[j], key[i], h[j], h[i]);
            if (key[j] == key[i] && turn(h[0], h[i], h[j]) == 0.0) {
                const bool onClosing = key[i] == closingKey && turn(h[0], closer, h[i]) == 0.0;
                before = onClosing ? fartherOut(h[0], h[i], h[j]) : fartherOut(h[0], h[j], h[i]);
            }
            if (before) {
                swapPlace(h[i], h[j]);
                std::swap(key[i], key[j]);
            }
        }
    }
    return h;
}

std::vector<Point> referenceCorners(const std::vector<Point>& outline)
{
    const auto same = [](const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; };
    std::vector<Point> distinct;
    for (const Point& p : outline) {
        bool seen = false;
        for (const Point& q : distinct) seen = seen || same(p, q);
        if (!seen) distinct.push_back(p);
    }
    std::vector<Point> corners;
    const std::size_t m = distinct.size();
    for (std::size_t k = 0; k < m; ++k) {
        const Point& before = distinct[(k + m - 1) % m];
        const Point& after = distinct[(k + 1) % m];
        if (m <= 2 || orientation(before, distinct[k], after) != 0.0) corners.push_back(distinct[k]);
    }
    std::reverse(corners.begin(), corners.end());
    std::size_t first = 0;
    for (std::size_t k = 1; k < corners.size(); ++k)
        if (corners[k].y < corners[first].y || (corners[k].y == corners[first].y && corners[k].x < corners[first].x))
            first = k;
    std::rotate(corners.begin(), corners.begin() + std::ptrdiff_t(first), corners.end());
    return corners;
}
