// The camera's framing in the real window: every box shown whole and centred.

#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <string>

#include "viewer_window.hpp"

namespace {

constexpr float Raised = -1.0f; // the customary distance would not show the whole box

struct FramingCase {
    std::string name;
    Point min, max;
    float centreX, centreY;
    float distance; // exact, or Raised
};

const FramingCase FramingCases[] = {
    {"FullRange", {0, 0}, {999, 999}, 499.5f, 499.5f, 999.0f},
    {"WiderThanAThousand", {3, 0}, {998, 999}, 500.5f, 499.5f, 1001.0f},
    // Nothing added: framed as a point at the origin, with no infinity in the matrices.
    {"Empty", BoundingBox{}.min, BoundingBox{}.max, 0.0f, 0.0f, Raised},
    // A set beyond (1024, 700) is centred on its own box.
    {"BeyondTheWindowCorners", {5000, 5000}, {5100, 5100}, 5050.0f, 5050.0f, 10100.0f},
    {"AllNegative", {-300, -200}, {-100, -50}, -200.0f, -125.0f, 200.0f},
    {"NegativeCorners", {-100, -50}, {100, 50}, 0.0f, 0.0f, 200.0f},
    {"FiveTimesTallerThanWide", {0, 0}, {10, 50}, 5.0f, 25.0f, 50.0f},
    {"JustUnderFiveTimesTaller", {0, 0}, {10, 49}, 5.0f, 24.5f, Raised},
    {"TallAndNarrow", {100, 0}, {200, 900}, 150.0f, 450.0f, Raised},
    {"SinglePointFarFromTheOrigin", {600, 500}, {600, 500}, 600.0f, 500.0f, 1200.0f},
    {"NoSizeAtTheOrigin", {0, 0}, {0, 0}, 0.0f, 0.0f, Raised},
};

class Framing : public testing::TestWithParam<FramingCase> {
protected:
    void SetUp() override { openTestWindow(); }
};

BoundingBox boxOf(const Point& min, const Point& max)
{
    BoundingBox b;
    b.min = min;
    b.max = max;
    return b;
}

// Pixels between the box, as drawn, and the nearest window edge; negative
// when part of it lies outside. Also checks the box lies inside the depth range.
double roomAroundBox(const BoundingBox& box)
{
    double room = 1e300;
    for (const float x : {box.min.x, box.max.x})
        for (const float y : {box.min.y, box.max.y}) {
            const WindowPoint w = drawnAt(x, y);
            EXPECT_GT(w.depth, 0.0) << "in front of the near plane";
            EXPECT_LT(w.depth, 1.0) << "beyond the far plane";
            room = std::min({room, w.x, w.y, WindowWidth - w.x, WindowHeight - w.y});
        }
    return room;
}

TEST_P(Framing, CentresTheBoxAndShowsAllOfIt)
{
    const FramingCase& c = GetParam();
    SceneStore s;
    s.box = boxOf(c.min, c.max);
    showScene(s);

    EXPECT_FLOAT_EQ(ViewState.viewCenterX, c.centreX);
    EXPECT_FLOAT_EQ(ViewState.viewCenterY, c.centreY);
    if (c.distance != Raised) {
        EXPECT_FLOAT_EQ(ViewState.eyeDistance, c.distance);
    }
    EXPECT_GE(ViewState.farDistance, 1000.0f);

    const WindowPoint centre = drawnAt(c.centreX, c.centreY);
    EXPECT_NEAR(centre.x, WindowWidth / 2.0, 1e-3);
    EXPECT_NEAR(centre.y, WindowHeight / 2.0, 1e-3);

    // Whole markers fit along every edge; a raised distance is no further than that needs.
    const bool empty = !(c.min.x <= c.max.x);
    const double room = roomAroundBox(empty ? boxOf({0, 0}, {0, 0}) : s.box);
    EXPECT_GE(room, MarkerSize - 1e-3);
    if (c.distance == Raised && !empty && c.max.x != c.min.x) {
        EXPECT_NEAR(room, MarkerSize, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(Boxes, Framing, testing::ValuesIn(FramingCases),
                         [](const testing::TestParamInfo<FramingCase>& i) { return i.param.name; });

class Window : public testing::Test {
protected:
    void SetUp() override { openTestWindow(); }
};

TEST_F(Window, SinglePointAwayFromTheOriginIsShown)
{
    for (const Point p : {Point{600, 500}, Point{0, 0}, Point{5000, 5000}, Point{-2000, 800}}) {
        Scene = {};
        addPoint(p, 2);
        const SceneStore s = Scene;
        showScene(s);
        const Frame f = drawAndRead();
        EXPECT_EQ(f.at(WindowWidth / 2, WindowHeight / 2), Blue) << p.x << "," << p.y;
    }
}

// The program's own scenes: n points with coordinates rand() % 1000, x before y.
TEST_F(Window, EveryRandomRunShowsEveryPoint)
{
    for (const int n : {10, 100, 1000})
        for (unsigned seed = 1; seed <= 100; ++seed) {
            std::srand(seed);
            Scene = {};
            for (int i = 0; i < n; ++i) {
                const int x = std::rand() % 1000;
                const int y = std::rand() % 1000;
                addPoint({float(x), float(y)}, 2);
            }
            const SceneStore s = Scene;
            showScene(s);
            ASSERT_GE(roomAroundBox(s.box), MarkerSize - 1e-3) << "n " << n << " seed " << seed;
        }
}

TEST_F(Window, ReshapeToNoHeightUsesOneRow)
{
    onReshape(800, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 1);
    const auto p = projectionMatrix();
    EXPECT_NEAR(p[5] / p[0], 800.0, 1e-3) << "aspect ratio";
    EXPECT_NEAR(p[5], 1.0 / std::tan(std::numbers::pi / 6.0), 1e-6) << "60 degrees high";
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
}

TEST_F(Window, ResizeKeepsTheViewCentreInTheMiddleAtTheNewAspect)
{
    SceneStore s;
    s.box = boxOf({0, 0}, {999, 999});
    showScene(s);
    onReshape(800, 600);
    const WindowPoint centre = drawnAt(499.5, 499.5);
    EXPECT_NEAR(centre.x, 400.0, 1e-3);
    EXPECT_NEAR(centre.y, 300.0, 1e-3);
    const auto p = projectionMatrix();
    EXPECT_NEAR(p[5] / p[0], 800.0 / 600.0, 1e-6);
}

// The event loop as the program runs it, watched from a timer: while the
// window is hidden no frame is drawn, however long that lasts; once it shows
// again the continuous redraw is back.
struct Watch {
    enum class Phase { Hide, Hidden, Show, Shown } phase = Phase::Hide;
    int status = -1;
    int ticks = 0;
    static constexpr int Patience = 750; // 15 s of ticks without getting anywhere
    std::uint64_t since = 0, whileHidden = 0, afterShown = 0;
};
Watch watch;

void onWatchTick(int)
{
    Watch& w = watch;
    ++w.ticks;
    switch (w.phase) {
    case Watch::Phase::Hide:
        glutHideWindow();
        w.phase = Watch::Phase::Hidden;
        break;
    case Watch::Phase::Hidden:
        if (w.status != GLUT_HIDDEN) break;
        w.since = ViewState.framesShown;
        w.ticks = 0;
        w.phase = Watch::Phase::Show;
        break;
    case Watch::Phase::Show:
        if (w.ticks < 10) break;
        w.whileHidden = ViewState.framesShown - w.since;
        glutShowWindow();
        w.phase = Watch::Phase::Shown;
        w.since = ViewState.framesShown;
        break;
    case Watch::Phase::Shown:
        w.afterShown = ViewState.framesShown - w.since;
        if (w.afterShown >= 5) w.ticks = Watch::Patience;
        break;
    }
    if (w.ticks >= Watch::Patience) {
        checkLeaksNow();
        glutLeaveMainLoop();
    }
    glutTimerFunc(20, onWatchTick, 0);
}

TEST_F(Window, DrawsNoFramesWhileHidden)
{
    watch = {};
    glutWindowStatusFunc([](int state) {
        watch.status = state;
        onWindowStatus(state);
    });
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    glutTimerFunc(20, onWatchTick, 0);
    glutMainLoop();
    ASSERT_EQ(watch.phase, Watch::Phase::Shown) << "the window was never reported hidden";
    EXPECT_EQ(watch.whileHidden, 0u);
    EXPECT_GE(watch.afterShown, 5u) << "the redraw did not come back";
}

} // namespace
