#include "scene.hpp"

SceneStore Scene;

namespace {

// Moves each bound that (x, y) passes. The tests are strict and independent,
// so a NaN moves nothing and one pair can move a lower and an upper bound.
void widen(BoundingBox& box, float x, float y)
{
    if (box.min.x > x) box.min.x = x;
    if (box.min.y > y) box.min.y = y;
    if (box.max.x < x) box.max.x = x;
    if (box.max.y < y) box.max.y = y;
}

} // namespace

void clearScene(SceneStore& store)
{
    store.points.clear();
    store.segments.clear();
    store.lines.clear();
    store.circles.clear();
    store.box = {};
}

void addPoint(Point p, ColorIndex c)
{
    p.color = c;
    Scene.points.push_back(p);
    widen(Scene.box, p.x, p.y);
}

void addSegment(Segment s, ColorIndex c)
{
    s.color = c;
    Scene.segments.push_back(s);
    widen(Scene.box, s.start.x, s.start.y);
    widen(Scene.box, s.end.x, s.end.y);
}
