#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "scene.hpp"

namespace {

struct BoxCase {
    const char* name;
    std::vector<Point> added;
    float minX, minY, maxX, maxY;
};

void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }

class Box : public ::testing::TestWithParam<BoxCase> {
protected:
    void SetUp() override { Scene = SceneStore{}; }
};

TEST_P(Box, WidensFromTheWindowCorners)
{
    const BoxCase& c = GetParam();
    for (const Point& p : c.added) addPoint(p, 2);
    EXPECT_EQ(Scene.box.min.x, c.minX);
    EXPECT_EQ(Scene.box.min.y, c.minY);
    EXPECT_EQ(Scene.box.max.x, c.maxX);
    EXPECT_EQ(Scene.box.max.y, c.maxY);
}

const float nan = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Scene, Box,
    ::testing::Values(BoxCase{"empty", {}, 1024, 700, 0, 0},
                      BoxCase{"inside", {{500, 300}}, 500, 300, 500, 300},
                      BoxCase{"beyond_window", {{2000, 800}}, 1024, 700, 2000, 800},
                      BoxCase{"negative", {{-5, -7}}, -5, -7, 0, 0},
                      BoxCase{"mixed", {{10, 600}, {900, 20}, {400, 400}}, 10, 20, 900, 600},
                      BoxCase{"z_ignored", {{10, 20, 1e30f}, {30, 5, -1e30f}}, 10, 5, 30, 20},
                      BoxCase{"nan_moves_nothing", {{nan, 40}, {50, nan}}, 50, 40, 50, 40}),
    [](const auto& info) { return std::string(info.param.name); });

class SceneStoreTest : public ::testing::Test {
protected:
    void SetUp() override { Scene = SceneStore{}; }
};

TEST_F(SceneStoreTest, ColourArgumentWinsAndCallersRecordStays)
{
    const Point p{1, 2, 3, 9};
    addPoint(p, 2);
    EXPECT_EQ(p.color, 9);
    ASSERT_EQ(Scene.points.size(), 1u);
    EXPECT_EQ(Scene.points[0].color, 2);
    EXPECT_EQ(Scene.points[0].z, 3.0f);

    const Segment s{{10, 20, 0, 4}, {30, 5, 0, 7}, 5};
    addSegment(s, 0);
    EXPECT_EQ(s.color, 5);
    ASSERT_EQ(Scene.segments.size(), 1u);
    EXPECT_EQ(Scene.segments[0].color, 0);
    EXPECT_EQ(Scene.segments[0].start.color, 4);
    EXPECT_EQ(Scene.segments[0].end.color, 7);
}

TEST_F(SceneStoreTest, SegmentWidensByBothEnds)
{
    addSegment({{10, 20}, {30, 5}}, 0);
    EXPECT_EQ(Scene.box.min.x, 10.0f);
    EXPECT_EQ(Scene.box.min.y, 5.0f);
    EXPECT_EQ(Scene.box.max.x, 30.0f);
    EXPECT_EQ(Scene.box.max.y, 20.0f);
    EXPECT_EQ(Segment{}.color, 9);
}

TEST_F(SceneStoreTest, KeepsInsertionOrder)
{
    for (int i = 0; i < 1000; ++i) addPoint({float(i), float(999 - i)}, i % 10);
    ASSERT_EQ(Scene.points.size(), 1000u);
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(Scene.points[std::size_t(i)].x, float(i));
        EXPECT_EQ(Scene.points[std::size_t(i)].color, i % 10);
    }
    EXPECT_TRUE(Scene.lines.empty());
    EXPECT_TRUE(Scene.circles.empty());
}

} // namespace
