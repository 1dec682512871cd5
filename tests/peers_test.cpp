// The benchmark's inputs are what they claim to be, and every other hull
// library agrees with computeHull on them: the kernel is checked against
// independent implementations, and the race is run on one and the same answer.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "hull.hpp"
#include "inputs.hpp"
#include "peers.hpp"

namespace {

using Coordinates = std::pair<double, double>;

std::set<Coordinates> coordinateSet(const Point* points, std::int32_t n)
{
    std::set<Coordinates> s;
    for (std::int32_t i = 0; i < n; ++i) s.insert({points[i].x, points[i].y});
    return s;
}

bench::Input smallGridInput(std::int32_t n, int span, unsigned seed)
{
    bench::Input in;
    in.n = n;
    std::srand(seed);
    for (std::int32_t i = 0; i < n; ++i) {
        in.points[std::size_t(i)].x = float(std::rand() % span);
        in.points[std::size_t(i)].y = float(std::rand() % span);
    }
    return in;
}

double turn(const Coordinates& a, const Coordinates& b, const Coordinates& p)
{
    return (b.first - a.first) * (p.second - a.second) - (b.second - a.second) * (p.first - a.first);
}

// True when p lies on a segment between two corners that has every corner on
// one side: on the outline of the hull, though not at a corner. Exact for the
// whole-number coordinates it is used on.
bool onOutline(const std::set<Coordinates>& corners, const Coordinates& p)
{
    for (const Coordinates& a : corners) {
        for (const Coordinates& b : corners) {
            if (!(a < b) || turn(a, b, p) != 0.0) continue;
            const double along = (p.first - a.first) * (b.first - a.first) + (p.second - a.second) * (b.second - a.second);
            const double length = (b.first - a.first) * (b.first - a.first) + (b.second - a.second) * (b.second - a.second);
            if (along < 0.0 || along > length) continue;
            bool left = false, right = false;
            for (const Coordinates& c : corners) {
                left = left || turn(a, b, c) > 0.0;
                right = right || turn(a, b, c) < 0.0;
            }
            if (!(left && right)) return true;
        }
    }
    return false;
}

// A library reports the corners of the hull only. The kernel writes those too,
// and may write points on an edge between them: L and R always, and a point
// that ties with a corner for the farthest from an edge and comes earlier.
void expectAgreement(const bench::PeerKind& kind, const bench::Input& in)
{
    SCOPED_TRACE(kind.name);
    const std::int32_t count = computeHull(in.points.data(), in.n);
    const std::set<Coordinates> kernel = coordinateSet(HullBuffer.data(), count);
    ASSERT_EQ(kernel.size(), std::size_t(count)) << "no vertex is written twice";

    const auto peer = kind.make();
    peer->load(in.points.data(), in.n);
    const std::size_t peerCount = peer->run();
    std::set<Coordinates> corners;
    for (const bench::Vertex& v : peer->vertices()) corners.insert({v[0], v[1]});
    EXPECT_EQ(corners.size(), peerCount);

    for (const Coordinates& c : corners) EXPECT_TRUE(kernel.count(c)) << c.first << ", " << c.second;
    for (const Coordinates& c : kernel) {
        if (!corners.count(c)) {
            EXPECT_TRUE(onOutline(corners, c)) << c.first << ", " << c.second;
        }
    }
}

TEST(BenchInputs, TheCircleIsStrictlyConvexInExactArithmetic)
{
    EXPECT_TRUE(bench::strictlyConvex(bench::circleRing()));
}

TEST(BenchInputs, ABentRingIsNotStrictlyConvex)
{
    std::vector<Point> ring = bench::circleRing();
    ring[7].x *= 0.999f;
    EXPECT_FALSE(bench::strictlyConvex(ring));
    ring = bench::circleRing();
    ring[7].y += 1.0f / 64.0f; // off the grid the exact check works on
    EXPECT_FALSE(bench::strictlyConvex(ring));
}

TEST(BenchInputs, TheCircleInputIsTheRingShuffled)
{
    const std::vector<Point> ring = bench::circleRing();
    const bench::Input in = bench::circleInput();
    ASSERT_EQ(in.n, bench::CircleCount);
    EXPECT_EQ(coordinateSet(in.points.data(), in.n), coordinateSet(ring.data(), std::int32_t(ring.size())));
    EXPECT_EQ(coordinateSet(ring.data(), std::int32_t(ring.size())).size(), ring.size());
    std::int32_t inPlace = 0;
    for (std::int32_t i = 0; i < in.n; ++i)
        inPlace += in.points[std::size_t(i)].x == ring[std::size_t(i)].x && in.points[std::size_t(i)].y == ring[std::size_t(i)].y;
    EXPECT_LT(inPlace, 10);
}

TEST(BenchInputs, EveryCirclePointIsAKernelVertex)
{
    const bench::Input in = bench::circleInput();
    const std::int32_t count = computeHull(in.points.data(), in.n);
    ASSERT_EQ(count, in.n);
    EXPECT_EQ(coordinateSet(HullBuffer.data(), count), coordinateSet(in.points.data(), in.n));
}

TEST(BenchInputs, RandomInputsAreProgramPointsFromOneFixedSequence)
{
    const bench::Input small = bench::randomInput(100);
    const bench::Input large = bench::randomInput(10000);
    for (std::int32_t i = 0; i < large.n; ++i) {
        const Point& p = large.points[std::size_t(i)];
        ASSERT_TRUE(p.x >= 0.0f && p.x <= 999.0f && p.x == float(int(p.x)));
        ASSERT_TRUE(p.y >= 0.0f && p.y <= 999.0f && p.y == float(int(p.y)));
        ASSERT_EQ(p.z, 0.0f);
        ASSERT_EQ(p.color, 9);
        if (i < small.n) {
            ASSERT_EQ(p.x, small.points[std::size_t(i)].x);
            ASSERT_EQ(p.y, small.points[std::size_t(i)].y);
        }
    }
    EXPECT_EQ(small.points[std::size_t(small.n)].x, 0.0f) << "entries from n on stay default";
}

TEST(Peers, AgreeWithTheKernelOnTheBenchmarkInputs)
{
    const auto peers = bench::availablePeers();
    if (peers.empty()) GTEST_SKIP() << "no peer library installed";
    std::vector<bench::Input> inputs;
    for (const std::int32_t n : {100, 1000, 10000}) inputs.push_back(bench::randomInput(n));
    inputs.push_back(bench::circleInput());
    for (const bench::Input& in : inputs) {
        SCOPED_TRACE(in.n);
        for (const bench::PeerKind& kind : peers) expectAgreement(kind, in);
    }
}

// Few distinct values: duplicates, collinear runs and vertical extreme edges.
TEST(Peers, AgreeWithTheKernelOnCrowdedGrids)
{
    const auto peers = bench::availablePeers();
    if (peers.empty()) GTEST_SKIP() << "no peer library installed";
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const bench::Input in = smallGridInput(std::int32_t(10 + seed * 7), 4 + int(seed % 9), seed);
        SCOPED_TRACE(seed);
        for (const bench::PeerKind& kind : peers) expectAgreement(kind, in);
    }
}

} // namespace
