#include <gtest/gtest.h>

#include <GL/freeglut.h>

#include <cstdio>
#include <map>
#include <regex>
#include <string>

#include "svg.hpp"
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

// An element of an exported picture.
struct SvgElement {
    std::string tag;
    std::map<std::string, std::string> attr;
    double operator[](const char* name) const { return std::stod(attr.at(name)); }
};

// The picture writeSvg makes of scene: its elements by the id of the group
// they stand in, "" for those outside every group.
std::map<std::string, std::vector<SvgElement>> exported(const SceneStore& scene)
{
    std::FILE* f = std::tmpfile();
    EXPECT_TRUE(writeSvg(f, scene));
    std::string text(std::size_t(std::ftell(f)), '\0');
    std::rewind(f);
    EXPECT_EQ(std::fread(text.data(), 1, text.size(), f), text.size());
    std::fclose(f);
    static const std::regex tag(R"(<(/?)(\w+)([^>]*)>)"), attribute(R"re(([\w-]+)="([^"]*)")re");
    std::map<std::string, std::vector<SvgElement>> groups;
    std::string group;
    for (std::sregex_iterator t(text.begin(), text.end(), tag), end; t != end; ++t) {
        if ((*t)[1] == "/") {
            if ((*t)[2] == "g") group.clear();
            continue;
        }
        SvgElement& e = groups[group].emplace_back(SvgElement{(*t)[2], {}});
        const std::string attrs = (*t)[3];
        for (std::sregex_iterator a(attrs.begin(), attrs.end(), attribute); a != end; ++a) e.attr[(*a)[1]] = (*a)[2];
        if (e.tag == "g") group = e.attr["id"];
    }
    return groups;
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

} // namespace
