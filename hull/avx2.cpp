// The AVX2 passes: every intrinsic of the kernel. The whole file is one region
// compiled for AVX2, so none of this code can leak into the portable path, and
// hull.cpp takes the table at the end only where the processor has AVX2.

#include <immintrin.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "kernel.hpp"
#include "predicates.hpp"

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

namespace {

// Loads points i..i+7 and leaves their x and y in two registers, lane order
// 0, 2, 4, 6, 1, 3, 5, 7 (what two unpack-and-shuffle steps give for free).
inline void loadXY8(const Point* p, __m256& x, __m256& y)
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

// The gather that packs the lanes of mask to the front, in order.
inline __m256i packingOf(const CompressTable& table, int mask)
{
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(table.lanes[mask]));
}

// Stores the lanes of mask (x, y and index alike) packed at out[k..]; the store
// reaches a whole register past the last of them.
inline void storeCompressed(Columns& out, std::int32_t k, __m256 x, __m256 y, __m256i index, const CompressTable& table,
                            int mask)
{
    const __m256i pick = packingOf(table, mask);
    _mm256_storeu_ps(out.x + k, _mm256_permutevar8x32_ps(x, pick));
    _mm256_storeu_ps(out.y + k, _mm256_permutevar8x32_ps(y, pick));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out.index + k), _mm256_permutevar8x32_epi32(index, pick));
}

// orientationOf() in every lane: in double orientation() itself, four lanes a
// register (or two); in single precision eight (or four), the very same number
// where narrowWhole holds.
template <class V>
inline V orientationOf(V ax, V ay, V bx, V by, V px, V py)
{
    return (by - py) * (ax - px) - (ay - py) * (bx - px);
}

// op over all lanes of v, the result in every lane: Lanes of 32 bits (8) or of
// 64 (4), whatever the register's type, as the swaps only move bits.
template <int Lanes, class V, class Op>
inline V acrossLanes(V v, Op op)
{
    v = op(v, V(_mm256_permute2f128_ps(__m256(v), __m256(v), 1)));
    v = op(v, V(_mm256_permute_ps(__m256(v), _MM_SHUFFLE(1, 0, 3, 2))));
    if constexpr (Lanes == 8) v = op(v, V(_mm256_permute_ps(__m256(v), _MM_SHUFFLE(2, 3, 0, 1))));
    return v;
}

// The lane-wise smaller and larger of two registers, for acrossLanes.
struct Smaller {
    __m256 operator()(__m256 a, __m256 b) const { return _mm256_min_ps(a, b); }
    __m256i operator()(__m256i a, __m256i b) const { return _mm256_min_epi32(a, b); }
};

struct Larger {
    __m256 operator()(__m256 a, __m256 b) const { return _mm256_max_ps(a, b); }
    __m256d operator()(__m256d a, __m256d b) const { return _mm256_max_pd(a, b); }
};

// Lanes below count, as a mask of 32-bit lanes.
inline __m256i lanesBelow(std::int32_t count)
{
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// For every 4-bit mask, the bytes that move the masked 32-bit lanes to the
// front, in order.
struct PackTable {
    alignas(16) std::uint8_t bytes[16][16];
};

constexpr PackTable makePackTable()
{
    PackTable t{};
    for (int m = 0; m < 16; ++m) {
        int k = 0;
        for (int lane = 0; lane < 4; ++lane)
            if (m & (1 << lane)) {
                for (int b = 0; b < 4; ++b) t.bytes[m][4 * k + b] = std::uint8_t(4 * lane + b);
                ++k;
            }
    }
    return t;
}

constexpr PackTable Pack4 = makePackTable();

// For every 4-bit mask of doubles, the 8-bit mask of the 32-bit lanes they span:
// Contiguous then packs doubles as well.
struct PairMaskTable {
    std::uint8_t mask[16];
};

constexpr PairMaskTable makePairMasks()
{
    PairMaskTable t{};
    for (int m = 0; m < 16; ++m)
        for (int lane = 0; lane < 4; ++lane)
            if (m & (1 << lane)) t.mask[m] = std::uint8_t(t.mask[m] | 3 << (2 * lane));
    return t;
}

constexpr PairMaskTable PairMasks = makePairMasks();

// The two kinds of lanes the range splits and the small sets are split in. In
// double the orientation is orientation() itself, four lanes a register; in
// single precision it is eight, and the very same number where narrowWhole
// holds. Input indices ride in lanes of the same kind: converted to double, or
// as their bits in single precision.
struct InDouble {
    using Real = double;
    using Vec = __m256d;
    static constexpr int Width = 4;

    static Real* x(SmallSetArena& a) { return a.x; }
    static Real* y(SmallSetArena& a) { return a.y; }
    static Vec splat(float v) { return _mm256_set1_pd(v); }
    static Vec broadcast(const Real* p) { return _mm256_broadcast_sd(p); }
    static Vec load(const Real* p) { return _mm256_loadu_pd(p); }
    static void store(Real* out, Vec v) { _mm256_store_pd(out, v); }
    // Half h of eight single-precision lanes, in double.
    static Vec widen(__m256 v, int h)
    {
        return _mm256_cvtps_pd(h == 0 ? _mm256_castps256_ps128(v) : _mm256_extractf128_ps(v, 1));
    }
    static Vec indices(__m256i v, int h)
    {
        return _mm256_cvtepi32_pd(h == 0 ? _mm256_castsi256_si128(v) : _mm256_extracti128_si256(v, 1));
    }
    static void storeIndices(std::int32_t* out, Vec v)
    {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_cvttpd_epi32(v));
    }
    static Vec positive(Vec v) { return _mm256_cmp_pd(v, _mm256_setzero_pd(), _CMP_GT_OQ); }
    static Vec greater(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static Vec firstLanes(std::int32_t count)
    {
        return _mm256_castsi256_pd(_mm256_cmpgt_epi64(_mm256_set1_epi64x(count), _mm256_setr_epi64x(0, 1, 2, 3)));
    }
    static Vec both(Vec a, Vec b) { return _mm256_and_pd(a, b); }
    static Vec onlySecond(Vec a, Vec b) { return _mm256_andnot_pd(a, b); }
    static Vec select(Vec a, Vec b, Vec where) { return _mm256_blendv_pd(a, b, where); }
    static Vec equal(Vec a, Vec b) { return _mm256_cmp_pd(a, b, _CMP_EQ_OQ); }
    static int bits(Vec v) { return _mm256_movemask_pd(v); }
    static Vec largestLane(Vec v) { return acrossLanes<4>(v, Larger{}); }
    // Writes the lanes of v in mask to out, packed; the store reaches a register.
    static void pack(Real* out, Vec v, int mask)
    {
        const __m256i pick = packingOf(Contiguous, PairMasks.mask[mask]);
        _mm256_storeu_pd(out, _mm256_castps_pd(_mm256_permutevar8x32_ps(_mm256_castpd_ps(v), pick)));
    }
    static std::int32_t packIndex(std::int32_t* out, const std::int32_t* in, int mask)
    {
        const __m128i pack = _mm_load_si128(reinterpret_cast<const __m128i*>(Pack4.bytes[mask]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(in)), pack));
        return std::popcount(unsigned(mask));
    }
    // Four of a small set's candidates from the columns, in double.
    static void fill(SmallSetArena& a, std::int32_t at, const Columns& w, std::int32_t k)
    {
        _mm256_storeu_pd(a.x + at, _mm256_cvtps_pd(_mm_loadu_ps(w.x + k)));
        _mm256_storeu_pd(a.y + at, _mm256_cvtps_pd(_mm_loadu_ps(w.y + k)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(a.index + at),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(w.index + k)));
    }
    // Bit k set where the point at entry p[k] lies strictly left of the edge from
    // entry a[k] to entry b[k] (arrays of two).
    static int leftOf(const Real* x, const Real* y, const std::int32_t* a, const std::int32_t* b,
                      const std::int32_t* p)
    {
        const auto pair = [](const Real* c, const std::int32_t* e) { return _mm_setr_pd(c[e[0]], c[e[1]]); };
        const __m128d o = orientationOf(pair(x, a), pair(y, a), pair(x, b), pair(y, b), pair(x, p), pair(y, p));
        return _mm_movemask_pd(_mm_cmpgt_pd(o, _mm_setzero_pd()));
    }
};

struct InSingle {
    using Real = float;
    using Vec = __m256;
    static constexpr int Width = 8;

    static Real* x(SmallSetArena& a) { return a.xs; }
    static Real* y(SmallSetArena& a) { return a.ys; }
    static Vec splat(float v) { return _mm256_set1_ps(v); }
    static Vec broadcast(const Real* p) { return _mm256_broadcast_ss(p); }
    static Vec load(const Real* p) { return _mm256_loadu_ps(p); }
    static void store(Real* out, Vec v) { _mm256_store_ps(out, v); }
    static Vec widen(__m256 v, int) { return v; }
    static Vec indices(__m256i v, int) { return _mm256_castsi256_ps(v); }
    static void storeIndices(std::int32_t* out, Vec v)
    {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_castps_si256(v));
    }
    static Vec positive(Vec v) { return _mm256_cmp_ps(v, _mm256_setzero_ps(), _CMP_GT_OQ); }
    static Vec greater(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_GT_OQ); }
    static Vec firstLanes(std::int32_t count) { return _mm256_castsi256_ps(lanesBelow(count)); }
    static Vec both(Vec a, Vec b) { return _mm256_and_ps(a, b); }
    static Vec onlySecond(Vec a, Vec b) { return _mm256_andnot_ps(a, b); }
    static Vec select(Vec a, Vec b, Vec where) { return _mm256_blendv_ps(a, b, where); }
    static Vec equal(Vec a, Vec b) { return _mm256_cmp_ps(a, b, _CMP_EQ_OQ); }
    static int bits(Vec v) { return _mm256_movemask_ps(v); }
    static Vec largestLane(Vec v) { return acrossLanes<8>(v, Larger{}); }
    static void pack(Real* out, Vec v, int mask)
    {
        _mm256_storeu_ps(out, _mm256_permutevar8x32_ps(v, packingOf(Contiguous, mask)));
    }
    static std::int32_t packIndex(std::int32_t* out, const std::int32_t* in, int mask)
    {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permutevar8x32_epi32(v, packingOf(Contiguous, mask)));
        return Contiguous.count[mask];
    }
    static void fill(SmallSetArena& a, std::int32_t at, const Columns& w, std::int32_t k)
    {
        _mm256_storeu_ps(a.xs + at, _mm256_loadu_ps(w.x + k));
        _mm256_storeu_ps(a.ys + at, _mm256_loadu_ps(w.y + k));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(a.index + at),
                            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w.index + k)));
    }
    static int leftOf(const Real* x, const Real* y, const std::int32_t* a, const std::int32_t* b,
                      const std::int32_t* p)
    {
        const auto pair = [](const Real* c, const std::int32_t* e) { return _mm_setr_ps(c[e[0]], c[e[1]], 0, 0); };
        const __m128 o = orientationOf(pair(x, a), pair(y, a), pair(x, b), pair(y, b), pair(x, p), pair(y, p));
        return _mm_movemask_ps(_mm_cmpgt_ps(o, _mm_setzero_ps())) & 3;
    }
};

// The best value per lane so far and the index holding it, in L's lanes.
template <class L>
struct LaneBest {
    typename L::Vec value;
    typename L::Vec index;
};

// Takes value and index in the lanes where better is set. The tests are strict,
// so each lane keeps its earlier index, and NaN never compares better.
template <class L>
inline void takeWhere(LaneBest<L>& t, typename L::Vec v, typename L::Vec better, typename L::Vec index)
{
    t.value = L::select(t.value, v, better);
    t.index = L::select(t.index, index, better);
}

// Folds the 8 lanes into the lowest index holding the best value; below is true
// for a minimum. Lanes hold disjoint index classes, so equal values go to the
// first point. A lane only ever holds NaN when point 0 does, and then all of
// them hold it with index 0, which is the answer.
std::int32_t foldExtreme(const LaneBest<InSingle>& t, bool below)
{
    const __m256 top = below ? acrossLanes<8>(t.value, Smaller{}) : acrossLanes<8>(t.value, Larger{});
    const __m256 never = _mm256_castsi256_ps(_mm256_set1_epi32(std::numeric_limits<std::int32_t>::max()));
    const __m256 atTop = _mm256_cmp_ps(t.value, top, _CMP_EQ_OQ);
    const __m256i first = acrossLanes<8>(_mm256_castps_si256(_mm256_blendv_ps(never, t.index, atTop)), Smaller{});
    const std::int32_t at = _mm256_cvtsi256_si32(first);
    return at == std::numeric_limits<std::int32_t>::max() ? _mm256_cvtsi256_si32(_mm256_castps_si256(t.index)) : at;
}

// The extremes eight points at a time; past the last whole block, the eight last
// points once more (each lane still meets its points in index order, and a point
// seen twice changes nothing), or the scalar scan where there are fewer than eight.
Extremes extremesAvx2(const Point* p, std::int32_t n)
{
    Extremes e;
    if (n < 8) {
        scanExtremes(p, n, e);
        return e;
    }
    const __m256 x0 = _mm256_set1_ps(p[0].x), y0 = _mm256_set1_ps(p[0].y);
    const __m256 s0 = _mm256_add_ps(x0, y0), d0 = _mm256_sub_ps(x0, y0);
    const __m256 zero = _mm256_setzero_ps();
    using Best = LaneBest<InSingle>;
    Best lo{x0, zero}, hi{x0, zero}, loS{s0, zero}, hiS{s0, zero}, loD{d0, zero}, hiD{d0, zero};
    const __m256i offsets = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
    const auto take = [&](std::int32_t i, __m256i at) {
        __m256 x, y;
        loadXY8(p + i, x, y);
        const __m256 s = _mm256_add_ps(x, y), d = _mm256_sub_ps(x, y), index = _mm256_castsi256_ps(at);
        takeWhere(lo, x, _mm256_cmp_ps(x, lo.value, _CMP_LT_OQ), index);
        takeWhere(hi, x, _mm256_cmp_ps(x, hi.value, _CMP_GT_OQ), index);
        takeWhere(loS, s, _mm256_cmp_ps(s, loS.value, _CMP_LT_OQ), index);
        takeWhere(hiS, s, _mm256_cmp_ps(s, hiS.value, _CMP_GT_OQ), index);
        takeWhere(loD, d, _mm256_cmp_ps(d, loD.value, _CMP_LT_OQ), index);
        takeWhere(hiD, d, _mm256_cmp_ps(d, hiD.value, _CMP_GT_OQ), index);
    };
    std::int32_t i = 0;
    for (__m256i index = offsets; i + 8 <= n; i += 8, index = _mm256_add_epi32(index, _mm256_set1_epi32(8)))
        take(i, index);
    if (i < n) take(n - 8, _mm256_add_epi32(_mm256_set1_epi32(n - 8), offsets));
    e.left = foldExtreme(lo, true);
    e.right = foldExtreme(hi, false);
    e.minSum = foldExtreme(loS, true);
    e.maxSum = foldExtreme(hiS, false);
    e.minDiff = foldExtreme(loD, true);
    e.maxDiff = foldExtreme(hiD, false);
    return e;
}

// Whether every candidate of the count at w has whole coordinates, and the spans
// of x and y are so narrow (at most 2^24 each, their product at most 2^23) that
// for any three of them every difference, product and difference of products in
// orientation() is a whole number of at most 2^24: exact in single precision, so
// the very number the double evaluation gives. Not numbers fail the test, and so
// do infinities, whose span is not.
bool narrowWhole(const Columns& w, std::int32_t count)
{
    if (count == 0) return true;
    const __m256 x0 = _mm256_set1_ps(w.x[0]), y0 = _mm256_set1_ps(w.y[0]);
    __m256 whole = _mm256_castsi256_ps(_mm256_set1_epi32(-1));
    __m256 loX = x0, hiX = x0, loY = y0, hiY = y0;
    for (std::int32_t k = 0; k < count; k += 8) {
        // Lanes past the count stand in for the first candidate.
        const __m256 in = _mm256_castsi256_ps(lanesBelow(count - k));
        const __m256 x = _mm256_blendv_ps(x0, _mm256_loadu_ps(w.x + k), in);
        const __m256 y = _mm256_blendv_ps(y0, _mm256_loadu_ps(w.y + k), in);
        constexpr int Nearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
        whole = _mm256_and_ps(whole, _mm256_and_ps(_mm256_cmp_ps(_mm256_round_ps(x, Nearest), x, _CMP_EQ_OQ),
                                                   _mm256_cmp_ps(_mm256_round_ps(y, Nearest), y, _CMP_EQ_OQ)));
        loX = _mm256_min_ps(loX, x), hiX = _mm256_max_ps(hiX, x);
        loY = _mm256_min_ps(loY, y), hiY = _mm256_max_ps(hiY, y);
    }
    if (_mm256_movemask_ps(whole) != 0xff) return false;
    const auto lowest = [](__m256 v) { return _mm256_cvtss_f32(acrossLanes<8>(v, Smaller{})); };
    const auto highest = [](__m256 v) { return _mm256_cvtss_f32(acrossLanes<8>(v, Larger{})); };
    const double spanX = highest(hiX) - lowest(loX), spanY = highest(hiY) - lowest(loY);
    return spanX <= 0x1p24 && spanY <= 0x1p24 && spanX * spanY <= 0x1p23;
}

// keepOutside eight points at a time; past the last whole block, the eight last
// points with those already taken masked off, or the scalar copy where there are
// fewer than eight. Then whether single precision is exact on what it kept.
std::int32_t keepOutsideAvx2(const Point* p, std::int32_t n, const InteriorBox& box, Scratch& sc)
{
    Columns& out = sc.work;
    std::int32_t k = 0;
    if (n < 8) {
        k = keepOutside(p, n, box, out);
    } else {
        const __m256 x1 = _mm256_set1_ps(box.x1), x2 = _mm256_set1_ps(box.x2);
        const __m256 y1 = _mm256_set1_ps(box.y1), y2 = _mm256_set1_ps(box.y2);
        const __m256i offsets = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
        // fresh: the lanes not taken yet.
        const auto keep = [&](std::int32_t at, __m256i index, int fresh) {
            __m256 x, y;
            loadXY8(p + at, x, y);
            const __m256 inside =
                _mm256_and_ps(_mm256_and_ps(_mm256_cmp_ps(x, x1, _CMP_GT_OQ), _mm256_cmp_ps(x, x2, _CMP_LT_OQ)),
                              _mm256_and_ps(_mm256_cmp_ps(y, y1, _CMP_GT_OQ), _mm256_cmp_ps(y, y2, _CMP_LT_OQ)));
            const int m = ~_mm256_movemask_ps(inside) & fresh;
            storeCompressed(out, k, x, y, index, Interleaved, m);
            k += Interleaved.count[m];
        };
        std::int32_t i = 0;
        for (__m256i index = offsets; i + 8 <= n; i += 8, index = _mm256_add_epi32(index, _mm256_set1_epi32(8)))
            keep(i, index, 0xff);
        if (i < n) {
            const __m256i index = _mm256_add_epi32(_mm256_set1_epi32(n - 8), offsets);
            keep(n - 8, index, _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpgt_epi32(index, _mm256_set1_epi32(i - 1)))));
        }
    }
    sc.inSingle = narrowWhole(out, k);
    return k;
}

// boxInside with the four corners in the lanes of one register: the same
// double evaluation and margin as surelyLeftOrOn, so the same answer.
bool boxInsideAvx2(const Point* const (&hex)[6], const InteriorBox& box)
{
    const __m256d cx = _mm256_setr_pd(box.x1, box.x2, box.x2, box.x1);
    const __m256d cy = _mm256_setr_pd(box.y1, box.y1, box.y2, box.y2);
    const __m256d magnitude = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffff));
    const __m256d slack = _mm256_set1_pd(0x1p-50);
    __m256d inside = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
    for (int k = 0; k < 6; ++k) {
        const Point& a = *hex[k];
        const Point& b = *hex[(k + 1) % 6];
        const __m256d ax = _mm256_set1_pd(a.x), ay = _mm256_set1_pd(a.y);
        const __m256d bx = _mm256_set1_pd(b.x), by = _mm256_set1_pd(b.y);
        // An edge of no length constrains nothing: a mask, not a branch the
        // predictor would lose on the inputs where two extremes coincide.
        const __m256d none = _mm256_and_pd(_mm256_cmp_pd(ax, bx, _CMP_EQ_OQ), _mm256_cmp_pd(ay, by, _CMP_EQ_OQ));
        const __m256d p1 = _mm256_mul_pd(_mm256_sub_pd(by, cy), _mm256_sub_pd(ax, cx));
        const __m256d p2 = _mm256_mul_pd(_mm256_sub_pd(ay, cy), _mm256_sub_pd(bx, cx));
        const __m256d value = _mm256_sub_pd(p1, p2);
        const __m256d margin =
            _mm256_mul_pd(slack, _mm256_add_pd(_mm256_and_pd(p1, magnitude), _mm256_and_pd(p2, magnitude)));
        const __m256d sure = _mm256_and_pd(_mm256_cmp_pd(value, margin, _CMP_GE_OQ), _mm256_cmp_pd(margin, margin, _CMP_EQ_OQ));
        const __m256d atEnd = _mm256_or_pd(_mm256_and_pd(_mm256_cmp_pd(cx, ax, _CMP_EQ_OQ), _mm256_cmp_pd(cy, ay, _CMP_EQ_OQ)),
                                           _mm256_and_pd(_mm256_cmp_pd(cx, bx, _CMP_EQ_OQ), _mm256_cmp_pd(cy, by, _CMP_EQ_OQ)));
        inside = _mm256_and_pd(inside, _mm256_or_pd(_mm256_or_pd(sure, atEnd), none));
    }
    return _mm256_movemask_pd(inside) == 0xf;
}

// Merges the lanes into best and far: the largest value, and of equal values the
// lowest index, which is the first in the set's order. Lanes that took nothing
// hold 0.
template <class L>
void foldFarthest(const LaneBest<L>& t, const Point* points, double& best, Candidate& far)
{
    alignas(32) typename L::Real value[L::Width];
    std::int32_t index[L::Width];
    L::store(value, t.value);
    L::storeIndices(index, t.index);
    std::int32_t at = far.index;
    for (int lane = 0; lane < L::Width; ++lane) {
        if (value[lane] > best || (value[lane] == best && value[lane] > 0 && index[lane] < at)) {
            best = value[lane];
            at = index[lane];
        }
    }
    if (at != far.index) far = candidateOf(points, at);
}

// The edges of a range split, broadcast, and the farthest of each half so far.
template <class L>
struct RangeSplitter {
    typename L::Vec ax, ay, vx, vy, bx, by;
    LaneBest<L> best1, best2;
};

// Stores the lanes of a block in bits1 packed at work[end1..] and those in bits2
// at spill[size2..], and moves both ends. A partial block stores only the lanes it
// keeps in work, as the next set starts right behind it.
template <bool Partial>
inline void storeHalves(Scratch& sc, __m256 x, __m256 y, __m256i index, int bits1, int bits2, std::int32_t& end1,
                        std::int32_t& size2)
{
    if (Partial) {
        const __m256i pick1 = packingOf(Contiguous, bits1);
        const __m256i keep1 = lanesBelow(Contiguous.count[bits1]);
        _mm256_maskstore_ps(sc.work.x + end1, keep1, _mm256_permutevar8x32_ps(x, pick1));
        _mm256_maskstore_ps(sc.work.y + end1, keep1, _mm256_permutevar8x32_ps(y, pick1));
        _mm256_maskstore_epi32(sc.work.index + end1, keep1, _mm256_permutevar8x32_epi32(index, pick1));
    } else {
        storeCompressed(sc.work, end1, x, y, index, Contiguous, bits1);
    }
    storeCompressed(sc.spill, size2, x, y, index, Contiguous, bits2);
    end1 += Contiguous.count[bits1];
    size2 += Contiguous.count[bits2];
}

// Splits the eight candidates at work[k..], of which the first valid belong to
// the set, in L's lanes. Set 1 is packed at work[end1..], which lies at or
// before k, so only lanes already loaded are overwritten; a partial block stores
// only the lanes it keeps, as the next set starts right behind it. Set 2 goes to
// spill[size2..]. One record per half: a lane meets its candidates in index
// order whichever register of a block they come from, so strict tests still
// keep the first.
template <class L, bool Partial>
inline void splitBlock(RangeSplitter<L>& s, Scratch& sc, std::int32_t k, std::int32_t valid, std::int32_t& end1,
                       std::int32_t& size2)
{
    using Vec = typename L::Vec;
    const __m256 x8 = _mm256_loadu_ps(sc.work.x + k), y8 = _mm256_loadu_ps(sc.work.y + k);
    const __m256i index8 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sc.work.index + k));
    int bits1 = 0, bits2 = 0;
    for (int h = 0; h < 8 / L::Width; ++h) {
        const Vec x = L::widen(x8, h), y = L::widen(y8, h), index = L::indices(index8, h);
        const Vec o1 = orientationOf(s.ax, s.ay, s.vx, s.vy, x, y), o2 = orientationOf(s.vx, s.vy, s.bx, s.by, x, y);
        Vec in1 = L::positive(o1), in2 = L::positive(o2);
        if (Partial) { // only a partial block has lanes outside the set
            const Vec member = L::firstLanes(valid - L::Width * h);
            in1 = L::both(member, in1);
            in2 = L::both(member, in2);
        }
        in2 = L::onlySecond(in1, in2);
        takeWhere(s.best1, o1, L::both(in1, L::greater(o1, s.best1.value)), index);
        takeWhere(s.best2, o2, L::both(in2, L::greater(o2, s.best2.value)), index);
        bits1 |= L::bits(in1) << (L::Width * h);
        bits2 |= L::bits(in2) << (L::Width * h);
    }
    storeHalves<Partial>(sc, x8, y8, index8, bits1, bits2, end1, size2);
}

// Moves set 2 from spill to right behind set 1, whole registers at a time; the
// last one stores only its lanes, as the next set may start right behind.
void moveSecondHalf(Scratch& sc, const RangeSplit& r)
{
    float *x = sc.work.x + r.end1, *y = sc.work.y + r.end1;
    std::int32_t* index = sc.work.index + r.end1;
    std::int32_t k = 0;
    for (; k + 8 <= r.size2; k += 8) {
        _mm256_storeu_ps(x + k, _mm256_loadu_ps(sc.spill.x + k));
        _mm256_storeu_ps(y + k, _mm256_loadu_ps(sc.spill.y + k));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(index + k),
                            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sc.spill.index + k)));
    }
    if (k < r.size2) {
        const __m256i keep = lanesBelow(r.size2 - k);
        _mm256_maskstore_ps(x + k, keep, _mm256_loadu_ps(sc.spill.x + k));
        _mm256_maskstore_ps(y + k, keep, _mm256_loadu_ps(sc.spill.y + k));
        _mm256_maskstore_epi32(index + k, keep, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sc.spill.index + k)));
    }
}

// The range split eight candidates at a time in L's lanes, the last block partly.
template <class L>
std::int32_t splitRangeIn(const Point* points, Scratch& sc, const SubProblem& set, SubProblem* pending,
                          std::int32_t depth)
{
    const LaneBest<L> none{L::splat(0.0f), L::indices(_mm256_set1_epi32(-1), 0)};
    RangeSplitter<L> s{L::splat(set.a.x),   L::splat(set.a.y), L::splat(set.far.x), L::splat(set.far.y),
                       L::splat(set.b.x),   L::splat(set.b.y), none,                 none};
    RangeSplit r = startRangeSplit(set);
    const std::int32_t hi = set.lo + set.count;
    std::int32_t k = set.lo;
    for (; k + 8 <= hi; k += 8) splitBlock<L, false>(s, sc, k, 8, r.end1, r.size2);
    if (k < hi) splitBlock<L, true>(s, sc, k, hi - k, r.end1, r.size2);
    foldFarthest(s.best1, points, r.best1, r.far1);
    foldFarthest(s.best2, points, r.best2, r.far2);
    moveSecondHalf(sc, r);
    return pushRangeHalves(set, r, pending, depth);
}

std::int32_t splitRangeAvx2(const Point* points, Scratch& sc, const SubProblem& set, SubProblem* pending,
                            std::int32_t depth)
{
    return sc.inSingle ? splitRangeIn<InSingle>(points, sc, set, pending, depth)
                       : splitRangeIn<InDouble>(points, sc, set, pending, depth);
}

// The lane of the first of the member lanes whose value is largest (any lane
// when there are none), over R registers. Members hold positive values, others
// count as 0.
template <class L, int R>
inline std::int32_t firstFarthest(const typename L::Vec (&o)[R], const typename L::Vec (&member)[R],
                                  std::uint32_t memberBits)
{
    typename L::Vec m[R];
    for (int r = 0; r < R; ++r) m[r] = L::both(o[r], member[r]);
    for (int width = R; width > 1; width = (width + 1) / 2) // a tree of maxima
        for (int r = 0; r < width / 2; ++r) m[r] = Larger{}(m[r], m[r + (width + 1) / 2]);
    const typename L::Vec top = L::largestLane(m[0]);
    std::uint32_t atTop = 0;
    for (int r = 0; r < R; ++r)
        atTop |= std::uint32_t(L::bits(L::equal(L::both(o[r], member[r]), top))) << (L::Width * r);
    return std::countr_zero((atTop & memberBits) | std::uint32_t(1) << (L::Width * R - 1));
}

// Where a batch of small sets stands while finishSmallSets splits it.
struct SmallSetState {
    SmallSetArena& arena;
    std::int32_t tail; // the parts queued so far
    std::int32_t top;  // the arena's first free entry
};

// Where an empty half's slot goes: past every slot that is read.
constexpr std::int32_t NoSlot = SmallSetBatch * SmallSet;

// Packs the candidates of a part's half (bits, over its R registers) at the
// arena's top and queues the half; the stores may reach a register past its end.
// The next half starts at the next multiple of HalfAlign, so that no register a
// part loads straddles the packing stores of two halves: the processor forwards
// a store to a load only where one store holds all of it, and otherwise makes
// the load wait until the stores reach the cache.
template <class L, int R>
inline void queueHalf(SmallSetState& s, const SmallSetPart& part, std::uint32_t bits, std::int32_t a, std::int32_t b,
                      std::int32_t far, std::int32_t slot)
{
    SmallSetArena& ar = s.arena;
    constexpr std::uint32_t Lanes = (1u << L::Width) - 1;
    std::int32_t k = s.top;
    for (int r = 0; r < R; ++r) {
        const int mask = int(bits >> (L::Width * r) & Lanes);
        const std::int32_t from = part.at + L::Width * r;
        L::pack(L::x(ar) + k, L::load(L::x(ar) + from), mask);
        L::pack(L::y(ar) + k, L::load(L::y(ar) + from), mask);
        k += L::packIndex(ar.index + k, ar.index + from, mask);
    }
    const std::int32_t farAt = s.top + std::popcount(bits & ((std::uint32_t(1) << far) - 1));
    ar.parts[s.tail++] = {a, b, farAt, s.top, k - s.top, slot};
    s.top = (k + HalfAlign - 1) / HalfAlign * HalfAlign;
}

// Splits one part of at most R registers of candidates as the walk would. The far
// point of each half takes the half's first slot; a half of two is finished here,
// one of three or more packed and queued.
template <class L, int R>
inline void splitPart(SmallSetState& s, const SmallSetPart& part)
{
    using Vec = typename L::Vec;
    SmallSetArena& ar = s.arena;
    const typename L::Real *x = L::x(ar), *y = L::y(ar);
    const Vec ax = L::broadcast(x + part.a), ay = L::broadcast(y + part.a);
    const Vec vx = L::broadcast(x + part.far), vy = L::broadcast(y + part.far);
    const Vec bx = L::broadcast(x + part.b), by = L::broadcast(y + part.b);
    Vec o1[R], o2[R], in1[R], in2[R];
    std::uint32_t bits1 = 0, bits2 = 0;
    for (int r = 0; r < R; ++r) {
        const Vec member = L::firstLanes(part.count - L::Width * r);
        const Vec px = L::load(x + part.at + L::Width * r), py = L::load(y + part.at + L::Width * r);
        o1[r] = orientationOf(ax, ay, vx, vy, px, py);
        o2[r] = orientationOf(vx, vy, bx, by, px, py);
        in1[r] = L::both(member, L::positive(o1[r]));
        in2[r] = L::onlySecond(in1[r], L::both(member, L::positive(o2[r])));
        bits1 |= std::uint32_t(L::bits(in1[r])) << (L::Width * r);
        bits2 |= std::uint32_t(L::bits(in2[r])) << (L::Width * r);
    }
    const std::int32_t far1 = firstFarthest<L>(o1, in1, bits1), far2 = firstFarthest<L>(o2, in2, bits2);
    const int count1 = std::popcount(bits1), count2 = std::popcount(bits2);
    const std::int32_t slot1 = part.slot + 1, slot2 = slot1 + count1;
    ar.slots[count1 > 0 ? slot1 : NoSlot] = ar.index[part.at + far1];
    ar.slots[count2 > 0 ? slot2 : NoSlot] = ar.index[part.at + far2];
    if (count1 == 2 || count2 == 2) {
        // A half of two, its far point and one other: the other is a vertex exactly
        // when it lies beyond one of its far point's sub-edges, whichever, and then
        // fills the slot after its far point's. Both halves at once; a half of
        // another size takes any position and writes nowhere.
        const std::uint32_t last = std::uint32_t(1) << (L::Width * R - 1);
        const std::int32_t q1 = std::countr_zero((bits1 & ~(std::uint32_t(1) << far1)) | last);
        const std::int32_t q2 = std::countr_zero((bits2 & ~(std::uint32_t(1) << far2)) | last);
        const std::int32_t at = part.at, f[2] = {at + far1, at + far2}, q[2] = {at + q1, at + q2};
        const std::int32_t a[2] = {part.a, part.far}, b[2] = {part.far, part.b};
        const int beyond = L::leftOf(x, y, a, f, q) | L::leftOf(x, y, f, b, q);
        ar.slots[count1 == 2 && (beyond & 1) ? slot1 + 1 : NoSlot] = ar.index[q[0]];
        ar.slots[count2 == 2 && (beyond & 2) ? slot2 + 1 : NoSlot] = ar.index[q[1]];
    }
    if (count1 > 2) queueHalf<L, R>(s, part, bits1, part.a, part.far, far1, slot1);
    if (count2 > 2) queueHalf<L, R>(s, part, bits2, part.far, part.b, far2, slot2);
}

// splitPart in as few registers as hold the part.
template <class L, int R = 1>
inline void splitAnyPart(SmallSetState& s, const SmallSetPart& part)
{
    if constexpr (R < SmallSet / L::Width)
        if (part.count > L::Width * R) return splitAnyPart<L, R + 1>(s, part);
    splitPart<L, R>(s, part);
}

// finishSmallSets with the candidates in L's lanes, each part split as the walk
// would split it, all its candidates at once; but the parts of all sets are
// taken first in, first out, so that parts that depend on nothing but their
// parent, and those of other sets, overlap in the processor; and each part's
// halves are packed, so that a small part takes one register whatever positions
// its candidates had. Each vertex goes to the slot pre-order gives it: a part owns
// one slot per candidate, its far point the first, then those of its first half,
// then those of its second. Candidates that are no vertex leave their slot empty
// (-1), and the filled slots are packed onto the lists at the end.
template <class L>
void finishSmallSetsIn(Scratch& sc, const SmallSetJob* jobs, std::int32_t count)
{
    static_assert(SmallSet % 8 == 0 && SmallSet <= 32, "whole registers of slots, member bits in 32");
    constexpr std::int32_t Entries = SmallSet + 4; // per set: its candidates, a, b and far
    SmallSetArena& ar = sc.smallSets;
    typename L::Real *x = L::x(ar), *y = L::y(ar);
    SmallSetState s{ar, 0, (SmallSetBatch * Entries + HalfAlign - 1) / HalfAlign * HalfAlign};
    const __m256i empty = _mm256_set1_epi32(-1);
    for (std::int32_t j = 0; j < count; ++j) {
        const SubProblem& set = *jobs[j].set;
        const std::int32_t at = j * Entries, a = at + SmallSet, b = a + 1, far = a + 2;
        // Whole blocks, whatever the count: a loop of fixed length is never mispredicted.
        for (int k = 0; k < SmallSet; k += L::Width) L::fill(ar, at + k, sc.work, set.lo + k);
        x[a] = set.a.x, y[a] = set.a.y, x[b] = set.b.x, y[b] = set.b.y, x[far] = set.far.x, y[far] = set.far.y;
        for (int k = 0; k < SmallSet; k += 8)
            _mm256_store_si256(reinterpret_cast<__m256i*>(ar.slots + SmallSet * j + k), empty);
        ar.slots[SmallSet * j] = set.far.index;
        ar.parts[s.tail] = {a, b, far, at, set.count, SmallSet * j};
        s.tail += set.count > 1;
    }
    for (std::int32_t head = 0; head < s.tail; ++head) splitAnyPart<L>(s, ar.parts[head]);

    for (std::int32_t j = 0; j < count; ++j) {
        std::int32_t* out = jobs[j].vertices + *jobs[j].count;
        std::int32_t found = 0;
        for (int k = 0; k < SmallSet; k += 8) {
            const __m256i v = _mm256_load_si256(reinterpret_cast<const __m256i*>(ar.slots + SmallSet * j + k));
            const int filled = ~_mm256_movemask_ps(_mm256_castsi256_ps(v)) & 0xff;
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + found),
                                _mm256_permutevar8x32_epi32(v, packingOf(Contiguous, filled)));
            found += Contiguous.count[filled];
        }
        *jobs[j].count += found;
    }
}

void finishSmallSetsAvx2(Scratch& sc, const SmallSetJob* jobs, std::int32_t count)
{
    sc.inSingle ? finishSmallSetsIn<InSingle>(sc, jobs, count) : finishSmallSetsIn<InDouble>(sc, jobs, count);
}

} // namespace

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

const HullPasses Avx2Passes{extremesAvx2, boxInsideAvx2, keepOutsideAvx2, splitRangeAvx2, finishSmallSetsAvx2};
