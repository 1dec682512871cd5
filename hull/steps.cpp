#include "steps.hpp"

#include <algorithm>

namespace {

// A point's coordinates in double precision, where the turns are computed.
struct XY {
    double x, y;
};

XY xyOf(const Point& p) { return {double(p.x), double(p.y)}; }

// Twice the signed area of (a, b, p), positive when p lies strictly left of a->b.
// The kernel's arithmetic to the letter (differences, products, their difference,
// in double from the float coordinates), so every comparison comes out as there.
double turn(XY a, XY b, XY p) { return (b.y - p.y) * (a.x - p.x) - (a.y - p.y) * (b.x - p.x); }

// The first index whose coordinate (x, or y) is the smallest and the first
// whose is the largest, as a scan with strict comparisons keeps them. The two
// values are found first, in a pass whose iterations do not wait on each other.
template <float Point::*Axis>
void firstExtremes(const Point* p, std::int32_t n, std::int32_t& least, std::int32_t& most)
{
    float low = p[0].*Axis, high = p[0].*Axis;
    for (std::int32_t i = 1; i < n; ++i) {
        low = std::min(low, p[i].*Axis);
        high = std::max(high, p[i].*Axis);
    }
    least = most = 0;
    while (least < n && !(p[least].*Axis == low)) ++least;
    while (most < n && !(p[most].*Axis == high)) ++most;
    // Only a first value that is not a number stays where it started.
    if (least == n) least = 0;
    if (most == n) most = 0;
}

// L and R: the smallest and the largest x, first of equals; where every point
// shares one x, the lowest and the highest point instead, as the kernel does.
void extremes(const Point* p, std::int32_t n, std::int32_t& left, std::int32_t& right)
{
    firstExtremes<&Point::x>(p, n, left, right);
    if (left == right) firstExtremes<&Point::y>(p, n, left, right);
}

// A set split by two edges that share the apex v: work[lo, mid) lie strictly
// left of a->v, work[mid, end) strictly left of v->b, each with its farthest
// point beyond its edge (-1 for none).
struct Split {
    std::int32_t mid, end;
    std::int32_t far1, far2;
};

// Splits the points of a set but skip1 (and skip2) by a->v and v->b: those
// strictly left of a->v to work[lo, mid), those strictly left of v->b to
// work[mid, end), the rest (inside the triangle a, v, b or on its sides) ruled
// out. Both halves keep their order, and the farthest point of each is found
// in the same pass, strictly greater winning, so of equals the earliest stays
// as in the kernel. The set is work[lo, hi), or for the first split (First)
// all points 0..hi-1 in index order, split by L->R and R->L with a = b = L.
// Where a point goes is a coin toss on a hull with many vertices, so the
// writes are unconditional and the counters move by the tests' results.
template <bool First>
Split splitBy(HullTrace& t, std::int32_t lo, std::int32_t hi, std::int32_t skip1, std::int32_t skip2, XY a, XY v,
              XY b, std::int32_t& ruled)
{
    // Plain locals, so the stores below cannot be taken to change them.
    const Point* points = t.points.data();
    std::int32_t* work = t.work.data();
    std::int32_t* spill = t.spill.data();
    std::int32_t* out = t.ruledOut.data();
    std::int32_t outEnd = ruled;
    Split s{lo, 0, -1, -1};
    double best1 = 0.0, best2 = 0.0;
    for (std::int32_t k = lo; k < hi; ++k) {
        const std::int32_t i = First ? k : work[k];
        if (i == skip1 || (First && i == skip2)) continue;
        const XY p = xyOf(points[i]);
        const double d1 = turn(a, v, p);
        // The turn against R->L is exactly the negation of that against L->R:
        // the same products, subtracted the other way round.
        const double d2 = First ? -d1 : turn(v, b, p);
        // A point beyond a->v goes with that side alone.
        const bool beyondFirst = d1 > 0.0;
        const bool beyondSecond = !beyondFirst & (d2 > 0.0);
        // The bests start at 0, so a new best is beyond its edge.
        if (d1 > best1) best1 = d1, s.far1 = i;
        if (d2 > best2 && !beyondFirst) best2 = d2, s.far2 = i;
        // s.mid <= k: only places already read are written.
        work[s.mid] = i;
        s.mid += beyondFirst;
        spill[s.end] = i;
        s.end += beyondSecond;
        if constexpr (First) {
            // Only points on the line L-R: rare enough to branch on.
            if (!beyondFirst && !beyondSecond) out[outEnd++] = i;
        } else {
            out[outEnd] = i;
            outEnd += !beyondFirst & !beyondSecond;
        }
    }
    std::copy(spill, spill + s.end, work + s.mid);
    s.end += s.mid;
    ruled = outEnd;
    return s;
}

// Queues the two halves of a split, the first last in: the set beyond the
// first sub-edge is expanded completely before the second.
void queue(HullTrace& t, const Split& s, std::int32_t lo, std::int32_t from, std::int32_t apex, std::int32_t to)
{
    if (s.end > s.mid) t.pending.push_back({s.mid, s.end, apex, to, s.far2});
    if (s.mid > lo) t.pending.push_back({lo, s.mid, from, apex, s.far1});
}

} // namespace

void traceHull(const Point* points, std::int32_t n, HullTrace& t)
{
    t.points.clear();
    t.vertices.clear();
    t.steps.clear();
    t.outline.clear();
    t.next.clear();
    t.pending.clear();
    // Room for every point; what the last build ruled out is overwritten, not cleared first.
    t.ruledOut.resize(std::size_t(std::max(n, 0)));
    if (n < 1) return;
    t.points.assign(points, points + n);
    t.work.resize(std::size_t(n));
    t.spill.resize(std::size_t(n));

    // Step 0: nothing decided.
    t.steps.push_back({-1, -1, 0, n});

    // Step 1: L and R, then the points above L->R and those below it (left of
    // R->L); L and R themselves are vertices, not candidates.
    std::int32_t left = 0, right = 0;
    extremes(points, n, left, right);
    t.vertices = {left, right};
    t.next = {1, 0};
    std::int32_t ruled = 0;
    const XY l = xyOf(points[left]);
    const Split sides = splitBy<true>(t, 0, n, left, right, l, xyOf(points[right]), l, ruled);
    std::int32_t undecided = sides.end;
    t.steps.push_back({-1, -1, ruled, undecided});
    queue(t, sides, 0, 0, 1, 0);

    // Steps 2 onward: the farthest point beyond the edge of the next set is a
    // vertex; it goes between the edge's ends in the outline, and the points
    // inside the triangle it spans with the edge are ruled out.
    while (!t.pending.empty()) {
        const HullTrace::Pending set = t.pending.back();
        t.pending.pop_back();
        const XY a = xyOf(points[t.vertices[std::size_t(set.from)]]);
        const XY b = xyOf(points[t.vertices[std::size_t(set.to)]]);
        const std::int32_t apex = std::int32_t(t.vertices.size());
        t.vertices.push_back(set.far);
        const Split s = splitBy<false>(t, set.lo, set.hi, set.far, set.far, a, xyOf(points[set.far]), b, ruled);
        undecided += (s.end - set.lo) - (set.hi - set.lo);
        t.steps.push_back({set.from, set.to, ruled, undecided});
        t.next[std::size_t(set.from)] = apex;
        t.next.push_back(set.to);
        queue(t, s, set.lo, set.from, apex, set.to);
    }

    t.ruledOut.resize(std::size_t(ruled));
    t.outline.push_back(0);
    for (std::int32_t k = t.next[0]; k != 0; k = t.next[std::size_t(k)]) t.outline.push_back(k);
}
