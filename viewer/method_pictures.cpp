// The other methods' step pictures, built from their traces as scene stores:
// no GL, so the window, the page and the SVG export draw the same thing.

#include "method_pictures.hpp"

#include <algorithm>
#include <vector>

namespace {

// Rays from Graham's pivot to at most this many of the points next in its
// sorted order: enough to see the order, few enough not to hide the points.
constexpr std::size_t RaysAhead = 50;

void startPicture(const std::vector<Point>& points, const BoundingBox& box, SceneStore& out)
{
    clearScene(out);
    out.box = box;
    for (const Point& p : points) out.points.push_back({p.x, p.y, p.z, InputColor});
}

const Point& at(const std::vector<Point>& points, std::int32_t i) { return points[std::size_t(i)]; }

void vertexOver(SceneStore& out, const Point& p) { out.points.push_back({p.x, p.y, p.z, HullVertexColor}); }

// Where in the order a stack scan takes its points each point stands, and
// which points the scan has reached by step `step` in the pass it is in: the
// monotone chain's upper pass reaches the points again from the right.
std::vector<bool> reachedBy(const StackTrace& t, std::int32_t step)
{
    const auto n = std::int32_t(t.order.size());
    std::vector<bool> reached(t.points.size(), false);
    if (t.pivot >= 0) reached[std::size_t(t.pivot)] = true;
    const bool upper = t.steps[std::size_t(step)].upper;
    const std::int32_t from = upper ? 2 * (n - 1) - step : 0, to = upper ? n - 1 : std::min(step, n - 1);
    for (std::int32_t k = std::max(from, 0); k <= to; ++k) reached[std::size_t(t.order[std::size_t(k)])] = true;
    return reached;
}

} // namespace

void buildJarvisPicture(const JarvisTrace& t, std::int32_t step, float ringRadius, const BoundingBox& box,
                        SceneStore& out, bool asking)
{
    startPicture(t.points, box, out);
    if (t.steps.empty()) return;
    // The edges of the steps before: laid for good.
    for (std::int32_t j = 1; j < step; ++j) {
        const JarvisStep& s = t.steps[std::size_t(j)];
        out.segments.push_back({at(t.points, s.from), at(t.points, s.to), OutlineColor});
    }
    const JarvisStep& s = t.steps[std::size_t(asking ? step - 1 : step)];
    if (!asking && step >= 1) out.segments.push_back({at(t.points, s.from), at(t.points, s.to), SplitColor});
    // The ring: the vertex just reached, or, as a question, the one the wrap stands on.
    out.circles.push_back({at(t.points, s.to), ringRadius, SplitColor});
    vertexOver(out, at(t.points, t.start));
    const std::int32_t reached = asking ? step : step + 1; // steps whose vertex is found
    for (std::int32_t j = 1; j < reached; ++j) vertexOver(out, at(t.points, t.steps[std::size_t(j)].to));
}

void buildStackPicture(const StackTrace& t, std::int32_t step, float ringRadius, const BoundingBox& box,
                       SceneStore& out, bool asking)
{
    startPicture(t.points, box, out);
    if (t.steps.empty()) return;
    const std::int32_t shown = asking ? step - 1 : step;
    std::vector<std::int32_t> stack;
    stackAfter(t, shown, stack);
    const std::vector<bool> reached = reachedBy(t, shown);
    for (std::size_t i = 0; i < t.points.size(); ++i)
        if (reached[i]) out.points[i].color = RuledOutColor;

    // Graham's sorted order: rays from the pivot to the points it takes next.
    if (t.pivot >= 0) {
        const Point& pivot = at(t.points, t.pivot);
        const std::size_t next = std::size_t(std::max(shown, 0)) + 1;
        for (std::size_t k = next; k < t.order.size() && k < next + RaysAhead; ++k)
            out.segments.push_back({pivot, at(t.points, t.order[k]), InputColor});
    }
    // The stack, bottom to top: the monotone chain's lower chain is final
    // once the upper chain is built on it.
    const StackStep& s = t.steps[std::size_t(shown)];
    std::size_t final = 0;
    if (s.upper) {
        final = 1;
        while (final < t.steps.size() && !t.steps[final].upper) ++final;
        final = std::size_t(t.steps[final - 1].depth);
    }
    for (std::size_t k = 1; k < stack.size(); ++k) {
        const bool decided = !asking && k + 1 == stack.size() && shown >= 1;
        const ColorIndex c = decided ? SplitColor : k < final ? OutlineColor : WaitingColor;
        out.segments.push_back({at(t.points, stack[k - 1]), at(t.points, stack[k]), c});
    }
    // The ring: the point pushed, or, as a question, the point arriving.
    const std::int32_t ringed = asking ? t.steps[std::size_t(step)].point : stack.empty() ? -1 : stack.back();
    if (ringed >= 0 && (asking || shown >= 1)) out.circles.push_back({at(t.points, ringed), ringRadius, SplitColor});
    for (const std::int32_t i : stack) vertexOver(out, at(t.points, i));
}
