// The ways random points are drawn, each from the run's one generator.

#include "distribution.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "steps.hpp"

namespace {

int coordinate(int (*rand)()) { return rand() % 1000; }

// The point at `turns` of a full turn on the circle of radius 499 about (500,
// 500), rounded to whole coordinates.
Point onCircle(double turns)
{
    const double a = 2.0 * std::numbers::pi * turns;
    return {float(std::lround(500.0 + 499.0 * std::cos(a))), float(std::lround(500.0 + 499.0 * std::sin(a)))};
}

// The worst case the square holds: the farthest-point recursion over a
// circle of WorstRing points halves its arc at every level, and the vertex it
// reaches last is examined at every level on the way; every other point is a
// copy of that vertex, examined as often, and ruled out only when it is found.
constexpr std::int32_t WorstRing = 200;

void drawWorst(Point* points, std::int32_t n)
{
    const std::int32_t ring = std::min(n, WorstRing);
    for (std::int32_t i = 0; i < ring; ++i) points[i] = onCircle(double(i) / ring);
    if (ring == n) return;
    // A step's depth is one more than that of the step which made the edge it
    // splits: the later of the edge's two ends.
    HullTrace t;
    traceHull(points, ring, t);
    std::vector<std::int32_t> depth(t.steps.size(), 0);
    std::int32_t deepest = 0;
    for (std::size_t j = 2; j < t.steps.size(); ++j) {
        depth[j] = depth[std::size_t(std::max(t.steps[j].edgeFrom, t.steps[j].edgeTo))] + 1;
        if (depth[j] > depth[std::size_t(deepest)]) deepest = std::int32_t(j);
    }
    const Point last = points[t.vertices[std::size_t(deepest)]];
    std::fill(points + ring, points + n, last);
}

} // namespace

void drawPoints(Distribution d, Point* points, std::int32_t n, int (*rand)())
{
    if (n <= 0) return;
    switch (d) {
    case Distribution::Uniform:
        for (std::int32_t i = 0; i < n; ++i) {
            const int x = coordinate(rand);
            const int y = coordinate(rand);
            points[i] = {float(x), float(y)};
        }
        return;
    case Distribution::Circle:
        for (std::int32_t i = 0; i < n; ++i) points[i] = onCircle(double(rand() % 100000) / 100000.0);
        return;
    case Distribution::Grid: {
        // About as many nodes as points, from 2 x 2 up to 32 x 32.
        const int k = std::clamp(int(std::ceil(std::sqrt(double(n)))), 2, 32);
        const auto node = [&] { return float(std::lround(double(rand() % k) * 999.0 / (k - 1))); };
        for (std::int32_t i = 0; i < n; ++i) {
            const float x = node();
            points[i] = {x, node()};
        }
        return;
    }
    case Distribution::Clusters: {
        // Three to five centres; each point a sum of three draws about one.
        const int count = 3 + rand() % 3;
        Point centres[5];
        for (int c = 0; c < count; ++c) {
            const int x = 100 + rand() % 800;
            centres[c] = {float(x), float(100 + rand() % 800)};
        }
        const auto near = [&](float c) {
            const int offset = rand() % 61 + rand() % 61 + rand() % 61 - 90;
            return float(std::clamp(int(c) + offset, 0, 999));
        };
        for (std::int32_t i = 0; i < n; ++i) {
            const Point& c = centres[rand() % count];
            const float x = near(c.x);
            points[i] = {x, near(c.y)};
        }
        return;
    }
    case Distribution::Duplicates: {
        // Five distinct points at most, each taken many times.
        const int count = std::min(n, 5);
        Point distinct[5];
        for (int c = 0; c < count; ++c) {
            const int x = coordinate(rand);
            distinct[c] = {float(x), float(coordinate(rand))};
        }
        for (std::int32_t i = 0; i < n; ++i) points[i] = distinct[rand() % count];
        return;
    }
    case Distribution::Vertical: {
        const float x = float(coordinate(rand));
        for (std::int32_t i = 0; i < n; ++i) points[i] = {x, float(coordinate(rand))};
        return;
    }
    case Distribution::Worst:
        drawWorst(points, n);
        return;
    }
}
