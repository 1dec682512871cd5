// What the window draws: the palette and primitives, the step pictures and
// their text, the picture builder without a window, the controller's keys,
// guess mode and the SVG export.

#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <deque>
#include <map>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "camera.hpp"
#include "captions.hpp"
#include "controller.hpp"
#include "hull.hpp"
#include "palette.hpp"
#include "picture.hpp"
#include "session.hpp"
#include "step_keys.hpp"
#include "svg.hpp"
#include "svg_groups.hpp"
#include "temp_dir.hpp"
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
    // What a run hands the window: input points, then the hull vertices again, then the outline.
    const Point a = at(100, 100), b = at(900, 100), c = at(500, 800), inner = at(500, 400);
    showSet({a, b, c, inner});
    const Frame f = drawAndRead();

    EXPECT_TRUE(shows(f, inner, Blue));
    for (const Point& p : {a, b, c}) {
        EXPECT_TRUE(shows(f, p, Black));
        EXPECT_FALSE(shows(f, p, Blue)) << "the black copy covers the blue one";
    }
    EXPECT_TRUE(shows(f, at(500, 100), Red)) << "edge a-b";
    EXPECT_TRUE(shows(f, at(300, 450), Red)) << "edge c-a";
    EXPECT_TRUE(shows(f, at(300, 300), Background));
    Session = {};
}

// The hand-over fills the Scene as the run always has: the inputs blue, the
// vertices over them black in the order found, then the closed outline
// clockwise from the lowest of the leftmost vertices (the order the outline
// sort gives), and a set that is one point has its two copies and two
// segments of no length.
TEST(HandOver, FillsTheSceneAsTheRunDoes)
{
    std::vector<std::vector<Point>> sets{{at(5, 5)}, {at(7, 7), at(7, 7), at(7, 7)}, {at(3, 9), at(1, 2)},
                                         {at(0, 10), at(0, 0), at(10, 0), at(10, 10), at(5, 5), at(0, 5)}};
    // Whole coordinates 0..999 from a fixed linear congruential sequence.
    std::uint32_t state = 2024;
    const auto draw = [&] { return float(((state = state * 1664525u + 1013904223u) >> 8) % 1000u); };
    for (const int n : {3, 30, 1000}) {
        std::vector<Point>& set = sets.emplace_back();
        for (int i = 0; i < n; ++i) set.push_back(at(draw(), draw()));
    }
    for (const std::vector<Point>& set : sets) {
        const auto n = std::int32_t(set.size());
        const std::int32_t count = computeHull(set.data(), n);
        const std::vector<Point> found(HullBuffer.begin(), HullBuffer.begin() + count);
        loadRun(set, {count, 0}, found);
        orderHullOutline(count);
        ASSERT_EQ(Scene.points.size(), set.size() + found.size());
        for (std::size_t i = 0; i < Scene.points.size(); ++i) {
            const Point& want = i < set.size() ? set[i] : found[i - set.size()];
            EXPECT_EQ(std::tuple(Scene.points[i].x, Scene.points[i].y, Scene.points[i].color),
                      std::tuple(want.x, want.y, i < set.size() ? InputColor : HullVertexColor));
        }
        ASSERT_EQ(Scene.segments.size(), std::size_t(count)) << n << " points";
        for (std::int32_t i = 0; i < count; ++i) {
            const Segment& s = Scene.segments[std::size_t(i)];
            const Point &a = HullBuffer[std::size_t(i)], &b = HullBuffer[std::size_t((i + 1) % count)];
            EXPECT_EQ(std::tuple(s.start.x, s.start.y, s.end.x, s.end.y, s.color), std::tuple(a.x, a.y, b.x, b.y, 0))
                << n << " points, segment " << i;
        }
    }
    Session = {};
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

// Draws a frame and checks that both matrices and the matrix mode are as they were.
void expectFrameKeepsTheMatrices()
{
    const auto modelview = [] {
        std::array<double, 16> m{};
        glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
        return m;
    };
    const auto projection = projectionMatrix(), model = modelview();
    drawFrame();
    EXPECT_EQ(projectionMatrix(), projection);
    EXPECT_EQ(modelview(), model);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
}

TEST_F(Rendering, FrameLeavesTheMatricesAsItFoundThem)
{
    showScene(spanningScene());
    expectFrameKeepsTheMatrices();
}

// The worked example of the hull, spread over 0..900: points 1 and 2 are L
// and R, point 3 the farthest above them, and point 0 the only one inside.
const std::vector<Point> Worked{at(500, 500), at(0, 300), at(900, 400), at(400, 900),
                                at(600, 0),   at(200, 700), at(800, 800), at(300, 100)};
constexpr std::int32_t WorkedSteps = 7;

// The window after a run on Worked: the Scene as the console run fills it, the
// steps to replay, and the view on the finished hull with no text.
class Steps : public Rendering {
protected:
    void SetUp() override { showSet(Worked); }
    void TearDown() override { Session = {}; }
    Frame showStep(std::int32_t step)
    {
        Session.steps.step = step;
        return drawAndRead();
    }
    static Rgb8 centre(const Frame& f, const Point& p)
    {
        const WindowPoint w = drawnAt(p.x, p.y);
        return f.at(int(w.x), int(w.y));
    }
};

struct StepLook {
    std::int32_t step;
    const char* points; // per point of Worked: b blue, w white, k black
    std::vector<std::pair<Point, Rgb8>> marks; // more places and the colour there
    std::vector<std::string> caption;
};

void PrintTo(const StepLook& l, std::ostream* os) { *os << "step " << l.step; }

class StepPicture : public Steps, public testing::WithParamInterface<StepLook> {};

// Undecided points blue, ruled out white, vertices found black; the hull so
// far red, the edge just split and its triangle orange, a ring round the new
// vertex; the finished hull as the run drew it.
TEST_P(StepPicture, ShowsWhatTheStepDecided)
{
    const StepLook& look = GetParam();
    const Frame f = showStep(look.step);
    for (std::size_t i = 0; i < Worked.size(); ++i) {
        const char c = look.points[i];
        EXPECT_EQ(centre(f, Worked[i]), c == 'k' ? Black : c == 'w' ? White : Blue) << "point " << i;
        // Ruled out, on the beige background: a grey rim keeps it in sight.
        const WindowPoint w = drawnAt(Worked[i].x, Worked[i].y);
        if (c == 'w') {
            EXPECT_TRUE(f.hasNear(w.x - 3, w.y - 3, Rim)) << "point " << i;
        }
    }
    for (const auto& [p, colour] : look.marks) EXPECT_TRUE(shows(f, p, colour)) << p.x << ", " << p.y;
    std::vector<std::string> caption;
    stepCaption(Session.trace, look.step, caption);
    EXPECT_EQ(caption, look.caption);
}

const Point MidLR = at(450, 350), MidL3 = at(200, 600), Mid3R = at(650, 650);

INSTANTIATE_TEST_SUITE_P(
    Worked, StepPicture,
    testing::Values(
        StepLook{0, "bbbbbbbb", {{MidLR, Background}}, {"Korak 0 od 7", "Ulazne tacke: 8"}},
        // Edges with undecided points beyond them wait in purple.
        StepLook{1, "bkkbbbbb", {{MidLR, Purple}, {MidL3, Background}},
                 {"Korak 1 od 7", "Krajnje tacke: L (0, 300), R (900, 400)",
                  "Ispitano tacaka: 8, ukupno 8; iskljuceno: 0", "Sledeca ivica: (0, 300) - (900, 400)"}},
        StepLook{2, "wkkkbbbb", {{MidLR, Orange}, {MidL3, Orange}, {Mid3R, Orange}},
                 {"Korak 2 od 7", "Najdalja tacka od ivice (0, 300) - (900, 400): (400, 900)", "Neodlucene tacke: 4",
                  "Ispitano tacaka: 4, ukupno 12; iskljuceno: 1", "Sledeca ivica: (0, 300) - (400, 900)"}},
        StepLook{3, "wkkkbkbb", {{MidLR, Purple}, {MidL3, Orange}, {Mid3R, Purple}, {at(100, 500), Orange}},
                 {"Korak 3 od 7", "Najdalja tacka od ivice (0, 300) - (400, 900): (200, 700)", "Neodlucene tacke: 3",
                  "Ispitano tacaka: 1, ukupno 13; iskljuceno: 0", "Sledeca ivica: (400, 900) - (900, 400)"}},
        StepLook{4, "wkkkbkkb", {{MidL3, Background}, {MidLR, Purple}, {at(850, 600), Orange}, {at(300, 800), Red}},
                 {"Korak 4 od 7", "Najdalja tacka od ivice (400, 900) - (900, 400): (800, 800)", "Neodlucene tacke: 2",
                  "Ispitano tacaka: 1, ukupno 14; iskljuceno: 0", "Sledeca ivica: (900, 400) - (0, 300)"}},
        StepLook{5, "wkkkkkkb", {{MidLR, Orange}, {at(600, 850), Red}},
                 {"Korak 5 od 7", "Najdalja tacka od ivice (900, 400) - (0, 300): (600, 0)", "Neodlucene tacke: 1",
                  "Ispitano tacaka: 2, ukupno 16; iskljuceno: 0", "Sledeca ivica: (600, 0) - (0, 300)"}},
        StepLook{6, "wkkkkkkk", {{MidLR, Background}, {at(450, 50), Orange}, {at(750, 200), Red}},
                 {"Korak 6 od 7", "Najdalja tacka od ivice (600, 0) - (0, 300): (300, 100)", "Neodlucene tacke: 0",
                  "Ispitano tacaka: 1, ukupno 17; iskljuceno: 0"}},
        StepLook{WorkedSteps, "bkkkkkkk", {{MidLR, Background}, {MidL3, Background}, {at(100, 500), Red}},
                 {"Korak 7 od 7", "Temena omotaca: 7", "Ukupno ispitano: 17 za 8 tacaka"}}),
    [](const auto& i) { return "Step" + std::to_string(i.param.step); });

// Text lies on a band of the background colour that lets the picture show
// faintly through: on a blue picture, the band's edge is a quarter blue.
TEST_F(Steps, TextSitsOnAHalfOpaqueBand)
{
    onSpecialKey(GLUT_KEY_HOME, 0, 0);
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    const Frame f = drawAndRead();
    glClearColor(BackgroundColor.r, BackgroundColor.g, BackgroundColor.b, 0.0f);
    const Rgb8 band = f.at(8, f.height - 1 - 18);
    EXPECT_NEAR(band.r, 172, 2);
    EXPECT_NEAR(band.g, 172, 2);
    EXPECT_NEAR(band.b, 217, 2);
    EXPECT_EQ(f.at(f.width / 2, f.height / 2), Blue) << "the rest of the picture stays as it is";
}

TEST_F(Steps, RingRoundTheNewVertexIsTwelvePixelsWide)
{
    const Frame f = showStep(2);
    const WindowPoint v = drawnAt(400, 900);
    for (const auto& [dx, dy] : {std::pair{12, 0}, {-12, 0}, {0, 12}, {0, -12}})
        EXPECT_TRUE(f.hasNear(v.x + dx, v.y + dy, Orange)) << dx << ", " << dy;
    EXPECT_FALSE(f.hasNear(v.x + 6, v.y + 6, Orange));
}

// Pixels of the top-left corner, where the caption and the help go, that are
// black in f and not in base.
int textPixels(const Frame& f, const Frame& base)
{
    int text = 0;
    for (int y = f.height - 200; y < f.height; ++y)
        for (int x = 0; x < 400; ++x) text += f.at(x, y) == Black && base.at(x, y) != Black;
    return text;
}

TEST_F(Steps, TextComesWithTheFirstStepKeyAndLeavesTheGLStateAlone)
{
    // Until a key, the window is the run's picture as it was without steps.
    const Frame opened = drawAndRead();
    const SessionRecord kept = Session;
    Session = {};
    EXPECT_EQ(drawAndRead(), opened);
    Session = kept;
    // Keys that are not step keys bring no caption.
    onKeyboard('z', 0, 0);
    onKeyboard('r', 0, 0);
    EXPECT_EQ(drawAndRead(), opened);

    onSpecialKey(GLUT_KEY_HOME, 0, 0);
    const Frame captioned = drawAndRead();
    EXPECT_GT(textPixels(captioned, opened), 50);
    onKeyboard('h', 0, 0);
    EXPECT_GT(textPixels(drawAndRead(), opened), textPixels(captioned, opened) + 500) << "the help below the caption";
    onSpecialKey(GLUT_KEY_F1, 0, 0);
    EXPECT_EQ(drawAndRead(), captioned);

    // Step 0 draws blue points last: the text's black does not stay current,
    // and neither the matrices nor the matrix mode change.
    onKeyboard('h', 0, 0);
    expectFrameKeepsTheMatrices();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 3), (std::vector<float>{0, 0, 1}));
}

struct KeyPlay {
    const char* name;
    std::vector<StepKey> keys; // Tick: the next timer the toolkit would call; Slower, Faster: - and +
    std::int32_t step;
    bool playing, captioned, help;
    const char* playText = ""; // what the caption says of the play
    int millis = 800;          // between two steps of a play
};
constexpr StepKey Tick = StepKey(-1), Slower = StepKey(-2), Faster = StepKey(-3);

void PrintTo(const KeyPlay& k, std::ostream* os) { *os << k.name; }

class StepKeys : public testing::TestWithParam<KeyPlay> {};

// From the finished hull of the worked example (step 7), with timers run in
// the order the toolkit runs them: each tick may start the next.
TEST_P(StepKeys, MoveThroughTheSteps)
{
    const KeyPlay& k = GetParam();
    StepState s;
    s.step = WorkedSteps;
    std::deque<std::int32_t> timers;
    for (const StepKey key : k.keys) {
        if (key == Slower || key == Faster) {
            changePace(s, key == Slower ? '-' : '+');
        } else if (key != Tick) {
            if (pressStepKey(s, key, WorkedSteps)) timers.push_back(s.playRound);
        } else if (!timers.empty()) {
            const std::int32_t round = timers.front();
            timers.pop_front();
            if (playTick(s, round, WorkedSteps)) timers.push_back(round);
        }
    }
    EXPECT_EQ(s.step, k.step);
    EXPECT_EQ(s.playing, k.playing);
    EXPECT_EQ(s.captioned, k.captioned);
    EXPECT_EQ(s.help, k.help);
    EXPECT_STREQ(playLine(s), k.playText);
    EXPECT_EQ(playMillis(s), k.millis);
}

using K = StepKey;
INSTANTIATE_TEST_SUITE_P(
    Sequences, StepKeys,
    testing::Values(KeyPlay{"NextAtTheEndDoesNothing", {K::Next}, 7, false, true, false},
                    KeyPlay{"PreviousFromTheEnd", {K::Previous}, 6, false, true, false},
                    KeyPlay{"HomeThenNextTwice", {K::First, K::Next, K::Next}, 2, false, true, false},
                    KeyPlay{"PreviousStopsAtZero", {K::First, K::Previous}, 0, false, true, false},
                    KeyPlay{"EndFromAnywhere", {K::First, K::Next, K::Last}, 7, false, true, false},
                    KeyPlay{"SpaceAtTheEndPlaysFromZero", {K::Play}, 0, true, true, false, "Reprodukcija: 0.8 s po koraku"},
                    KeyPlay{"PlayMovesOnEachTick", {K::First, K::Play, Tick, Tick, Tick}, 3, true, true, false, "Reprodukcija: 0.8 s po koraku"},
                    KeyPlay{"PlayStopsAtTheEnd", {K::Play, Tick, Tick, Tick, Tick, Tick, Tick, Tick, Tick, Tick}, 7,
                            false, true, false},
                    KeyPlay{"SpacePauses", {K::First, K::Play, Tick, K::Play, Tick, Tick}, 1, false, true, false, "Pauza"},
                    KeyPlay{"PauseAndPlayAgainLeavesOneTimer",
                            {K::First, K::Play, K::Play, K::Play, Tick, Tick}, 1, true, true, false, "Reprodukcija: 0.8 s po koraku"},
                    KeyPlay{"AStepKeyStopsThePlay", {K::First, K::Play, Tick, K::Next, Tick, Tick}, 2, false, true,
                            false},
                    KeyPlay{"OtherKeysLeaveTheSteps", {K::None}, 7, false, false, false},
                    // Four paces: two slower than the usual, one faster, and no further either way.
                    KeyPlay{"SlowerTwiceThenNoSlower", {Slower, Slower, Slower, K::Play}, 0, true, true, false,
                            "Reprodukcija: 3.2 s po koraku", 3200},
                    KeyPlay{"FasterOnceThenNoFaster", {K::Play, Faster, Faster}, 0, true, true, false,
                            "Reprodukcija: 0.4 s po koraku", 400},
                    KeyPlay{"ThePaceOutlastsAStop", {Slower, K::Play, K::Next, Tick}, 1, false, true, false, "", 1600}),
    [](const auto& i) { return std::string(i.param.name); });

// A run that names a method (--metod) opens on the finished hull, as every
// run does, with that method's steps to go through.
TEST(HandOver, TheRunsMethodIsTheOneStepped)
{
    openTestWindow();
    RunSource source;
    source.method = HullMethod::Graham;
    const HullResult result{computeHull(Worked.data(), std::int32_t(Worked.size())), 0};
    takeRun(source, Worked, result, {HullBuffer.data(), std::size_t(result.count)});
    startSession(WindowWidth, WindowHeight);
    EXPECT_EQ(Session.steps.step, 7) << "Graham's finished hull, after its step 0 and 6 points taken";
    EXPECT_EQ(framePicture().scene, &Scene);
    handleInput({InputEvent::Kind::Key, MouseButton::Other, 0, 0, KeyHome});
    handleInput({InputEvent::Kind::Key, MouseButton::Other, 0, 0, KeyRight});
    EXPECT_EQ(shownText().at(0), "Korak 1 od 7 (graham)");
    Session = {};
}

// The picture builder on its own, with no window: what it says to draw for
// the session's state, in scene primitives and text blocks.
struct BuiltRow {
    const char* name;
    std::int32_t step;
    bool captioned = true, panel = false;
    Mode mode = Mode::View;
    std::int32_t question = -1;
    const char* notice = "";
    const char* points = "";       // per point of Worked: b blue, w white, k black; "" for the finished Scene
    std::string segments = "";     // the segments' colours in order, one digit each
    std::size_t rings = 0;
    std::vector<std::pair<int, std::string>> blocks = {}; // each block's left edge and first line
    HullMethod method = HullMethod::Farthest;
};

void PrintTo(const BuiltRow& r, std::ostream* os) { *os << r.name; }

class PictureBuilder : public testing::TestWithParam<BuiltRow> {};

TEST_P(PictureBuilder, SaysWhatToDrawWithoutAWindow)
{
    const BuiltRow& row = GetParam();
    const HullResult result{computeHull(Worked.data(), std::int32_t(Worked.size())), 0};
    takeRun({}, Worked, result, {HullBuffer.data(), std::size_t(result.count)});
    Session.steps.step = row.step;
    Session.steps.captioned = row.captioned;
    Session.panel = row.panel;
    Session.mode = row.mode;
    Session.guess.question = row.question;
    Session.notice = row.notice;
    Session.method = row.method;
    traceShownMethod(Session);
    const Picture& p = buildPicture(Session, {WindowWidth, WindowHeight, 7.0f});

    if (!*row.points) {
        EXPECT_EQ(p.scene, &Scene);
    } else {
        std::string colours;
        for (std::size_t i = 0; i < Worked.size(); ++i) {
            const ColorIndex c = p.scene->points[i].color;
            colours += c == InputColor ? 'b' : c == RuledOutColor ? 'w' : '?';
        }
        // The vertices found so far come after the inputs, black.
        for (std::size_t i = Worked.size(); i < p.scene->points.size(); ++i) {
            const Point& v = p.scene->points[i];
            const auto at = std::find_if(Worked.begin(), Worked.end(), [&](const Point& w) { return w.x == v.x && w.y == v.y; });
            colours[std::size_t(at - Worked.begin())] = v.color == HullVertexColor ? 'k' : '?';
        }
        EXPECT_EQ(colours, row.points);
        std::string segments;
        for (const Segment& s : p.scene->segments) segments += char('0' + s.color);
        EXPECT_EQ(segments, row.segments);
        ASSERT_EQ(p.scene->circles.size(), row.rings);
        for (const Circle& k : p.scene->circles) EXPECT_EQ(k.radius, 7.0f);
    }
    std::vector<std::pair<int, std::string>> blocks;
    for (const TextBlock& b : p.text) blocks.emplace_back(b.left, b.lines.at(0));
    EXPECT_EQ(blocks, row.blocks);
    Session = {};
}

constexpr int PanelLeft = WindowWidth - PanelWidth + Margin;

INSTANTIATE_TEST_SUITE_P(
    Worked, PictureBuilder,
    testing::Values(
        BuiltRow{"TheFinishedHullAlone", WorkedSteps, false},
        BuiltRow{"AStepWithItsCaption", 2, true, false, Mode::View, -1, "", "wkkkbbbb", "777444", 1,
                 {{Margin, "Korak 2 od 7 (najdalja)"}}},
        BuiltRow{"TheQuestionShowsTheStepBeforeAndTheEdge", 1, true, false, Mode::Guess, 2, "", "bkkbbbbb", "774", 0,
                 {{Margin, "Korak 2 od 7 (najdalja)"}}},
        BuiltRow{"ThePanelAtTheRightEdge", 3, true, true, Mode::View, -1, "", "wkkkbkbb", "0077444", 1,
                 {{Margin, "Korak 3 od 7 (najdalja)"}, {PanelLeft, "Metod najdalje tacke (A: sakrij)"}}},
        BuiltRow{"EditModeAndANoticeFirst", WorkedSteps, true, false, Mode::Edit, -1, "Tacke sacuvane u x.txt", "", "", 0,
                 {{Margin, "Uredjivanje tacaka"}, {Margin, "Korak 7 od 7 (najdalja)"}}},
        // Gift wrapping from (600, 0) counter-clockwise: the edge laid red, the
        // one chosen at the step orange with the vertex it reached ringed.
        BuiltRow{"WrapStep", 2, true, false, Mode::View, -1, "", "bbkbkbkb", "04", 1, {{Margin, "Korak 2 od 8 (jarvis)"}},
                 HullMethod::Jarvis},
        BuiltRow{"WrapQuestionRingsTheVertexItStandsOn", 1, true, false, Mode::Guess, 2, "", "bbkbkbbb", "0", 1,
                 {{Margin, "Korak 2 od 8 (jarvis)"}}, HullMethod::Jarvis},
        // Graham's scan about (600, 0): (500, 500) taken and popped, white;
        // rays to the three points still to come, the stack purple, the push orange.
        BuiltRow{"GrahamStep", 3, true, false, Mode::View, -1, "", "wbkkkbkb", "222774", 1,
                 {{Margin, "Korak 3 od 7 (graham)"}}, HullMethod::Graham},
        // The monotone chain on its upper pass: the lower chain final, red.
        BuiltRow{"ChainUpperStep", 9, true, false, Mode::View, -1, "", "bkkbkbkk", "00074", 1,
                 {{Margin, "Korak 9 od 15 (andrew)"}}, HullMethod::Andrew},
        BuiltRow{"EveryMethodFinishesOnTheRunsPicture", 15, false, false, Mode::View, -1, "", "", "", 0, {},
                 HullMethod::Andrew}),
    [](const auto& i) { return std::string(i.param.name); });

// The controller's own keys, from the finished hull of the worked example:
// Esc closes what is open and never quits, Q quits, and asks once more over
// edits not saved.
struct ControllerKeyRow {
    const char* name;
    bool unsaved;     // the set was edited before the keys
    const char* keys; // characters as typed; '>' the right arrow, '^' Home
    bool quit;        // what the last key asked of the platform
    bool help, panel;
    std::int32_t step, question;
    const char* notice = "";
};

void PrintTo(const ControllerKeyRow& r, std::ostream* os) { *os << r.name; }

class ControllerKeys : public Steps, public testing::WithParamInterface<ControllerKeyRow> {};

TEST_P(ControllerKeys, CloseQuitAndAsk)
{
    const ControllerKeyRow& row = GetParam();
    TempDir dir;
    Session.unsaved = row.unsaved;
    Requests last;
    for (const char* c = row.keys; *c; ++c) {
        const int key = *c == '>' ? KeyRight : *c == '^' ? KeyHome : static_cast<unsigned char>(*c);
        last = handleInput({InputEvent::Kind::Key, MouseButton::Other, 0, 0, key});
    }
    EXPECT_EQ(last.quit, row.quit);
    EXPECT_EQ(Session.steps.help, row.help);
    EXPECT_EQ(Session.panel, row.panel);
    EXPECT_EQ(Session.steps.step, row.step);
    EXPECT_EQ(Session.guess.question, row.question);
    EXPECT_EQ(Session.notice, row.notice);
    if (Session.panel) handleInput({InputEvent::Kind::Key, MouseButton::Other, 0, 0, 'a'});
}

const char* const AsksAgain = "Izmene nisu sacuvane: Q jos jednom za izlaz, S za cuvanje";

INSTANTIATE_TEST_SUITE_P(
    Keys, ControllerKeys,
    testing::Values(ControllerKeyRow{"QQuits", false, "q", true, false, false, WorkedSteps, -1},
                    ControllerKeyRow{"EscQuitsNothing", false, "\x1b", false, false, false, WorkedSteps, -1},
                    ControllerKeyRow{"HelpComesWithoutACaption", false, "h", false, true, false, WorkedSteps, -1},
                    ControllerKeyRow{"EscClosesTheHelp", false, "h\x1b", false, false, false, WorkedSteps, -1},
                    ControllerKeyRow{"EscClosesTheHelpBeforeThePanel", false, "ah\x1b", false, false, true, WorkedSteps, -1},
                    ControllerKeyRow{"AndThenThePanel", false, "ah\x1b\x1b", false, false, false, WorkedSteps, -1},
                    ControllerKeyRow{"EscClosesTheQuestionFirst", false, "hg^>>\x1b", false, true, false, 1, -1},
                    ControllerKeyRow{"TheQuestionAsksAgainAfterEsc", false, "g^>>\x1b>", false, false, false, 1, 2},
                    ControllerKeyRow{"QOverUnsavedEditsAsksFirst", true, "q", false, false, false, WorkedSteps, -1, AsksAgain},
                    ControllerKeyRow{"ASecondQQuits", true, "qq", true, false, false, WorkedSteps, -1},
                    ControllerKeyRow{"AnotherKeyBetweenAsksAgain", true, "q^q", false, false, false, 0, -1, AsksAgain},
                    ControllerKeyRow{"SavedEditsQuitAtOnce", true, "sq", true, false, false, WorkedSteps, -1}),
    [](const auto& i) { return std::string(i.param.name); });

// The window counts a hull's vertices as a person does: a set whose points
// all coincide has one, finished at step 1, and the points are counted in
// words that agree with the number.
TEST(Captions, CountAsAPersonDoes)
{
    const struct {
        std::vector<Point> set;
        std::vector<std::string> finished;
    } rows[] = {
        {{at(5, 5)}, {"Korak 1 od 1", "Temena omotaca: 1", "Ukupno ispitano: 1 za 1 tacku"}},
        {{at(7, 7), at(7, 7), at(7, 7)}, {"Korak 1 od 1", "Temena omotaca: 1", "Ukupno ispitano: 3 za 3 tacke"}},
        {{at(7, 7), at(9, 7)}, {"Korak 2 od 2", "Temena omotaca: 2", "Ukupno ispitano: 2 za 2 tacke"}},
    };
    for (const auto& r : rows) {
        HullTrace t;
        traceHull(r.set.data(), std::int32_t(r.set.size()), t);
        std::vector<std::string> lines;
        stepCaption(t, stepCount(t), lines);
        EXPECT_EQ(lines, r.finished);
    }
    const std::pair<int, const char*> words[] = {{1, "1 tacku"},    {2, "2 tacke"},     {4, "4 tacke"},
                                                 {5, "5 tacaka"},   {11, "11 tacaka"},  {12, "12 tacaka"},
                                                 {21, "21 tacku"},  {22, "22 tacke"},   {111, "111 tacaka"},
                                                 {114, "114 tacaka"}, {10000, "10000 tacaka"}};
    for (const auto& [n, text] : words) EXPECT_EQ(pointsAccusative(n), text);
}

// The picture writeSvg makes of scene, by group.
std::map<std::string, std::vector<SvgElement>> exported(const SceneStore& scene)
{
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(writeSvg(f, scene));
    std::string text(std::size_t(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), f), text.size());
    std::fclose(f);
    return svgGroups(text);
}

TEST(SvgExport, DrawsEveryPrimitiveInTheWindowsOrderAndColours)
{
    SceneStore s = spanningScene();
    // One point of every palette colour, then one outside it that keeps the last.
    for (int c = 0; c <= 10; ++c) s.points.push_back(at(float(100 * c), float(50 * c), c == 10 ? -1 : c));
    s.segments = {{at(0, 0), at(900, 450), 0}};
    s.lines = {{at(500, 500), at(0, 3), 1}};
    s.circles = {{at(500, 400), 100.0f, 5}};
    auto svg = exported(s);

    std::vector<std::string> order;
    for (const SvgElement& e : svg[""])
        if (e.tag == "g") order.push_back(e.attr.at("id"));
    EXPECT_EQ(order, (std::vector<std::string>{"circles", "lines", "segments", "points"}));
    const char* fills[] = {"#ff0000", "#00ff00", "#0000ff", "#ffff00", "#ff8000", "#ff00ff",
                           "#00ffff", "#800080", "#ffffff", "#000000", "#000000"};
    ASSERT_EQ(svg["points"].size(), s.points.size());
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        const SvgElement& p = svg["points"][i];
        EXPECT_EQ(p.tag + p.attr.at("fill"), std::string("rect") + fills[i]);
        // Centred on the point, y up: the picture's y is the scene's negated.
        EXPECT_NEAR(p["x"] + p["width"] / 2, s.points[i].x, 1e-6);
        EXPECT_NEAR(p["y"] + p["height"] / 2, -s.points[i].y, 1e-6);
    }
    ASSERT_EQ(svg["segments"].size() + svg["lines"].size() + svg["circles"].size(), 3u);
    const SvgElement &segment = svg["segments"][0], &line = svg["lines"][0], &circle = svg["circles"][0];
    EXPECT_EQ(segment.attr.at("stroke") + segment.attr.at("marker-end"), "#ff0000url(#end0)");
    EXPECT_EQ(segment["y2"], -450.0);
    EXPECT_EQ(line.attr.at("stroke"), "#00ff00");
    EXPECT_EQ(std::make_pair(line["y1"], line["y2"]), std::make_pair(-800.0, -200.0));
    EXPECT_EQ(circle.attr.at("stroke"), "#ff00ff");
    EXPECT_EQ(std::make_pair(circle["cy"], circle["r"]), std::make_pair(-400.0, 100.0));
}

// The method beside the picture: which lines each kind of step marks, and
// what each marked line is about at that step (the indented line below it).
TEST_F(Steps, TheMethodMarksTheLinesOfTheStepShown)
{
    const struct {
        std::int32_t step;
        bool asking;
        std::vector<int> marked;              // line numbers, 1 to 10
        std::map<int, std::string> about;     // a marked line's own detail
    } rows[] = {
        {0, false, {}, {}},
        {1, false, {1, 2}, {{1, "L = (0, 300), R = (900, 400)"}}},
        {2, false, {3, 5, 6, 7, 8}, {{3, "a-b: (0, 300) - (900, 400)"}, {5, "c = (400, 900)"}}},
        {3, false, {3, 4, 5, 6, 7, 8},
         {{3, "a-b: (0, 300) - (400, 900)"}, {4, "ovde a-c i c-b: obe su ivice omotaca"}, {5, "c = (200, 700)"}}},
        // The edge from R to the new vertex is final, the one on to L is not:
        // line 4 is about the first, line 5 about the edge split.
        {5, false, {3, 4, 5, 6, 7, 8},
         {{3, "a-b: (900, 400) - (0, 300)"}, {4, "ovde a-c: (900, 400) - (600, 0)"}, {5, "c = (600, 0)"}}},
        {WorkedSteps, false, {10}, {}},
        {2, true, {3, 5}, {{3, "a-b: (0, 300) - (900, 400)"}}},
    };
    for (const auto& r : rows) {
        std::vector<std::string> lines;
        methodLines(Session.trace, r.step, r.asking, lines);
        std::vector<int> marked;
        std::map<int, std::string> about;
        int number = 0;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            if (line.starts_with("      ")) {
                about[number] = line.substr(6);
                continue;
            }
            number = std::stoi(line.substr(2));
            if (line.starts_with("> ")) marked.push_back(number);
        }
        EXPECT_EQ(number, 10) << "every line of the method";
        EXPECT_EQ(marked, r.marked) << "step " << r.step << (r.asking ? " asking" : "");
        for (const auto& [n, text] : r.about) EXPECT_EQ(about[n], text) << "step " << r.step << ", line " << n;
    }
}

// A shows the panel at the right edge and frames the picture in the rest:
// no point lies under it. A again frames the whole window back.
TEST_F(Steps, ThePanelNeverCoversAPoint)
{
    const auto opened = projectionMatrix();
    onKeyboard('a', 0, 0);
    const Frame f = drawAndRead();
    for (const Point& p : Worked) {
        const WindowPoint w = drawnAt(p.x, p.y);
        EXPECT_LT(w.x + MarkerSize, WindowWidth - PanelWidth) << p.x << ", " << p.y;
        EXPECT_NE(f.at(int(w.x), int(w.y)), Background) << "still drawn";
    }
    int panelPixels = 0;
    for (int y = 0; y < f.height; ++y)
        for (int x = WindowWidth - PanelWidth; x < f.width; ++x) panelPixels += f.at(x, y) != Background;
    EXPECT_GT(panelPixels, 500) << "the method's text";
    onKeyboard('a', 0, 0);
    EXPECT_EQ(projectionMatrix(), opened);
    Session.panel = false;
}

// Guess mode on a set of its own, driven with the window's keys and clicks.
struct GuessRow {
    const char* name;
    std::vector<Point> set;
    std::string actions;     // g, e, m, Esc: keys; > right arrow; h: Home; space: Space; t: a timer tick; c: a click;
                             // w: a click that wanders 2 pixels while pressed
    std::vector<Point> clicks; // where each c clicks, in order
    std::int32_t step, question, hits, asked;
    const char* says; // a line the caption holds, "" for none in particular
    Rgb8 ring = Background; // colour of the ring round the last point clicked, where one is drawn
};

void PrintTo(const GuessRow& r, std::ostream* os) { *os << r.name; }

// L, R and three points above: two of them tie for farthest (the method takes
// the first), one is nearer; one point below.
const std::vector<Point> Tied{at(0, 0), at(100, 0), at(30, 50), at(70, 50), at(50, 10), at(50, -40)};

class Guessing : public testing::TestWithParam<GuessRow> {
protected:
    void SetUp() override
    {
        showSet(GetParam().set);
    }
    void TearDown() override { Session = {}; }
};

TEST_P(Guessing, AsksBeforeEachFarthestPoint)
{
    const GuessRow& row = GetParam();
    const auto view = projectionMatrix();
    std::size_t click = 0;
    for (const char c : row.actions) {
        if (c == '>') onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
        else if (c == 'h') onSpecialKey(GLUT_KEY_HOME, 0, 0);
        else if (c == 't') act(advancePlay(Session.steps.playRound));
        else if (c == 'c' || c == 'w') {
            const Point& p = row.clicks.at(click++);
            const WindowPoint w = drawnAt(p.x, p.y);
            const int x = int(std::lround(w.x)) + 2, y = toolkitY(w.y) - 2;
            onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
            if (c == 'w') onMotion(x + 2, y + 1);
            onMouse(GLUT_LEFT_BUTTON, GLUT_UP, x, y);
        } else onKeyboard(static_cast<unsigned char>(c), 0, 0);
    }
    EXPECT_EQ(Session.steps.step, row.step);
    EXPECT_EQ(Session.guess.question, row.question);
    EXPECT_EQ(Session.guess.hits, row.hits);
    EXPECT_EQ(Session.guess.asked, row.asked);
    EXPECT_EQ(projectionMatrix(), view) << "a click moves nothing, even one that wanders within the click radius";
    const Frame f = drawAndRead();
    const std::vector<std::string> caption = shownText();
    if (*row.says) {
        EXPECT_NE(std::find(caption.begin(), caption.end(), row.says), caption.end()) << testing::PrintToString(caption);
    }
    if (row.ring != Background) {
        const WindowPoint w = drawnAt(row.clicks.back().x, row.clicks.back().y);
        EXPECT_TRUE(f.hasNear(w.x + 12, w.y, row.ring, 1) || f.hasNear(w.x - 12, w.y, row.ring, 1));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Guessing,
    testing::Values(
        GuessRow{"StepOneAsksNothing", Worked, "gh>", {}, 1, -1, 0, 0, "Pogodjeno: 0 od 0"},
        GuessRow{"RightOpensTheQuestion", Worked, "gh>>", {}, 1, 2, 0, 0,
                 "Koja tacka je najdalja iza ivice (0, 300) - (900, 400)? Kliknite je."},
        GuessRow{"ARightAnswer", Worked, "gh>>c", {at(400, 900)}, 2, -1, 1, 1, "Tacno!", Green},
        GuessRow{"AClickThatWandersStillAnswers", Worked, "gh>>w", {at(400, 900)}, 2, -1, 1, 1, "Tacno!", Green},
        GuessRow{"AWrongAnswer", Worked, "gh>>c", {at(800, 800)}, 2, -1, 0, 1,
                 "Netacno: (800, 800) je na udaljenosti 408.6, najdalja (400, 900) na 552.2", Magenta},
        // Below the edge, and on one of its ends: not beyond it at all, said in words.
        GuessRow{"APointOnTheOtherSide", Worked, "gh>>c", {at(600, 0)}, 2, -1, 0, 1,
                 "Netacno: ta tacka nije iza ivice (0, 300) - (900, 400); najdalja je (400, 900) na 552.2", Magenta},
        GuessRow{"AnEndOfTheEdge", Worked, "gh>>c", {at(0, 300)}, 2, -1, 0, 1,
                 "Netacno: ta tacka nije iza ivice (0, 300) - (900, 400); najdalja je (400, 900) na 552.2", Magenta},
        GuessRow{"EscClosesTheQuestion", Worked, "gh>>\x1b", {}, 1, -1, 0, 0, "Pogodjeno: 0 od 0"},
        // The other methods ask their own next decision, from step 1 on: the
        // wrap's next vertex, and the point a stack scan's new point lands on.
        GuessRow{"TheWrapAsksTheNextVertex", Worked, "mgh>", {}, 0, 1, 0, 0,
                 "Koja tacka je sledece teme posle (600, 0)? Kliknite je."},
        GuessRow{"TheWrapRight", Worked, "mgh>c", {at(900, 400)}, 1, -1, 1, 1, "Tacno!", Green},
        GuessRow{"TheWrapWrong", Worked, "mgh>c", {at(800, 800)}, 1, -1, 0, 1, "Netacno: sledece teme je (900, 400)",
                 Magenta},
        GuessRow{"GrahamAsksTheTopOfTheStack", Worked, "mmgh>", {}, 0, 1, 0, 0,
                 "Koja tacka ce biti na vrhu steka kad (800, 800) dodje na stek? Kliknite je."},
        GuessRow{"GrahamRight", Worked, "mmgh>c", {at(900, 400)}, 1, -1, 1, 1, "Tacno!", Green},
        GuessRow{"TheChainWrong", Worked, "mmmgh>c", {at(300, 100)}, 1, -1, 0, 1, "Netacno: na vrhu steka je (0, 300)",
                 Magenta},
        GuessRow{"AnotherMethodStartsTheScoreAgain", Worked, "gh>>cm", {at(400, 900)}, 0, -1, 0, 0, "Pogodjeno: 0 od 0"},
        GuessRow{"ATieCounts", Tied, "gh>>c", {at(70, 50)}, 2, -1, 1, 1, "Tacno!", Green},
        GuessRow{"RightWithoutAGuess", Worked, "gh>>>", {}, 2, -1, 0, 0, "Pogodjeno: 0 od 0"},
        GuessRow{"AClickOnNothingDoesNothing", Worked, "gh>>c", {at(450, 600)}, 1, 2, 0, 0, ""},
        GuessRow{"TheScoreAddsUp", Worked, "gh>>c>c>c", {at(400, 900), at(200, 700), at(900, 400)}, 4, -1, 2, 3,
                 "Pogodjeno: 2 od 3"},
        GuessRow{"PlayStopsAtEachQuestion", Worked, "gh tt", {}, 1, 2, 0, 0, ""},
        GuessRow{"SpaceWaitsForTheAnswer", Worked, "gh>> t", {}, 1, 2, 0, 0, ""},
        // A step answered again, after going back, shows the new answer.
        GuessRow{"AStepAnsweredAgain", Worked, "gh>>ch>>c", {at(400, 900), at(800, 800)}, 2, -1, 1, 2,
                 "Netacno: (800, 800) je na udaljenosti 408.6, najdalja (400, 900) na 552.2", Magenta},
        GuessRow{"TheFinishedHullKeepsTheScore", Worked, "gh>>c>>>>>>>>>", {at(400, 900)}, WorkedSteps, -1, 1, 1,
                 "Pogodjeno: 1 od 1"},
        GuessRow{"LeavingGuessModeStartsAgain", Worked, "gh>>cgg", {at(400, 900)}, 2, -1, 0, 0, "Pogodjeno: 0 od 0"},
        GuessRow{"EditingEndsGuessing", Worked, "gh>>e", {}, 1, -1, 0, 0, ""}),
    [](const auto& i) { return std::string(i.param.name); });

TEST(SvgExport, FramesEveryPointWithAMargin)
{
    for (const std::vector<Point>& set : std::vector<std::vector<Point>>{
             {at(500, 300)}, {at(-16777216, -16777216), at(16777216, 16777216), at(0, 1)}, {at(0, 0), at(1, 0), at(0, 5000)}}) {
        SceneStore s;
        s.points = set;
        auto svg = exported(s);
        double box[4];
        std::istringstream(svg[""].at(0).attr.at("viewBox")) >> box[0] >> box[1] >> box[2] >> box[3];
        ASSERT_EQ(svg["points"].size(), set.size());
        for (const SvgElement& p : svg["points"]) {
            EXPECT_GT(std::min(p["x"] - box[0], p["y"] - box[1]), 0.0);
            EXPECT_GT(std::min(box[0] + box[2] - p["x"] - p["width"], box[1] + box[3] - p["y"] - p["height"]), 0.0);
        }
    }
}

TEST(SvgExport, WritesNumberedFiles)
{
    TempDir dir;
    EXPECT_EQ(exportSvg(spanningScene()).name, "omotac-slika-1.svg");
    EXPECT_EQ(exportSvg(spanningScene()).name, "omotac-slika-2.svg");
    std::FILE* full = std::fopen("/dev/full", "w");
    EXPECT_FALSE(writeSvg(full, spanningScene()));
    std::fclose(full);
}

// The marks the step view adds, each alone on the background at the usual
// framing: what a person sees across it and along it. Its outer edge stands
// out at 3 : 1 or more; its shape tells it apart from the others without its
// colour: the outline thin and whole, the split edge wide and rimmed, waiting
// edges dashed, rings whole but for a wrong answer's.
struct MarkLook {
    const char* name;
    bool ring;         // a ring of radius 100 round (500, 500), else a segment from (200, 500) to (800, 500)
    ColorIndex colour;
    Rgb8 core;         // the colour on the mark's middle line
    int across;        // pixels of that colour across it
    Rgb8 edge;         // just outside them
    bool broken;       // gaps along it
};

void PrintTo(const MarkLook& m, std::ostream* os) { *os << m.name; }

// The relative luminance of a colour and the contrast of two, as the usual
// rule for graphics measures them.
double luminance(Rgb8 c)
{
    const auto linear = [](int v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}
double contrast(Rgb8 a, Rgb8 b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

class Marks : public Rendering, public testing::WithParamInterface<MarkLook> {};

TEST_P(Marks, StandOutAndDifferInShape)
{
    const MarkLook& m = GetParam();
    SceneStore s = spanningScene();
    if (m.ring) s.circles = {{at(500, 500), 100.0f, m.colour}};
    else s.segments = {{at(200, 500), at(800, 500), m.colour}};
    const Frame f = show(s);
    const WindowPoint centre = drawnAt(500, 500), east = drawnAt(600, 500);
    // Across the mark: at +x of the ring, or the segment's middle; the core, then the edge outside it.
    const int x = m.ring ? int(std::lround(east.x)) : int(centre.x), y = int(centre.y);
    const auto across = [&](int d) { return m.ring ? f.at(x + d, y) : f.at(x, y + d); };
    int from = 0;
    while (from > -10 && across(from - 1) == m.core) --from;
    int to = 0;
    while (to < 10 && across(to + 1) == m.core) ++to;
    EXPECT_EQ(across(0), m.core);
    EXPECT_EQ(to - from + 1, m.across);
    EXPECT_EQ(across(from - 1), m.edge);
    EXPECT_EQ(across(to + 1), m.edge);
    EXPECT_GE(contrast(m.edge == Background ? m.core : m.edge, Background), 3.0) << m.name;
    // Along the mark: its middle line at every degree of the ring, or pixel of the segment.
    int gaps = 0, samples = 0;
    const double radius = east.x - centre.x;
    for (int k = 0; k < 360; ++k, ++samples) {
        const double a = k * std::numbers::pi / 180.0;
        const int px = m.ring ? int(std::lround(centre.x + radius * std::cos(a))) : int(drawnAt(210 + k * 580.0 / 360, 500).x);
        const int py = m.ring ? int(std::lround(centre.y + radius * std::sin(a))) : y;
        gaps += f.at(px, py) == Background;
    }
    EXPECT_EQ(gaps > samples / 10, m.broken) << gaps << " of " << samples << " on the background";
}

INSTANTIATE_TEST_SUITE_P(
    Step, Marks,
    testing::Values(MarkLook{"TheOutlineThinAndWhole", false, OutlineColor, Red, 1, Background, false},
                    MarkLook{"TheSplitEdgeWideAndRimmed", false, SplitColor, Orange, 3, Rim, false},
                    MarkLook{"AWaitingEdgeDashed", false, WaitingColor, Purple, 2, Background, true},
                    MarkLook{"TheNewVertexsRingWideAndRimmed", true, SplitColor, Orange, 3, Rim, false},
                    MarkLook{"ARightAnswersRingWhole", true, RightGuessColor, Green, 3, Rim, false},
                    MarkLook{"AWrongAnswersRingBroken", true, WrongGuessColor, Magenta, 3, Rim, true}),
    [](const auto& i) { return std::string(i.param.name); });

// The presentation size: every point's marker, the ring and the text twice
// as large, the picture's colours as they are.
TEST_F(Steps, ThePresentationSizeDoublesMarksRingsAndText)
{
    onSpecialKey(GLUT_KEY_HOME, 0, 0);
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
    const Picture usual = framePicture();
    onKeyboard('v', 0, 0);
    const Frame f = drawAndRead();
    const Picture large = framePicture();
    const WindowPoint v = drawnAt(400, 900);
    int black = 0;
    for (int y = int(v.y) - 6; y <= int(v.y) + 6; ++y)
        for (int x = int(v.x) - 6; x <= int(v.x) + 6; ++x) black += f.at(x, y) == Black;
    EXPECT_EQ(black, 64) << "a marker of 8 x 8";
    EXPECT_TRUE(f.hasNear(v.x + 24, v.y, Orange) || f.hasNear(v.x - 24, v.y, Orange)) << "a ring of 24 pixels";
    ASSERT_EQ(large.text.size(), usual.text.size());
    EXPECT_EQ(large.text[0].top, 2 * usual.text[0].top);
    EXPECT_EQ(large.scale, 2);
    onKeyboard('v', 0, 0);
    EXPECT_EQ(ViewState.presentation, 1);
}

// The text keeps its room: in each window, after the keys, no point of the set
// and no ring round one lies under text the picture keeps room for (all but
// the help, which is read and closed). Where the usual framing clears the text,
// the keys leave the view as it was.
struct TextRoomRow {
    const char* name;
    int width, height;
    const char* keys; // characters as typed; '>' the right arrow, '^' Home
    bool moves;       // the picture is framed anew for the text
    Point click{};    // clicked once the keys are in, where not (0, 0)
    const char* says = "";
};

void PrintTo(const TextRoomRow& r, std::ostream* os) { *os << r.name; }

class TextRoom : public Steps, public testing::WithParamInterface<TextRoomRow> {};

// Where the desktop's pen writes a block, in window pixels from the bottom-left corner.
struct Box {
    double left, bottom, right, top;
};
Box written(const TextBlock& b, int windowHeight)
{
    std::vector<std::string> lines;
    for (const std::string& line : b.lines) {
        if (b.wrap > 0) wrapLine(line, b.wrap, lines);
        else lines.push_back(line);
    }
    const int scale = ViewState.presentation;
    void* font = scale > 1 ? GLUT_BITMAP_TIMES_ROMAN_24 : GLUT_BITMAP_HELVETICA_12;
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, glutBitmapLength(font, reinterpret_cast<const unsigned char*>(line.c_str())));
    const double top = windowHeight - b.top;
    return {b.left - 3.0 * scale, top - double(TextLineHeight * scale) * double(lines.size()) - 3.0 * scale,
            b.left + width + 3.0 * scale, top + 3.0 * scale};
}

TEST_P(TextRoom, NothingWrittenCoversThePoints)
{
    const TextRoomRow& row = GetParam();
    onReshape(row.width, row.height);
    const auto opened = projectionMatrix();
    for (const char* c = row.keys; *c; ++c) {
        if (*c == '>') onSpecialKey(GLUT_KEY_RIGHT, 0, 0);
        else if (*c == '^') onSpecialKey(GLUT_KEY_HOME, 0, 0);
        else onKeyboard(static_cast<unsigned char>(*c), 0, 0);
    }
    drawFrame();
    EXPECT_EQ(projectionMatrix() != opened, row.moves);
    const double ring = RingPixels * ViewState.presentation + 2.5 * ViewState.presentation;
    for (const TextBlock& b : framePicture().text) {
        if (b.kind == TextKind::Help) continue;
        const Box box = written(b, row.height);
        for (const Point& p : Worked) {
            const WindowPoint w = drawnAt(p.x, p.y);
            EXPECT_TRUE(w.x + ring < box.left || w.x - ring > box.right || w.y + ring < box.bottom || w.y - ring > box.top)
                << "(" << p.x << ", " << p.y << ") under \"" << b.lines.at(0) << "\"";
        }
    }
    if (row.click.x != 0.0f) {
        // Picked where it is drawn, in a picture that need not fill the window.
        const WindowPoint w = drawnAt(row.click.x, row.click.y);
        onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, int(std::lround(w.x)), toolkitY(w.y));
        onMouse(GLUT_LEFT_BUTTON, GLUT_UP, int(std::lround(w.x)), toolkitY(w.y));
        const std::vector<std::string> text = shownText();
        EXPECT_NE(std::find(text.begin(), text.end(), row.says), text.end()) << testing::PrintToString(text);
    }
    onKeyboard('\x1b', 0, 0);
    ViewState.presentation = 1;
    onReshape(WindowWidth, WindowHeight);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, TextRoom,
    testing::Values(TextRoomRow{"TheUsualWindowKeepsItsView", WindowWidth, WindowHeight, "^>>gh", false},
                    TextRoomRow{"ASmallWindowFramesBesideTheCaption", 600, 400, "^>>", true},
                    TextRoomRow{"TheQuestionAndItsAnswerClearOfTheCaption", 600, 400, "g^>>", true, at(400, 900),
                                "Tacno!"},
                    TextRoomRow{"ANarrowWindowPutsThePanelInTheColumn", 500, 700, "ag^>>", true, at(400, 900),
                                "Tacno!"},
                    TextRoomRow{"ThePresentationSize", WindowWidth, WindowHeight, "v^>>", true}),
    [](const auto& i) { return std::string(i.param.name); });

} // namespace
