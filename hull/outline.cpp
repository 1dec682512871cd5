#include <cmath>
#include <utility>

#include "hull.hpp"
#include "predicates.hpp"

namespace {

// Direction keys of the vertices while they are sorted; entry 0 carries none.
std::array<float, PointCapacity> OutlineKeys;

// Exchanges the positions of two entries; z and colour stay with their slot.
void swapPlace(Point& p, Point& q)
{
    std::swap(p.x, q.x);
    std::swap(p.y, q.y);
}

// Negated slope angle of the ray from the base vertex to (x, y): -pi/2 straight
// up, growing clockwise to +pi/2 straight down. The slope is rounded to float
// before the arc tangent, the key again after it: keys compare as stored floats.
float directionKey(const Point& base, float x, float y)
{
    const double dx = double(x) - double(base.x);
    const double dy = double(y) - double(base.y);
    const float slope = float(-(dy / dx));
    return float(std::atan(double(slope)));
}

// For two vertices on one ray from the base vertex: whether q lies farther out.
// The ray runs right or straight up, so x (or y on the vertical) tells.
bool fartherOut(const Point& base, const Point& p, const Point& q)
{
    return q.x != p.x ? q.x > p.x : (q.y - base.y) > (p.y - base.y);
}

// Whether q comes before p in the clockwise sweep, ignoring distance: by key,
// and where the float keys of two different rays coincide (steep rays far from
// the base vertex), by the exact turn between them: q counter-clockwise of the
// ray to p comes first.
bool sweptBefore(const Point& base, float keyQ, float keyP, const Point& q, const Point& p)
{
    if (!(keyQ == keyP)) return keyQ < keyP;
    return orientation(base, p, q) > 0.0;
}

} // namespace

void orderHullOutline(std::int32_t count)
{
    if (count > PointCapacity) count = PointCapacity;
    if (count <= 1) return;
    Point* h = HullBuffer.data();

    // The lowest of the leftmost vertices goes first; the sort also orders the
    // rest by (x, y), which the angular sort below does not depend on.
    for (std::int32_t i = 0; i + 1 < count; ++i)
        for (std::int32_t j = i + 1; j < count; ++j)
            if (h[j].x < h[i].x || (h[j].x == h[i].x && h[j].y < h[i].y)) swapPlace(h[i], h[j]);

    float* key = OutlineKeys.data();
    for (std::int32_t i = 1; i < count; ++i) key[i] = directionKey(h[0], h[i].x, h[i].y);
    if (count < 3) return;

    // The last ray of the sweep carries the edge back to the base vertex.
    std::int32_t closing = 1;
    for (std::int32_t i = 2; i < count; ++i)
        if (sweptBefore(h[0], key[closing], key[i], h[closing], h[i])) closing = i;
    const Point closer = h[closing];
    const float closingKey = key[closing];

    // Clockwise sweep from straight up. Vertices sharing a ray lie on one hull
    // edge and must be walked along it: outwards on every ray but the closing
    // one, where the walk comes back in, so there the farther vertex goes first.
    // Strict tests keep full ties (and NaN keys) where they stand.
    for (std::int32_t i = 1; i + 1 < count; ++i) {
        for (std::int32_t j = i + 1; j < count; ++j) {
            bool before = sweptBefore(h[0], key[j], key[i], h[j], h[i]);
            if (key[j] == key[i] && orientation(h[0], h[i], h[j]) == 0.0) {
                const bool onClosing = key[i] == closingKey && orientation(h[0], closer, h[i]) == 0.0;
                before = onClosing ? fartherOut(h[0], h[i], h[j]) : fartherOut(h[0], h[j], h[i]);
            }
            if (before) {
                swapPlace(h[i], h[j]);
                std::swap(key[i], key[j]);
            }
        }
    }
}
