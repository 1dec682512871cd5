// The four methods side by side: their names, the stacks of the stack scans
// step by step, and the one measure of corners and work that every trace gives.

#include "methods.hpp"

#include <algorithm>

#include "predicates.hpp"

namespace {

bool samePlace(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }

// Lowest, then leftmost: where every corner list starts.
bool lowerLeft(const Point& a, const Point& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); }

// The corners of a closed outline given counter-clockwise as input indices
// (cycle, consumed), into out: copies of the point before dropped, then every
// point whose neighbours and it do not turn (inside an edge), then the list
// turned to start at the lowest, of several the leftmost. A convex outline
// stays convex as its straight points go, so each is judged by its
// neighbours in the list with the copies gone. All on one line keeps its two
// ends, lowest-leftmost first.
void cornersOfCycle(const std::vector<Point>& points, std::vector<std::int32_t>& cycle, std::vector<std::int32_t>& out)
{
    out.clear();
    const auto at = [&](std::int32_t i) -> const Point& { return points[std::size_t(i)]; };
    std::vector<std::int32_t> distinct;
    for (const std::int32_t i : cycle)
        if (distinct.empty() || !samePlace(at(distinct.back()), at(i))) distinct.push_back(i);
    while (distinct.size() > 1 && samePlace(at(distinct.back()), at(distinct.front()))) distinct.pop_back();

    const std::size_t m = distinct.size();
    if (m <= 2) {
        out = distinct;
    } else {
        for (std::size_t k = 0; k < m; ++k) {
            const Point& before = at(distinct[(k + m - 1) % m]);
            const Point& next = at(distinct[(k + 1) % m]);
            if (orientation(before, at(distinct[k]), next) != 0.0) out.push_back(distinct[k]);
        }
        if (out.empty()) { // a segment traced there and back: its two ends
            const auto [low, high] = std::minmax_element(distinct.begin(), distinct.end(), [&](std::int32_t a, std::int32_t b) {
                return lowerLeft(at(a), at(b));
            });
            out = {*low, *high};
        }
    }
    const auto first = std::min_element(out.begin(), out.end(), [&](std::int32_t a, std::int32_t b) {
        return lowerLeft(at(a), at(b));
    });
    std::rotate(out.begin(), first, out.end());
}

} // namespace

std::optional<HullMethod> hullMethodNamed(std::string_view name)
{
    for (const HullMethodName& m : HullMethods)
        if (name == m.name) return m.method;
    return std::nullopt;
}

const char* hullMethodName(HullMethod method)
{
    for (const HullMethodName& m : HullMethods)
        if (m.method == method) return m.name;
    return "";
}

std::string countsLine(HullMethod method, const MethodCounts& c)
{
    return std::string(hullMethodName(method)) + ": temena " + std::to_string(c.corners) + ", koraka "
         + std::to_string(c.steps) + ", testova orijentacije " + std::to_string(c.orientationTests) + ", poredjenja "
         + std::to_string(c.comparisons);
}

void stackAfter(const StackTrace& t, std::int32_t step, std::vector<std::int32_t>& out)
{
    out.clear();
    for (std::int32_t k = t.steps[std::size_t(step)].push; k >= 0; k = t.pushes[std::size_t(k)].under)
        out.push_back(t.pushes[std::size_t(k)].point);
    std::reverse(out.begin(), out.end());
}

void poppedAt(const StackTrace& t, std::int32_t step, std::vector<std::int32_t>& out)
{
    out.clear();
    if (step < 1) return;
    std::int32_t k = t.steps[std::size_t(step - 1)].push;
    for (std::int32_t i = 0; i < t.steps[std::size_t(step)].popped; ++i, k = t.pushes[std::size_t(k)].under)
        out.push_back(t.pushes[std::size_t(k)].point);
}

std::int32_t pushedOn(const StackTrace& t, std::int32_t step)
{
    const std::int32_t push = t.steps[std::size_t(step)].push;
    if (push < 0) return -1;
    const std::int32_t under = t.pushes[std::size_t(push)].under;
    return under < 0 ? -1 : t.pushes[std::size_t(under)].point;
}

void hullCorners(const HullTrace& t, std::vector<std::int32_t>& out)
{
    // The outline runs clockwise; backwards it runs counter-clockwise.
    std::vector<std::int32_t> cycle;
    for (auto k = t.outline.rbegin(); k != t.outline.rend(); ++k) cycle.push_back(t.vertices[std::size_t(*k)]);
    cornersOfCycle(t.points, cycle, out);
}

void hullCorners(const JarvisTrace& t, std::vector<std::int32_t>& out)
{
    std::vector<std::int32_t> cycle;
    for (const JarvisStep& s : t.steps) cycle.push_back(s.to);
    cornersOfCycle(t.points, cycle, out);
}

void hullCorners(const StackTrace& t, std::vector<std::int32_t>& out)
{
    std::vector<std::int32_t> cycle;
    if (!t.steps.empty()) stackAfter(t, std::int32_t(t.steps.size() - 1), cycle);
    // The chain's upper half ends on its first point again.
    if (t.method == HullMethod::Andrew && cycle.size() > 1) cycle.pop_back();
    cornersOfCycle(t.points, cycle, out);
}

namespace {

// The counts of a finished trace whose orientation tests and comparisons are given.
template <class Trace>
MethodCounts countsWith(const Trace& t, std::int64_t tests, std::int64_t comparisons)
{
    std::vector<std::int32_t> corners;
    hullCorners(t, corners);
    return {std::int32_t(corners.size()), std::int32_t(std::max<std::size_t>(t.steps.size(), 1) - 1), tests,
            comparisons};
}

template <class Steps>
std::int64_t testsOf(const Steps& steps)
{
    std::int64_t tests = 0;
    for (const auto& s : steps) tests += s.tests;
    return tests;
}

} // namespace

MethodCounts countsOf(const HullTrace& t) { return countsWith(t, testsOf(t.steps), 0); }

MethodCounts countsOf(const JarvisTrace& t) { return countsWith(t, testsOf(t.steps), 0); }

MethodCounts countsOf(const StackTrace& t)
{
    return countsWith(t, t.sortTests + testsOf(t.steps), t.sortComparisons);
}

MethodCounts traceMethod(HullMethod method, const Point* points, std::int32_t n, MethodTraces& traces)
{
    switch (method) {
    case HullMethod::Farthest:
        traceHull(points, n, traces.farthest);
        return countsOf(traces.farthest);
    case HullMethod::Jarvis:
        traceJarvis(points, n, traces.jarvis);
        return countsOf(traces.jarvis);
    case HullMethod::Graham:
        traceGraham(points, n, traces.graham);
        return countsOf(traces.graham);
    case HullMethod::Andrew:
        traceAndrew(points, n, traces.andrew);
        return countsOf(traces.andrew);
    }
    return {};
}
