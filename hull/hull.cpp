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

#ifndef __EMSCRIPTEN__
#include <link.h>
#endif

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

// Writes one byte of every page of [p, p + size) back in place, so the pages are
// resident and private before the first call needs them.
void touchPages(void* p, std::size_t size)
{
    auto* bytes = static_cast<volatile unsigned char*>(p);
    for (std::size_t at = 0; at < size; at += 4096) bytes[at] = bytes[at];
    if (size > 0) bytes[size - 1] = bytes[size - 1];
}

// When every point shares one x, L and R become the lowest and the highest point
// (first of equals), so a vertical set keeps both of its ends.
void verticalEnds(const Point* p, std::int32_t n, std::int32_t& left, std::int32_t& right)
{
    for (std::int32_t i = 1; i < n; ++i) {
        if (p[left].y > p[i].y) left = i;
        if (p[right].y < p[i].y) right = i;
    }
}

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
    WindowJob jobs[WindowBatch];
    std::int32_t count = 0;
    for (Walk& w : walks)
        while (count < WindowBatch && w.depth > 0 && w.pending[w.depth - 1].count <= SmallSet)
            jobs[count++] = {&w.pending[--w.depth], w.vertices, &w.count};
    if (count > 0) passes.finishWindows(sc, jobs, count);
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

// Reads one byte of every cache line of the executable segment that holds
// computeHullOn, so that the first call finds its instructions in the caches
// instead of waiting for each of them to come from memory: a run computes one
// hull, always cold, and at 100 points that wait was about half the time
// printed. Reading the code runs none of it.
#ifndef __EMSCRIPTEN__
int readKernelCode(dl_phdr_info* info, std::size_t, void* data)
{
    const std::uintptr_t kernel = *static_cast<const std::uintptr_t*>(data);
    for (int k = 0; k < info->dlpi_phnum; ++k) {
        const ElfW(Phdr)& h = info->dlpi_phdr[k];
        const std::uintptr_t lo = info->dlpi_addr + h.p_vaddr, hi = lo + h.p_memsz;
        if (h.p_type != PT_LOAD || (h.p_flags & PF_X) == 0 || kernel < lo || kernel >= hi) continue;
        for (std::uintptr_t at = lo; at < hi; at += 64) (void)*reinterpret_cast<const volatile unsigned char*>(at);
        return 1; // found: ends the search
    }
    return 0;
}
#endif

void prepareHull()
{
    touchPages(&KernelScratch, sizeof KernelScratch);
    touchPages(HullBuffer.data(), sizeof HullBuffer);
#ifndef __EMSCRIPTEN__
    // WebAssembly code lies outside the memory the program can read.
    std::uintptr_t kernel = reinterpret_cast<std::uintptr_t>(&computeHullOn);
    dl_iterate_phdr(readKernelCode, &kernel);
#endif
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

    std::int32_t left = e.left, right = e.right;
    if (left == right) verticalEnds(points, n, left, right);
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
        const WindowJob job{&all, sc.vertices, &found};
        passes.finishWindows(sc, &job, 1);
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

std::int32_t computeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices)
{
    // The index list is 0..n-1 by contract, so position i is point i; reading the
    // points directly keeps every pass sequential and never strays past n.
    (void)pointIndices;
    return computeHullOn(StartupPath, points, n);
}
