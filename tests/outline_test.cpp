// The outline order against the literal exchange sorts.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "hull.hpp"

namespace {

using XY = std::vector<std::pair<float, float>>;

void load(const XY& xy)
{
    for (std::size_t i = 0; i < xy.size(); ++i) HullBuffer[i] = {xy[i].first, xy[i].second};
}

XY ordered(const XY& xy)
{
    load(xy);
    orderHullOutline(std::int32_t(xy.size()));
    XY out;
    for (std::size_t i = 0; i < xy.size(); ++i) out.emplace_back(HullBuffer[i].x, HullBuffer[i].y);
    return out;
}

struct OutlineCase {
    const char* name;
    XY found;
    XY outline;
};

void PrintTo(const OutlineCase& c, std::ostream* os) { *os << c.name; }

class Outline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(Outline, RunsClockwiseFromTheLowestLeftmostVertex)
{
    const OutlineCase& c = GetParam();
    EXPECT_EQ(ordered(c.found), c.outline);
    // Ordering an ordered outline changes nothing.
    EXPECT_EQ(ordered(c.outline), c.outline);
}

INSTANTIATE_TEST_SUITE_P(
    Hull, Outline,
    ::testing::Values(
        OutlineCase{"six_vertices",
                    {{100, 100}, {900, 200}, {300, 900}, {100, 700}, {800, 800}, {500, 50}},
                    {{100, 100}, {100, 700}, {300, 900}, {800, 800}, {900, 200}, {500, 50}}},
        // (10, 10) lies on the closing edge from (20, 0) back to (0, 20): the walk
        // must pass (20, 0) first, or the outline cuts through the hull.
        OutlineCase{"closing_ray",
                    {{20, 30}, {0, 20}, {10, 10}, {0, 30}, {20, 0}},
                    {{0, 20}, {0, 30}, {20, 30}, {20, 0}, {10, 10}}},
        OutlineCase{"closing_ray_three",
                    {{0, 0}, {6, 3}, {2, 1}, {4, 2}, {0, 5}},
                    {{0, 0}, {0, 5}, {6, 3}, {4, 2}, {2, 1}}},
        // Collinear vertices on the first edge come in walking order too.
        OutlineCase{"opening_ray",
                    {{0, 0}, {10, 0}, {4, 4}, {2, 2}, {0, 8}},
                    {{0, 0}, {0, 8}, {2, 2}, {4, 4}, {10, 0}}},
        // Steep rays far from the base vertex round to one float key: the exact
        // turn between them decides, or the outline doubles back on itself.
        OutlineCase{"keys_that_round_together",
                    {{-1048538, -853953}, {-1048538, -851977}, {-1048576, 589817}},
                    {{-1048576, 589817}, {-1048538, -851977}, {-1048538, -853953}}},
        OutlineCase{"two_entries", {{9, 1}, {2, 3}}, {{2, 3}, {9, 1}}},
        OutlineCase{"two_at_one_place", {{4, 4}, {4, 4}}, {{4, 4}, {4, 4}}},
        OutlineCase{"vertical_pair", {{3, 9}, {3, 1}}, {{3, 1}, {3, 9}}},
        OutlineCase{"single", {{5, 6}}, {{5, 6}}},
        OutlineCase{"triangle_from_kernel", {{0, 0}, {4, 0}, {2, 5}}, {{0, 0}, {2, 5}, {4, 0}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Outline, MovesOnlyCoordinates)
{
    const XY found{{5, 5}, {0, 0}, {10, 0}, {5, 9}};
    load(found);
    for (std::int32_t i = 0; i < 4; ++i) {
        HullBuffer[std::size_t(i)].z = float(i);
        HullBuffer[std::size_t(i)].color = i;
    }
    orderHullOutline(4);
    for (std::int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(HullBuffer[std::size_t(i)].z, float(i));
        EXPECT_EQ(HullBuffer[std::size_t(i)].color, i);
    }
}

TEST(Outline, ZeroCountTouchesNothing)
{
    HullBuffer[0] = {7, 7};
    HullBuffer[1] = {1, 1};
    orderHullOutline(0);
    EXPECT_EQ(HullBuffer[0].x, 7.0f);
}

// Random convex outlines (vertices of a circle in shuffled order) come back
// sorted clockwise, and a second ordering keeps them.
TEST(Outline, SortsShuffledConvexPolygons)
{
    std::mt19937 rng(3);
    for (int trial = 0; trial < 50; ++trial) {
        const int m = std::uniform_int_distribution<int>(3, 60)(rng);
        XY pts;
        for (int i = 0; i < m; ++i) {
            const double a = -2.0 * 3.14159265358979 * i / m; // clockwise from the left
            pts.emplace_back(float(std::lround(5000 - 4000 * std::cos(a))), float(std::lround(5000 - 4000 * std::sin(a))));
        }
        XY shuffled = pts;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        const XY once = ordered(shuffled);
        // Rotate the expected cycle to start at the lowest of the leftmost.
        const auto first = std::min_element(pts.begin(), pts.end());
        XY expected(first, pts.end());
        expected.insert(expected.end(), pts.begin(), first);
        EXPECT_EQ(once, expected) << "m " << m;
        EXPECT_EQ(ordered(once), once);
    }
}

} // namespace
