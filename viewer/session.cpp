#include "session.hpp"

#include "hull.hpp"
#include "platform.hpp"
#include "run_viewer.hpp"
#include "viewer.hpp"

SessionRecord Session;

void loadRun(const Point* points, std::int32_t n, const HullResult& result)
{
    // An edit hands the record's own set back.
    if (points != Session.points.data()) Session.points.assign(points, points + std::max(n, 0));
    Session.result = result;

    // Input points, the vertices over them in the order found, then the closed
    // outline once HullBuffer is reordered.
    clearScene(Scene);
    addPoints(points, n, InputColor);
    addPoints(HullBuffer.data(), result.count, HullVertexColor);
    orderHullOutline(result.count);
    addClosedOutline(HullBuffer.data(), result.count, OutlineColor);

    // The step-by-step replay of the same set.
    traceHull(points, n, Session.trace);
    forgetPicture();
}

void openOnFinishedHull()
{
    Session.steps = {};
    Session.steps.step = stepCount(Session.trace);
    Session.edit = {};
    forgetPicture();
}

void forgetPicture() { Session.shownStep = -1; }

void showRun(const RunSource& source, const Point* points, std::int32_t n, const HullResult& result, int argc,
             char** argv)
{
    Session.seed = source.seed;
    Session.pointsFile = source.pointsFile;
    Session.distribution = source.distribution;
    loadRun(points, n, result);
    runViewer(argc, argv);
}
