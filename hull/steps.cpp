// The farthest-point recursion written for reading: the kernel's method, order
// and tie rules, one point at a time, recording per step what the step decides.

#include "steps.hpp"

#include <algorithm>
#include <cstddef>

#include "kernel.hpp"
#include "predicates.hpp"

namespace {

// A trace being built: its input and records, and the running counts of the
// points ruled out and of those still undecided.
struct Tracer {
    HullTrace& t;
    const Point* points;
    std::int32_t ruled;
    std::int32_t undecided;
};

// A set split by the two sub-edges a->v and v->b: work[lo, mid) lie strictly
// left of a->v, work[mid, end) strictly left of v->b, each half with its
// farthest point beyond its sub-edge (-1 for none).
struct Split {
    std::int32_t mid, end;
    std::int32_t far1, far2;
    std::int32_t tests; // orientation tests evaluated
};

// Splits the set work[lo, hi) but its apex v (index skip) by a->v and v->b:
// those strictly left of a->v to work[lo, mid), those strictly left of v->b
// (and not of a->v) right behind them, the rest (inside the triangle a, v, b or
// on its sides) ruled out. Both halves keep their order, and the farthest point
// of each is found in the same pass. Where a point goes is a coin toss on a
// hull with many vertices, so the writes are unconditional and the counters
// move by the tests' results.
Split split(Tracer& r, std::int32_t lo, std::int32_t hi, std::int32_t skip, Point a, Point v, Point b)
{
    const Point* points = r.points;
    std::int32_t *work = r.t.work.data(), *spill = r.t.spill.data(), *out = r.t.ruledOut.data();
    // Counters as wide as addresses, so that no store widens them first.
    std::ptrdiff_t mid = lo, end = 0, ruled = r.ruled, tested = 0;
    std::int32_t far1 = -1, far2 = -1;
    double best1 = 0.0, best2 = 0.0;
    // orientation() with the ends converted once.
    const double ax = a.x, ay = a.y, vx = v.x, vy = v.y, bx = b.x, by = b.y;
    for (std::int32_t k = lo; k < hi; ++k) {
        const std::int32_t i = work[k];
        if (i == skip) continue;
        ++tested;
        const double px = points[i].x, py = points[i].y;
        const double o1 = orientationOf(ax, ay, vx, vy, px, py);
        const double o2 = orientationOf(vx, vy, bx, by, px, py);
        // A point beyond a->v goes with that side alone.
        const bool in1 = o1 > 0.0, in2 = !in1 & (o2 > 0.0);
        // The bests start at 0, so a new best is beyond its edge; strictly
        // greater wins, so of equals the earliest stays.
        if (o1 > best1) best1 = o1, far1 = i;
        if (o2 > best2 && !in1) best2 = o2, far2 = i;
        work[mid] = i; // mid <= k: only places already read are written
        mid += in1;
        spill[end] = i;
        end += in2;
        out[ruled] = i;
        ruled += !in1 & !in2;
    }
    std::copy(spill, spill + end, work + mid);
    r.ruled = std::int32_t(ruled);
    // Two tests a point: one against each sub-edge.
    return {std::int32_t(mid), std::int32_t(mid + end), far1, far2, std::int32_t(2 * tested)};
}

// Step 1's split of every point 0..n-1 but L and R, in index order, by the line
// L-R: those strictly above it (left of L->R) to work[0, mid), those strictly
// below right behind them, those on it ruled out; the farthest above and the
// farthest below found in the same pass. The value against R->L is exactly the
// negation of that against L->R, so one value decides both sides: the farthest
// below is the first of the lowest values, as split's best of R->L would be.
Split splitByLine(Tracer& r, std::int32_t n, std::int32_t left, std::int32_t right)
{
    const Point* points = r.points;
    std::int32_t *work = r.t.work.data(), *spill = r.t.spill.data(), *out = r.t.ruledOut.data();
    std::ptrdiff_t mid = 0, end = 0, ruled = r.ruled;
    std::int32_t far1 = -1, far2 = -1;
    double highest = 0.0, lowest = 0.0;
    const double lx = points[left].x, ly = points[left].y, rx = points[right].x, ry = points[right].y;
    for (std::int32_t i = 0; i < n; ++i) {
        const double o = orientationOf(lx, ly, rx, ry, points[i].x, points[i].y);
        const bool above = o > 0.0, below = o < 0.0;
        if (o > highest) highest = o, far1 = i;
        if (o < lowest) lowest = o, far2 = i;
        work[mid] = i; // mid <= i: only places already read are written
        mid += above;
        spill[end] = i;
        end += below;
        // Neither above nor below (never both): on the line, or a value that
        // is not a number. Rare enough to branch on, and so the place to pass
        // over L and R, which are such points too and are vertices, not ruled
        // out.
        if (above == below) [[unlikely]] {
            if (i != left && i != right) out[ruled++] = i;
        }
    }
    std::copy(spill, spill + end, work + mid);
    r.ruled = std::int32_t(ruled);
    // One test a point but L and R: its negation serves the side below.
    return {std::int32_t(mid), std::int32_t(mid + end), far1, far2, n - 2};
}

// The leftmost and the rightmost point, first of equals, as the kernel's scan
// finds them: the two values first, then the first point that holds each. The
// values are kept in Lanes running minima and maxima that take every Lanes-th
// point, so that no comparison waits on the one before it; the lanes agree on
// the extremes whatever order they take the points in (a NaN never replaces a
// number, and the sign of a zero does not matter to ==). Only a first value
// that is not a number stays where it started.
Extremes leftmostAndRightmost(const Point* p, std::int32_t n)
{
    constexpr std::int32_t Lanes = 8;
    float low[Lanes], high[Lanes];
    std::fill(low, low + Lanes, p[0].x);
    std::fill(high, high + Lanes, p[0].x);
    std::int32_t i = 1;
    for (; i + Lanes <= n; i += Lanes)
        for (std::int32_t k = 0; k < Lanes; ++k) {
            low[k] = std::min(low[k], p[i + k].x);
            high[k] = std::max(high[k], p[i + k].x);
        }
    for (; i < n; ++i) {
        low[0] = std::min(low[0], p[i].x);
        high[0] = std::max(high[0], p[i].x);
    }
    const float lowest = *std::min_element(low, low + Lanes), highest = *std::max_element(high, high + Lanes);
    Extremes e;
    while (e.left < n && !(p[e.left].x == lowest)) ++e.left;
    while (e.right < n && !(p[e.right].x == highest)) ++e.right;
    if (e.left == n) e.left = 0;
    if (e.right == n) e.right = 0;
    return e;
}

// Expands the set work[lo, hi) beyond the edge from vertex `from` to vertex `to`
// (positions in the trace's vertices), whose farthest point is far: far is the
// next vertex in pre-order; it goes between the edge's ends in the outline, the
// points inside the triangle it spans with the edge are ruled out, and the sets
// beyond its two sub-edges are expanded, the first completely before the
// second. The second goes on in this call, so the nesting deepens only along
// first sub-edges.
void expand(Tracer& r, std::int32_t lo, std::int32_t hi, std::int32_t from, std::int32_t to, std::int32_t far)
{
    HullTrace& t = r.t;
    while (hi > lo) {
        const auto apex = std::int32_t(t.vertices.size());
        t.vertices.push_back(far);
        const Point &a = r.points[t.vertices[std::size_t(from)]], &b = r.points[t.vertices[std::size_t(to)]];
        const Split s = split(r, lo, hi, far, a, r.points[far], b);
        r.undecided -= (hi - lo) - (s.end - lo);
        t.steps.push_back({from, to, r.ruled, r.undecided, hi - lo, s.tests});
        t.next[std::size_t(from)] = apex;
        t.next.push_back(to);
        expand(r, lo, s.mid, from, apex, s.far1);
        lo = s.mid, hi = s.end, from = apex, far = s.far2;
    }
}

} // namespace

void traceHull(const Point* points, std::int32_t n, HullTrace& t)
{
    t.points.clear();
    t.vertices.clear();
    t.steps.clear();
    t.outline.clear();
    t.next.clear();
    // Room for every point; what the last build ruled out is overwritten, not cleared first.
    t.ruledOut.resize(std::size_t(std::max(n, 0)));
    if (n < 1) return;
    t.points.assign(points, points + n);
    t.work.resize(std::size_t(n));
    t.spill.resize(std::size_t(n));

    // Step 0: nothing decided.
    t.steps.push_back({-1, -1, 0, n, 0});

    // Step 1: L and R as the kernel takes them, then every other point by the
    // line L-R: those above it, those below it, and those on it ruled out.
    const HullEnds ends = hullEnds(points, n, leftmostAndRightmost(points, n));
    const Point &l = points[ends.left], &r = points[ends.right];
    if (l.x == r.x && l.y == r.y) {
        // Every point is the same point: a hull of one vertex, finished by the
        // step that finds it, which rules out every copy of it.
        t.vertices = {ends.left};
        for (std::int32_t i = 0; i < n; ++i)
            if (i != ends.left) t.ruledOut[std::size_t(i - (i > ends.left))] = i;
        t.ruledOut.resize(std::size_t(n - 1));
        t.steps.push_back({-1, -1, n - 1, 0, n});
        t.outline = {0};
        t.next = {0};
        return;
    }
    t.vertices = {ends.left, ends.right};
    t.next = {1, 0};
    Tracer tracer{t, t.points.data(), 0, n};
    const Split sides = splitByLine(tracer, n, ends.left, ends.right);
    tracer.undecided = sides.end;
    t.steps.push_back({-1, -1, tracer.ruled, tracer.undecided, n, sides.tests});

    // Steps 2 onward: the side above L-R, from L to R, then the side below, from R to L.
    expand(tracer, 0, sides.mid, 0, 1, sides.far1);
    expand(tracer, sides.mid, sides.end, 1, 0, sides.far2);

    t.ruledOut.resize(std::size_t(tracer.ruled));
    t.outline.push_back(0);
    for (std::int32_t k = t.next[0]; k != 0; k = t.next[std::size_t(k)]) t.outline.push_back(k);
}
