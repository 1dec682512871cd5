#pragma once

// Four ways to the same hull, each written as a plain loop that records what
// every step decides, for the window to replay and for the console to compare:
// the farthest-point recursion (steps.hpp), gift wrapping (jarvis.cpp),
// Graham's scan (graham.cpp) and the monotone chain (andrew.cpp). All four use
// the kernel's orientation test and count their work alike:
//
// - orientation tests: every evaluation of the test, a sort's included;
// - comparisons: a sort's comparisons of two points by their coordinates rather
//   than by an orientation test (the monotone chain's sort by x, then y; and
//   Graham's tie break between two points on one ray from its pivot). Scans for
//   a lowest or leftmost point are not counted: every method makes one.
//
// Steps: step 0 of every trace is the state before the method's first decision
// (the bare input, with what the method prepares: the start of the wrap, the
// sorted order and the first pushes), and every later step records one
// decision. A method's step count is the number of steps after step 0.
//
// The traces are defined on finite coordinates; on whole numbers of magnitude
// up to 2^24 every orientation is exact and all four find the same corners. On
// other input (NaN, infinities, values whose arithmetic rounds) they still end,
// allocate no more than on finite input and name input points only, but need
// not agree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "point.hpp"
#include "steps.hpp"

enum class HullMethod { Farthest, Jarvis, Graham, Andrew };

struct HullMethodName {
    const char* name; // as the user types it
    HullMethod method;
    const char* what; // one line for the usage text
};

inline constexpr HullMethodName HullMethods[] = {
    {"najdalja", HullMethod::Farthest, "najdalja tacka od ivice deli skup (podrazumevano)"},
    {"jarvis", HullMethod::Jarvis, "umotavanje: teme po teme, svaki put sve tacke"},
    {"graham", HullMethod::Graham, "Grahamov obilazak: po uglu oko najnize, pa stek"},
    {"andrew", HullMethod::Andrew, "monotoni lanac: po x, donji pa gornji lanac na steku"},
};

// The method of a name, none for a name that is not one.
std::optional<HullMethod> hullMethodNamed(std::string_view name);

// The name the user types for a method.
const char* hullMethodName(HullMethod method);

// What a finished trace did, the same measure for every method.
struct MethodCounts {
    std::int32_t corners = 0;           // points where the outline turns (1 for a single place, 2 for a segment)
    std::int32_t steps = 0;             // recorded steps after step 0
    std::int64_t orientationTests = 0;
    std::int64_t comparisons = 0;
    bool operator==(const MethodCounts&) const = default;
};

// ---- Gift wrapping ---------------------------------------------------------

// One step of the wrap: standing on vertex `from`, every point is tested
// against the edge from it to the candidate so far, and a point right of that
// edge, or on its line and farther, becomes the candidate. What stays is the
// next vertex `to`: every point lies left of or on from->to, and none on that
// line beyond `to`.
struct JarvisStep {
    std::int32_t from = -1;  // input index of the vertex the wrap stands on; -1 at step 0
    std::int32_t to = -1;    // the next vertex chosen (at step 0 the start); the last step's is the start
    std::int32_t tests = 0;  // orientation tests of the step: one per input point scanned
};

struct JarvisTrace {
    std::vector<Point> points;      // the input, copied so the trace stands alone
    std::int32_t start = -1;        // the lowest point, of several the leftmost (first of equals)
    std::vector<JarvisStep> steps;  // steps[0] finds the start; steps[k] finds vertex k (the last closes the wrap)
    bool closed = false;            // the wrap came back to the start (always, on finite exact input)

    // Scratch of the scan, kept so that tracing again allocates nothing.
    std::vector<double> xs, ys;
};

// Gift wrapping of points[0..n) into trace, reusing its storage. One step per
// vertex, counter-clockwise from the start; the wrap stops after n steps at
// most, which only input whose orientation rounds can reach.
void traceJarvis(const Point* points, std::int32_t n, JarvisTrace& trace);

// ---- Graham's scan and the monotone chain ----------------------------------

// One push onto the stack: the point, and the push it lies on.
struct StackPush {
    std::int32_t point = -1; // input index
    std::int32_t under = -1; // the push below it on the stack (index into pushes); -1 at the bottom
};

// One step of a stack scan: a point is taken; while the last two points on
// the stack and it do not turn strictly left (counter-clockwise), the top is
// popped; then it is pushed.
struct StackStep {
    std::int32_t point = -1; // input index of the point taken; -1 at step 0
    std::int32_t push = -1;  // its push; the stack after the step is that push and every one under it
    std::int32_t popped = 0; // points popped: the top `popped` entries of the stack before the step
    std::int32_t depth = 0;  // points on the stack after the step
    std::int32_t tests = 0;  // orientation tests: one per pop, and the one that stopped the pops
    bool upper = false;      // monotone chain: the step builds the upper chain
};

// A stack scan as Graham's scan or the monotone chain runs it. Memory grows
// with n, never with n per step: the stack of any step is rebuilt from the
// pushes' links in time of its depth (stackAfter).
struct StackTrace {
    HullMethod method = HullMethod::Graham;
    std::vector<Point> points;
    std::int32_t pivot = -1;            // Graham: the lowest point, of several the leftmost; the chain: -1
    std::vector<std::int32_t> order;    // the points in the order taken: Graham: all but the pivot by
                                        // angle about it, of equal angles the nearer first; the chain:
                                        // all by x, then y
    std::int64_t sortTests = 0;         // the sort's orientation tests
    std::int64_t sortComparisons = 0;   // the sort's comparisons of coordinates
    std::vector<StackPush> pushes;      // every push in order
    std::vector<StackStep> steps;       // steps[0]: the sort and the first pushes (Graham: the pivot
                                        // and order[0]; the chain: order[0])

    // Scratch, kept so that tracing again allocates nothing: the live stack
    // (push indices) and the sort's merge buffer.
    std::vector<std::int32_t> live, merge;
};

// Graham's scan of points[0..n) into trace, reusing its storage: the pivot,
// the others sorted by angle with orientation tests (a stable bottom-up merge
// sort), then one step per sorted point from order[1] on.
void traceGraham(const Point* points, std::int32_t n, StackTrace& trace);

// The monotone chain of points[0..n) into trace: the points sorted by x, then
// y (the same merge sort), the lower chain from order[1] to the right end,
// then the upper chain back from order[n-2] to order[0] on the same stack,
// never popping the lower chain. One step per point taken: 2(n - 1).
void traceAndrew(const Point* points, std::int32_t n, StackTrace& trace);

// The stack after step `step`, bottom first, as input indices, into out.
void stackAfter(const StackTrace& trace, std::int32_t step, std::vector<std::int32_t>& out);

// The points step `step` popped, in the order popped (the top first), into out.
void poppedAt(const StackTrace& trace, std::int32_t step, std::vector<std::int32_t>& out);

// The point the pops of step `step` stopped at: the top of the stack when the
// step's point is pushed; -1 when the stack was empty.
std::int32_t pushedOn(const StackTrace& trace, std::int32_t step);

// ---- Every method alike ----------------------------------------------------

// The corners of each finished trace into out: the input indices of the
// points where the outline turns, counter-clockwise (y up) from the lowest,
// of several the leftmost. Points that repeat a corner and points inside an
// edge are left out; all points on one line give its two ends, all in one
// place that place once.
void hullCorners(const HullTrace& trace, std::vector<std::int32_t>& out);
void hullCorners(const JarvisTrace& trace, std::vector<std::int32_t>& out);
void hullCorners(const StackTrace& trace, std::vector<std::int32_t>& out);

// One method's counts as the comparison writes them: "jarvis: temena 16,
// koraka 16, testova orijentacije 16000, poredjenja 0".
std::string countsLine(HullMethod method, const MethodCounts& counts);

MethodCounts countsOf(const HullTrace& trace);
MethodCounts countsOf(const JarvisTrace& trace);
MethodCounts countsOf(const StackTrace& trace);

// One trace of each method, kept so that tracing again reuses their storage.
struct MethodTraces {
    HullTrace farthest;
    JarvisTrace jarvis;
    StackTrace graham;
    StackTrace andrew;
};

// Traces points[0..n) with `method` into its trace of traces; gives its counts.
MethodCounts traceMethod(HullMethod method, const Point* points, std::int32_t n, MethodTraces& traces);
