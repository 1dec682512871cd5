#include "hull.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OMOTAC_HULL_AVX2 1
#endif

std::array<Point, PointCapacity> HullBuffer;

namespace {

// A candidate point: its coordinates and its index in the input.
struct Candidate {
    float x;
    float y;
    std::int32_t index;
};

// Candidate sets as three parallel arrays, so a pass streams through exactly the
// coordinates it tests, eight lanes at a time where it can.
struct Columns {
    std::vector<float> x;
    std::vector<float> y;
    std::vector<std::int32_t> index;

    void resize(std::size_t n)
    {
        x.resize(n);
        y.resize(n);
        index.resize(n);
    }
    void put(std::int32_t k, float px, float py, std::int32_t i)
    {
        x[std::size_t(k)] = px;
        y[std::size_t(k)] = py;
        index[std::size_t(k)] = i;
    }
};

// A sub-problem: the candidates work[lo, hi) lie strictly left of the directed
// edge a->b, and far is the one farthest from it.
struct Edge {
    std::int32_t lo;
    std::int32_t hi;
    Candidate a;
    Candidate b;
    Candidate far;
};

// Storage the kernel reuses from call to call: it only grows, so once a run of
// size n has been seen no later call of that size allocates.
struct Scratch {
    Columns work;              // the points that may matter, then every live set in place
    Columns spill;             // second sub-set while a pass is running
    std::vector<Edge> pending; // edges still to expand, last one next
};

Scratch& scratch()
{
    static Scratch s;
    return s;
}

// Vector stores write a whole register past the last kept lane.
constexpr std::size_t VectorSlack = 8;

// Sets this small are finished apart: copied out once, then split with no
// bookkeeping, which at the leaves of a hull with many vertices costs less than
// the split passes' setup.
constexpr std::int32_t SmallSet = 16;

void reserve(Scratch& s, std::int32_t n)
{
    const std::size_t room = std::size_t(n) + VectorSlack;
    if (s.work.x.size() >= room) return;
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

inline Candidate candidateOf(const Point* p, std::int32_t i) { return {p[i].x, p[i].y, i}; }

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
    // The extreme values ride in registers; reading them back through the
    // indices would chain every point's tests to a load.
    float left = p[e.left].x, right = p[e.right].x;
    float minSum = p[e.minSum].x + p[e.minSum].y, maxSum = p[e.maxSum].x + p[e.maxSum].y;
    float minDiff = p[e.minDiff].x - p[e.minDiff].y, maxDiff = p[e.maxDiff].x - p[e.maxDiff].y;
    for (std::int32_t i = from; i < n; ++i) {
        const float x = p[i].x, y = p[i].y, s = x + y, d = x - y;
        if (x < left) { left = x; e.left = i; }
        if (x > right) { right = x; e.right = i; }
        if (s < minSum) { minSum = s; e.minSum = i; }
        if (s > maxSum) { maxSum = s; e.maxSum = i; }
        if (d < minDiff) { minDiff = d; e.minDiff = i; }
        if (d > maxDiff) { maxDiff = d; e.maxDiff = i; }
    }
}

// An axis-aligned box whose open inside lies strictly inside the hull: points in
// it are never hull vertices nor farthest from any edge, so the kernel may skip
// them without changing a single entry. Empty (x1 > x2) when none is found.
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

// Copies the points outside the open box to out[kept..], in index order; gives
// the new count.
std::int32_t filterInterior(const Point* p, std::int32_t from, std::int32_t n, const InteriorBox& box,
                            Columns& out, std::int32_t kept)
{
    for (std::int32_t i = from; i < n; ++i) {
        const float x = p[i].x, y = p[i].y;
        out.put(kept, x, y, i);
        kept += !(x > box.x1 && x < box.x2 && y > box.y1 && y < box.y2);
    }
    return kept;
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

// For every 8-bit keep mask, the lanes to gather so that the kept ones come out
// packed in index order; feeds a single permute per register.
struct CompressTable {
    alignas(32) std::int32_t lanes[256][8];
    std::int8_t count[256];
};

// offsetOfLane: which index offset each lane holds.
constexpr CompressTable makeCompressTable(const std::int32_t (&offsetOfLane)[8])
{
    CompressTable t{};
    for (int m = 0; m < 256; ++m) {
        int k = 0;
        for (int offset = 0; offset < 8; ++offset)
            for (int lane = 0; lane < 8; ++lane)
                if (offsetOfLane[lane] == offset && (m & (1 << lane))) t.lanes[m][k++] = lane;
        t.count[m] = std::int8_t(k);
        for (; k < 8; ++k) t.lanes[m][k] = 0;
    }
    return t;
}

constexpr std::int32_t InOrder[8] = {0, 1, 2, 3, 4, 5, 6, 7};
constexpr CompressTable Interleaved = makeCompressTable(LaneOffset); // after loadXY8
constexpr CompressTable Contiguous = makeCompressTable(InOrder);     // loads from Columns

// Raw pointers into Columns for the vector loops: the vector stores may alias
// anything, so pointers read through the vectors would be reloaded every block.
struct ColumnPointers {
    float* x;
    float* y;
    std::int32_t* index;

    explicit ColumnPointers(Columns& c) : x(c.x.data()), y(c.y.data()), index(c.index.data()) {}
};

// Stores the lanes listed in lanes (x, y and index alike) packed at out[k..].
__attribute__((target("avx2"))) inline void storeCompressed(const ColumnPointers& out, std::int32_t k, __m256 x,
                                                            __m256 y, __m256i index, const std::int32_t* lanes)
{
    const __m256i pick = _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
    _mm256_storeu_ps(out.x + k, _mm256_permutevar8x32_ps(x, pick));
    _mm256_storeu_ps(out.y + k, _mm256_permutevar8x32_ps(y, pick));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.index + k), _mm256_permutevar8x32_epi32(index, pick));
}

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

// filterInterior eight points at a time over the first multiple of 8 points;
// gives the count kept.
__attribute__((target("avx2"))) std::int32_t vectorFilter(const Point* p, std::int32_t n, const InteriorBox& box,
                                                          Columns& out)
{
    const std::int32_t blocks = n / 8 * 8;
    const __m256 x1 = _mm256_set1_ps(box.x1), x2 = _mm256_set1_ps(box.x2);
    const __m256 y1 = _mm256_set1_ps(box.y1), y2 = _mm256_set1_ps(box.y2);
    __m256i index = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const __m256i step = _mm256_set1_epi32(8);
    const ColumnPointers to(out);
    std::int32_t k = 0;
    for (std::int32_t i = 0; i < blocks; i += 8) {
        __m256 x, y;
        loadXY8(p + i, x, y);
        const __m256 inside = _mm256_and_ps(_mm256_and_ps(_mm256_cmp_ps(x, x1, _CMP_GT_OQ), _mm256_cmp_ps(x, x2, _CMP_LT_OQ)),
                                            _mm256_and_ps(_mm256_cmp_ps(y, y1, _CMP_GT_OQ), _mm256_cmp_ps(y, y2, _CMP_LT_OQ)));
        const int m = ~_mm256_movemask_ps(inside) & 0xff;
        storeCompressed(to, k, x, y, index, Interleaved.lanes[m]);
        k += Interleaved.count[m];
        index = _mm256_add_epi32(index, step);
    }
    return k;
}

#endif

// Finds the extremes and copies every point outside the interior box to work,
// in index order; gives how many.
std::int32_t gatherSurvivors(const Point* p, std::int32_t n, HullPath path, Extremes& e, Columns& work)
{
    std::int32_t done = 0, kept = 0;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2) done = vectorExtremes(p, n, e);
#endif
    scanExtremes(p, std::max(done, 1), n, e);
    const InteriorBox box = interiorBox(p, e);
    done = 0;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2) {
        done = n / 8 * 8;
        kept = vectorFilter(p, n, box, work);
    }
#endif
    return filterInterior(p, done, n, box, work, kept);
}

// The running farthest candidate of both sub-sets while one pass sorts a set.
struct SplitTally {
    double best1 = 0.0, best2 = 0.0;
    std::int32_t far1 = -1, far2 = -1;
    bool in1 = false, in2 = false;

    // Sorts one candidate by its orientations against the two sub-edges: set 1
    // beyond the first, else set 2 beyond the second (never both, so no point is
    // written twice even where rounding would allow it), and records it under
    // tag1 or tag2 where it beats every earlier one: strict, so the first of
    // equally far candidates stays. Selects, not branches: on hulls with many
    // vertices the side is a coin toss the predictor would lose. best >= 0, so
    // beating it implies membership; outside set 2, t2 is 0 or NaN (a product,
    // since a select on doubles compiles to a branch).
    void take(double o1, double o2, std::int32_t tag1, std::int32_t tag2)
    {
        in1 = o1 > 0.0;
        in2 = !in1 & (o2 > 0.0);
        const double t2 = o2 * double(in2);
        // Masks rather than ?: on the indices, which the compiler may or may not
        // turn into a branch depending on the code around it.
        const std::int32_t up1 = -std::int32_t(o1 > best1), up2 = -std::int32_t(t2 > best2);
        far1 ^= (far1 ^ tag1) & up1;
        far2 ^= (far2 ^ tag2) & up2;
        best1 = o1 > best1 ? o1 : best1;
        best2 = t2 > best2 ? t2 : best2;
    }
};

// What a split leaves: set 1 (beyond a->v) at work[lo, end1), set 2 (beyond v->b)
// right behind it with size2 entries, and the farthest of each, index -1 when
// a set is empty.
struct Split {
    std::int32_t end1;
    std::int32_t size2;
    double best1, best2;
    Candidate far1, far2;
};

// Sorts work[from, hi) into set 1 (set1 so far ends at s.end1) and spill[s.size2..];
// strict tests in order keep the first of equally far candidates.
void splitTail(const Point* p, Scratch& sc, std::int32_t from, std::int32_t hi, const Candidate& a,
               const Candidate& v, const Candidate& b, Split& s)
{
    Columns& w = sc.work;
    Columns& sp = sc.spill;
    SplitTally t{s.best1, s.best2, s.far1.index, s.far2.index};
    for (std::int32_t k = from; k < hi; ++k) {
        const float x = w.x[std::size_t(k)], y = w.y[std::size_t(k)];
        const std::int32_t i = w.index[std::size_t(k)];
        t.take(orientation(a.x, a.y, v.x, v.y, x, y), orientation(v.x, v.y, b.x, b.y, x, y), i, i);
        // Both slots are written and only the chosen end moves.
        w.put(s.end1, x, y, i); // end1 <= k: never overwrites an unread candidate
        sp.put(s.size2, x, y, i);
        s.end1 += t.in1;
        s.size2 += t.in2;
    }
    s.best1 = t.best1;
    s.best2 = t.best2;
    if (t.far1 != s.far1.index) s.far1 = candidateOf(p, t.far1);
    if (t.far2 != s.far2.index) s.far2 = candidateOf(p, t.far2);
}

#ifdef OMOTAC_HULL_AVX2

// Twice the signed area of (a, b, p) for four points at once, as orientation().
__attribute__((target("avx2"))) inline __m256d orientation4(__m256d ax, __m256d ay, __m256d bx, __m256d by,
                                                            __m256d px, __m256d py)
{
    return _mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(by, py), _mm256_sub_pd(ax, px)),
                         _mm256_mul_pd(_mm256_sub_pd(ay, py), _mm256_sub_pd(bx, px)));
}

// Per lane the largest value seen in a set so far and the index holding it.
struct Best4 {
    __m256d value;
    __m256d index;
};

__attribute__((target("avx2"))) inline void keepFarther(Best4& t, __m256d o, __m256d member, __m256d index)
{
    const __m256d better = _mm256_and_pd(member, _mm256_cmp_pd(o, t.value, _CMP_GT_OQ));
    t.value = _mm256_blendv_pd(t.value, o, better);
    t.index = _mm256_blendv_pd(t.index, index, better);
}

__attribute__((target("avx2"))) inline __m256d broadcastMax(__m256d v)
{
    v = _mm256_max_pd(v, _mm256_permute2f128_pd(v, v, 1));
    return _mm256_max_pd(v, _mm256_permute_pd(v, 0b0101));
}
__attribute__((target("avx2"))) inline __m256d broadcastMin(__m256d v)
{
    v = _mm256_min_pd(v, _mm256_permute2f128_pd(v, v, 1));
    return _mm256_min_pd(v, _mm256_permute_pd(v, 0b0101));
}
__attribute__((target("avx2"))) void foldBest(const Best4& t, const Point* p, double& best, Candidate& far)
{
    const __m256d top = broadcastMax(t.value);
    const __m256d never = _mm256_set1_pd(std::numeric_limits<double>::infinity());
    const __m256d atTop = _mm256_blendv_pd(never, t.index, _mm256_cmp_pd(t.value, top, _CMP_EQ_OQ));
    const double value = _mm256_cvtsd_f64(top);
    const auto index = std::int32_t(_mm256_cvtsd_f64(broadcastMin(atTop)));
    if (value > best || (value == best && value > 0.0 && index < far.index)) {
        best = value;
        far = candidateOf(p, index);
    }
}

// splitTail eight candidates at a time over whole blocks of work[lo, hi); gives
// where it stopped. A block's set-1 store lands at or before the block itself,
// which is already loaded, so the split stays in place.
__attribute__((target("avx2"))) std::int32_t splitBlocks(const Point* p, Scratch& sc, std::int32_t lo,
                                                         std::int32_t hi, const Candidate& a, const Candidate& v,
                                                         const Candidate& b, Split& s)
{
    const ColumnPointers w(sc.work), sp(sc.spill);
    const __m256d ax = _mm256_set1_pd(a.x), ay = _mm256_set1_pd(a.y);
    const __m256d vx = _mm256_set1_pd(v.x), vy = _mm256_set1_pd(v.y);
    const __m256d bx = _mm256_set1_pd(b.x), by = _mm256_set1_pd(b.y);
    const __m256d zero = _mm256_setzero_pd(), none = _mm256_set1_pd(-1.0);
    // One record per set: a lane meets its candidates in index order whichever
    // half of a block they come from, so strict tests still keep the first.
    Best4 best1{zero, none}, best2{zero, none};
    std::int32_t k = lo, end1 = s.end1, size2 = s.size2;
    for (; k + 8 <= hi; k += 8) {
        const __m256 xf = _mm256_loadu_ps(w.x + k);
        const __m256 yf = _mm256_loadu_ps(w.y + k);
        const __m256i index = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w.index + k));
        int bits1 = 0, bits2 = 0;
        for (int h = 0; h < 2; ++h) {
            const __m256d x = _mm256_cvtps_pd(h == 0 ? _mm256_castps256_ps128(xf) : _mm256_extractf128_ps(xf, 1));
            const __m256d y = _mm256_cvtps_pd(h == 0 ? _mm256_castps256_ps128(yf) : _mm256_extractf128_ps(yf, 1));
            const __m256d i = _mm256_cvtepi32_pd(h == 0 ? _mm256_castsi256_si128(index) : _mm256_extracti128_si256(index, 1));
            const __m256d o1 = orientation4(ax, ay, vx, vy, x, y);
            const __m256d o2 = orientation4(vx, vy, bx, by, x, y);
            const __m256d in1 = _mm256_cmp_pd(o1, zero, _CMP_GT_OQ);
            const __m256d in2 = _mm256_andnot_pd(in1, _mm256_cmp_pd(o2, zero, _CMP_GT_OQ));
            keepFarther(best1, o1, in1, i);
            keepFarther(best2, o2, in2, i);
            bits1 |= _mm256_movemask_pd(in1) << (4 * h);
            bits2 |= _mm256_movemask_pd(in2) << (4 * h);
        }
        storeCompressed(w, end1, xf, yf, index, Contiguous.lanes[bits1]);
        storeCompressed(sp, size2, xf, yf, index, Contiguous.lanes[bits2]);
        end1 += Contiguous.count[bits1];
        size2 += Contiguous.count[bits2];
    }
    s.end1 = end1;
    s.size2 = size2;
    foldBest(best1, p, s.best1, s.far1);
    foldBest(best2, p, s.best2, s.far2);
    return k;
}

// Sets this small go to the scalar expandSmall even on the vector path: each
// split there is a chain of dependent steps, and with a handful of candidates the
// vector version's reductions only lengthen it.
constexpr std::int32_t TinySet = 4;

void expandSmall(const Point* points, std::int32_t& count, Candidate a, const Candidate& b, Candidate far,
                 Candidate* c, std::int32_t m);

// A small set held in registers' worth of memory: coordinates already widened
// to double, four lanes at a time, with room for a whole register past the end.
struct SmallColumns {
    alignas(32) double x[SmallSet + 4];
    alignas(32) double y[SmallSet + 4];
    alignas(32) std::int32_t index[SmallSet + 4];
};

// For every 4-bit keep mask, the 32-bit lanes that pack the kept doubles (two
// lanes each) or indices (one lane each) to the front, in order.
struct PackTable {
    alignas(32) std::int32_t doubles[16][8];
    alignas(32) std::int32_t indices[16][8];
    std::int8_t count[16];
};

constexpr PackTable makePackTable()
{
    PackTable t{};
    for (int m = 0; m < 16; ++m) {
        int k = 0;
        for (int lane = 0; lane < 4; ++lane)
            if (m & (1 << lane)) {
                t.doubles[m][2 * k] = 2 * lane;
                t.doubles[m][2 * k + 1] = 2 * lane + 1;
                t.indices[m][k] = lane;
                ++k;
            }
        t.count[m] = std::int8_t(k);
    }
    return t;
}

constexpr PackTable Pack = makePackTable();

// Lanes below r, for the last, partial register of a set.
__attribute__((target("avx2"))) inline __m256d lanesBelow(std::int32_t r)
{
    const __m256i lane = _mm256_setr_epi64x(0, 1, 2, 3);
    return _mm256_castsi256_pd(_mm256_cmpgt_epi64(_mm256_set1_epi64x(r), lane));
}

// Packs the lanes set in mask of (x, y, index) to out[k..].
__attribute__((target("avx2"))) inline void packSmall(SmallColumns& out, std::int32_t k, __m256d x, __m256d y,
                                                      __m256i index, int mask)
{
    const __m256i d = _mm256_load_si256(reinterpret_cast<const __m256i*>(Pack.doubles[mask]));
    const __m256i i = _mm256_load_si256(reinterpret_cast<const __m256i*>(Pack.indices[mask]));
    _mm256_storeu_pd(out.x + k, _mm256_castps_pd(_mm256_permutevar8x32_ps(_mm256_castpd_ps(x), d)));
    _mm256_storeu_pd(out.y + k, _mm256_castps_pd(_mm256_permutevar8x32_ps(_mm256_castpd_ps(y), d)));
    // Four indices only: a wider store would reach candidates not yet read.
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out.index + k),
                     _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(index, i)));
}

// expandSmall four candidates at a time, branch-free within a set: on hulls with
// many vertices nearly every set is small and its split a coin toss per candidate.
__attribute__((target("avx2"))) void expandSmall4(const Point* points, std::int32_t& count, Candidate a,
                                                  const Candidate& b, Candidate far, SmallColumns& c, std::int32_t m)
{
    SmallColumns second;
    const __m256d zero = _mm256_setzero_pd(), none = _mm256_set1_pd(-1.0);
    for (;;) {
        if (m <= TinySet) {
            Candidate tiny[TinySet];
            for (std::int32_t k = 0; k < m; ++k) tiny[k] = {float(c.x[k]), float(c.y[k]), c.index[k]};
            expandSmall(points, count, a, b, far, tiny, m);
            return;
        }
        if (count == PointCapacity) return;
        HullBuffer[count++] = points[far.index];
        const __m256d ax = _mm256_set1_pd(a.x), ay = _mm256_set1_pd(a.y);
        const __m256d vx = _mm256_set1_pd(far.x), vy = _mm256_set1_pd(far.y);
        const __m256d bx = _mm256_set1_pd(b.x), by = _mm256_set1_pd(b.y);
        Best4 best1{zero, none}, best2{zero, none};
        std::int32_t n1 = 0, n2 = 0;
        for (std::int32_t k = 0; k < m; k += 4) {
            const __m256d x = _mm256_load_pd(c.x + k), y = _mm256_load_pd(c.y + k);
            const __m256i index = _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(c.index + k)));
            const __m256d i = _mm256_cvtepi32_pd(_mm256_castsi256_si128(index));
            const __m256d valid = lanesBelow(m - k);
            const __m256d o1 = orientation4(ax, ay, vx, vy, x, y);
            const __m256d o2 = orientation4(vx, vy, bx, by, x, y);
            const __m256d in1 = _mm256_and_pd(valid, _mm256_cmp_pd(o1, zero, _CMP_GT_OQ));
            const __m256d in2 = _mm256_andnot_pd(in1, _mm256_and_pd(valid, _mm256_cmp_pd(o2, zero, _CMP_GT_OQ)));
            keepFarther(best1, o1, in1, i);
            keepFarther(best2, o2, in2, i);
            const int m1 = _mm256_movemask_pd(in1), m2 = _mm256_movemask_pd(in2);
            packSmall(c, n1, x, y, index, m1); // n1 <= k: the stored lanes are already read
            packSmall(second, n2, x, y, index, m2);
            n1 += Pack.count[m1];
            n2 += Pack.count[m2];
        }
        double bestValue = 0.0;
        Candidate far1{0, 0, -1}, far2{0, 0, -1};
        foldBest(best1, points, bestValue, far1);
        bestValue = 0.0;
        foldBest(best2, points, bestValue, far2);
        if (n1 > 0) expandSmall4(points, count, a, far, far1, c, n1);
        if (n2 == 0) return;
        // The second sub-edge continues in this activation.
        for (std::int32_t k = 0; k < n2; ++k) {
            c.x[k] = second.x[k];
            c.y[k] = second.y[k];
            c.index[k] = second.index[k];
        }
        a = far;
        far = far2;
        m = n2;
    }
}

// Copies the small set of e out of work (zeros past its end, so every lane read
// is defined) and expands it.
__attribute__((target("avx2"))) void expandSmallOnAvx2(const Point* points, std::int32_t& count, const Edge& e,
                                                       const Scratch& sc)
{
    SmallColumns c;
    const std::int32_t m = e.hi - e.lo;
    for (std::int32_t k = 0; k < m; ++k) {
        const auto at = std::size_t(e.lo + k);
        c.x[k] = sc.work.x[at];
        c.y[k] = sc.work.y[at];
        c.index[k] = sc.work.index[at];
    }
    for (std::int32_t k = m; k < (m + 3) / 4 * 4; ++k) {
        c.x[k] = c.y[k] = 0.0;
        c.index[k] = 0;
    }
    expandSmall4(points, count, e.a, e.b, e.far, c, m);
}

#endif

// Splits the set work[lo, hi) by the two sub-edges a->v and v->b: set 1 stays in
// front, set 2 follows it. A candidate beyond both (impossible in exact arithmetic)
// goes to set 1 only, so no point is ever written twice.
Split splitSet(const Point* p, HullPath path, Scratch& sc, std::int32_t lo, std::int32_t hi, const Candidate& a,
               const Candidate& v, const Candidate& b)
{
    Split s{lo, 0, 0.0, 0.0, {0, 0, -1}, {0, 0, -1}};
    std::int32_t from = lo;
#ifdef OMOTAC_HULL_AVX2
    if (path == HullPath::Avx2 && hi - lo >= 8) from = splitBlocks(p, sc, lo, hi, a, v, b, s);
#else
    (void)path;
#endif
    splitTail(p, sc, from, hi, a, v, b, s);
    // Plain loops: most sets are small, where a library copy's size dispatch costs
    // more than the copy.
    float* wx = sc.work.x.data() + s.end1;
    float* wy = sc.work.y.data() + s.end1;
    std::int32_t* wi = sc.work.index.data() + s.end1;
    for (std::int32_t k = 0; k < s.size2; ++k) {
        wx[k] = sc.spill.x[std::size_t(k)];
        wy[k] = sc.spill.y[std::size_t(k)];
        wi[k] = sc.spill.index[std::size_t(k)];
    }
    return s;
}

// Writes the vertices beyond a->b for the candidates c[0..m) (in index order,
// far the farthest), as expandHull does.
void expandSmall(const Point* points, std::int32_t& count, Candidate a, const Candidate& b, Candidate far,
                 Candidate* c, std::int32_t m)
{
    Candidate second[SmallSet];
    for (;;) {
        if (count == PointCapacity) return;
        HullBuffer[count++] = points[far.index];
        if (m == 1) return;
        std::int32_t n1 = 0, n2 = 0;
        SplitTally t;
        for (std::int32_t k = 0; k < m; ++k) {
            const Candidate q = c[k];
            t.take(orientation(a.x, a.y, far.x, far.y, q.x, q.y), orientation(far.x, far.y, b.x, b.y, q.x, q.y), n1, n2);
            c[n1] = q; // n1 <= k
            second[n2] = q;
            n1 += t.in1;
            n2 += t.in2;
        }
        // A single candidate is simply written: most leaves are single, and the
        // call would cost more than the store.
        if (n1 == 1 && count < PointCapacity) HullBuffer[count++] = points[c[0].index];
        if (n1 > 1) expandSmall(points, count, a, far, c[t.far1], c, n1);
        if (n2 == 0) return;
        if (n2 == 1) {
            if (count < PointCapacity) HullBuffer[count++] = points[second[0].index];
            return;
        }
        // The second sub-edge continues in this activation.
        for (std::int32_t k = 0; k < n2; ++k) c[k] = second[k];
        a = far;
        far = second[t.far2];
        m = n2;
    }
}

// Writes the vertices beyond every pending edge, depth first: an edge's farthest
// point, then all found beyond its first sub-edge (from a), then beyond its second.
// The farthest point lies on neither sub-edge's open side, so sets shrink strictly
// and the loop ends whatever rounding does to non-integer input.
void expandHull(const Point* points, HullPath path, std::int32_t& count, Scratch& sc)
{
    Candidate small[SmallSet];
    while (!sc.pending.empty()) {
        const Edge e = sc.pending.back();
        sc.pending.pop_back();
        if (count == PointCapacity) return;
        const std::int32_t m = e.hi - e.lo;
        if (m <= SmallSet) {
#ifdef OMOTAC_HULL_AVX2
            if (path == HullPath::Avx2 && m > TinySet) {
                expandSmallOnAvx2(points, count, e, sc);
                continue;
            }
#endif
            for (std::int32_t k = 0; k < m; ++k) {
                const auto at = std::size_t(e.lo + k);
                small[k] = {sc.work.x[at], sc.work.y[at], sc.work.index[at]};
            }
            expandSmall(points, count, e.a, e.b, e.far, small, m);
            continue;
        }
        HullBuffer[count++] = points[e.far.index];
        const Split s = splitSet(points, path, sc, e.lo, e.hi, e.a, e.far, e.b);
        // Second sub-edge pushed first so the first one is expanded first.
        if (s.size2 > 0) sc.pending.push_back({s.end1, s.end1 + s.size2, e.far, e.b, s.far2});
        if (s.end1 > e.lo) sc.pending.push_back({e.lo, s.end1, e.a, e.far, s.far1});
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
    const std::int32_t kept = gatherSurvivors(points, n, path, e, s.work);
    std::int32_t left = e.left, right = e.right;
    if (left == right) verticalEnds(points, n, left, right);
    std::int32_t count = 0;
    HullBuffer[count++] = points[left];
    HullBuffer[count++] = points[right];
    if (left == right) return count;

    // The orientation against R->L is exactly the negation of that against L->R,
    // so one split with v = R sorts the points above and below the line.
    const Candidate l = candidateOf(points, left), r = candidateOf(points, right);
    const Split sides = splitSet(points, path, s, 0, kept, l, r, l);
    s.pending.clear();
    if (sides.size2 > 0) s.pending.push_back({sides.end1, sides.end1 + sides.size2, r, l, sides.far2});
    if (sides.end1 > 0) s.pending.push_back({0, sides.end1, l, r, sides.far1});
    expandHull(points, path, count, s);
    return count;
}

std::int32_t computeHull(const Point* points, std::int32_t n, const std::int32_t* pointIndices)
{
    // The index list is 0..n-1 by contract, so position i is point i; reading the
    // points directly keeps every pass sequential and never strays past n.
    (void)pointIndices;
    return computeHullOn(fastestHullPath(), points, n);
}
