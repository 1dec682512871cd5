// Edit mode's changes to the set: a click adds or removes a point, a drag
// moves one, and each change is followed by the whole computation again.

#include "edit.hpp"

#include <algorithm>
#include <cmath>

#include "hull.hpp"
#include "points_file.hpp"

std::optional<float> wholeCoordinate(double v)
{
    if (std::isnan(v)) return std::nullopt;
    return float(std::clamp(std::round(v), -double(CoordinateLimit), double(CoordinateLimit)));
}

bool addEditPoint(SessionRecord& r, double x, double y)
{
    if (r.points.size() >= std::size_t(PointCapacity)) {
        r.notice = "Najvise 10000 tacaka: tacka nije dodata";
        return false;
    }
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    if (!wx || !wy) return false;
    r.points.push_back({*wx, *wy});
    return true;
}

bool moveEditPoint(SessionRecord& r, std::int32_t i, double x, double y)
{
    if (i < 0 || std::size_t(i) >= r.points.size()) return false;
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    Point& p = r.points[std::size_t(i)];
    if (!wx || !wy || (p.x == *wx && p.y == *wy)) return false;
    p.x = *wx;
    p.y = *wy;
    return true;
}

bool removeEditPoint(SessionRecord& r, std::int32_t i)
{
    if (i < 0 || std::size_t(i) >= r.points.size()) return false;
    if (r.points.size() == 1) {
        r.notice = "Poslednja tacka se ne moze ukloniti";
        return false;
    }
    r.points.erase(r.points.begin() + i);
    return true;
}

void rebuildEdited(SessionRecord& r)
{
    const std::int32_t before = finishedStep(r);
    const auto n = std::int32_t(r.points.size());
    const HullResult result = timeHull(r.points.data(), n);
    loadRun(r.points, result, {HullBuffer.data(), std::size_t(std::max(result.count, 0))});
    const std::int32_t after = finishedStep(r);
    StepState& s = r.steps;
    s.step = s.step >= before ? after : std::min(s.step, after);
    r.notice.clear();
    r.unsaved = true;
    r.source.edited = true;
}

bool movesPoint(const PointerGesture& g) { return g.button == MouseButton::Left && g.point >= 0; }

bool dragPointTo(SessionRecord& r, const PointerGesture& g, int x, int y)
{
    const auto p = pickScenePlane(x, y);
    if (!movesPoint(g) || !p || !g.picked) return false;
    return moveEditPoint(r, g.point, g.grabbed.x + (p->x - g.picked->x), g.grabbed.y + (p->y - g.picked->y));
}

bool editClick(SessionRecord& r, const PointerGesture& g)
{
    if (g.button == MouseButton::Left && g.point < 0 && g.picked) return addEditPoint(r, g.picked->x, g.picked->y);
    if (g.button == MouseButton::Right && g.point >= 0) return removeEditPoint(r, g.point);
    return false;
}
