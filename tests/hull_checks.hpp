#pragma once

// Checks of a hull result that hold whatever order it was found in.

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "point.hpp"

// Checks of a hull result that hold whatever the order of discovery: found[0..count)
// as the kernel wrote it, outline[0..count) the same entries after ordering. Returns
// the first broken property, or "" when all hold. Exact for integer coordinates of
// magnitude below 2^24, where every orientation is computed without rounding.
inline std::string hullFailure(const Point* pts, std::int32_t n, const Point* found, std::int32_t count,
                               const Point* outline)
{
    auto xy = [](const Point& p) { return std::pair{p.x, p.y}; };
    auto turn = [](const Point& a, const Point& b, const Point& p) {
        return (double(b.y) - p.y) * (double(a.x) - p.x) - (double(a.y) - p.y) * (double(b.x) - p.x);
    };
    if (count < 2 || count > std::max(n, 2)) return "count " + std::to_string(count) + " out of range";

    std::vector<std::pair<float, float>> input, hull, ordered;
    for (std::int32_t i = 0; i < n; ++i) input.push_back(xy(pts[i]));
    for (std::int32_t i = 0; i < count; ++i) hull.push_back(xy(found[i]));
    for (std::int32_t i = 0; i < count; ++i) ordered.push_back(xy(outline[i]));
    std::sort(input.begin(), input.end());
    std::sort(hull.begin(), hull.end());
    std::sort(ordered.begin(), ordered.end());
    if (hull != ordered) return "outline is not a permutation of the hull";
    for (const auto& h : hull)
        if (!std::binary_search(input.begin(), input.end(), h)) return "hull entry is not an input point";

    const bool allSame = input.front() == input.back();
    if (std::adjacent_find(hull.begin(), hull.end()) != hull.end() && !(allSame && count == 2))
        return "a point is written twice";

    if (count == 2) {
        // Degenerate hull: every point on the segment between the two entries.
        const Point& a = outline[0];
        const Point& b = outline[1];
        for (std::int32_t i = 0; i < n; ++i) {
            const Point& p = pts[i];
            const bool between = std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x)
                && std::min(a.y, b.y) <= p.y && p.y <= std::max(a.y, b.y);
            if (turn(a, b, p) != 0.0 || !between) return "point " + std::to_string(i) + " off the two-point hull";
        }
        return "";
    }
    // Clockwise with y up: every input point lies right of or on every edge.
    for (std::int32_t e = 0; e < count; ++e) {
        const Point& a = outline[e];
        const Point& b = outline[(e + 1) % count];
        for (std::int32_t i = 0; i < n; ++i)
            if (turn(a, b, pts[i]) > 0.0)
                return "point " + std::to_string(i) + " outside outline edge " + std::to_string(e);
    }
    return "";
}
