// The session record, and loadRun: the one hand-over from a computed hull to
// everything the window shows of it.

#include "session.hpp"

#include <algorithm>

SessionRecord Session;

namespace {

// The sets shown so far in this process: a session record started again
// still never reuses a revision, so nothing built before is taken for new.
std::uint64_t SetsShown = 0;

} // namespace

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
    Session.revision = ++SetsShown;
    traceShownMethod(Session);
    if (Session.comparison) countMethods(Session);

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

namespace {

// Traces `method` on the set shown, unless it is traced for it already.
void traceFor(SessionRecord& s, HullMethod method)
{
    const Point* p = s.points.data();
    const auto n = std::int32_t(s.points.size());
    const auto trace = [&](std::uint64_t& traced, auto& record, auto how) {
        if (traced != s.revision) how(p, n, record);
        traced = s.revision;
    };
    switch (method) {
    case HullMethod::Farthest: break; // loadRun traces it with every set
    case HullMethod::Jarvis: trace(s.jarvisTraced, s.jarvis, traceJarvis); break;
    case HullMethod::Graham: trace(s.grahamTraced, s.graham, traceGraham); break;
    case HullMethod::Andrew: trace(s.andrewTraced, s.andrew, traceAndrew); break;
    }
}

// Whether two corner lists name the same places in the same order.
bool samePlaces(const std::vector<Point>& points, const std::vector<std::int32_t>& a, const std::vector<std::int32_t>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const Point &p = points[std::size_t(a[k])], &q = points[std::size_t(b[k])];
        if (p.x != q.x || p.y != q.y) return false;
    }
    return true;
}

} // namespace

void traceShownMethod(SessionRecord& s) { traceFor(s, s.method); }

void countMethods(SessionRecord& s)
{
    if (s.counted == s.revision && !s.counts.empty()) return;
    s.counts.clear();
    s.agree.clear();
    std::vector<std::int32_t> reference, corners;
    hullCorners(s.trace, reference);
    for (const HullMethodName& m : HullMethods) {
        traceFor(s, m.method);
        switch (m.method) {
        case HullMethod::Farthest: s.counts.push_back(countsOf(s.trace)); corners = reference; break;
        case HullMethod::Jarvis: s.counts.push_back(countsOf(s.jarvis)); hullCorners(s.jarvis, corners); break;
        case HullMethod::Graham: s.counts.push_back(countsOf(s.graham)); hullCorners(s.graham, corners); break;
        case HullMethod::Andrew: s.counts.push_back(countsOf(s.andrew)); hullCorners(s.andrew, corners); break;
        }
        s.agree.push_back(samePlaces(s.points, corners, reference));
    }
    s.counted = s.revision;
}

std::int32_t finishedStep(const SessionRecord& s)
{
    switch (s.method) {
    case HullMethod::Farthest: return stepCount(s.trace);
    case HullMethod::Jarvis: return std::int32_t(s.jarvis.steps.size());
    case HullMethod::Graham: return std::int32_t(s.graham.steps.size());
    case HullMethod::Andrew: return std::int32_t(s.andrew.steps.size());
    }
    return 0;
}
