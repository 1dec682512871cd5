#pragma once

// The trace of the farthest-point method: what each step decides, for the
// window to replay and to teach.

#include <cstdint>
#include <vector>

#include "hull.hpp"
#include "point.hpp"

// What one step of the farthest-point recursion decides. Step 0 is the bare
// input, step 1 finds L and R, step j (2 <= j < count) finds hull vertex j as
// the farthest point beyond a directed edge between two earlier vertices.
struct HullStep {
    std::int32_t edgeFrom = -1;  // the edge split at this step, as positions in
    std::int32_t edgeTo = -1;    // HullTrace::vertices; -1 at steps 0 and 1
    std::int32_t ruledEnd = 0;   // ruledOut[0..ruledEnd) are ruled out by this step and those before it
    std::int32_t undecided = 0;  // points still in a set that waits to be expanded
    std::int32_t examined = 0;   // points this step examined: the set it split (at step 1 all n);
                                 // ruledEnd minus the step before's says how many of them it ruled out
    std::int32_t tests = 0;      // orientation tests this step evaluated: one per examined point but
                                 // L and R at step 1 (the side below is the negation), two per point
                                 // but the new vertex after it (one per sub-edge)
};

// The hull computation step by step, in the kernel's order. Each step stores
// only what it changes, so going back a step is reading the step before:
// memory grows with n + count, never with n per step.
struct HullTrace {
    std::vector<Point> points;          // the input, copied so the trace stands alone
    std::vector<std::int32_t> vertices; // point indices of HullBuffer[0..count) as computeHull writes it
    std::vector<HullStep> steps;        // steps[j] for j = 0..count-1 (0..1 for one vertex); step count is the finished hull
    std::vector<std::int32_t> ruledOut; // point indices in the order the steps rule them out, each once
    std::vector<std::int32_t> outline;  // positions in `vertices` around the hull, clockwise (y up), from L

    // Scratch of the build, kept so that building again allocates nothing: the
    // sets in place, the second half of a split while the first is packed, and
    // each vertex's successor in the outline.
    std::vector<std::int32_t> work, spill, next;
};

// Records the steps of the hull of points[0..n) into trace, reusing its storage.
// The vertices come out exactly as computeHull writes them: L and R (for points
// that all share one x, the lowest and the highest), then the pre-order of the
// side above L-R, then that of the side below; ties go to the earliest point.
// The one exception is a set whose points all coincide: computeHull writes
// that point twice, as L and as R, while the trace has it once, as a person
// counts it, and records the step that found it (steps[1]) past the last
// vertex: the finished hull is step 1.
void traceHull(const Point* points, std::int32_t n, HullTrace& trace);

// The hull vertex found at step `position`.
inline const Point& vertex(const HullTrace& trace, std::int32_t position)
{
    return trace.points[std::size_t(trace.vertices[std::size_t(position)])];
}

// The finished hull's step number, one past the last recorded step.
inline std::int32_t stepCount(const HullTrace& trace) { return std::int32_t(trace.vertices.size()); }
