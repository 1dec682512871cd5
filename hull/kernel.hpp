#pragma once

// The records the kernel's files share, and the table of passes through which
// hull.cpp drives either code path. Not part of the interface.

#include <cstdint>

#include "hull.hpp"

// A candidate point: its coordinates and its index in the input.
struct Candidate {
    float x;
    float y;
    std::int32_t index;
};

inline Candidate candidateOf(const Point* p, std::int32_t i) { return {p[i].x, p[i].y, i}; }

// The base case of the recursion: sets of this many candidates or fewer are
// finished where they lie, read as a block of SmallSet positions whatever their
// count: near the leaves of a hull with many vertices, moving them and walking
// their small halves one by one would cost more.
inline constexpr std::int32_t SmallSet = 32;

// Room past the last candidate: vector stores write whole registers, and a small
// set is read as a whole block of SmallSet positions.
inline constexpr std::int32_t ColumnRoom = PointCapacity + SmallSet;

// Candidate sets as three parallel columns, so a pass streams through exactly the
// coordinates it tests, several lanes at a time where it can.
struct Columns {
    float x[ColumnRoom];
    float y[ColumnRoom];
    std::int32_t index[ColumnRoom];

    void put(std::int32_t k, float px, float py, std::int32_t i)
    {
        x[k] = px;
        y[k] = py;
        index[k] = i;
    }
    Candidate at(std::int32_t k) const { return {x[k], y[k], index[k]}; }
};

// One step of the recursion: the candidates strictly left of the directed edge
// a->b, in index order at work[lo, lo + count), and far, the first of those
// farthest from it.
struct SubProblem {
    Candidate a;
    Candidate b;
    Candidate far;
    std::int32_t lo;
    std::int32_t count;
};

// Pushes the halves of a split set onto pending at depth, the second first so
// that the first is expanded first; an empty half takes no slot, but both slots
// are written. Gives the new depth. The split set may be the slot at depth
// itself: the halves are built before they are stored.
inline std::int32_t pushHalves(SubProblem* pending, std::int32_t depth, const SubProblem& first,
                               const SubProblem& second)
{
    pending[depth] = second;
    depth += second.count > 0;
    pending[depth] = first;
    depth += first.count > 0;
    return depth;
}

// Small sets finished together at most, so that the processor overlaps their work.
inline constexpr std::int32_t SmallSetBatch = 4;

// Halves packed into the small-set arena start at a multiple of this many
// entries (one register of the widest lanes).
inline constexpr std::int32_t HalfAlign = 8;

// Room for the parts of a batch of small sets while the vector path finishes
// them: per set its candidates, its edge's ends and its farthest point; then the
// halves of three or more candidates, each from the next multiple of HalfAlign
// (per set at most 31 + 30 + ... + 3 candidates in at most 31 halves); and a
// register of slack for the last store.
inline constexpr std::int32_t SmallSetRoom =
    SmallSetBatch * (SmallSet + 4 + SmallSet * (SmallSet - 1) / 2 + (HalfAlign - 1) * (SmallSet - 1)) + 2 * HalfAlign;

// A part of a small set still to split (vector path): its candidates at
// x[at, at + count) and so on of the arena, the ends of its edge and its
// farthest point as entries of the same arena, and the first of the output
// slots it owns, one per candidate, in pre-order.
struct SmallSetPart {
    std::int32_t a, b, far, at, count, slot;
};

// The small sets of a batch as the vector path splits them: the candidates of
// every part in double, as the orientation takes them, and their input indices;
// each set's output slots and one where an empty half's slot goes; the parts
// still to split.
struct SmallSetArena {
    alignas(32) double x[SmallSetRoom];
    alignas(32) double y[SmallSetRoom];
    alignas(32) float xs[SmallSetRoom]; // the same in single precision, where that is exact
    alignas(32) float ys[SmallSetRoom];
    alignas(32) std::int32_t index[SmallSetRoom];
    alignas(32) std::int32_t slots[SmallSetBatch * SmallSet + 1];
    SmallSetPart parts[SmallSetBatch * SmallSet]; // at most one per vertex
};

// A set of at most SmallSet candidates to finish, and the list its vertices are
// appended to: vertices[0, *count).
struct SmallSetJob {
    const SubProblem* set;
    std::int32_t* vertices;
    std::int32_t* count;
};

// Storage the kernel reuses from call to call, sized for PointCapacity points and
// made resident at the program's start-up (kernelMemory names it), so that no
// call allocates or faults a page in.
struct Scratch {
    Columns work;  // the points outside the interior box, then every live set in place
    Columns spill; // the second set while a large set is split
    // The sets still to expand and the input index of every vertex found, shared
    // by the walks over the two sides of L-R (see computeHullOn); a finished
    // small set may write SmallSet entries past its last vertex.
    SubProblem pending[PointCapacity + 4];
    std::int32_t vertices[PointCapacity + 2 * SmallSet];
    SmallSetArena smallSets;
    // Vector path: whether every candidate has whole coordinates of spans so
    // narrow that the orientation is exact in single precision (set by
    // keepOutside).
    bool inSingle;
};

extern Scratch KernelScratch;

// Indices of extreme points: leftmost and rightmost (first of equals, as the
// hull's order depends on them), and the extremes of x + y and x - y, which only
// need to be input points.
struct Extremes {
    std::int32_t left = 0, right = 0;
    std::int32_t minSum = 0, maxSum = 0, minDiff = 0, maxDiff = 0;
};

// L and R, the ends of the first split, by point index.
struct HullEnds {
    std::int32_t left, right;
};

// An axis-aligned box whose open inside lies strictly inside the hull: points in
// it are never hull vertices nor farthest from any edge, so the kernel may skip
// them without changing a single entry. Empty (x1 > x2) when none is found.
struct InteriorBox {
    float x1 = 1.0f, x2 = 0.0f, y1 = 1.0f, y2 = 0.0f;
};

// Progress of a split of a large set: set 1 so far at work[set.lo, end1), set 2
// so far at spill[0, size2), and the farthest of each (index -1 while empty).
struct RangeSplit {
    std::int32_t end1;
    std::int32_t size2;
    double best1, best2;
    Candidate far1, far2;
};

inline RangeSplit startRangeSplit(const SubProblem& set) { return {set.lo, 0, 0.0, 0.0, {0, 0, -1}, {0, 0, -1}}; }

// Pushes the halves of a range split once set 2 has moved right behind set 1.
inline std::int32_t pushRangeHalves(const SubProblem& set, const RangeSplit& r, SubProblem* pending,
                                    std::int32_t depth)
{
    return pushHalves(pending, depth, {set.a, set.far, r.far1, set.lo, r.end1 - set.lo},
                      {set.far, set.b, r.far2, r.end1, r.size2});
}

// What one code path supplies. Every pass gives exactly the same result on both.
struct HullPasses {
    // The extremes of points[0, n).
    Extremes (*extremes)(const Point* points, std::int32_t n);
    // Whether every corner of box lies surely on or left of every edge of the
    // counter-clockwise hexagon, as surelyLeftOrOn decides it.
    bool (*boxInside)(const Point* const (&hexagon)[6], const InteriorBox& box);
    // Copies the points of [0, n) outside the open box to scratch.work, in index
    // order; gives how many.
    std::int32_t (*keepOutside)(const Point* points, std::int32_t n, const InteriorBox& box, Scratch& scratch);
    // Splits a set by the sub-edges a->far and far->b, its first half in front and
    // the second right behind it, and pushes the halves with pushHalves; gives the
    // new depth.
    std::int32_t (*splitRange)(const Point* points, Scratch& scratch, const SubProblem& set, SubProblem* pending,
                               std::int32_t depth);
    // Finishes sets of at most SmallSet candidates where they lie, in the order
    // given: appends the input index of every vertex beyond a set's edge to its
    // list, in pre-order (far first), as the walk would find them. May write
    // SmallSet entries past a list's last.
    void (*finishSmallSets)(Scratch& scratch, const SmallSetJob* jobs, std::int32_t count);
};

extern const HullPasses PortablePasses;
extern const HullPasses Avx2Passes; // where avx2.cpp is built (x86)

// The passes of a path: the one place that picks them (Avx2 falls back to the
// portable passes where the processor lacks AVX2).
const HullPasses& passesFor(HullPath path);

// prefilter.cpp: the scalar scans, which the vector passes also use for fewer
// points than a register holds; L and R, the one rule for them that the kernel
// and the step trace share; and the box, whose corners passes.boxInside tests.
void scanExtremes(const Point* points, std::int32_t n, Extremes& e);
HullEnds hullEnds(const Point* points, std::int32_t n, const Extremes& e);
std::int32_t keepOutside(const Point* points, std::int32_t n, const InteriorBox& box, Columns& out);
bool boxInside(const Point* const (&hexagon)[6], const InteriorBox& box);
InteriorBox interiorBox(const HullPasses& passes, const Point* points, const Extremes& e);
