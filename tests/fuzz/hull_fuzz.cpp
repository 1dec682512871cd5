// computeHull and orderHullOutline on arbitrary points; computeHull's own path
// (AVX2 where the processor has it) is raced against the portable one.
//
// Byte 0 picks the mode, then every 8 bytes make one point (at most MaxPoints).
// Raw mode (bit 0 set) takes the bytes as float bit patterns: NaN, infinities,
// subnormals and huge values, where only safety is promised. Whole mode takes
// them as integers folded into [-span, span], span = 2^(bits 1..5 of byte 0,
// at most 20): small spans crowd the points into duplicates and collinear runs,
// and there the result must equal the reference transcription entry for entry
// and pass the hull property checks, the outline order must equal the
// reference's, and the window's steps must reveal the kernel's entries; the
// other three methods (gift wrapping, Graham's scan, the monotone chain) and
// the farthest-point steps must all end on exactly the corners of the
// reference's hull.
//
// Safety, in both modes: the kernel returns, 2 <= count <= max(n, 2), every
// entry is a whole copy of an input point and none is written twice (but for a
// two-entry answer), nothing beyond the count and nothing of the input changes,
// and the outline order only permutes what the kernel wrote; the steps of all
// four methods end and name input points only. The input sits in a heap block of exactly n points,
// so AddressSanitizer sees any read beyond it.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hull.hpp"
#include "hull_checks.hpp"
#include "hull_reference.hpp"
#include "methods.hpp"
#include "steps.hpp"

namespace {

constexpr std::int32_t MaxPoints = 2000;
constexpr int WidestSpanBits = 20;

void require(bool ok, const char* what)
{
    if (ok) return;
    std::fprintf(stderr, "hull: %s\n", what);
    std::abort();
}

bool sameBits(const Point& a, const Point& b) { return std::memcmp(&a, &b, sizeof(Point)) == 0; }

std::uint64_t xyBits(const Point& p)
{
    std::uint32_t x = 0, y = 0;
    std::memcpy(&x, &p.x, sizeof x);
    std::memcpy(&y, &p.y, sizeof y);
    return std::uint64_t(x) << 32 | y;
}

// Entries the kernel must not touch carry this pattern beforehand.
Point sentinel()
{
    Point p;
    std::memset(&p, 0xA5, sizeof p);
    return p;
}

bool restUntouched(std::int32_t count)
{
    const Point s = sentinel();
    for (std::int32_t i = count; i < PointCapacity; ++i)
        if (!sameBits(HullBuffer[std::size_t(i)], s)) return false;
    return true;
}

std::vector<std::uint64_t> sortedXy(std::int32_t count)
{
    std::vector<std::uint64_t> v;
    for (std::int32_t i = 0; i < count; ++i) v.push_back(xyBits(HullBuffer[std::size_t(i)]));
    std::sort(v.begin(), v.end());
    return v;
}

bool names(std::int32_t i, std::int32_t n) { return i >= 0 && i < n; }

// What a stack scan promises on any input: Graham's order holds every point
// but the pivot, the chain's every point; each push lies on an earlier one;
// each step pops no more than the stack held and pushes the point it takes.
void requireStackTrace(const StackTrace& t, std::int32_t n)
{
    const bool graham = t.method == HullMethod::Graham;
    require(std::int32_t(t.order.size()) == n - graham, "a sorted order is not every point");
    std::vector<bool> inOrder(static_cast<std::size_t>(n), false);
    for (const std::int32_t i : t.order) {
        require(names(i, n) && !inOrder[std::size_t(i)] && i != t.pivot, "a sorted order repeats or loses a point");
        inOrder[std::size_t(i)] = true;
    }
    for (std::size_t k = 0; k < t.pushes.size(); ++k)
        require(names(t.pushes[k].point, n) && t.pushes[k].under < std::int32_t(k), "a push names no point or lies on a later one");
    const std::int32_t steps = graham ? std::max(n - 2, 0) : 2 * (n - 1);
    require(std::int32_t(t.steps.size()) == steps + 1, "a stack scan makes another number of steps");
    for (std::size_t k = 1; k < t.steps.size(); ++k) {
        const StackStep& s = t.steps[k];
        require(s.popped >= 0 && s.popped < t.steps[k - 1].depth && s.depth == t.steps[k - 1].depth - s.popped + 1
                    && t.pushes[std::size_t(s.push)].point == s.point,
                "a stack step pops or pushes what the stack does not hold");
    }
}

// The corners a trace ends on, as point bits, against the reference's.
void requireCorners(const std::vector<Point>& points, const std::vector<std::int32_t>& corners,
                    const std::vector<Point>& expected, const char* what)
{
    bool same = corners.size() == expected.size();
    for (std::size_t k = 0; same && k < corners.size(); ++k)
        same = points[std::size_t(corners[k])].x == expected[k].x && points[std::size_t(corners[k])].y == expected[k].y;
    if (!same) std::fprintf(stderr, "hull: %s\n", what);
    require(same, "a method's corners differ from the reference's");
}

float wholeCoordinate(std::uint32_t raw, std::int64_t span)
{
    return float(std::int64_t(raw % std::uint64_t(2 * span + 1)) - span);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1 + 8) return 0;
    const std::uint8_t mode = data[0];
    const bool raw = (mode & 1) != 0;
    const std::int64_t span = std::int64_t(1) << std::min((mode >> 1) & 31, WidestSpanBits);
    const auto n = std::int32_t(std::min<std::size_t>((size - 1) / 8, MaxPoints));

    // z and colour name the point's index, so each entry can be traced to its source.
    std::vector<Point> points(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) {
        std::uint32_t x = 0, y = 0;
        std::memcpy(&x, data + 1 + 8 * i, 4);
        std::memcpy(&y, data + 1 + 8 * i + 4, 4);
        Point& p = points[std::size_t(i)];
        if (raw) {
            std::memcpy(&p.x, &x, 4);
            std::memcpy(&p.y, &y, 4);
        } else {
            p.x = wholeCoordinate(x, span);
            p.y = wholeCoordinate(y, span);
        }
        p.z = float(i);
        p.color = i;
    }
    const std::vector<Point> before = points;

    // Both paths of the kernel must write the very same bits, NaN included.
    std::fill(HullBuffer.begin(), HullBuffer.end(), sentinel());
    const std::int32_t portable = computeHullOn(HullPath::Portable, points.data(), n);
    const std::vector<Point> portableBuffer(HullBuffer.begin(), HullBuffer.end());
    std::fill(HullBuffer.begin(), HullBuffer.end(), sentinel());
    const std::int32_t count = computeHull(points.data(), n);
    require(count == portable, "paths disagree on the count");
    require(std::memcmp(HullBuffer.data(), portableBuffer.data(), sizeof(Point) * PointCapacity) == 0,
            "paths disagree on an entry");

    require(count >= 2 && count <= std::max(n, 2), "count out of range");
    require(restUntouched(count), "an entry beyond the count was written");
    require(std::memcmp(points.data(), before.data(), sizeof(Point) * std::size_t(n)) == 0, "input changed");
    std::vector<bool> seen(static_cast<std::size_t>(n), false);
    for (std::int32_t k = 0; k < count; ++k) {
        const Point& e = HullBuffer[std::size_t(k)];
        require(e.color >= 0 && e.color < n && sameBits(e, points[std::size_t(e.color)]),
                "an entry is not a whole input point");
        require(!seen[std::size_t(e.color)] || count == 2, "a point is written twice");
        seen[std::size_t(e.color)] = true;
    }
    const std::vector<Point> found(HullBuffer.begin(), HullBuffer.begin() + count);
    const std::vector<std::uint64_t> foundXy = sortedXy(count);

    // The window's steps end on any input and name input points only; on whole
    // coordinates they reveal exactly the kernel's entries, but for one place
    // the kernel lists twice, which the steps count once.
    static HullTrace trace;
    traceHull(points.data(), n, trace);
    require(stepCount(trace) >= 1 && stepCount(trace) <= std::max(n, 2), "step count out of range");
    for (const std::int32_t v : trace.vertices) require(v >= 0 && v < n, "a step names no input point");
    if (!raw) {
        const bool onePlace = count == 2 && found[0].x == found[1].x && found[0].y == found[1].y;
        require(stepCount(trace) == (onePlace ? 1 : count), "steps and kernel differ on the count");
        for (std::int32_t k = 0; k < stepCount(trace); ++k)
            require(sameBits(points[std::size_t(trace.vertices[std::size_t(k)])], found[std::size_t(k)]),
                    "a step reveals another entry than the kernel");
    }

    // The other methods: every named point an input point, and the wrap
    // never longer than one step per point.
    static MethodTraces methods;
    traceJarvis(points.data(), n, methods.jarvis);
    traceGraham(points.data(), n, methods.graham);
    traceAndrew(points.data(), n, methods.andrew);
    const JarvisTrace& wrap = methods.jarvis;
    require(wrap.steps.size() >= 2 && std::int32_t(wrap.steps.size()) <= n + 1, "the wrap makes too many steps");
    for (std::size_t k = 1; k < wrap.steps.size(); ++k)
        require(names(wrap.steps[k].from, n) && names(wrap.steps[k].to, n) && wrap.steps[k].from == wrap.steps[k - 1].to,
                "a wrap step names no input point or does not go on from the last");
    requireStackTrace(methods.graham, n);
    requireStackTrace(methods.andrew, n);

    orderHullOutline(count);

    require(restUntouched(count), "ordering wrote beyond the count");
    require(sortedXy(count) == foundXy, "ordering is not a permutation");

    if (!raw) {
        const std::vector<Point> expected = referenceHull(points);
        require(expected.size() == found.size(), "count differs from the reference");
        for (std::size_t k = 0; k < found.size(); ++k)
            require(sameBits(found[k], expected[k]), "entry differs from the reference");
        const std::vector<Point> outline = referenceOutline(found);
        for (std::int32_t k = 0; k < count; ++k)
            require(sameBits(HullBuffer[std::size_t(k)], outline[std::size_t(k)]), "outline differs from the reference");
        const std::string failure = hullFailure(points.data(), n, found.data(), count, HullBuffer.data());
        if (!failure.empty()) std::fprintf(stderr, "hull: %s\n", failure.c_str());
        require(failure.empty(), "a hull property is broken");

        const std::vector<Point> corners = referenceCorners(outline);
        std::vector<std::int32_t> traced;
        hullCorners(trace, traced);
        requireCorners(points, traced, corners, "najdalja");
        hullCorners(methods.jarvis, traced);
        requireCorners(points, traced, corners, "jarvis");
        require(methods.jarvis.closed, "the wrap does not come back to its start");
        hullCorners(methods.graham, traced);
        requireCorners(points, traced, corners, "graham");
        hullCorners(methods.andrew, traced);
        requireCorners(points, traced, corners, "andrew");
    }
    return 0;
}
