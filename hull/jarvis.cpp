// Gift wrapping (Jarvis's march) written for reading, in its textbook form
// (Jarvis 1973, as Cormen et al. and most courses give it):
//
// 1. The start: the lowest point, of several the leftmost. It is a corner.
// 2. Standing on a corner p, the scan goes through every point r with the
//    candidate q (at first p itself): r replaces q when it lies strictly right
//    of p->q, or on its line and farther from p. What stays is the next corner
//    counter-clockwise: every point lies left of or on p->q, and of the points
//    on that line q is the farthest, so no point inside an edge is a corner.
// 3. The wrap goes on from q until it comes back to the start: one step per
//    corner, each of n orientation tests.
//
// A copy of p never replaces the candidate (it is no farther than anything),
// and a candidate still at p's place is replaced by the first point anywhere
// else, since every point lies on the line of an edge of no length.

#include "method_parts.hpp"

namespace {

// The scan from corner p over xs/ys[0..n): gives the next corner. The test
// against the candidate so far fails for nearly every point once the
// candidate is good, so the loop is the test and a branch the processor
// predicts; a point that is not a number never becomes the candidate.
std::int32_t wrapFrom(const double* xs, const double* ys, std::int32_t n, std::int32_t p)
{
    const double px = xs[p], py = ys[p];
    std::int32_t q = p;
    double qx = px, qy = py, qFar = 0.0;
    for (std::int32_t r = 0; r < n; ++r) {
        const double turn = orientationOf(px, py, qx, qy, xs[r], ys[r]);
        if (turn > 0.0 || turn != turn) continue;
        const double far = std::fabs(xs[r] - px) + std::fabs(ys[r] - py);
        if (turn < 0.0 || far > qFar) q = r, qx = xs[r], qy = ys[r], qFar = far;
    }
    return q;
}

} // namespace

void traceJarvis(const Point* points, std::int32_t n, JarvisTrace& t)
{
    t.points.assign(points, points + std::max(n, 0));
    t.steps.clear();
    t.start = -1;
    t.closed = false;
    if (n < 1) return;
    // The coordinates in double as the orientation takes them, side by side.
    t.xs.resize(std::size_t(n));
    t.ys.resize(std::size_t(n));
    for (std::int32_t i = 0; i < n; ++i) t.xs[std::size_t(i)] = points[i].x, t.ys[std::size_t(i)] = points[i].y;

    t.start = lowestPoint(points, n);
    t.steps.push_back({-1, t.start, 0});
    const Point& start = points[t.start];
    std::int32_t p = t.start;
    while (!t.closed && std::int32_t(t.steps.size()) <= n) {
        const std::int32_t q = wrapFrom(t.xs.data(), t.ys.data(), n, p);
        t.steps.push_back({p, q, n});
        t.closed = points[q].x == start.x && points[q].y == start.y;
        p = q;
    }
}
