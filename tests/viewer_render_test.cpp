#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include "viewer_window.hpp"

namespace {

Point at(float x, float y, ColorIndex c = 9) { return {x, y, 0.0f, c}; }

// A scene spanning 0..999 on both axes, so the framing is the program's usual one.
SceneStore spanningScene()
{
    SceneStore s;
    s.box.min = at(0, 0);
    s.box.max = at(999, 999);
    return s;
}

class Rendering : public testing::Test {
protected:
    void SetUp() override { openTestWindow(); }
    // Draws the scene and reads the frame.
    Frame show(const SceneStore& s)
    {
        showScene(s);
        return drawAndRead();
    }
    static bool shows(const Frame& f, const Point& p, Rgb8 colour)
    {
        const WindowPoint w = drawnAt(p.x, p.y, p.z);
        return f.hasNear(w.x, w.y, colour);
    }
};

TEST_F(Rendering, EmptySceneShowsOnlyTheBackground)
{
    const Frame f = show(SceneStore{});
    ASSERT_EQ(f.width, WindowWidth);
    ASSERT_EQ(f.height, WindowHeight);
    for (int y = 0; y < f.height; y += 7)
        for (int x = 0; x < f.width; x += 7) ASSERT_EQ(f.at(x, y), Background) << x << "," << y;
}

TEST_F(Rendering, RunColoursInputPointsBlueHullVerticesBlackOutlineRed)
{
    // What the run adds: input points, then the hull vertices again, then the outline.
    SceneStore s = spanningScene();
    const Point a = at(100, 100), b = at(900, 100), c = at(500, 800), inner = at(500, 400);
    for (const Point& p : {a, b, c, inner}) s.points.push_back(at(p.x, p.y, 2));
    for (const Point& p : {a, b, c}) s.points.push_back(at(p.x, p.y, 9));
    s.segments = {{a, b, 0}, {b, c, 0}, {c, a, 0}};
    const Frame f = show(s);

    EXPECT_TRUE(shows(f, inner, Blue));
    for (const Point& p : {a, b, c}) {
        EXPECT_TRUE(shows(f, p, Black));
        EXPECT_FALSE(shows(f, p, Blue)) << "the black copy covers the blue one";
    }
    EXPECT_TRUE(shows(f, at(500, 100), Red)) << "edge a-b";
    EXPECT_TRUE(shows(f, at(300, 450), Red)) << "edge c-a";
    EXPECT_TRUE(shows(f, at(300, 300), Background));
}

TEST_F(Rendering, SegmentMarkersTakeTheSegmentsColourNotTheEndpoints)
{
    SceneStore s = spanningScene();
    s.segments = {{at(200, 200, 9), at(700, 600, 9), 0}};
    const Frame f = show(s);
    for (const Point& p : {at(200, 200), at(700, 600)}) {
        const WindowPoint w = drawnAt(p.x, p.y);
        // The marker is a 4-pixel square around the end.
        EXPECT_EQ(f.at(int(w.x) - 1, int(w.y) - 1), Red);
        EXPECT_EQ(f.at(int(w.x) + 1, int(w.y) + 1), Red);
        EXPECT_EQ(f.at(int(w.x) + 3, int(w.y) - 3), Background);
    }
}

TEST_F(Rendering, ColourOutsideThePaletteKeepsThePreviousOne)
{
    SceneStore s = spanningScene();
    s.points = {at(100, 100, 0), at(200, 200, 10), at(300, 300, 8), at(400, 400, -1), at(500, 500, 2)};
    const Frame f = show(s);
    EXPECT_TRUE(shows(f, s.points[0], Red));
    EXPECT_TRUE(shows(f, s.points[1], Red));
    EXPECT_TRUE(shows(f, s.points[2], White));
    EXPECT_TRUE(shows(f, s.points[3], White));

    // The colour carries over into the next frame: the first point now takes
    // the blue the last point left behind.
    s.points[0].color = -1;
    const Frame next = show(s);
    EXPECT_TRUE(shows(next, s.points[0], Blue));
}

TEST_F(Rendering, LaterPrimitivesCoverEarlierOnes)
{
    // Circle, line, segment and point all pass through (500, 500); the line
    // and the segment share the column x = 500.
    SceneStore s = spanningScene();
    s.circles = {{at(500, 400), 100.0f, 5}};
    s.lines = {{at(500, 500), at(0, 3), 1}};
    s.segments = {{at(500, 500), at(500, 900), 0}};
    s.points = {at(500, 500, 2)};
    const Frame f = show(s);
    const auto exactly = [&](float x, float y) {
        const WindowPoint w = drawnAt(x, y);
        return f.at(int(w.x), int(w.y));
    };
    EXPECT_EQ(exactly(500, 500), Blue);
    EXPECT_EQ(exactly(500, 700), Red) << "segment over line";
    EXPECT_EQ(exactly(500, 350), Green) << "the line alone";
    EXPECT_TRUE(shows(f, at(600, 400), Magenta)) << "circle at 0 degrees";
    EXPECT_TRUE(shows(f, at(400, 400), Magenta)) << "circle at 180 degrees";
}

TEST_F(Rendering, LineReachesAHundredDirectionsEitherSide)
{
    SceneStore s = spanningScene();
    s.lines = {{at(500, 500), at(3, 0), 1}};
    const Frame f = show(s);
    EXPECT_TRUE(shows(f, at(795, 500), Green));
    EXPECT_TRUE(shows(f, at(205, 500), Green));
    EXPECT_TRUE(shows(f, at(810, 500), Background));
    EXPECT_TRUE(shows(f, at(190, 500), Background));
}

TEST_F(Rendering, FrameLeavesTheMatricesAsItFoundThem)
{
    showScene(spanningScene());
    const auto before = projectionMatrix();
    drawFrame();
    EXPECT_EQ(projectionMatrix(), before);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
}

} // namespace
