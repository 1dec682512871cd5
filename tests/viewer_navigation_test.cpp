// Mouse navigation and edit mode's gestures in the real window, through the
// toolkit's own callbacks.

#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <initializer_list>
#include <limits>
#include <ostream>
#include <string>
#include <utility>

#include "captions.hpp"
#include "controller.hpp"
#include "edit.hpp"
#include "points_file.hpp"
#include "session.hpp"
#include "temp_dir.hpp"
#include "viewer_window.hpp"

namespace {

// The program's usual framing: points over 0..999, view centre (499.5, 499.5)
// drawn in the middle of the window, eye distance 999.
constexpr double CentreX = 499.5;
constexpr double CentreY = 499.5;

// Window y (from the bottom) of a toolkit y (from the top).
double windowY(int y) { return WindowHeight - 1.0 - y; }

// Where the view centre and a point 200 units to its right are drawn.
struct Drawn {
    WindowPoint centre, right;
};

Drawn picture()
{
    const double x = ViewState.viewCenterX, y = ViewState.viewCenterY;
    return {drawnAt(x, y), drawnAt(x + 200, y)};
}

double degrees(const Drawn& p)
{
    return std::atan2(p.right.y - p.centre.y, p.right.x - p.centre.x) * 180.0 / std::numbers::pi;
}

double length(const Drawn& p) { return std::hypot(p.right.x - p.centre.x, p.right.y - p.centre.y); }

enum class Effect { None, Pan, Rotate, Zoom, Other };

std::ostream& operator<<(std::ostream& os, Effect e)
{
    const char* names[] = {"none", "pan", "rotate", "zoom", "other"};
    return os << names[int(e)];
}

// What a motion event did to the picture: a pan moves the view centre and
// keeps shapes; rotation and zoom keep the view centre where it is drawn.
Effect effectBetween(const Drawn& a, const Drawn& b)
{
    const double moved = std::hypot(b.centre.x - a.centre.x, b.centre.y - a.centre.y);
    const double turned = std::abs(degrees(b) - degrees(a));
    const double scaled = std::abs(length(b) / length(a) - 1.0);
    const bool depthKept = std::abs(b.centre.depth - a.centre.depth) < 1e-6;
    if (!depthKept) return Effect::Other;
    if (moved < 1e-3 && turned < 1e-4 && scaled < 1e-6) return Effect::None;
    if (moved < 1e-3 && turned < 1e-4) return Effect::Zoom;
    if (moved < 1e-3 && scaled < 1e-6) return Effect::Rotate;
    if (turned < 1e-4 && scaled < 1e-6) return Effect::Pan;
    return Effect::Other;
}

class Navigation : public testing::Test {
protected:
    void SetUp() override
    {
        openTestWindow();
        SceneStore s;
        s.box.min = {0, 0};
        s.box.max = {999, 999};
        s.points = {{float(CentreX), float(CentreY), 0, 2}, {100, 100, 0, 2}, {900, 800, 0, 0}};
        s.segments = {{{100, 900}, {900, 100}, 0}};
        showScene(s);
    }
    static void press(int button, int x, int y) { onMouse(button, GLUT_DOWN, x, y); }
    static void release(int button, int x, int y) { onMouse(button, GLUT_UP, x, y); }
    // One drag: press, move through the given points, release.
    static void drag(int button, int x, int y, std::initializer_list<std::pair<int, int>> path)
    {
        press(button, x, y);
        for (const auto& [px, py] : path) onMotion(px, py);
        release(button, 0, 0);
    }
    // Presses `button` at (500, 300) and moves by (dx, dy), which counts as
    // handled: the picture before and after the move.
    static std::pair<Drawn, Drawn> step(int button, int dx, int dy)
    {
        press(button, 500, 300);
        const Drawn before = picture();
        onMotion(500 + dx, 300 + dy);
        EXPECT_EQ(ViewState.lastMouseX, 500 + dx);
        EXPECT_EQ(ViewState.lastMouseY, 300 + dy);
        return {before, picture()};
    }
    static void expectCentreInTheMiddle(const Drawn& p)
    {
        EXPECT_NEAR(p.centre.x, WindowWidth / 2.0, 1e-3);
        EXPECT_NEAR(p.centre.y, WindowHeight / 2.0, 1e-3);
    }
    // What one motion to (x, y) does with the given buttons held.
    static Effect effectOfMotion(int x, int y)
    {
        const Drawn before = picture();
        onMotion(x, y);
        return effectBetween(before, picture());
    }
};

struct Turn {
    const char* name;
    int dx, dy;
    double degrees;
};

class Rotation : public Navigation, public testing::WithParamInterface<Turn> {};

TEST_P(Rotation, TurnsByTheDragLengthAboutTheViewCentre)
{
    const Turn t = GetParam();
    const auto [before, after] = step(GLUT_RIGHT_BUTTON, t.dx, t.dy);
    EXPECT_EQ(effectBetween(before, after), Effect::Rotate);
    EXPECT_NEAR(degrees(after) - degrees(before), t.degrees, 1e-4);
    expectCentreInTheMiddle(after);
}

// A positive angle turns counter-clockwise: a drag to the right turns clockwise.
INSTANTIATE_TEST_SUITE_P(Drags, Rotation,
                         testing::Values(Turn{"Right100", 100, 0, -17.560976}, Turn{"Down100", 0, 100, 17.560976},
                                         Turn{"Up100", 0, -100, 17.560976}, Turn{"LeftDown", -3, 4, 0.878049},
                                         Turn{"Left100", -100, 0, 17.560976}, Turn{"RightUp", 30, -40, -8.780488}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Navigation, RotationOfAFarDragDoesNotOverflow)
{
    // 80000 pixels squared is beyond 32 bits; 80000 / 1025 * 180 degrees is
    // 39 turns less 8.780488 degrees.
    press(GLUT_RIGHT_BUTTON, -40000, 300);
    const Drawn before = picture();
    onMotion(40000, 300);
    EXPECT_NEAR(degrees(picture()) - degrees(before), -8.780488, 1e-2);

    // Nor does the difference of the farthest positions there are.
    press(GLUT_RIGHT_BUTTON, std::numeric_limits<int>::min(), 300);
    EXPECT_EQ(effectOfMotion(std::numeric_limits<int>::max(), 300), Effect::Rotate);
}

struct ZoomStep {
    const char* name;
    int dx, dy;
    double factor;
};

class Zoom : public Navigation, public testing::WithParamInterface<ZoomStep> {};

TEST_P(Zoom, ScalesAboutTheViewCentreAndKeepsDepth)
{
    const ZoomStep z = GetParam();
    const auto [before, after] = step(GLUT_MIDDLE_BUTTON, z.dx, z.dy);
    EXPECT_NEAR(length(after) / length(before), z.factor, 1e-6);
    expectCentreInTheMiddle(after);
    EXPECT_NEAR(after.right.depth, before.right.depth, 1e-7);
}

// Upward drags enlarge, downward drags shrink, by e for every 2100 pixels.
INSTANTIATE_TEST_SUITE_P(Drags, Zoom,
                         testing::Values(ZoomStep{"Up21", 0, -21, std::exp(0.01)},
                                         ZoomStep{"Down21", 0, 21, std::exp(-0.01)},
                                         ZoomStep{"Up2100", 0, -2100, std::exp(1.0)}, ZoomStep{"Sideways", 7, 0, 1.0}),
                         [](const auto& i) { return std::string(i.param.name); });

TEST_F(Navigation, LongZoomOutKeepsTheSceneInTheClippingRange)
{
    press(GLUT_MIDDLE_BUTTON, 500, 0);
    for (int y = 20; y <= 2000; y += 20) onMotion(500, y);
    const Frame f = drawAndRead();
    EXPECT_EQ(f.at(WindowWidth / 2, WindowHeight / 2), Blue) << "the point at the view centre";
    const WindowPoint far = drawnAt(900, 800);
    EXPECT_GT(far.depth, 0.0);
    EXPECT_LT(far.depth, 1.0);
}

// Hundreds of full-height drags in or out would take the scale past what a
// float holds; the zoom stops at its limit instead, and a drag back as long as
// the way from the limit to the framing returns to the initial picture.
TEST_F(Navigation, ZoomComesBackFromEitherLimit)
{
    const Drawn initial = picture();
    const int toLimit = int(std::lround(std::log(ZoomLimit) * 2100.0));
    for (const int sense : {-1, 1}) {
        showScene(Scene);
        for (int i = 0; i < 400; ++i) drag(GLUT_MIDDLE_BUTTON, 500, 350 - sense * 340, {{500, 350 + sense * 340}});
        for (const double m : projectionMatrix()) ASSERT_TRUE(std::isfinite(m)) << "sense " << sense;
        press(GLUT_MIDDLE_BUTTON, 500, 0);
        onMotion(500, -sense * toLimit);
        const Drawn back = picture();
        EXPECT_NEAR(length(back), length(initial), 1e-3 * length(initial)) << "sense " << sense;
        EXPECT_NEAR(degrees(back), degrees(initial), 1e-4) << "sense " << sense;
        expectCentreInTheMiddle(back);
    }
}

TEST_F(Navigation, PressPicksThePointOnTheScenePlane)
{
    press(7, 612, 249);
    EXPECT_EQ(ViewState.lastMouseX, 612);
    EXPECT_EQ(ViewState.lastMouseY, 249);
    EXPECT_EQ(ViewState.lastPicked.z, 0.0f);
    EXPECT_EQ(ViewState.lastPicked.color, 9);
    const WindowPoint w = drawnAt(ViewState.lastPicked.x, ViewState.lastPicked.y);
    EXPECT_NEAR(w.x, 612.0, 1e-3);
    EXPECT_NEAR(w.y, windowY(249), 1e-3);
    EXPECT_FALSE(ViewState.translating || ViewState.rotating || ViewState.scaling)
        << "a button other than left, middle and right starts no mode";
}

TEST_F(Navigation, PanOfAHundredPixelsMovesThePictureAHundredPixels)
{
    press(GLUT_LEFT_BUTTON, 512, 349);
    onMotion(612, 349);
    const WindowPoint c = drawnAt(CentreX, CentreY);
    EXPECT_NEAR(c.x, WindowWidth / 2.0 + 100.0, 1e-3);
    EXPECT_NEAR(c.y, WindowHeight / 2.0, 1e-3);
}

TEST_F(Navigation, PanKeepsTheGrabbedPointUnderTheCursorAfterRotationAndZoom)
{
    drag(GLUT_RIGHT_BUTTON, 500, 300, {{560, 340}, {640, 300}});
    drag(GLUT_MIDDLE_BUTTON, 500, 300, {{500, 250}, {480, 180}});
    const Frame before = drawAndRead();
    const Drawn pictureBefore = picture();

    press(GLUT_LEFT_BUTTON, 300, 200);
    const Point grabbed = ViewState.lastPicked;
    for (const auto& [x, y] : std::initializer_list<std::pair<int, int>>{{350, 210}, {420, 260}, {100, 650}, {1000, 20}, {301, 200}}) {
        onMotion(x, y);
        const WindowPoint w = drawnAt(grabbed.x, grabbed.y);
        EXPECT_NEAR(w.x, x, 0.01) << "cursor at " << x << "," << y;
        EXPECT_NEAR(w.y, windowY(y), 0.01) << "cursor at " << x << "," << y;
        EXPECT_NEAR(w.depth, drawnAt(CentreX, CentreY).depth, 1e-9) << "the scene stays at its depth";
    }
    onMotion(300, 200);
    EXPECT_EQ(ViewState.lastPicked.x, grabbed.x) << "measured from the press";
    EXPECT_TRUE(drawAndRead() == before) << "back at the press point the picture is restored";
    EXPECT_EQ(effectBetween(pictureBefore, picture()), Effect::None);
}

TEST_F(Navigation, RotationAndZoomAfterAPanKeepTheViewCentreWhereItIsDrawn)
{
    drag(GLUT_LEFT_BUTTON, 500, 300, {{620, 220}});
    const WindowPoint centre = drawnAt(CentreX, CentreY);
    EXPECT_NEAR(centre.x, WindowWidth / 2.0 + 120, 1e-3);
    EXPECT_NEAR(centre.y, WindowHeight / 2.0 + 80, 1e-3);

    press(GLUT_RIGHT_BUTTON, 500, 300);
    EXPECT_EQ(effectOfMotion(530, 340), Effect::Rotate);
    release(GLUT_RIGHT_BUTTON, 530, 340);
    press(GLUT_MIDDLE_BUTTON, 500, 300);
    EXPECT_EQ(effectOfMotion(500, 250), Effect::Zoom);
    const WindowPoint still = drawnAt(CentreX, CentreY);
    EXPECT_NEAR(still.x, centre.x, 1e-3);
    EXPECT_NEAR(still.y, centre.y, 1e-3);
}

struct Held {
    const char* name;
    bool scaling, translating, rotating;
    Effect effect;
};

class Precedence : public Navigation, public testing::WithParamInterface<Held> {};

TEST_P(Precedence, ChoosesTheModeByTheHeldButtons)
{
    const Held h = GetParam();
    if (h.scaling) press(GLUT_MIDDLE_BUTTON, 500, 300);
    if (h.translating) press(GLUT_LEFT_BUTTON, 500, 300);
    if (h.rotating) press(GLUT_RIGHT_BUTTON, 500, 300);
    // With nothing pressed the last position is whatever came before.
    ViewState.lastMouseX = 500;
    ViewState.lastMouseY = 300;
    EXPECT_EQ(effectOfMotion(530, 280), h.effect);
    const bool handled = h.effect != Effect::None;
    EXPECT_EQ(ViewState.lastMouseX, handled ? 530 : 500);
    EXPECT_EQ(ViewState.lastMouseY, handled ? 280 : 300);
}

INSTANTIATE_TEST_SUITE_P(Buttons, Precedence,
                         testing::Values(Held{"Middle", true, false, false, Effect::Zoom},
                                         Held{"MiddleLeft", true, true, false, Effect::Zoom},
                                         Held{"MiddleRight", true, false, true, Effect::Zoom},
                                         Held{"All", true, true, true, Effect::Zoom},
                                         Held{"LeftRight", false, true, true, Effect::Zoom},
                                         Held{"Left", false, true, false, Effect::Pan},
                                         Held{"Right", false, false, true, Effect::Rotate},
                                         Held{"None", false, false, false, Effect::None}),
                         [](const auto& i) { return std::string(i.param.name); });

class Release : public Navigation, public testing::WithParamInterface<int> {};

TEST_P(Release, OfAnyButtonEndsEveryMode)
{
    press(GLUT_LEFT_BUTTON, 500, 300);
    press(GLUT_RIGHT_BUTTON, 500, 300);
    press(GLUT_MIDDLE_BUTTON, 500, 300);
    const Point picked = ViewState.lastPicked;
    release(GetParam(), 10, 10);
    EXPECT_FALSE(ViewState.translating || ViewState.rotating || ViewState.scaling);
    EXPECT_EQ(ViewState.lastMouseX, 500) << "a release takes no position";
    EXPECT_EQ(ViewState.lastPicked.x, picked.x);
    EXPECT_EQ(effectOfMotion(540, 330), Effect::None) << "the other buttons, still held, do nothing";
}

INSTANTIATE_TEST_SUITE_P(Buttons, Release, testing::Values(GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON, 3),
                         [](const auto& i) { return "Button" + std::to_string(i.param); });

TEST_F(Navigation, MotionAtTheSamePixelDoesNothing)
{
    for (const int button : {GLUT_LEFT_BUTTON, GLUT_MIDDLE_BUTTON, GLUT_RIGHT_BUTTON}) {
        press(button, 500, 300);
        const auto before = projectionMatrix();
        onMotion(500, 300);
        EXPECT_EQ(projectionMatrix(), before) << "button " << button;
        release(button, 500, 300);
    }
}

// A notch of the wheel zooms as a middle drag of 100 pixels does: away from
// the user it enlarges, as an upward drag does.
TEST_F(Navigation, AWheelNotchZoomsAsAMiddleDragWould)
{
    for (const auto& [button, dy] : {std::pair{3, -100}, std::pair{4, 100}}) {
        onReshape(WindowWidth, WindowHeight);
        drag(GLUT_MIDDLE_BUTTON, 500, 300, {{500, 300 + dy}});
        const auto dragged = projectionMatrix();
        onReshape(WindowWidth, WindowHeight);
        press(button, 500, 300);
        release(button, 500, 300);
        EXPECT_EQ(projectionMatrix(), dragged) << "button " << button;
    }
}

TEST_F(Navigation, ReshapeRestoresTheInitialFraming)
{
    const Frame initial = drawAndRead();
    drag(GLUT_LEFT_BUTTON, 500, 300, {{550, 380}});
    drag(GLUT_RIGHT_BUTTON, 500, 300, {{600, 300}});
    drag(GLUT_MIDDLE_BUTTON, 500, 300, {{500, 200}});
    ASSERT_FALSE(drawAndRead() == initial);
    onReshape(640, 480);
    onReshape(WindowWidth, WindowHeight);
    EXPECT_TRUE(drawAndRead() == initial);
    EXPECT_FLOAT_EQ(ViewState.viewCenterX, float(CentreX)) << "the framing itself is kept";
    EXPECT_FLOAT_EQ(ViewState.eyeDistance, 999.0f);
}

// Two fingers on the page: the scene point under their midpoint stays under
// it as it moves, the picture grows by their spread and turns with them
// (clockwise on the screen for a clockwise turn), and the zoom stops where the
// wheel and the middle drag stop.
struct PinchRow {
    const char* name;
    int fromX, fromY, toX, toY;
    double scale, turn; // the fingers' spread, times; their turn, degrees clockwise
    double zoom;        // the accumulated zoom after it
};

void PrintTo(const PinchRow& r, std::ostream* os) { *os << r.name; }

class Pinch : public Navigation, public testing::WithParamInterface<PinchRow> {};

TEST_P(Pinch, ZoomsAndTurnsAboutTheFingers)
{
    const PinchRow& r = GetParam();
    drag(GLUT_RIGHT_BUTTON, 500, 300, {{560, 340}}); // a turn before it changes nothing of what follows
    const auto picked = [](int x, int y) {
        press(GLUT_LEFT_BUTTON, x, y);
        release(GLUT_LEFT_BUTTON, x, y);
        return ViewState.lastPicked;
    };
    const Point under = picked(r.fromX, r.fromY), aside = picked(r.fromX + 100, r.fromY);
    const double zoom = ViewState.zoom;
    InputEvent e;
    e.kind = InputEvent::Kind::Pinch;
    e.fromX = r.fromX;
    e.fromY = r.fromY;
    e.x = r.toX;
    e.y = r.toY;
    e.scale = r.scale;
    e.turn = r.turn;
    EXPECT_TRUE(handleInput(e).redraw);
    EXPECT_NEAR(ViewState.zoom / zoom, r.zoom, 1e-9 * r.zoom);
    const WindowPoint u = drawnAt(under.x, under.y), a = drawnAt(aside.x, aside.y);
    EXPECT_NEAR(u.x, r.toX, 1e-2);
    EXPECT_NEAR(u.y, windowY(r.toY), 1e-2);
    // The point 100 pixels to the right, as the screen counts (y down).
    const double dx = a.x - u.x, dy = -(a.y - u.y), turn = r.turn * std::numbers::pi / 180.0;
    EXPECT_NEAR(dx, 100.0 * r.zoom * std::cos(turn), 1e-2);
    EXPECT_NEAR(dy, 100.0 * r.zoom * std::sin(turn), 1e-2);
}

INSTANTIATE_TEST_SUITE_P(
    Fingers, Pinch,
    testing::Values(PinchRow{"SpreadTwiceAboutTheMidpoint", 300, 200, 300, 200, 2.0, 0.0, 2.0},
                    PinchRow{"CloseHalfWhileMoving", 600, 400, 640, 380, 0.5, 0.0, 0.5},
                    PinchRow{"TurnAQuarterClockwise", 400, 300, 400, 300, 1.0, 90.0, 1.0},
                    PinchRow{"TurnAndSpreadTogether", 512, 350, 500, 360, 1.5, -30.0, 1.5}),
    [](const auto& i) { return std::string(i.param.name); });

// However far the fingers spread, the zoom stops at the wheel's limit, and a
// pinch back as far returns to where it was.
TEST_F(Navigation, APinchStopsAtTheZoomsLimit)
{
    const Drawn initial = picture();
    InputEvent e;
    e.kind = InputEvent::Kind::Pinch;
    e.fromX = e.x = 512;
    e.fromY = e.y = 349;
    e.scale = 1e30;
    handleInput(e);
    EXPECT_NEAR(ViewState.zoom, ZoomLimit, 1e-6 * ZoomLimit);
    for (const double m : projectionMatrix()) ASSERT_TRUE(std::isfinite(m));
    e.scale = 1.0 / ZoomLimit;
    handleInput(e);
    EXPECT_NEAR(length(picture()), length(initial), 1e-3 * length(initial));
}

// Changing the step never moves the view; R brings back the initial view,
// as a resize does, and keeps the step.
TEST_F(Navigation, StepKeysKeepTheViewAndRRestoresTheInitialOne)
{
    const Frame initial = drawAndRead();
    const auto initialMatrix = projectionMatrix();
    traceHull(Scene.points.data(), std::int32_t(Scene.points.size()), Session.trace);
    Session.steps.step = stepCount(Session.trace);
    drag(GLUT_LEFT_BUTTON, 500, 300, {{550, 380}});
    drag(GLUT_RIGHT_BUTTON, 500, 300, {{600, 300}});
    drag(GLUT_MIDDLE_BUTTON, 500, 300, {{500, 200}});
    const auto navigated = projectionMatrix();
    ASSERT_NE(navigated, initialMatrix);

    for (const int key : {GLUT_KEY_HOME, GLUT_KEY_RIGHT, GLUT_KEY_F1, GLUT_KEY_END, GLUT_KEY_LEFT}) {
        onSpecialKey(key, 0, 0);
        drawFrame();
        EXPECT_EQ(projectionMatrix(), navigated) << "special key " << key;
    }
    for (const unsigned char key : {'p', 'n', 'h', 'p'}) {
        onKeyboard(key, 0, 0);
        drawFrame();
        EXPECT_EQ(projectionMatrix(), navigated) << "key " << key;
    }
    const std::int32_t step = Session.steps.step;
    ASSERT_LT(step, stepCount(Session.trace));
    onKeyboard('r', 0, 0);
    EXPECT_EQ(projectionMatrix(), initialMatrix);
    EXPECT_EQ(Session.steps.step, step);
    Session = {};
    EXPECT_TRUE(drawAndRead() == initial);
}

// Edit mode, driven through the window's own mouse callbacks: what each
// gesture does to the set and to the view.
enum class Act { Press, Move, Release };
struct MouseEvent {
    Act act;
    int button;
    int dx, dy;           // pixels: a press from where the row's target is drawn, the rest from that press
    bool onTarget = true; // false: a press from the window's middle instead
};
// A point expected in the set: base moved by (dx, dy) pixels of the framing.
struct Expected {
    float x, y;
    int dx = 0, dy = 0;
};
struct EditRow {
    const char* name;
    std::vector<Point> set;
    Point target;
    std::vector<MouseEvent> events;
    std::vector<Expected> after;
    const char* notice;
    Effect effect;
    bool on = true;
};

void PrintTo(const EditRow& r, std::ostream* os) { *os << r.name; }

const std::vector<Point> Square{{100, 100}, {900, 100}, {900, 900}, {100, 900}, {500, 500}};
const std::vector<Point> Wide{{-16777216, -16777216}, {16777216, -16777216}, {16777216, 16777216}, {-16777216, 16777216}};
std::vector<Expected> expected(const std::vector<Point>& set, std::initializer_list<Expected> more = {})
{
    std::vector<Expected> e;
    for (const Point& p : set) e.push_back({p.x, p.y});
    e.insert(e.end(), more.begin(), more.end());
    return e;
}
std::vector<Point> fullGrid()
{
    std::vector<Point> grid;
    for (int i = 0; i < PointCapacity; ++i) grid.push_back({float(8 * (i % 100)), float(8 * (i / 100))});
    return grid;
}

class EditGestures : public testing::TestWithParam<EditRow> {
protected:
    void SetUp() override
    {
        showSet(GetParam().set);
        setMode(Session, GetParam().on ? Mode::Edit : Mode::View);
    }
    void TearDown() override
    {
        Session = {};
    }
};

TEST_P(EditGestures, ChangeTheSetAndLeaveTheViewToNavigation)
{
    const EditRow& row = GetParam();
    const Drawn before = picture();
    // Scene units per pixel of the framing the row starts from.
    const double unit = 1.0 / (drawnAt(1, 0).x - drawnAt(0, 0).x);
    int x = 0, y = 0;
    for (const MouseEvent& e : row.events) {
        if (e.act == Act::Press) {
            const WindowPoint w = drawnAt(row.target.x, row.target.y);
            x = (e.onTarget ? int(std::lround(w.x)) : WindowWidth / 2) + e.dx;
            y = (e.onTarget ? toolkitY(w.y) : WindowHeight / 2) + e.dy;
        }
        const int ex = e.act == Act::Press ? x : x + e.dx, ey = e.act == Act::Press ? y : y + e.dy;
        if (e.act == Act::Move) onMotion(ex, ey);
        else onMouse(e.button, e.act == Act::Press ? GLUT_DOWN : GLUT_UP, ex, ey);
    }
    ASSERT_EQ(Session.points.size(), row.after.size());
    for (std::size_t i = 0; i < row.after.size(); ++i) {
        const Expected& p = row.after[i];
        // A press lands within half a pixel of its target, and the point is rounded.
        EXPECT_NEAR(Session.points[i].x, p.x + p.dx * unit, 0.5 * unit + 0.5) << "point " << i;
        EXPECT_NEAR(Session.points[i].y, p.y - p.dy * unit, 0.5 * unit + 0.5) << "point " << i;
        EXPECT_EQ(Session.points[i].x, std::round(Session.points[i].x));
    }
    EXPECT_EQ(Session.notice, row.notice);
    EXPECT_EQ(effectBetween(before, picture()), row.effect);
    // Whatever changed, the steps are those of the set, and the finished hull is still shown.
    EXPECT_EQ(Session.trace.points.size(), Session.points.size());
    EXPECT_EQ(Session.steps.step, stepCount(Session.trace));
    EXPECT_EQ(Scene.points.size(), Session.points.size() + std::size_t(Session.result.count));
}

constexpr int L = GLUT_LEFT_BUTTON, M = GLUT_MIDDLE_BUTTON, R = GLUT_RIGHT_BUTTON;
constexpr Act Press = Act::Press, Move = Act::Move, Release = Act::Release;
const char* const Refused = "Najvise 10000 tacaka: tacka nije dodata";
const char* const LastStays = "Poslednja tacka se ne moze ukloniti";

INSTANTIATE_TEST_SUITE_P(
    Rows, EditGestures,
    testing::Values(
        EditRow{"ClickOnAnEmptyPlaceAdds", Square, {300, 650}, {{Press, L, 0, 0}, {Release, L, 0, 0}},
                expected(Square, {{300, 650}}), "", Effect::None},
        EditRow{"AClickMayWanderThreePixels", Square, {300, 650},
                {{Press, L, 0, 0}, {Move, L, 2, 2}, {Move, L, 3, 0}, {Release, L, 3, 0}}, expected(Square, {{300, 650}}),
                "", Effect::None},
        EditRow{"FourPixelsMakeAPanAndAddNothing", Square, {300, 650},
                {{Press, L, 0, 0}, {Move, L, 4, 0}, {Release, L, 4, 0}}, expected(Square), "", Effect::Pan},
        EditRow{"DragFromEightPixelsMovesThePoint", Square, {900, 900},
                {{Press, L, -5, 5}, {Move, L, 10, -10}, {Move, L, 30, -20}, {Release, L, 30, -20}},
                {{100, 100}, {900, 100}, {900, 900, 30, -20}, {100, 900}, {500, 500}}, "", Effect::None},
        EditRow{"DragFromNinePixelsPans", Square, {900, 900}, {{Press, L, 9, 0}, {Move, L, 30, 0}, {Release, L, 30, 0}},
                expected(Square), "", Effect::Pan},
        EditRow{"RightClickWithinEightPixelsRemoves", Square, {500, 500}, {{Press, R, 0, 8}, {Release, R, 0, 8}},
                expected({Square.begin(), Square.end() - 1}), "", Effect::None},
        EditRow{"RightClickNinePixelsAwayRemovesNothing", Square, {500, 500}, {{Press, R, 0, 9}, {Release, R, 0, 9}},
                expected(Square), "", Effect::None},
        EditRow{"RightDragRotatesAndKeepsThePoint", Square, {500, 500},
                {{Press, R, 0, 0}, {Move, R, 20, 0}, {Release, R, 20, 0}}, expected(Square), "", Effect::Rotate},
        // The corners of the widest set a points file holds: every gesture still
        // finds the scene plane, framed as it opens and zoomed in to the limit.
        EditRow{"WideSetTakesAClick", Wide, {8000000, 4000000}, {{Press, L, 0, 0}, {Release, L, 0, 0}},
                expected(Wide, {{8000000, 4000000}}), "", Effect::None},
        EditRow{"WideSetMovesACorner", Wide, {16777216, 16777216},
                {{Press, L, 0, 0}, {Move, L, -10, 10}, {Move, L, -30, 20}, {Release, L, -30, 20}},
                {{-16777216, -16777216}, {16777216, -16777216}, {16777216, 16777216, -30, 20}, {-16777216, 16777216}},
                "", Effect::None},
        EditRow{"WideSetPans", Wide, {8000000, 4000000}, {{Press, L, 0, 0}, {Move, L, 40, 0}, {Release, L, 40, 0}},
                expected(Wide), "", Effect::Pan},
        EditRow{"WideSetZoomedInTakesAClick", Wide, {3, 5},
                {{Press, M, 0, 0, false}, {Move, M, 0, -29100}, {Release, M, 0, 0}, {Press, L, 0, 0}, {Release, L, 0, 0}},
                expected(Wide, {{3, 5}}), "", Effect::Zoom},
        EditRow{"TheLastPointStays", {{500, 500}}, {500, 500}, {{Press, R, 0, 0}, {Release, R, 0, 0}},
                {{500, 500}}, LastStays, Effect::None},
        EditRow{"TenThousandTakeNoMore", fullGrid(), {950, 500}, {{Press, L, 0, 0}, {Release, L, 0, 0}},
                expected(fullGrid()), Refused, Effect::None},
        // Zoomed out a million times, a click lands far beyond what a points file holds.
        EditRow{"FarOutAddsAtTheCoordinateLimit", Square, {4e8f, 3e8f},
                {{Press, M, 0, 0, false}, {Move, M, 0, 29100}, {Release, M, 0, 0}, {Press, L, 0, 0}, {Release, L, 0, 0}},
                expected(Square, {{16777216, 16777216}}), "", Effect::Zoom},
        EditRow{"LeftAndRightTogetherZoom", Square, {300, 650},
                {{Press, L, 0, 0}, {Press, R, 0, 0}, {Move, R, 0, -30}, {Release, R, 0, -30}}, expected(Square), "",
                Effect::Zoom},
        EditRow{"OffClicksAreNavigationsAlone", Square, {500, 500},
                {{Press, L, 30, 0}, {Release, L, 30, 0}, {Press, R, 0, 0}, {Release, R, 0, 0}}, expected(Square), "",
                Effect::None, false}),
    [](const auto& i) { return std::string(i.param.name); });

// The square in the window, as an edit leaves it; the window's records go
// back to their start after each test, whatever it asserted.
class EditSteps : public testing::Test {
protected:
    void SetUp() override
    {
        openTestWindow();
        Session.points = Square;
        rebuildEdited(Session);
    }
    void TearDown() override
    {
        Session = {};
    }
};
using EditKeys = EditSteps;

// An edit keeps the step shown where the new set still has it, and the
// finished hull where it was shown.
TEST_F(EditSteps, StayWithinTheNewStepCount)
{
    ASSERT_EQ(stepCount(Session.trace), 4);
    Session.steps.step = 3;
    Session.points.pop_back();
    Session.points.pop_back();
    rebuildEdited(Session);
    EXPECT_EQ(Session.steps.step, 3) << "a triangle has steps 0 to 3";
    Session.points.pop_back();
    rebuildEdited(Session);
    EXPECT_EQ(Session.steps.step, 2) << "the finished hull of two points";
    Session.points = Square;
    rebuildEdited(Session);
    EXPECT_EQ(Session.steps.step, 4) << "the finished hull of the square";
}

// M goes through the four methods: from the finished hull, to each one's
// finished hull, the run's own picture. U shows the four methods compared on
// the set, and the comparison follows an edit.
TEST_F(EditSteps, MethodsAndTheirComparisonFollowTheSet)
{
    const Frame finished = drawAndRead();
    for (const HullMethod m : {HullMethod::Jarvis, HullMethod::Graham, HullMethod::Andrew, HullMethod::Farthest}) {
        onKeyboard('m', 0, 0);
        EXPECT_EQ(Session.method, m);
        EXPECT_EQ(Session.steps.step, finishedStep(Session)) << hullMethodName(m);
        EXPECT_TRUE(drawAndRead() == finished) << hullMethodName(m);
    }
    const auto shows = [](const std::string& line) {
        const std::vector<std::string> text = shownText();
        return std::find(text.begin(), text.end(), line) != text.end();
    };
    onKeyboard('u', 0, 0);
    EXPECT_TRUE(shows("najdalja: temena 4, koraka 3, testova orijentacije 7, poredjenja 0"))
        << testing::PrintToString(shownText());
    EXPECT_TRUE(shows("Sva cetiri metoda daju isti omotac."));
    ASSERT_TRUE(addEditPoint(Session, 1000, 500));
    rebuildEdited(Session);
    EXPECT_TRUE(shows("jarvis: temena 5, koraka 5, testova orijentacije 30, poredjenja 0"));
    onKeyboard('u', 0, 0);
    EXPECT_FALSE(shows("Sva cetiri metoda daju isti omotac."));
}

// An edit leaves the view where it is; R frames the set as it is then, and a
// resize does the same.
TEST_F(EditSteps, TheViewStaysUntilRFramesTheNewSet)
{
    onReshape(WindowWidth, WindowHeight);
    const auto before = projectionMatrix();
    const Framing opened = frameBox(Scene.box);
    ASSERT_TRUE(addEditPoint(Session, 3000, -2000));
    rebuildEdited(Session);
    EXPECT_EQ(projectionMatrix(), before);
    EXPECT_EQ(ViewState.viewCenterX, opened.viewCenterX);
    onKeyboard('r', 0, 0);
    const Framing now = frameBox(Scene.box);
    EXPECT_EQ(std::make_pair(ViewState.viewCenterX, ViewState.eyeDistance), std::make_pair(now.viewCenterX, now.eyeDistance));
    const WindowPoint added = drawnAt(3000, -2000);
    EXPECT_TRUE(added.x > 0 && added.x < WindowWidth && added.y > 0 && added.y < WindowHeight) << added.x << ", " << added.y;
}

// S and X name the file they wrote; a write that fails says why, in the
// caption and on stderr, and leaves nothing.
TEST_F(EditKeys, SaveAndExportNameTheirFilesOrTheFault)
{
    {
        TempDir dir;
        onKeyboard('s', 0, 0);
        EXPECT_EQ(Session.notice, "Tacke sacuvane u omotac-tacke-1.txt");
        std::array<Point, PointCapacity> read;
        EXPECT_EQ(loadPoints("omotac-tacke-1.txt", read).count, 5);
        onKeyboard('X', 0, 0);
        EXPECT_EQ(Session.notice, "Slika sacuvana u omotac-slika-1.svg");
        onSpecialKey(GLUT_KEY_HOME, 0, 0);
        EXPECT_EQ(Session.notice, "") << "a notice lasts until the next key";
        onKeyboard('e', 0, 0);
        std::vector<std::string> caption;
        editLines(Session, caption);
        ASSERT_EQ(caption.size(), 2u);
        EXPECT_EQ(caption[0], "Uredjivanje tacaka");
        EXPECT_TRUE(caption[1].starts_with("Tacke: 5  Temena: 4  Vreme: ")) << caption[1];
        EXPECT_TRUE(caption[1].ends_with(" ms")) << caption[1];

        // A working directory that no longer exists takes no file, even from
        // root; the message says so and which file failed.
        std::filesystem::remove_all(dir.path);
        for (const auto& [key, file] : {std::pair{'s', "omotac-tacke-N.txt"}, std::pair{'x', "omotac-slika-N.svg"}}) {
            testing::internal::CaptureStderr();
            onKeyboard(key, 0, 0);
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_EQ(Session.notice, std::string("Cuvanje ") + file
                                          + " u tekuci direktorijum nije uspelo: radni direktorijum vise ne postoji");
            EXPECT_EQ(err, Session.notice + "\n");
        }
        std::filesystem::create_directory(dir.path);
    }
}

} // namespace

// What the toolkit reports, as the program's own events: the one place the
// window's logic meets the toolkit's buttons, states and keys.
TEST(ToolkitEvents, BecomeTheProgramsOwn)
{
    using K = InputEvent::Kind;
    using B = MouseButton;
    const struct {
        const char* name;
        InputEvent got, want;
    } rows[] = {
        {"left down", mouseEvent(GLUT_LEFT_BUTTON, GLUT_DOWN, 3, 4), {K::Press, B::Left, 3, 4, 0}},
        {"middle down", mouseEvent(GLUT_MIDDLE_BUTTON, GLUT_DOWN, 0, 0), {K::Press, B::Middle, 0, 0, 0}},
        {"right up", mouseEvent(GLUT_RIGHT_BUTTON, GLUT_UP, -5, 70000), {K::Release, B::Right, -5, 70000, 0}},
        {"the wheel away", mouseEvent(3, GLUT_DOWN, 1, 2), {K::Press, B::WheelUp, 1, 2, 0}},
        {"the wheel back", mouseEvent(4, GLUT_UP, 1, 2), {K::Release, B::WheelDown, 1, 2, 0}},
        {"a side button", mouseEvent(7, GLUT_DOWN, 1, 2), {K::Press, B::Other, 1, 2, 0}},
        {"motion", motionEvent(10, 20), {K::Motion, B::Other, 10, 20, 0}},
        {"a character", keyEvent('N'), {K::Key, B::Other, 0, 0, 'N'}},
        {"escape", keyEvent(27), {K::Key, B::Other, 0, 0, 27}},
        {"right arrow", specialKeyEvent(GLUT_KEY_RIGHT), {K::Key, B::Other, 0, 0, KeyRight}},
        {"left arrow", specialKeyEvent(GLUT_KEY_LEFT), {K::Key, B::Other, 0, 0, KeyLeft}},
        {"home", specialKeyEvent(GLUT_KEY_HOME), {K::Key, B::Other, 0, 0, KeyHome}},
        {"end", specialKeyEvent(GLUT_KEY_END), {K::Key, B::Other, 0, 0, KeyEnd}},
        {"F1", specialKeyEvent(GLUT_KEY_F1), {K::Key, B::Other, 0, 0, KeyF1}},
        {"F2 is no key of ours", specialKeyEvent(GLUT_KEY_F2), {K::Ignored, B::Other, 0, 0, 0}},
    };
    for (const auto& r : rows) EXPECT_EQ(r.got, r.want) << r.name;
}
