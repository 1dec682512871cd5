#include "hull.hpp"

#include <algorithm>
#include <cstring>
#include <vector>

std::array<Point, PointCapacity> HullBuffer;

namespace {

// A candidate point with its coordinates kept beside its index, so the passes
// over a set stream through one small array instead of gathering from the input.
struct Candidate {
    float x;
    float y;
    std::int32_t index;
};

// A sub-problem: the candidates work[lo, hi) lie strictly left of the directed
// edge a->b, and work[farthest] is the one farthest from it.
struct Edge {
    std::int32_t lo;
    std::int32_t hi;
    std::int32_t farthest;
    Candidate a;
    Candidate b;
};

// Storage the kernel reuses from call to call: it only grows, so once a run of
// size n has been seen no later call of that size allocates.
struct Scratch {
    std::vector<Candidate> work;  // every live set, nested sub-sets in place
    std::vector<Candidate> spill; // second sub-set while a pass is running
    std::vector<Edge> pending;    // edges still to expand, last one next
};

Scratch& scratch()
{
    static Scratch s;
    return s;
}

// Twice the signed area of (a, b, p): positive when p lies strictly left of a->b.
// Differences, then products, then their difference, all in double from the float
// coordinates; for integer coordinates below 2^24 every step is exact. The value
// for b->a is exactly the negation, which lets one pass sort both sides of L-R.
inline double orientation(float ax, float ay, float bx, float by, float px, float py)
{
    return (double(by) - double(py)) * (double(ax) - double(px))
         - (double(ay) - double(py)) * (double(bx) - double(px));
}

inline Candidate candidateOf(const Point& p, std::int32_t i) { return {p.x, p.y, i}; }

// Picks the leftmost L and rightmost R (lowest index on equal x), writes both to
// the buffer. When every point shares one x, L and R become the lowest and the
// highest point instead, so a vertical set keeps both of its ends.
void findExtremePoints(const Point* points, std::int32_t n, std::int32_t& count,
                       std::int32_t& left, std::int32_t& right)
{
    // Minimum and maximum first, then the first index holding each: the value
    // pass has no loop-carried index and runs at the speed of a plain scan.
    float minX = points[0].x, maxX = points[0].x;
    for (std::int32_t i = 1; i < n; ++i) {
        const float x = points[i].x;
        minX = x < minX ? x : minX;
        maxX = x > maxX ? x : maxX;
    }
    left = 0;
    right = 0;
    if (minX == minX) { // a NaN at point 0 leaves both at 0, as strict tests would
        while (points[left].x != minX) ++left;
        while (points[right].x != maxX) ++right;
    }
    if (left == right) {
        for (std::int32_t i = 1; i < n; ++i) {
            if (points[left].y > points[i].y) left = i;
            if (points[right].y < points[i].y) right = i;
        }
    }
    HullBuffer[count++] = points[left];
    HullBuffer[count++] = points[right];
}

// Sorts every point to the upper set (left of L->R) or the lower set (left of
// R->L) in one pass, in index order, tracking each side's farthest point; the
// lower set ends up directly behind the upper one in work.
void selectSides(const Point* points, std::int32_t n, const Candidate& l, const Candidate& r,
                 Scratch& s, Edge& upper, Edge& lower)
{
    Candidate* up = s.work.data();
    Candidate* down = s.spill.data();
    std::int32_t nu = 0, nd = 0, farU = 0, farD = 0;
    double bestU = 0.0, bestD = 0.0;
    for (std::int32_t i = 0; i < n; ++i) {
        const Point& p = points[i];
        const double o = orientation(l.x, l.y, r.x, r.y, p.x, p.y);
        // Both slots are written and only the chosen counter moves: no branch
        // to mispredict on random input. L and R themselves give exactly 0.
        up[nu] = candidateOf(p, i);
        down[nd] = candidateOf(p, i);
        if (o > bestU) { bestU = o; farU = nu; }
        if (-o > bestD) { bestD = -o; farD = nd; }
        nu += o > 0.0;
        nd += o < 0.0;
    }
    std::memcpy(up + nu, down, sizeof(Candidate) * std::size_t(nd));
    upper = {0, nu, farU, l, r};
    lower = {nu, nu + nd, nu + farD, r, l};
}

// Writes the vertices beyond every pending edge, depth first: an edge's farthest
// point, then all found beyond its first sub-edge (from a), then beyond its second.
// Each pass splits a set into the two sub-sets in place; the farthest point lies on
// neither sub-edge's open side, so sets shrink strictly and the loop ends whatever
// rounding does to non-integer input.
void expandHull(const Point* points, std::int32_t& count, Scratch& s)
{
    Candidate* work = s.work.data();
    Candidate* spill = s.spill.data();
    while (!s.pending.empty()) {
        const Edge e = s.pending.back();
        s.pending.pop_back();
        if (count == PointCapacity) return;
        const Candidate v = work[e.farthest];
        HullBuffer[count++] = points[v.index];
        if (e.hi - e.lo == 1) continue;

        std::int32_t n1 = e.lo, n2 = 0, far1 = 0, far2 = 0;
        double best1 = 0.0, best2 = 0.0;
        for (std::int32_t k = e.lo; k < e.hi; ++k) {
            const Candidate c = work[k];
            const double o1 = orientation(e.a.x, e.a.y, v.x, v.y, c.x, c.y);
            if (o1 > 0.0) {
                // Ties keep the earlier candidate, which is also the lower index.
                if (o1 > best1) { best1 = o1; far1 = n1; }
                work[n1++] = c; // n1 <= k: never overwrites an unread candidate
                continue;
            }
            const double o2 = orientation(v.x, v.y, e.b.x, e.b.y, c.x, c.y);
            spill[n2] = c;
            if (o2 > best2) { best2 = o2; far2 = n2; }
            n2 += o2 > 0.0;
        }
        std::memcpy(work + n1, spill, sizeof(Candidate) * std::size_t(n2));
        // Second sub-edge pushed first so the first one is expanded first.
        if (n2 > 0) s.pending.push_back({n1, n1 + n2, n1 + far2, v, e.b});
        if (n1 > e.lo) s.pending.push_back({e.lo, n1, far1, e.a, v});
    }
}

} // namespace

std::int32_t computeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices)
{
    // The index list is 0..n-1 by contract, so position i is point i; reading the
    // points directly keeps both passes sequential and never strays past n.
    (void)pointIndices;
    if (n < 1) return 0;

    Scratch& s = scratch();
    const std::size_t room = std::size_t(n) + 1; // +1: the unconditional store of the last point
    if (s.work.size() < room) {
        s.work.resize(room);
        s.spill.resize(room);
        s.pending.reserve(room + 2);
    }

    std::int32_t count = 0;
    std::int32_t left = 0, right = 0;
    findExtremePoints(points, n, count, left, right);
    if (left == right) return count;

    Edge upper{}, lower{};
    selectSides(points, n, candidateOf(points[left], left), candidateOf(points[right], right), s,
                upper, lower);
    s.pending.clear();
    if (lower.hi > lower.lo) s.pending.push_back(lower);
    if (upper.hi > upper.lo) s.pending.push_back(upper);
    expandHull(points, count, s);
    return count;
}
