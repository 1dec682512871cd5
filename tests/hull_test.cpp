// The hull kernel: worked examples, both code paths against the literal
// algorithm, the step-by-step trace, and hostile coordinates.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <sys/resource.h>

#include "hull.hpp"
#include "hull_checks.hpp"
#include "hull_reference.hpp"
#include "kernel.hpp"
#include "methods.hpp"
#include "predicates.hpp"
#include "startup.hpp"
#include "steps.hpp"

// Counts in failure messages as the console prints them.
void PrintTo(const MethodCounts& c, std::ostream* os)
{
    *os << "temena " << c.corners << ", koraka " << c.steps << ", testova orijentacije " << c.orientationTests
        << ", poredjenja " << c.comparisons;
}

namespace {

using Points = std::vector<Point>;
using XY = std::vector<std::pair<float, float>>;

Points fromXY(const XY& xy)
{
    Points pts;
    for (const auto& [x, y] : xy) pts.push_back({x, y});
    return pts;
}

XY toXY(const Point* p, std::int32_t count)
{
    XY xy;
    for (std::int32_t i = 0; i < count; ++i) xy.emplace_back(p[i].x, p[i].y);
    return xy;
}

struct HullRun {
    Points found;   // as the kernel wrote them
    Points outline; // after ordering
};

// Whether computeHullOn(HullPath::Avx2) really takes the AVX2 passes: where the
// processor lacks AVX2 it falls back to the portable ones, and a test of the
// AVX2 path, or one that holds it to the portable path, would silently test
// the portable path again.
bool avx2Runs() { return fastestHullPath() == HullPath::Avx2; }

constexpr const char* NoAvx2 = "this processor has no AVX2: the AVX2 path would be the portable one again";

// Skips the test being set up when it is the AVX2 path's and that path cannot
// run here.
void skipWithoutAvx2(HullPath path)
{
    if (path == HullPath::Avx2 && !avx2Runs()) GTEST_SKIP() << NoAvx2;
}

const auto BothPaths = ::testing::Values(HullPath::Portable, HullPath::Avx2);

const char* pathName(HullPath path) { return path == HullPath::Avx2 ? "Avx2" : "Portable"; }

// Tests that hold for each code path, run once per path.
class EachPath : public ::testing::TestWithParam<HullPath> {
protected:
    void SetUp() override { skipWithoutAvx2(GetParam()); }
};

// Runs the kernel on exactly pts.size() points held in their own heap block, so
// the sanitizer sees any read past the last one.
HullRun runHull(const Points& pts, HullPath path)
{
    const std::int32_t count = computeHullOn(path, pts.data(), std::int32_t(pts.size()));
    HullRun r;
    r.found.assign(HullBuffer.begin(), HullBuffer.begin() + count);
    orderHullOutline(count);
    r.outline.assign(HullBuffer.begin(), HullBuffer.begin() + count);
    return r;
}

// What a step examined, ruled out and tested, counted by hand.
struct StepCount {
    std::int32_t examined, ruledOut, tests;
    bool operator==(const StepCount&) const = default;
};

struct Example {
    const char* name;
    XY input;
    XY hull;                       // in the order the kernel finds it
    std::vector<StepCount> counts = {}; // per step, where counted
};

// Keeps test names readable in listings.
void PrintTo(const Example& e, std::ostream* os) { *os << e.name; }

class KernelExample : public ::testing::TestWithParam<Example> {};

// The kernel's list as the steps reveal it: a set whose points all coincide
// is listed twice by the kernel and has one vertex in the steps.
XY asCounted(XY hull)
{
    if (hull.size() == 2 && hull[0] == hull[1]) hull.pop_back();
    return hull;
}

// Each example on each code path.
class KernelExampleOnPath : public ::testing::TestWithParam<std::tuple<Example, HullPath>> {
protected:
    void SetUp() override { skipWithoutAvx2(std::get<1>(GetParam())); }
};

TEST_P(KernelExampleOnPath, WritesExactlyTheseEntries)
{
    const auto& [e, path] = GetParam();
    const HullRun r = runHull(fromXY(e.input), path);
    EXPECT_EQ(toXY(r.found.data(), std::int32_t(r.found.size())), e.hull);
}

// The program's own entry point, on the path start-up chose.
TEST_P(KernelExample, ComputeHullWritesExactlyTheseEntries)
{
    const Example& e = GetParam();
    const Points pts = fromXY(e.input);
    const std::int32_t count = computeHull(pts.data(), std::int32_t(pts.size()));
    EXPECT_EQ(toXY(HullBuffer.data(), count), e.hull);
}

// The steps reveal the same entries, one per step after L and R.
TEST_P(KernelExample, StepsRevealExactlyTheseEntries)
{
    const Example& e = GetParam();
    const Points pts = fromXY(e.input);
    HullTrace trace;
    traceHull(pts.data(), std::int32_t(pts.size()), trace);
    XY revealed;
    for (const std::int32_t i : trace.vertices) revealed.emplace_back(pts[std::size_t(i)].x, pts[std::size_t(i)].y);
    EXPECT_EQ(revealed, asCounted(e.hull));
    if (e.counts.empty()) return;
    std::vector<StepCount> counts;
    for (std::size_t j = 0; j < trace.steps.size(); ++j)
        counts.push_back({trace.steps[j].examined, trace.steps[j].ruledEnd - (j > 0 ? trace.steps[j - 1].ruledEnd : 0),
                          trace.steps[j].tests});
    EXPECT_EQ(counts, e.counts);
}

const Example Examples[] = {
    // Step 1 examines all 8 and tests the 6 but L and R against L-R; step
    // 2 the four above L-R, tests the three but its vertex against both
    // sub-edges and rules out (5, 5); step 5 the two below; the rest one
    // each, their own vertex, which they do not test.
    Example{"worked",
            {{5, 5}, {0, 3}, {9, 4}, {4, 9}, {6, 0}, {2, 7}, {8, 8}, {3, 1}},
            {{0, 3}, {9, 4}, {4, 9}, {2, 7}, {8, 8}, {6, 0}, {3, 1}},
            {{0, 0, 0}, {8, 0, 6}, {4, 1, 6}, {1, 0, 0}, {1, 0, 0}, {2, 0, 2}, {1, 0, 0}}},
    Example{"single", {{5, 7}}, {{5, 7}, {5, 7}}},
    Example{"pair", {{9, 1}, {2, 3}}, {{2, 3}, {9, 1}}},
    Example{"sloped_line", {{0, 0}, {3, 3}, {1, 1}, {2, 2}, {3, 3}}, {{0, 0}, {3, 3}}},
    Example{"point_on_edge",
            {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 10}},
            {{0, 0}, {10, 0}, {10, 10}, {0, 10}}},
    Example{"vertical_left_end", {{0, 5}, {0, 0}, {0, 10}, {10, 5}}, {{0, 5}, {10, 5}, {0, 10}, {0, 0}}},
    Example{"vertical_right_end",
            {{0, 5}, {10, 5}, {10, 0}, {10, 10}, {10, 7}},
            {{0, 5}, {10, 5}, {10, 10}, {10, 0}}},
    Example{"farthest_tie", {{0, 0}, {4, 0}, {1, 5}, {3, 5}, {2, 5}}, {{0, 0}, {4, 0}, {1, 5}, {3, 5}}},
    Example{"tie_middle_first",
            {{0, 0}, {4, 0}, {2, 5}, {1, 5}, {3, 5}},
            {{0, 0}, {4, 0}, {2, 5}, {1, 5}, {3, 5}}},
    Example{"duplicates", {{0, 0}, {5, 9}, {10, 0}, {5, 9}, {0, 0}, {5, 1}}, {{0, 0}, {10, 0}, {5, 9}}},
    // Points sharing one x keep their lowest and highest point.
    Example{"all_one_x", {{3, 5}, {3, 1}, {3, 9}, {3, 1}, {3, 9}}, {{3, 1}, {3, 9}}},
    Example{"one_x_pair", {{7, 8}, {7, 2}}, {{7, 2}, {7, 8}}},
    Example{"all_coincide", {{4, 4}, {4, 4}, {4, 4}}, {{4, 4}, {4, 4}}}};

INSTANTIATE_TEST_SUITE_P(Hull, KernelExample, ::testing::ValuesIn(Examples),
                         [](const auto& info) { return std::string(info.param.name); });
INSTANTIATE_TEST_SUITE_P(Hull, KernelExampleOnPath, ::testing::Combine(::testing::ValuesIn(Examples), BothPaths),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + pathName(std::get<1>(info.param));
                         });

// Point sets that stress ties, collinearity and duplicates, all exact in double.
Points makeSet(int kind, std::int32_t n, std::mt19937& rng)
{
    auto u = [&](int lo, int hi) { return float(std::uniform_int_distribution<int>(lo, hi)(rng)); };
    Points p(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        Point& q = p[std::size_t(i)];
        switch (kind) {
        case 0: q = {u(0, 999), u(0, 999)}; break;         // the program's own input
        case 1: q = {u(0, 6), u(0, 6)}; break;             // dense grid: ties everywhere
        case 2: q = {u(0, 1) * 40.0f, u(0, 999)}; break;   // two vertical lines
        case 3: { const float t = u(0, 300); q = {t, 2 * t + 1}; break; } // one sloped line
        case 4: q = {42.0f, u(0, 999)}; break;             // one vertical line
        case 5: { // collinear runs on the sides of a box, plus inside
            const float t = u(0, 20) * 5.0f;
            const int side = int(u(0, 4));
            q = side == 0 ? Point{t, 0} : side == 1 ? Point{100, t} : side == 2 ? Point{t, 100}
              : side == 3 ? Point{0, t} : Point{u(1, 99), u(1, 99)};
            break;
        }
        case 6: { // near a circle: many hull vertices and near-ties
            const double a = u(0, 3599) * 3.14159265358979 / 1800.0;
            q = {float(std::lround(500 + 480 * std::cos(a))), float(std::lround(500 + 480 * std::sin(a)))};
            break;
        }
        case 7: q = {u(-(1 << 22), 1 << 22), u(-(1 << 22), 1 << 22)}; break; // wide range
        default: q = {u(0, 60), u(-(1 << 20), 1 << 20)}; break; // steep: rays whose float keys tie
        }
    }
    return p;
}

TEST_P(EachPath, MatchesTheLiteralAlgorithmOnAdversarialSets)
{
    std::mt19937 rng(20261207);
    for (int kind = 0; kind <= 8; ++kind) {
        for (int trial = 0; trial < 60; ++trial) {
            const std::int32_t n = std::int32_t(std::uniform_int_distribution<int>(1, 400)(rng));
            const Points pts = makeSet(kind, n, rng);
            const Points expected = referenceHull(pts);
            const HullRun r = runHull(pts, GetParam());
            ASSERT_EQ(toXY(r.found.data(), std::int32_t(r.found.size())),
                      toXY(expected.data(), std::int32_t(expected.size())))
                << "kind " << kind << " trial " << trial;
            ASSERT_EQ(hullFailure(pts.data(), n, r.found.data(), std::int32_t(r.found.size()), r.outline.data()), "")
                << "kind " << kind << " trial " << trial;
        }
    }
}

// The outline order sorts in O(count log count) what the literal exchange
// sorts order in O(count^2): the very same order, from the kernel's entries
// and from any shuffle of them, on every family, at full capacity and on a
// hull of 4096 vertices.
TEST(Outline, OrdersExactlyAsTheExchangeSorts)
{
    std::mt19937 rng(20261209);
    const auto check = [&](const Points& found, const std::string& what) {
        const auto count = std::int32_t(found.size());
        const Points shuffled = [&] {
            Points s = found;
            std::shuffle(s.begin(), s.end(), rng);
            return s;
        }();
        for (const Points* entries : {&found, &shuffled}) {
            std::copy(entries->begin(), entries->end(), HullBuffer.begin());
            orderHullOutline(count);
            ASSERT_EQ(toXY(HullBuffer.data(), count), toXY(referenceOutline(*entries).data(), count)) << what;
        }
    };
    for (int kind = 0; kind <= 8; ++kind)
        for (int trial = 0; trial < 60; ++trial) {
            const std::int32_t n = std::int32_t(std::uniform_int_distribution<int>(1, 400)(rng));
            check(referenceHull(makeSet(kind, n, rng)), "kind " + std::to_string(kind) + " trial " + std::to_string(trial));
        }
    for (int kind : {0, 1, 6, 8}) check(referenceHull(makeSet(kind, PointCapacity, rng)), "full kind " + std::to_string(kind));
    Points convex;
    for (int i = 0; i < 2048; ++i) {
        convex.push_back({float(i), float(i * i)});
        convex.push_back({float(i) + 0.5f, float((1 << 23) - i * i)});
    }
    check(convex, "4096 vertices");
}

// What the steps must record besides the vertices: every point ruled out once
// and never a vertex; at each step the vertices, the points ruled out and the
// undecided points add up to n; the points a step rules out lie beyond its edge
// but inside the triangle of the edge and its vertex; the outline runs clockwise
// like orderHullOutline's. Returns the first broken property, or "".
std::string traceFailure(const Points& pts, const HullTrace& t, const Points& outline)
{
    const auto n = std::int32_t(pts.size());
    const auto turn = [&](std::int32_t a, std::int32_t b, std::int32_t p) {
        const Point &A = pts[std::size_t(a)], &B = pts[std::size_t(b)], &P = pts[std::size_t(p)];
        return (double(B.y) - P.y) * (double(A.x) - P.x) - (double(A.y) - P.y) * (double(B.x) - P.x);
    };
    const std::int32_t count = stepCount(t);
    // One step per vertex, but for a hull of one point: its step 1 finishes it.
    if (std::int32_t(t.steps.size()) != (count == 1 ? 2 : count)) return "not one step per vertex";
    std::vector<int> seen(pts.size(), 0);
    for (const std::int32_t i : t.ruledOut) ++seen[std::size_t(i)];
    for (std::int32_t j = 0; j < count; ++j) {
        const std::int32_t v = t.vertices[std::size_t(j)];
        if (seen[std::size_t(v)] != 0 && !(j == 1 && v == t.vertices[0]))
            return "vertex " + std::to_string(j) + " also ruled out or repeated";
        ++seen[std::size_t(v)];
    }
    for (std::int32_t i = 0; i < n; ++i)
        if (seen[std::size_t(i)] == 0) return "point " + std::to_string(i) + " never decided";

    if (t.steps[0].ruledEnd != 0 || t.steps[0].undecided != n || t.steps[0].examined != 0)
        return "step 0 decides something";
    if (n > 0 && t.steps[1].examined != n) return "step 1 examines not every point";
    for (std::int32_t j = 1; j < std::int32_t(t.steps.size()); ++j) {
        const HullStep& s = t.steps[std::size_t(j)];
        const std::int32_t distinct = std::min(j + 1, count);
        if (s.undecided + s.ruledEnd + distinct != n) return "step " + std::to_string(j) + " loses points";
        if (j < 2) continue;
        // A step examines a set that waited: its vertex, what it rules out, and its halves.
        const HullStep& before = t.steps[std::size_t(j - 1)];
        if (s.examined < 1 + s.ruledEnd - before.ruledEnd || s.examined > before.undecided)
            return "step " + std::to_string(j) + " examined " + std::to_string(s.examined) + " points";
        const std::int32_t a = t.vertices[std::size_t(s.edgeFrom)], b = t.vertices[std::size_t(s.edgeTo)];
        const std::int32_t v = t.vertices[std::size_t(j)];
        if (s.edgeFrom >= j || s.edgeTo >= j || turn(a, b, v) <= 0.0)
            return "step " + std::to_string(j) + " splits no earlier edge";
        for (std::int32_t k = t.steps[std::size_t(j - 1)].ruledEnd; k < s.ruledEnd; ++k) {
            const std::int32_t p = t.ruledOut[std::size_t(k)];
            if (turn(a, b, p) <= 0.0 || turn(a, v, p) > 0.0 || turn(v, b, p) > 0.0)
                return "step " + std::to_string(j) + " rules out a point outside its triangle";
        }
    }
    if (n > 0 && t.steps.back().undecided != 0) return "undecided points at the end";

    // Same cycle as the ordered outline, from the same start.
    XY cycle;
    for (const std::int32_t k : t.outline) {
        const Point& p = pts[std::size_t(t.vertices[std::size_t(k)])];
        cycle.emplace_back(p.x, p.y);
    }
    const XY expected = toXY(outline.data(), std::int32_t(outline.size()));
    const auto start = std::find(cycle.begin(), cycle.end(), expected.empty() ? std::pair{0.0f, 0.0f} : expected[0]);
    if (start != cycle.end()) std::rotate(cycle.begin(), start, cycle.end());
    if (count > 2 && cycle != expected) return "outline differs from the ordered one";
    return "";
}

// Over every family the kernel is tested on, the steps reveal exactly the
// entries of computeHull and of the portable path, into one reused trace that
// records what a fresh one does.
TEST(Steps, FollowTheKernelOnEveryFamily)
{
    std::mt19937 rng(20261208);
    HullTrace trace;
    const auto check = [&](const Points& pts, const std::string& what) {
        const auto n = std::int32_t(pts.size());
        HullTrace fresh;
        traceHull(pts.data(), n, fresh);
        traceHull(pts.data(), n, trace);
        ASSERT_EQ(fresh.vertices, trace.vertices) << what;
        ASSERT_EQ(fresh.ruledOut, trace.ruledOut) << what;
        ASSERT_EQ(fresh.steps.size(), trace.steps.size()) << what;
        for (std::size_t j = 0; j < trace.steps.size(); ++j) {
            const HullStep &p = fresh.steps[j], &v = trace.steps[j];
            ASSERT_EQ(std::tie(p.edgeFrom, p.edgeTo, p.ruledEnd, p.undecided, p.examined),
                      std::tie(v.edgeFrom, v.edgeTo, v.ruledEnd, v.undecided, v.examined))
                << what << ", step " << j;
        }
        XY revealed;
        for (const std::int32_t i : trace.vertices) revealed.emplace_back(pts[std::size_t(i)].x, pts[std::size_t(i)].y);
        const std::int32_t count = computeHull(pts.data(), n);
        ASSERT_EQ(revealed, asCounted(toXY(HullBuffer.data(), count))) << what << ", computeHull";
        const HullRun portable = runHull(pts, HullPath::Portable);
        ASSERT_EQ(revealed, asCounted(toXY(portable.found.data(), std::int32_t(portable.found.size()))))
            << what << ", portable";
        ASSERT_EQ(traceFailure(pts, trace, portable.outline), "") << what;
    };
    for (int kind = 0; kind <= 8; ++kind)
        for (int trial = 0; trial < 40; ++trial) {
            const std::int32_t n = std::int32_t(std::uniform_int_distribution<int>(1, 400)(rng));
            check(makeSet(kind, n, rng), "kind " + std::to_string(kind) + " trial " + std::to_string(trial));
        }
    for (int kind : {0, 1, 6}) check(makeSet(kind, PointCapacity, rng), "full kind " + std::to_string(kind));
    check({{5, 7}}, "n = 1");
    check({{9, 1}, {2, 3}}, "n = 2");
    check({{4, 4}, {4, 4}, {4, 4}}, "all coincide");
}

// ---- The four methods side by side ----

const HullMethod Methods[] = {HullMethod::Farthest, HullMethod::Jarvis, HullMethod::Graham, HullMethod::Andrew};

XY cornerXY(const Points& pts, const std::vector<std::int32_t>& corners)
{
    XY xy;
    for (const std::int32_t i : corners) xy.emplace_back(pts[std::size_t(i)].x, pts[std::size_t(i)].y);
    return xy;
}

// The corners a method's trace ends on.
std::vector<std::int32_t> cornersOf(HullMethod m, const MethodTraces& t)
{
    std::vector<std::int32_t> c;
    if (m == HullMethod::Farthest) hullCorners(t.farthest, c);
    if (m == HullMethod::Jarvis) hullCorners(t.jarvis, c);
    if (m == HullMethod::Graham) hullCorners(t.graham, c);
    if (m == HullMethod::Andrew) hullCorners(t.andrew, c);
    return c;
}

struct MethodExample {
    const char* name;
    XY input;
    MethodCounts counts[4]; // najdalja, jarvis, graham, andrew
};

// The counts of every method, followed by hand. The square with its centre
// and a point inside its lower edge: the wrap makes 4 steps of 6 tests;
// Graham sorts (2,0) (4,0) (2,2) (4,4) (0,4) about (0,0) in 6 tests, 2 of
// them ties on a ray decided by distance, then pops (2,0) and (2,2); the
// chain sorts (0,0) (0,4) (2,0) (2,2) (4,0) (4,4) in 10 comparisons and makes
// 5 steps each way.
TEST(Methods, CountTheirWorkAsByHand)
{
    const MethodExample examples[] = {
        {"square", {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {2, 2}, {2, 0}},
         {{4, 3, 8, 0}, {4, 4, 24, 0}, {4, 4, 11, 2}, {4, 10, 10, 10}}},
        {"pair", {{9, 1}, {2, 3}}, {{2, 1, 0, 0}, {2, 2, 4, 0}, {2, 0, 0, 0}, {2, 2, 0, 1}}},
        {"single", {{5, 7}}, {{1, 1, 0, 0}, {1, 1, 1, 0}, {1, 0, 0, 0}, {1, 0, 0, 0}}},
        // The kernel writes (2, 5), the first of the tied farthest, inside the
        // edge (1, 5)-(3, 5): a vertex, not a corner.
        {"tie_middle_first", {{0, 0}, {4, 0}, {2, 5}, {1, 5}, {3, 5}},
         {{4, 4, 7, 0}, {4, 4, 20, 0}, {4, 3, 9, 0}, {4, 8, 7, 9}}},
        {"none", {}, {{}, {}, {}, {}}},
    };
    MethodTraces traces;
    for (const MethodExample& e : examples)
        for (std::size_t m = 0; m < 4; ++m) {
            const Points pts = fromXY(e.input);
            EXPECT_EQ(traceMethod(Methods[m], pts.data(), std::int32_t(pts.size()), traces), e.counts[m])
                << e.name << " " << hullMethodName(Methods[m]);
        }
}

// What each stack step must record: its pops off the stack before it, its
// point on top, the point it was pushed on, a stack that turns strictly left
// throughout (the rule's promise), and tests that are its pops and at most
// the one that stopped them. Graham's order runs by angle about the pivot,
// the chain's by x, then y. Returns the first broken property, or "".
std::string stackFailure(const Points& pts, const StackTrace& t)
{
    const auto at = [&](std::int32_t i) -> const Point& { return pts[std::size_t(i)]; };
    for (std::size_t k = 1; k < t.order.size(); ++k) {
        const Point &a = at(t.order[k - 1]), &b = at(t.order[k]);
        const bool sorted = t.method == HullMethod::Graham
                              ? orientation(at(t.pivot), a, b) > 0.0
                                    || (orientation(at(t.pivot), a, b) == 0.0
                                        && std::fabs(a.x - at(t.pivot).x) + std::fabs(a.y - at(t.pivot).y)
                                               <= std::fabs(b.x - at(t.pivot).x) + std::fabs(b.y - at(t.pivot).y))
                              : std::pair{a.x, a.y} <= std::pair{b.x, b.y};
        if (!sorted) return "order breaks at " + std::to_string(k);
    }
    std::vector<std::int32_t> before, after, popped;
    stackAfter(t, 0, before);
    for (std::int32_t j = 1; j < std::int32_t(t.steps.size()); ++j) {
        const StackStep& s = t.steps[std::size_t(j)];
        const std::string step = "step " + std::to_string(j);
        stackAfter(t, j, after);
        poppedAt(t, j, popped);
        if (std::int32_t(after.size()) != s.depth || after.back() != s.point) return step + ": stack top or depth";
        if (s.depth != std::int32_t(before.size()) - s.popped + 1) return step + ": depth is not pushes less pops";
        if (!std::equal(before.rbegin(), before.rbegin() + s.popped, popped.begin())) return step + ": pops";
        if (pushedOn(t, j) != (s.depth > 1 ? after[after.size() - 2] : -1)) return step + ": pushed on";
        if (s.tests != s.popped && s.tests != s.popped + 1) return step + ": tests";
        if (t.method == HullMethod::Andrew && s.upper != (j >= std::int32_t(t.order.size()))) return step + ": chain";
        if (s.tests == s.popped + 1
            && orientation(at(after[after.size() - 3]), at(after[after.size() - 2]), at(s.point)) <= 0.0)
            return step + ": pushed where the stack does not turn left";
        before.swap(after);
    }
    return "";
}

// Every method finds exactly the corners of the literal farthest-point hull,
// counter-clockwise from the lowest, on every family: random, grid, vertical
// and sloped lines, sides of a box, circle, wide and steep ranges, copies,
// one and two points. The wrap's steps and the final stacks are the corners
// themselves, but for copies of a single place.
TEST(Methods, FindTheSameCornersOnEveryFamily)
{
    std::mt19937 rng(20261210);
    MethodTraces traces;
    const auto check = [&](const Points& pts, const std::string& what) {
        const auto n = std::int32_t(pts.size());
        const Points reference = referenceCorners(referenceOutline(referenceHull(pts)));
        const XY expected = toXY(reference.data(), std::int32_t(reference.size()));
        for (const HullMethod m : Methods) {
            const MethodCounts counts = traceMethod(m, pts.data(), n, traces);
            const std::vector<std::int32_t> corners = cornersOf(m, traces);
            ASSERT_EQ(cornerXY(pts, corners), expected) << what << ", " << hullMethodName(m);
            ASSERT_EQ(counts.corners, std::int32_t(expected.size())) << what << ", " << hullMethodName(m);
        }
        const bool onePlace = expected.size() == 1;
        const JarvisTrace& j = traces.jarvis;
        ASSERT_TRUE(j.closed) << what;
        ASSERT_EQ(j.steps.size(), expected.size() + 1) << what;
        for (std::size_t k = 1; k < j.steps.size(); ++k) {
            const JarvisStep& s = j.steps[k];
            ASSERT_EQ(s.from, j.steps[k - 1].to) << what;
            const Point &from = pts[std::size_t(s.from)], &to = pts[std::size_t(s.to)];
            const auto along = [&](const Point& p) { return std::fabs(p.x - from.x) + std::fabs(p.y - from.y); };
            for (const Point& p : pts) { // all left of the edge or on it, none on its line beyond it
                const double turn = orientation(from, to, p);
                ASSERT_TRUE(turn > 0.0 || (turn == 0.0 && along(p) <= along(to))) << what << ", wrap step " << k;
            }
        }
        for (const StackTrace* t : {&traces.graham, &traces.andrew}) {
            ASSERT_EQ(stackFailure(pts, *t), "") << what << ", " << hullMethodName(t->method);
            const std::size_t steps = t->method == HullMethod::Graham ? std::size_t(std::max(n - 2, 0)) : std::size_t(2 * (n - 1));
            ASSERT_EQ(t->steps.size(), steps + 1) << what;
            const std::size_t closing = t->method == HullMethod::Andrew && n > 1;
            if (!onePlace) {
                ASSERT_EQ(std::size_t(t->steps.back().depth), expected.size() + closing) << what;
            }
        }
    };
    for (int kind = 0; kind <= 8; ++kind)
        for (int trial = 0; trial < 30; ++trial) {
            const std::int32_t n = std::int32_t(std::uniform_int_distribution<int>(1, 300)(rng));
            check(makeSet(kind, n, rng), "kind " + std::to_string(kind) + " trial " + std::to_string(trial));
        }
    for (int trial = 0; trial < 30; ++trial) { // a few places, each many times
        const Points few = makeSet(trial % 9, 1 + trial % 5, rng);
        Points copies;
        for (int k = 0; k < 60; ++k) copies.push_back(few[std::size_t(rng() % few.size())]);
        check(copies, "copies trial " + std::to_string(trial));
    }
    for (int kind : {0, 6}) check(makeSet(kind, PointCapacity, rng), "full kind " + std::to_string(kind));
    check({{5, 7}}, "one point");
    check({{9, 1}, {2, 3}}, "two points");
    check({{3, 3}, {3, 3}}, "one place twice");
    check({{0, 5}, {0, 0}, {0, 10}, {10, 5}}, "L inside the left edge");
}

TEST_P(EachPath, FullCapacityInputs)
{
    std::mt19937 rng(7);
    // 10000 random program points, and 4096 points all in convex position (two
    // parabola arcs, every coordinate exact in float), each one a vertex.
    Points convex;
    for (int i = 0; i < 2048; ++i) {
        convex.push_back({float(i), float(i * i)});
        convex.push_back({float(i) + 0.5f, float((1 << 23) - i * i)});
    }
    EXPECT_EQ(runHull(convex, GetParam()).found.size(), convex.size());
    for (const Points& pts : {makeSet(0, PointCapacity, rng), makeSet(1, PointCapacity, rng), convex}) {
        const HullRun r = runHull(pts, GetParam());
        const Points expected = referenceHull(pts);
        ASSERT_EQ(r.found.size(), expected.size());
        EXPECT_EQ(toXY(r.found.data(), std::int32_t(r.found.size())),
                  toXY(expected.data(), std::int32_t(expected.size())));
        EXPECT_EQ(hullFailure(pts.data(), std::int32_t(pts.size()), r.found.data(),
                              std::int32_t(r.found.size()), r.outline.data()),
                  "");
    }
}

// n <= 4096 points in convex position, every one a vertex (a parabola arc and its
// mirror, every coordinate and orientation exact), in a shuffled order.
Points convexRing(std::int32_t n, std::mt19937& rng)
{
    Points p;
    for (std::int32_t i = 0; i < n; ++i) {
        const float t = float(i / 2);
        p.push_back(i % 2 == 0 ? Point{t, t * t} : Point{t + 0.5f, float(1 << 23) - t * t});
    }
    std::shuffle(p.begin(), p.end(), rng);
    return p;
}

// Every set size around the point where sets are split by member bits instead of
// being moved: all points vertices, and the same points with each one doubled.
TEST_P(EachPath, MatchesTheLiteralAlgorithmAroundTheSmallSetSize)
{
    std::mt19937 rng(16);
    for (std::int32_t n = 1; n <= 80; ++n) {
        const Points ring = convexRing(n, rng);
        Points doubled = ring;
        doubled.insert(doubled.end(), ring.begin(), ring.end());
        for (const Points& pts : {ring, doubled}) {
            const Points expected = referenceHull(pts);
            ASSERT_EQ(toXY(runHull(pts, GetParam()).found.data(), std::int32_t(expected.size())),
                      toXY(expected.data(), std::int32_t(expected.size())))
                << "n " << n << " points " << pts.size();
        }
    }
}

// Beyond PointCapacity the kernel sees only the first PointCapacity points: it
// reads no further and its fixed scratch never overflows.
TEST_P(EachPath, CountsBeyondCapacityTakeTheFirstPointCapacity)
{
    std::mt19937 rng(5);
    Points pts = makeSet(0, PointCapacity, rng);
    const Points expected = referenceHull(pts);
    pts.insert(pts.end(), 50, Point{5000, 5000});
    pts.insert(pts.end(), 50, Point{-5000, 100});
    const std::int32_t count = computeHullOn(GetParam(), pts.data(), std::int32_t(pts.size()));
    EXPECT_EQ(toXY(HullBuffer.data(), count), toXY(expected.data(), std::int32_t(expected.size())));
}

// The program times one computeHull, the first and only of its run: once
// the program's start-up has run, that call must not fault a page of the kernel's
// memory in.
// (ctest runs every case in a process of its own, so nothing ran before.)
TEST(Hull, PreparedFirstCallFaultsNoPageIn)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer faults its shadow memory in as it checks";
#else
    HullBuffer[7] = {1, 2, 3, 4};
    const std::array<Point, PointCapacity> before = HullBuffer;
    prepareTimedRun();
    EXPECT_EQ(std::memcmp(before.data(), HullBuffer.data(), sizeof before), 0) << "start-up changed HullBuffer";

    // Code first, on a few points that take every pass; then the large set, whose
    // sets and stack reach into pages the small one never touched.
    const auto minorFaults = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    };
    std::mt19937 rng(3);
    const Points few = convexRing(200, rng);
    const Points many = convexRing(4096, rng);
    computeHullOn(fastestHullPath(), few.data(), std::int32_t(few.size()));
    const long faults = minorFaults();
    const std::int32_t count = computeHullOn(fastestHullPath(), many.data(), std::int32_t(many.size()));
    EXPECT_EQ(minorFaults() - faults, 0);
    EXPECT_EQ(count, 4096);
#endif
}

struct SurelyCase {
    const char* name;
    float ax, ay, bx, by, cx, cy;
    bool expected;
};

TEST(Hull, SurelyLeftOrOnIsNeverWrongAndOnlyUnsureNearTheLine)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const SurelyCase cases[] = {
        {"left", 0, 0, 10, 0, 5, 1, true},
        {"right", 0, 0, 10, 0, 5, -1, false},
        {"on_an_axis_parallel_line", 0, 0, 10, 0, 5, 0, true}, // both products exactly 0
        {"on_a_sloped_line", 0, 0, 10, 10, 5, 5, false},       // within the margin: not sure
        {"at_the_start", 0, 0, 10, 0, 0, 0, true},
        {"at_the_end", 0, 0, 10, 0, 10, 0, true},
        {"edge_of_no_length", 3, 4, 3, 4, -7, 100, true}, // constrains nothing
        {"just_left_of_a_long_edge", 0, 0, 1e7f, 1, 5e6f, 1, true},
        {"nan", 0, 0, 10, 0, nan, 1, false},
    };
    for (const SurelyCase& c : cases)
        EXPECT_EQ(surelyLeftOrOn(c.ax, c.ay, c.bx, c.by, c.cx, c.cy), c.expected) << c.name;
}

// The interior box exists and lies inside the hull also when two of the six
// extremes are one point, as the rightmost point often is also the one with the
// largest x - y; such a hexagon has an edge of no length. Either path finds the
// very box the portable one does.
TEST_P(EachPath, InteriorBoxSurvivesCoincidingExtremes)
{
    const std::pair<const char*, XY> cases[] = {
        {"right_is_max_x_minus_y", {{0, 794}, {84, 74}, {994, 147}, {903, 889}, {4, 841}, {500, 500}, {300, 600}}},
        {"left_is_min_x_plus_y", {{0, 0}, {900, 50}, {990, 500}, {950, 950}, {40, 960}, {500, 500}}},
        {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}}},
    };
    for (const auto& [name, xy] : cases) {
        const Points pts = fromXY(xy);
        const auto n = std::int32_t(pts.size());
        Extremes e;
        scanExtremes(pts.data(), n, e);
        const InteriorBox box = interiorBox(passesFor(GetParam()), pts.data(), e);
        ASSERT_TRUE(box.x1 < box.x2 && box.y1 < box.y2) << name;
        const InteriorBox portable = interiorBox(passesFor(HullPath::Portable), pts.data(), e);
        EXPECT_TRUE(std::memcmp(&box, &portable, sizeof box) == 0) << name;
        const HullRun hull = runHull(pts, HullPath::Portable);
        const Point corners[] = {{box.x1, box.y1}, {box.x2, box.y1}, {box.x2, box.y2}, {box.x1, box.y2}};
        for (std::size_t k = 0; k < hull.outline.size(); ++k)
            for (const Point& c : corners) // clockwise outline: inside is right of every edge
                EXPECT_LE(orientation(hull.outline[k], hull.outline[(k + 1) % hull.outline.size()], c), 0.0) << name;
    }
}

// The paths must prove the same boxes inside, bit for bit, or they would filter
// different points on input whose arithmetic rounds: random hexagons and boxes,
// some coordinates not numbers or infinite.
TEST(Hull, BothPathsProveTheSameBoxesInside)
{
    if (!avx2Runs()) GTEST_SKIP() << NoAvx2;
    std::mt19937 rng(61);
    const float special[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -0.0f,
                             3e38f, 1e-30f};
    std::int32_t inside = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        Points pts = makeSet(trial % 9, 10, rng);
        if (trial % 7 == 0) pts[std::size_t(trial % 6)].y = special[trial % 5];
        const Point* const hex[6] = {&pts[0], &pts[1], &pts[2], &pts[3], &pts[4], &pts[5]};
        const auto [x1, x2] = std::minmax(pts[6].x, pts[7].x);
        const auto [y1, y2] = std::minmax(pts[8].y, pts[9].y);
        const InteriorBox box{x1, x2, y1, y2};
        const bool portable = passesFor(HullPath::Portable).boxInside(hex, box);
        ASSERT_EQ(portable, passesFor(HullPath::Avx2).boxInside(hex, box)) << "trial " << trial;
        inside += portable;
    }
    EXPECT_GT(inside, 0); // the trials reach both answers
}

TEST(Hull, CopiesWholePoints)
{
    const Points pts{{1, 1, 7.5f, 3}, {9, 2, -2.0f, 5}, {4, 8, 0.25f, 1}};
    const HullRun r = runHull(pts, fastestHullPath());
    ASSERT_EQ(r.found.size(), 3u);
    EXPECT_EQ(r.found[0].z, 7.5f);
    EXPECT_EQ(r.found[0].color, 3);
    EXPECT_EQ(r.found[2].z, 0.25f);
    EXPECT_EQ(r.found[2].color, 1);
}

TEST(Hull, CountsOutsideTheRangeWriteNothing)
{
    HullBuffer[0] = {123, 456};
    const Point p{1, 2};
    EXPECT_EQ(computeHull(&p, 0), 0);
    EXPECT_EQ(computeHull(&p, -5), 0);
    EXPECT_EQ(HullBuffer[0].x, 123.0f);
}

// Coordinates whose arithmetic rounds, overflows or is not a number: the kernel
// must still end, stay inside its buffers and write only input points.
TEST_P(EachPath, SurvivesAnyCoordinates)
{
    std::mt19937 rng(99);
    const float special[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                             -std::numeric_limits<float>::infinity(), std::numeric_limits<float>::max(),
                             -std::numeric_limits<float>::max(), 1e-38f, -0.0f, 3e37f, 1.0f};
    for (int trial = 0; trial < 300; ++trial) {
        const std::int32_t n = std::int32_t(std::uniform_int_distribution<int>(1, 200)(rng));
        Points pts(static_cast<std::size_t>(n));
        for (Point& p : pts) {
            auto pick = [&]() -> float {
                const int k = std::uniform_int_distribution<int>(0, 3)(rng);
                if (k == 0) return special[std::uniform_int_distribution<int>(0, 8)(rng)];
                const float mag = std::pow(10.0f, float(std::uniform_int_distribution<int>(-30, 30)(rng)));
                return std::uniform_real_distribution<float>(-1.0f, 1.0f)(rng) * mag;
            };
            p = {pick(), pick()};
        }
        const HullRun r = runHull(pts, GetParam());
        ASSERT_GE(r.found.size(), 2u);
        ASSERT_LE(r.found.size(), std::size_t(std::max(n, 2)));
        for (const Point& h : r.found) {
            bool match = false;
            for (std::size_t i = 0; i < pts.size() && !match; ++i)
                match = std::memcmp(&pts[i], &h, sizeof(Point)) == 0;
            ASSERT_TRUE(match) << "trial " << trial;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Hull, EachPath, BothPaths, [](const auto& info) { return std::string(pathName(info.param)); });

} // namespace
