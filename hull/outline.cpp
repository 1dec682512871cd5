// The outline order: the hull vertices as a clockwise polygon from the lowest
// of the leftmost, sorted by direction with exact ties.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "hull.hpp"
#include "merge_sort.hpp"
#include "predicates.hpp"

namespace {

// A vertex while it is sorted: its place, its direction key, and the key's
// bits in an order unsigned comparison keeps.
struct Swept {
    float x, y, key;
    std::uint32_t rank;
};

// Scratch of the sort, kept for the next call.
std::array<Swept, PointCapacity> Sweep, SweepScratch;

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

// Positive when q lies counter-clockwise of the ray base->p.
double turn(const Point& base, const Swept& p, const Swept& q)
{
    return orientation(base.x, base.y, p.x, p.y, q.x, q.y);
}

// For two vertices on one ray from the base vertex: whether q lies farther out.
// The ray runs right or straight up, so x (or y on the vertical) tells.
bool fartherOut(const Point& base, const Swept& p, const Swept& q)
{
    return q.x != p.x ? q.x > p.x : (q.y - base.y) > (p.y - base.y);
}

// Whether q comes before p in the clockwise sweep, ignoring distance: by key,
// and where the float keys of two different rays coincide (steep rays far from
// the base vertex), by the exact turn between them.
bool sweptBefore(const Point& base, const Swept& q, const Swept& p)
{
    if (!(q.key == p.key)) return q.key < p.key;
    return turn(base, p, q) > 0.0;
}

// The order of the sweep: clockwise from straight up. Vertices sharing a ray
// lie on one hull edge and must be walked along it: outwards on every ray but
// the closing one, where the walk comes back in, so there the farther vertex
// goes first. On the distinct vertices of a hull this is a strict total order,
// so any correct sort gives the one order an exchange sort gives.
struct SweepOrder {
    Point base;
    Swept closer;

    bool operator()(const Swept& q, const Swept& p) const
    {
        if (!(q.key == p.key) || turn(base, p, q) != 0.0) return sweptBefore(base, q, p);
        const bool onClosing = p.key == closer.key && turn(base, closer, p) == 0.0;
        return onClosing ? fartherOut(base, p, q) : fartherOut(base, q, p);
    }
};

// Unsigned bits that order as the float keys do; both zeros alike, and a key
// that is not a number after every other.
std::uint32_t rankOf(float key)
{
    if (std::isnan(key)) return ~std::uint32_t(0);
    // A copy of the bytes rather than std::bit_cast, which not every standard
    // library this builds with has.
    std::uint32_t bits;
    const float k = key + 0.0f;
    std::memcpy(&bits, &k, sizeof bits);
    return bits & 0x80000000u ? ~bits : bits | 0x80000000u;
}

// Stable least-significant-digit radix sort of v[0..n) by rank, a byte a
// pass, between v and scratch; the counts of all four bytes come from one
// read, and a byte that is the same everywhere costs no pass.
void sortByRank(Swept* v, Swept* scratch, std::int32_t n)
{
    std::array<std::array<std::int32_t, 256>, 4> count{};
    for (std::int32_t i = 0; i < n; ++i)
        for (int b = 0; b < 4; ++b) ++count[std::size_t(b)][(v[i].rank >> (8 * b)) & 0xFF];
    Swept* from = v;
    Swept* to = scratch;
    for (int b = 0; b < 4; ++b) {
        auto& start = count[std::size_t(b)];
        if (std::find(start.begin(), start.end(), n) != start.end()) continue;
        std::int32_t sum = 0;
        for (std::int32_t& c : start) sum += std::exchange(c, sum);
        for (std::int32_t i = 0; i < n; ++i) to[start[(from[i].rank >> (8 * b)) & 0xFF]++] = from[i];
        std::swap(from, to);
    }
    if (from != v) std::copy(from, from + n, v);
}

} // namespace

void orderHullOutline(std::int32_t count)
{
    if (count > PointCapacity) count = PointCapacity;
    if (count <= 1) return;
    Point* h = HullBuffer.data();

    // The lowest of the leftmost vertices goes first, by the very exchanges
    // the first pass of an exchange sort by (x, y) would make.
    for (std::int32_t j = 1; j < count; ++j)
        if (h[j].x < h[0].x || (h[j].x == h[0].x && h[j].y < h[0].y)) {
            std::swap(h[0].x, h[j].x);
            std::swap(h[0].y, h[j].y);
        }
    if (count < 3) return;

    const std::int32_t m = count - 1;
    Swept* v = Sweep.data();
    for (std::int32_t i = 0; i < m; ++i) {
        const Point& p = h[i + 1];
        const float key = directionKey(h[0], p.x, p.y);
        v[i] = {p.x, p.y, key, rankOf(key)};
    }
    // The last ray of the sweep carries the edge back to the base vertex.
    SweepOrder order{h[0], v[0]};
    for (std::int32_t i = 1; i < m; ++i)
        if (sweptBefore(h[0], order.closer, v[i])) order.closer = v[i];

    // By key first, in linear time; then every run of equal keys by the whole
    // order, which there needs the exact turns and the walk along a ray.
    sortByRank(v, SweepScratch.data(), m);
    for (std::int32_t lo = 0, hi = 0; lo < m; lo = hi) {
        for (hi = lo + 1; hi < m && v[hi].rank == v[lo].rank; ++hi) {}
        if (hi - lo > 1) mergeSort(v + lo, SweepScratch.data(), std::size_t(hi - lo), order);
    }
    // Only places move; z and colour stay with their slot.
    for (std::int32_t i = 0; i < m; ++i) {
        h[i + 1].x = v[i].x;
        h[i + 1].y = v[i].y;
    }
}
