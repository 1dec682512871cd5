#pragma once

// The scene store: the lists of drawable primitives, each with a colour, and
// the bounding box that frames them.

#include <cstdint>
#include <limits>
#include <vector>

#include "point.hpp"

// A straight piece between two points, drawn with a marker at each end.
// The endpoints' own colours are kept but never drawn.
struct Segment {
    Point start;
    Point end;
    ColorIndex color = 9;
};

// An infinite line through `anchor`, drawn as a long piece along `direction`.
struct Line {
    Point anchor;
    Point direction;
    ColorIndex color = 9;
};

// A circle in the plane z = center.z, drawn as its outline.
struct Circle {
    Point center;
    float radius = 0.0f;
    ColorIndex color = 9;
};

// Running x/y extent of everything added. It starts empty, the lower corner at
// +infinity and the upper at -infinity, so the first point added becomes both
// and the frame is always the points' own, wherever they lie. An axis nothing
// has widened keeps its corners the wrong way round.
struct BoundingBox {
    static constexpr float Inf = std::numeric_limits<float>::infinity();
    Point min{Inf, Inf};
    Point max{-Inf, -Inf};
};

// Everything the viewer draws, each list in insertion order; members are
// declared in creation order so they are released in reverse at exit.
struct SceneStore {
    std::vector<Point> points;
    std::vector<Segment> segments;
    std::vector<Line> lines;
    std::vector<Circle> circles;
    BoundingBox box;
};

// The process-wide scene: filled by loadRun from the run and after every edit,
// read by the renderer.
extern SceneStore Scene;

// Empties every list, keeping its storage, and puts the box back to its start.
void clearScene(SceneStore& store);

// Appends a copy of p recoloured to c and widens the box by its x, y.
void addPoint(Point p, ColorIndex c);

// Appends copies of points[0..n) recoloured to c, as n addPoint calls would.
void addPoints(const Point* points, std::int32_t n, ColorIndex c);

// Appends the closed polygon through points[0..n) recoloured to c: each point
// to the next and the last back to the first, as addSegment calls would.
void addClosedOutline(const Point* points, std::int32_t n, ColorIndex c);

// Appends a copy of s recoloured to c (endpoint colours untouched) and widens
// the box by both endpoints, start first.
void addSegment(Segment s, ColorIndex c);
