#include "steps.hpp"

#include <algorithm>

#include "kernel.hpp"
#include "predicates.hpp"

namespace {

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

// The split one point at a time, from `from` to the end of the set. Where a
// point goes is a coin toss on a hull with many vertices, so the writes are
// unconditional and the counters move by the tests' results.
template <bool First>
void splitRest(TraceSplit& s, std::int32_t from)
{
    // Everything in locals: the stores below go through int pointers, which
    // could otherwise be taken to change the record's fields.
    const Point* points = s.points;
    std::int32_t *work = s.work, *spill = s.spill, *out = s.ruledOut;
    const std::int32_t hi = s.hi, skip1 = s.skip1, skip2 = s.skip2;
    const Point a = s.a, v = s.v, b = s.b;
    std::int32_t mid = s.mid, end = s.end, ruled = s.ruled, far1 = s.far1, far2 = s.far2;
    double best1 = s.best1, best2 = s.best2;
    for (std::int32_t k = from; k < hi; ++k) {
        const std::int32_t i = First ? k : work[k];
        if (i == skip1 || (First && i == skip2)) continue;
        const Point& p = points[i];
        const double o1 = orientation(a, v, p);
        // The value against R->L is exactly the negation of that against L->R.
        const double o2 = First ? -o1 : orientation(v, b, p);
        // A point beyond a->v goes with that side alone.
        const bool beyondFirst = o1 > 0.0;
        const bool beyondSecond = !beyondFirst & (o2 > 0.0);
        // The bests start at 0, so a new best is beyond its edge.
        if (o1 > best1) best1 = o1, far1 = i;
        if (o2 > best2 && !beyondFirst) best2 = o2, far2 = i;
        // mid <= k: only places already read are written.
        work[mid] = i;
        mid += beyondFirst;
        spill[end] = i;
        end += beyondSecond;
        if constexpr (First) {
            // Only points on the line L-R: rare enough to branch on.
            if (!beyondFirst && !beyondSecond) out[ruled++] = i;
        } else {
            out[ruled] = i;
            ruled += !beyondFirst & !beyondSecond;
        }
    }
    s.mid = mid;
    s.end = end;
    s.ruled = ruled;
    s.far1 = far1;
    s.far2 = far2;
    s.best1 = best1;
    s.best2 = best2;
}

// Splits the points of a set but skip1 (and skip2) by a->v and v->b: those
// strictly left of a->v to work[lo, mid), those strictly left of v->b to
// work[mid, end), the rest (inside the triangle a, v, b or on its sides) ruled
// out. Both halves keep their order, and the farthest point of each is found
// in the same pass, strictly greater winning, so of equals the earliest stays
// as in the kernel. The set is work[lo, hi), or for the first split (First)
// all points 0..hi-1 in index order, split by L->R and R->L with a = b = L.
// The code path's vector pass takes the whole blocks first, where it has one.
template <bool First>
Split splitBy(HullTrace& t, const HullPasses& passes, std::int32_t lo, std::int32_t hi, std::int32_t skip1,
              std::int32_t skip2, const Point& a, const Point& v, const Point& b, std::int32_t& ruled)
{
    TraceSplit s{t.points.data(), t.work.data(), t.spill.data(), t.ruledOut.data(), First, lo, hi, skip1, skip2,
                 a, v, b, lo, 0, ruled, 0.0, 0.0, -1, -1};
    // Sets this small are over before the lanes' farthest points are folded.
    const std::int32_t from = hi - lo >= 8 ? passes.traceBlocks(s) : lo;
    splitRest<First>(s, from);
    std::copy(s.spill, s.spill + s.end, s.work + s.mid);
    ruled = s.ruled;
    return {s.mid, s.mid + s.end, s.far1, s.far2};
}

// Queues the two halves of a split, the first last in: the set beyond the
// first sub-edge is expanded completely before the second.
void queue(HullTrace& t, const Split& s, std::int32_t lo, std::int32_t from, std::int32_t apex, std::int32_t to)
{
    if (s.end > s.mid) t.pending.push_back({s.mid, s.end, apex, to, s.far2});
    if (s.mid > lo) t.pending.push_back({lo, s.mid, from, apex, s.far1});
}

} // namespace

void traceHull(const Point* points, std::int32_t n, HullTrace& t) { traceHullOn(fastestHullPath(), points, n, t); }

void traceHullOn(HullPath path, const Point* points, std::int32_t n, HullTrace& t)
{
    const HullPasses& passes = passesFor(path);
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
    const Split sides = splitBy<true>(t, passes, 0, n, left, right, points[left], points[right], points[left], ruled);
    std::int32_t undecided = sides.end;
    t.steps.push_back({-1, -1, ruled, undecided});
    queue(t, sides, 0, 0, 1, 0);

    // Steps 2 onward: the farthest point beyond the edge of the next set is a
    // vertex; it goes between the edge's ends in the outline, and the points
    // inside the triangle it spans with the edge are ruled out.
    while (!t.pending.empty()) {
        const HullTrace::Pending set = t.pending.back();
        t.pending.pop_back();
        const Point& a = points[t.vertices[std::size_t(set.from)]];
        const Point& b = points[t.vertices[std::size_t(set.to)]];
        const std::int32_t apex = std::int32_t(t.vertices.size());
        t.vertices.push_back(set.far);
        const Split s = splitBy<false>(t, passes, set.lo, set.hi, set.far, set.far, a, points[set.far], b, ruled);
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
