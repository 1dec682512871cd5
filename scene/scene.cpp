// The process-wide Scene and the operations that add to it.

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

// The lists grow once per call rather than once per element, and the box is
// widened in a local copy: a rebuild of 10000 points in the window has to fit
// a frame.
void addPoints(const Point* points, std::int32_t n, ColorIndex c)
{
    if (n <= 0) return;
    std::vector<Point>& list = Scene.points;
    const std::size_t first = list.size();
    list.insert(list.end(), points, points + n);
    BoundingBox box = Scene.box;
    for (std::size_t i = first; i < list.size(); ++i) {
        list[i].color = c;
        widen(box, list[i].x, list[i].y);
    }
    Scene.box = box;
}

void addClosedOutline(const Point* points, std::int32_t n, ColorIndex c)
{
    if (n <= 0) return;
    std::vector<Segment>& list = Scene.segments;
    list.reserve(list.size() + std::size_t(n));
    BoundingBox box = Scene.box;
    for (std::int32_t i = 0; i < n; ++i) {
        const Point& a = points[i];
        const Point& b = points[i + 1 < n ? i + 1 : 0];
        list.push_back({a, b, c});
        // Every end is some segment's start: the box takes each point once.
        widen(box, a.x, a.y);
    }
    Scene.box = box;
}
