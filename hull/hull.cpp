#include "hull.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OMOTAC_HULL_AVX2 1
#endif

std::array<Point, PointCapacity> HullBuffer;

namespace {

// A candidate point with its coordinates kept beside its index, so the passes
// over a set stream through one small array instead of gathering from the input.
struct Candidate {
    float x;
    float y;
    std::int32_t index;
};

// A sub-problem: the candidates work[lo, hi) lie strictly left of the directed
// edge a->b, and work[farthest] is the one farthest from it.
struct Edge {
    std::int32_t lo;
    std::int32_t hi;
    std::int32_t farthest;
    Candidate a;
    Candidate b;
};

// Points that may matter, in index order, as three parallel arrays.
struct Survivors {
    std::vector<float> x;
    std::vector<float> y;
    std::vector<std::int32_t> index;
    std::int32_t count = 0;
};

// Storage the kernel reuses from call to call: it only grows, so once a run of
// size n has been seen no later call of that size allocates.
struct Scratch {
    Survivors kept;               // what the interior filter lets through
    std::vector<Candidate> work;  // every live set, nested sub-sets in place
    std::vector<Candidate> spill; // second sub-set while a pass is running
    std::vector<Edge> pending;    // edges still to expand, last one next
};

Scratch& scratch()
{
    static Scratch s;
    return s;
}

// Vector stores write a whole register past the last kept lane.
constexpr std::size_t VectorSlack = 8;

void reserve(Scratch& s, std::int32_t n)
{
    const std::size_t room = std::size_t(n) + VectorSlack;
    if (s.work.size() >= room) return;
    s.kept.x.resize(room);
    s.kept.y.resize(room);
    s.kept.index.resize(room);
    s.work.resize(room);
    s.spill.resize(room);
    s.pending.reserve(room);
}

// Twice the signed area of (a, b, p): positive when p lies strictly left of a->b.
// Differences, then products, then their difference, all in double from the float
// coordinates; for integer coordinates below 2^24 every step is exact. The value
// for b->a is exactly the negation, which lets one pass sort both sides of L-R.
inline double orientation(float ax, float ay, float bx, float by, float px, float py)
{
    return (double(by) - double(py)) * (double(ax) - double(px))
         - (double(ay) - double(py)) * (double(bx) - double(px));
}

inline Candidate candidateOf(const Point& p, std::int32_t i) { return {p.x, p.y, i}; }

// Indices of extreme points: leftmost and rightmost (first of equals, as the
// hull's order depends on them), and the extremes of x + y and x - y, which only
// need to be input points.
struct Extremes {
    std::int32_t left = 0, right = 0;
    std::int32_t minSum = 0, maxSum = 0, minDiff = 0, maxDiff = 0;
};

// Strict tests in index order: the first of equal values stays, NaN never wins
// (unless point 0 is one, and then nothing replaces it).
void scanExtremes(const Point* p, std::int32_t from, std::int32_t n, Extremes& e)
{
    for (std::int32_t i = from; i < n; ++i) {
        const float x = p[i].x, y = p[i].y, s = x + y, d = x - y;
        if (x < p[e.left].x) e.left = i;
        if (x > p[e.right].x) e.right = i;
        if (s < p[e.minSum].x + p[e.minSum].y) e.minSum = i;
        if (s > p[e.maxSum].x + p[e.maxSum].y) e.maxSum = i;
        if (d < p[e.minDiff].x - p[e.minDiff].y) e.minDiff = i;
        if (d > p[e.maxDiff].x - p[e.maxDiff].y) e.maxDiff = i;
    }
}

// An axis-aligned box whose open inside lies strictly inside the hull: points in
// it are never hull vertices nor farthest from any edge, so the kernel may skip
// them without changing a single entry. Empty (lo > hi) when none is found.
struct InteriorBox {
    float x1 = 1.0f, x2 = 0.0f, y1 = 1.0f, y2 = 0.0f;
};

// True when c lies on or left of a->b for certain: exactly when c is an end of the
// edge, otherwise with a margin that covers the rounding of the double evaluation.
bool surelyLeftOrOn(float ax, float ay, float bx, float by, float cx, float cy)
{
    if ((cx == ax && cy == ay) || (cx == bx && cy == by)) return true;
    const double d1 = double(by) - double(cy), d2 = double(ax) - double(cx);
    const double d3 = double(ay) - double(cy), d4 = double(bx) - double(cx);
    const double value = d1 * d2 - d3 * d4;
    const double margin = 0x1p-50 * (std::fabs(d1 * d2) + std::fabs(d3 * d4));
    return value >= margin && margin == margin;
}

// The largest box the four diagonal extremes suggest, checked against the hexagon
// L, min(x+y), max(x-y), R, max(x+y), min(x-y) (counter-clockwise) and pulled
// towards its centre until all four corners are proven inside.
InteriorBox interiorBox(const Point* p, const Extremes& e)
{
    const Point* hex[6] = {&p[e.left], &p[e.minSum], &p[e.maxDiff], &p[e.right], &p[e.maxSum], &p[e.minDiff]};
    for (const Point* h : hex)
        if (!std::isfinite(h->x) || !std::isfinite(h->y)) return {};
    double x1 = std::fmax(p[e.minSum].x, p[e.minDiff].x), x2 = std::fmin(p[e.maxSum].x, p[e.maxDiff].x);
    double y1 = std::fmax(p[e.minSum].y, p[e.maxDiff].y), y2 = std::fmin(p[e.maxSum].y, p[e.minDiff].y);
    if (!(x1 < x2 && y1 < y2)) return {};
    const double cx = 0.5 * (x1 + x2), cy = 0.5 * (y1 + y2);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const InteriorBox box{float(x1), float(x2), float(y1), float(y2)};
        const float corners[4][2] = {{box.x1, box.y1}, {box.x2, box.y1}, {box.x2, box.y2}, {box.x1, box.y2}};
        bool inside = true;
        for (const auto& c : corners)
            for (int k = 0; k < 6 && inside; ++k)
                inside = surelyLeftOrOn(hex[k]->x, hex[k]->y, hex[(k + 1) % 6]->x, hex[(k + 1) % 6]->y, c[0], c[1]);
        if (inside) return box;
        x1 += (cx - x1) / 8;
        x2 -= (x2 - cx) / 8;
        y1 += (cy - y1) / 8;
        y2 -= (y2 - cy) / 8;
    }
    return {};
}

// Copies the points outside the open box to the survivor arrays, in index order.
void filterInterior(const Point* p, std::int32_t from, std::int32_t n, const InteriorBox& box, Survivors& out)
{
    std::int32_t k = out.count;
    for (std::int32_t i = from; i < n; ++i) {
        const float x = p[i].x, y = p[i].y;
        out.x[std::size_t(k)] = x;
        out.y[std::size_t(k)] = y;
        out.index[std::size_t(k)] = i;
        k += !(x > box.x1 && x < box.x2 && y > box.y1 && y < box.y2);
    }
    out.count = k;
}

#ifdef OMOTAC_HULL_AVX2

// Loads points i..i+7 and leaves their x and y in two registers, lane order
// 0, 2, 4, 6, 1, 3, 5, 7 (what two unpack-and-shuffle steps give for free).
__attribute__((target("avx2"))) inline void loadXY8(const Point* p, __m256& x, __m256& y)
{
    // Each load takes two whole points; Point starts with x, so its address is
    // that of x, and the vector load type may alias anything.
    const __m256 v0 = _mm256_loadu_ps(reinterpret_cast<const float*>(p));
    const __m256 v1 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 2));
    const __m256 v2 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 4));
    const __m256 v3 = _mm256_loadu_ps(reinterpret_cast<const float*>(p + 6));
    const __m256 t0 = _mm256_unpacklo_ps(v0, v1);
    const __m256 t1 = _mm256_unpacklo_ps(v2, v3);
    x = _mm256_shuffle_ps(t0, t1, _MM_SHUFFLE(1, 0, 1, 0));
    y = _mm256_shuffle_ps(t0, t1, _MM_SHUFFLE(3, 2, 3, 2));
}

// Index offset held by each lane after loadXY8.
constexpr std::int32_t LaneOffset[8] = {0, 2, 4, 6, 1, 3, 5, 7};

// For every 8-bit keep mask, the lanes to gather so that kept points come out in
// index order; feeds a single permute per register.
struct CompressTable {
    alignas(32) std::int32_t lanes[256][8];
    std::int8_t count[256];
};

constexpr CompressTable makeCompressTable()
{
    CompressTable t{};
    for (int m = 0; m < 256; ++m) {
        int k = 0;
        for (int offset = 0; offset < 8; ++offset) {
            const int lane = offset % 2 == 0 ? offset / 2 : 4 + offset / 2;
            if (m & (1 << lane)) t.lanes[m][k++] = lane;
        }
        t.count[m] = std::int8_t(k);
        for (; k < 8; ++k) t.lanes[m][k] = 0;
    }
    return t;
}

constexpr CompressTable Compress = makeCompressTable();

// One tracked extreme: per lane the best value so far and its index.
struct Track {
    __m256 value;
    __m256i index;
};

// Takes value and index in the lanes where better is set. The tests are strict,
// so each lane keeps its earlier index, and NaN never compares better.
__attribute__((target("avx2"))) inline void keep(Track& t, __m256 v, __m256 better, __m256i index)
{
    t.value = _mm256_blendv_ps(t.value, v, better);
    t.index = _mm256_castps_si256(_mm256_blendv_ps(_mm256_castsi256_ps(t.index), _mm256_castsi256_ps(index), better));
}

// Folds the 8 lanes into the first index holding the best value; below is true
// for a minimum. Lanes hold disjoint index classes, so equal values go to the
// lower index.
__attribute__((target("avx2"))) std::int32_t foldTrack(const Track& t, bool below)
{
    alignas(32) float v[8];
    alignas(32) std::int32_t idx[8];
    _mm256_store_ps(v, t.value);
    _mm256_store_si256(reinterpret_cast<__m256i*>(idx), t.index);
    int best = 0;
    for (int j = 1; j < 8; ++j) {
        const bool better = below ? v[j] < v[best] : v[j] > v[best];
        if (better || (v[j] == v[best] && idx[j] < idx[best])) best = j;
    }
    return idx[best];
}

// Extremes of the first multiple of 8 points, eight lanes at a time; returns how
// many points it covered.
__attribute__((target("avx2"))) std::int32_t vectorExtremes(const Point* p, std::int32_t n, Extremes& e)
{
    const std::int32_t blocks = n / 8 * 8;
    if (blocks == 0) return 0;
    const __m256 x0 = _mm256_set1_ps(p[0].x), y0 = _mm256_set1_ps(p[0].y);
    const __m256 s0 = _mm256_add_ps(x0, y0), d0 = _mm256_sub_ps(x0, y0);
    const __m256i zero = _mm256_setzero_si256();
    Track lo{x0, zero}, hi{x0, zero}, loS{s0, zero}, hiS{s0, zero}, loD{d0, zero}, hiD{d0, zero};
    __m256i index = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i step = _mm256_set1_epi32(8);
    for (std::int32_t i = 0; i < blocks; i += 8) {
        __m256 x, y;
        loadXY8(p + i, x, y);
        const __m256 s = _mm256_add_ps(x, y), d = _mm256_sub_ps(x, y);
        keep(lo, x, _mm256_cmp_ps(x, lo.value, _CMP_LT_OQ), index);
        keep(hi, x, _mm256_cmp_ps(x, hi.value, _CMP_GT_OQ), index);
        keep(loS, s, _mm256_cmp_ps(s, loS.value, _CMP_LT_OQ), index);
        keep(hiS, s, _mm256_cmp_ps(s, hiS.value, _CMP_GT_OQ), index);
        keep(loD, d, _mm256_cmp_ps(d, loD.value, _CMP_LT_OQ), index);
        keep(hiD, d, _mm256_cmp_ps(d, hiD.value, _CMP_GT_OQ), index);
        index = _mm256_add_epi32(index, step);
    }
    e.left = foldTrack(lo, true);
    e.right = foldTrack(hi, false);
    e.minSum = foldTrack(loS, true);
    e.maxSum = foldTrack(hiS, false);
    e.minDiff = foldTrack(loD, true);
    e.maxDiff = foldTrack(hiD, false);
    return blocks;
}

// filterInterior eight points at a time; returns how many points it covered.
__attribute__((target("avx2"))) std::int32_t vectorFilter(const Point* p, std::int32_t n, const InteriorBox& box,
                                                          Survivors& out)
{
    const std::int32_t blocks = n / 8 * 8;
    const __m256 x1 = _mm256_set1_ps(box.x1), x2 = _mm256_set1_ps(box.x2);
    const __m256 y1 = _mm256_set1_ps(box.y1), y2 = _mm256_set1_ps(box.y2);
    __m256i index = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i step = _mm256_set1_epi32(8);
    std::int32_t k = out.count;
    for (std::int32_t i = 0; i < blocks; i += 8) {
        __m256 x, y;
        loadXY8(p + i, x, y);
        const __m256 inside = _mm256_and_ps(_mm256_and_ps(_mm256_cmp_ps(x, x1, _CMP_GT_OQ), _mm256_cmp_ps(x, x2, _CMP_LT_OQ)),
                                            _mm256_and_ps(_mm256_cmp_ps(y, y1, _CMP_GT_OQ), _mm256_cmp_ps(y, y2, _CMP_LT_OQ)));
        const int m = ~_mm256_movemask_ps(inside) & 0xff;
        const __m256i lanes = _mm256_load_si256(reinterpret_cast<const __m256i*>(Compress.lanes[m]));
        _mm256_storeu_ps(out.x.data() + k, _mm256_permutevar8x32_ps(x, lanes));
        _mm256_storeu_ps(out.y.data() + k, _mm256_permutevar8x32_ps(y, lanes));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.index.data() + k), _mm256_permutevar8x32_epi32(index, lanes));
        k += Compress.count[m];
        index = _mm256_add_epi32(index, step);
    }
    out.count = k;
    return blocks;
}

#endif

// Finds the extremes and lets through every point outside the interior box.
// Gives L and R.
void gatherSurvivors(const Point* p, std::int32_t n, HullPath path, Extremes& e, Survivors& kept)
{
    kept.count = 0;
    std::int32_t done = 0;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2) done = vectorExtremes(p, n, e);
#endif
    scanExtremes(p, std::max(done, 1), n, e);
    const InteriorBox box = interiorBox(p, e);
    done = 0;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2) done = vectorFilter(p, n, box, kept);
#endif
    filterInterior(p, done, n, box, kept);
}

// Sorts the survivors to the upper set (left of L->R) or the lower set (left of
// R->L) in one pass, in index order, tracking each side's farthest point; the
// lower set ends up directly behind the upper one in work.
void selectSides(const Survivors& kept, const Candidate& l, const Candidate& r, Scratch& s, Edge& upper,
                 Edge& lower)
{
    Candidate* up = s.work.data();
    Candidate* down = s.spill.data();
    std::int32_t nu = 0, nd = 0, farU = 0, farD = 0;
    double bestU = 0.0, bestD = 0.0;
    for (std::int32_t i = 0; i < kept.count; ++i) {
        const Candidate c{kept.x[std::size_t(i)], kept.y[std::size_t(i)], kept.index[std::size_t(i)]};
        const double o = orientation(l.x, l.y, r.x, r.y, c.x, c.y);
        // Both slots are written and only the chosen counter moves: no branch
        // to mispredict on random input. L and R themselves give exactly 0.
        up[nu] = c;
        down[nd] = c;
        if (o > bestU) { bestU = o; farU = nu; }
        if (-o > bestD) { bestD = -o; farD = nd; }
        nu += o > 0.0;
        nd += o < 0.0;
    }
    std::memcpy(up + nu, down, sizeof(Candidate) * std::size_t(nd));
    upper = {0, nu, farU, l, r};
    lower = {nu, nu + nd, nu + farD, r, l};
}

// Writes the vertices beyond every pending edge, depth first: an edge's farthest
// point, then all found beyond its first sub-edge (from a), then beyond its second.
// Each pass splits a set into the two sub-sets in place; the farthest point lies on
// neither sub-edge's open side, so sets shrink strictly and the loop ends whatever
// rounding does to non-integer input.
void expandHull(const Point* points, std::int32_t& count, Scratch& s)
{
    Candidate* work = s.work.data();
    Candidate* spill = s.spill.data();
    while (!s.pending.empty()) {
        const Edge e = s.pending.back();
        s.pending.pop_back();
        if (count == PointCapacity) return;
        const Candidate v = work[e.farthest];
        HullBuffer[count++] = points[v.index];
        if (e.hi - e.lo == 1) continue;

        std::int32_t n1 = e.lo, n2 = 0, far1 = 0, far2 = 0;
        double best1 = 0.0, best2 = 0.0;
        for (std::int32_t k = e.lo; k < e.hi; ++k) {
            const Candidate c = work[k];
            const double o1 = orientation(e.a.x, e.a.y, v.x, v.y, c.x, c.y);
            if (o1 > 0.0) {
                // Ties keep the earlier candidate, which is also the lower index.
                if (o1 > best1) { best1 = o1; far1 = n1; }
                work[n1++] = c; // n1 <= k: never overwrites an unread candidate
                continue;
            }
            const double o2 = orientation(v.x, v.y, e.b.x, e.b.y, c.x, c.y);
            spill[n2] = c;
            if (o2 > best2) { best2 = o2; far2 = n2; }
            n2 += o2 > 0.0;
        }
        std::memcpy(work + n1, spill, sizeof(Candidate) * std::size_t(n2));
        // Second sub-edge pushed first so the first one is expanded first.
        if (n2 > 0) s.pending.push_back({n1, n1 + n2, n1 + far2, v, e.b});
        if (n1 > e.lo) s.pending.push_back({e.lo, n1, far1, e.a, v});
    }
}

// When every point shares one x, L and R become the lowest and the highest point
// (first of equals), so a vertical set keeps both of its ends.
void verticalEnds(const Point* p, std::int32_t n, std::int32_t& left, std::int32_t& right)
{
    for (std::int32_t i = 1; i < n; ++i) {
        if (p[left].y > p[i].y) left = i;
        if (p[right].y < p[i].y) right = i;
    }
}

} // namespace

HullPath fastestHullPath()
{
#ifdef OMOTAC_HULL_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) return HullPath::Avx2;
#endif
    return HullPath::Portable;
}

std::int32_t computeHullOn(HullPath path, const Point* points, std::int32_t n)
{
    if (n < 1) return 0;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2 && !__builtin_cpu_supports("avx2")) path = HullPath::Portable;
#else
    path = HullPath::Portable;
#endif
    Scratch& s = scratch();
    reserve(s, n);

    // L and R come first; every other vertex is found beyond L->R or R->L.
    Extremes e;
    gatherSurvivors(points, n, path, e, s.kept);
    std::int32_t left = e.left, right = e.right;
    if (left == right) verticalEnds(points, n, left, right);
    std::int32_t count = 0;
    HullBuffer[count++] = points[left];
    HullBuffer[count++] = points[right];
    if (left == right) return count;

    Edge upper{}, lower{};
    selectSides(s.kept, candidateOf(points[left], left), candidateOf(points[right], right), s, upper, lower);
    s.pending.clear();
    if (lower.hi > lower.lo) s.pending.push_back(lower);
    if (upper.hi > upper.lo) s.pending.push_back(upper);
    expandHull(points, count, s);
    return count;
}

std::int32_t computeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices)
{
    // The index list is 0..n-1 by contract, so position i is point i; reading the
    // points directly keeps every pass sequential and never strays past n.
    (void)pointIndices;
    return computeHullOn(fastestHullPath(), points, n);
}
