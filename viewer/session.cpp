// The session record, and loadRun: the one hand-over from a computed hull to
// everything the window shows of it.

#include "session.hpp"

#include <algorithm>

SessionRecord Session;

namespace {

// The closed outline in the order the window has always drawn it: clockwise,
// from the lowest of the leftmost vertices. The trace has walked the outline
// already; only its start moves. Two vertices (or one, listed twice) are the
// pair as found, the lower-left first.
void outlineOf(const HullTrace& t, std::span<const Point> found, std::vector<Point>& out)
{
    out.clear();
    const auto lowerLeft = [](const Point& a, const Point& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
    if (t.outline.size() < 3) {
        out.assign(found.begin(), found.end());
        if (out.size() == 2 && lowerLeft(out[1], out[0])) std::swap(out[0], out[1]);
        return;
    }
    const auto at = [&](std::size_t r) { return t.points[std::size_t(t.vertices[std::size_t(t.outline[r])])]; };
    std::size_t first = 0;
    for (std::size_t r = 1; r < t.outline.size(); ++r)
        if (lowerLeft(at(r), at(first))) first = r;
    for (std::size_t k = 0; k < t.outline.size(); ++k) out.push_back(at((first + k) % t.outline.size()));
}

} // namespace

void loadRun(std::span<const Point> points, const HullResult& result, std::span<const Point> found)
{
    // An edit hands the record's own set back.
    if (points.data() != Session.points.data()) Session.points.assign(points.begin(), points.end());
    Session.result = result;
    const auto n = std::int32_t(points.size());
    traceHull(points.data(), n, Session.trace);
    // Counted for the process, not the record: a record started afresh
    // (Session = {}) must not take the number of a set shown before it.
    static std::uint64_t sets = 0;
    Session.revision = ++sets;

    // Input points, the vertices over them in the order found, then the
    // closed outline.
    static std::vector<Point> outline;
    outlineOf(Session.trace, found, outline);
    clearScene(Scene);
    addPoints(points.data(), n, InputColor);
    addPoints(found.data(), std::int32_t(found.size()), HullVertexColor);
    addClosedOutline(outline.data(), std::int32_t(outline.size()), OutlineColor);
}

void takeRun(const RunSource& source, std::span<const Point> points, const HullResult& result,
             std::span<const Point> found)
{
    Session.source = source;
    Session.method = source.method;
    Session.unsaved = false;
    loadRun(points, result, found);
}
