// The convex hull by farthest-point divide and conquer. computeHullOn runs it in
// four phases:
//   1. prefilter (prefilter.cpp): the extremes, then a copy of every point outside
//      a box proven to lie inside the hull (from BoxFrom points on); the rest can
//      never be written;
//   2. L and R, the leftmost and rightmost points, are the first two entries;
//   3. one split sorts the survivors into the sets above and below L-R;
//   4. a depth-first walk over each side finds its vertices in pre-order; the
//      two walks take steps in turn, and the whole points are copied at the end.
// The passes come in two code paths with bit-identical results, portable.cpp and
// avx2.cpp; passesFor is the one place that picks one.

#include <algorithm>
#include <cstdint>

#include "kernel.hpp"

std::array<Point, PointCapacity> HullBuffer;
Scratch KernelScratch;

namespace {

// The interior box pays for itself from about this many points on; fewer are
// split faster than the box is proven inside their hull.
constexpr std::int32_t BoxFrom = 48;

HullPath detectPath()
{
#ifdef OMOTAC_HULL_AVX2
    if (__builtin_cpu_supports("avx2")) return HullPath::Avx2;
#endif
    return HullPath::Portable;
}

// Chosen while the program starts, before main: no call pays for the question.
const HullPath StartupPath = detectPath();

// A depth-first walk over the sets beyond one side of L-R: its stack of pending
// sets, and the vertices it has found.
struct Walk {
    SubProblem* pending;
    std::int32_t depth;
    std::int32_t* vertices;
    std::int32_t count;
};

// A walk over set (none when it is empty) that keeps its stack and its vertices
// at the given places. Its pending sets share no candidate, so it never holds
// more than set.count of them, nor finds more vertices; a push writes two slots
// ahead.
Walk startWalk(const SubProblem& set, SubProblem* pending, std::int32_t* vertices)
{
    pending[0] = set;
    return {pending, set.count > 0 ? 1 : 0, vertices, 0};
}

// One round of both walks. The next set's farthest point is the next vertex in
// pre-order (all found beyond its first sub-edge come before all beyond its
// second): a large set's halves are pushed; then the small sets on top of both
// stacks are finished together, each walk's in the order it pops them. The
// farthest point lies on neither sub-edge's open side and the halves share no
// candidate, so sets shrink strictly, no point is found twice and every walk ends
// whatever rounding does to non-integer input.
void step(const HullPasses& passes, const Point* points, Scratch& sc, Walk (&walks)[2])
{
    for (Walk& w : walks) {
        if (w.depth == 0 || w.pending[w.depth - 1].count <= SmallSet) continue;
        const SubProblem& set = w.pending[--w.depth];
        w.vertices[w.count++] = set.far.index;
        w.depth = passes.splitRange(points, sc, set, w.pending, w.depth);
    }
    SmallSetJob jobs[SmallSetBatch];
    std::int32_t count = 0;
    for (Walk& w : walks)
        while (count < SmallSetBatch && w.depth > 0 && w.pending[w.depth - 1].count <= SmallSet)
            jobs[count++] = {&w.pending[--w.depth], w.vertices, &w.count};
    if (count > 0) passes.finishSmallSets(sc, jobs, count);
}

} // namespace

HullPath fastestHullPath() { return StartupPath; }

const HullPasses& passesFor(HullPath path)
{
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2 && StartupPath == HullPath::Avx2) return Avx2Passes;
#endif
    (void)path;
    return PortablePasses;
}

KernelMemory kernelMemory()
{
    return {&KernelScratch, sizeof KernelScratch, HullBuffer.data(), sizeof HullBuffer,
            reinterpret_cast<std::uintptr_t>(&computeHullOn)};
}

std::int32_t computeHullOn(HullPath path, const Point* points, std::int32_t n)
{
    if (n < 1) return 0;
    n = std::min(n, PointCapacity);
    const HullPasses& passes = passesFor(path);
    Scratch& sc = KernelScratch;

    const Extremes e = passes.extremes(points, n);
    const InteriorBox box = n >= BoxFrom ? interiorBox(passes, points, e) : InteriorBox{};
    const std::int32_t kept = passes.keepOutside(points, n, box, sc);

    const auto [left, right] = hullEnds(points, n, e);
    std::int32_t count = 0;
    HullBuffer[count++] = points[left];
    HullBuffer[count++] = points[right];
    if (left == right) return count;

    // The orientation against R->L is exactly the negation of that against L->R,
    // so the split with a = b = L and far = R sorts the points above the line
    // into the first set and those below into the second.
    const Candidate l = candidateOf(points, left), r = candidateOf(points, right);
    // So few survivors are one small set: finishing it writes R, then the vertices
    // above L-R and those below in pre-order, the very entries still to come.
    if (kept <= SmallSet) {
        const SubProblem all{l, l, r, 0, kept};
        std::int32_t found = 0;
        const SmallSetJob job{&all, sc.vertices, &found};
        passes.finishSmallSets(sc, &job, 1);
        for (std::int32_t k = 1; k < found; ++k) HullBuffer[count++] = points[sc.vertices[k]];
        return count;
    }
    SubProblem halves[2], above{}, below{};
    const std::int32_t found = passes.splitRange(points, sc, {l, l, r, 0, kept}, halves, 0);
    for (std::int32_t k = 0; k < found; ++k) (halves[k].a.index == left ? above : below) = halves[k];
    Walk walks[2] = {startWalk(above, sc.pending, sc.vertices),
                     startWalk(below, sc.pending + above.count + 2, sc.vertices + above.count + SmallSet)};
    // The two walks are independent: stepping them in turn lets the processor
    // overlap their chains of dependent steps.
    while (walks[0].depth > 0 || walks[1].depth > 0) step(passes, points, sc, walks);

    // The copies last, in one sweep whose loads overlap, rather than each one
    // stalling the expansion on a cache miss.
    for (const Walk& w : walks)
        for (std::int32_t k = 0; k < w.count; ++k) HullBuffer[count++] = points[w.vertices[k]];
    return count;
}

std::int32_t computeHull(const Point* points, std::int32_t n) { return computeHullOn(StartupPath, points, n); }
