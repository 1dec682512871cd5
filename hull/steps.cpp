#include "steps.hpp"

#include <algorithm>
#include <array>
#include <bit>

#include "hull.hpp"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define OMOTAC_TRACE_AVX2 1
#endif

namespace {

// A point's coordinates in double precision, where the turns are computed.
struct XY {
    double x, y;
};

XY xyOf(const Point& p) { return {double(p.x), double(p.y)}; }

// Twice the signed area of (a, b, p), positive when p lies strictly left of a->b.
// The kernel's arithmetic to the letter (differences, products, their difference,
// in double from the float coordinates), so every comparison comes out as there.
double turn(XY a, XY b, XY p) { return (b.y - p.y) * (a.x - p.x) - (a.y - p.y) * (b.x - p.x); }

// The first index whose coordinate (x, or y) is the smallest and the first
// whose is the largest, as a scan with strict comparisons keeps them. The two
// values are found first, in a pass whose iterations do not wait on each other.
template <float Point::*Axis>
void firstExtremes(const Point* p, std::int32_t n, std::int32_t& least, std::int32_t& most)
{
    float low = p[0].*Axis, high = p[0].*Axis;
    for (std::int32_t i = 1; i < n; ++i) {
        low = std::min(low, p[i].*Axis);
        high = std::max(high, p[i].*Axis);
    }
    least = most = 0;
    while (least < n && !(p[least].*Axis == low)) ++least;
    while (most < n && !(p[most].*Axis == high)) ++most;
    // Only a first value that is not a number stays where it started.
    if (least == n) least = 0;
    if (most == n) most = 0;
}

// L and R: the smallest and the largest x, first of equals; where every point
// shares one x, the lowest and the highest point instead, as the kernel does.
void extremes(const Point* p, std::int32_t n, std::int32_t& left, std::int32_t& right)
{
    firstExtremes<&Point::x>(p, n, left, right);
    if (left == right) firstExtremes<&Point::y>(p, n, left, right);
}

// A set split by two edges that share the apex v: work[lo, mid) lie strictly
// left of a->v, work[mid, end) strictly left of v->b, each with its farthest
// point beyond its edge (-1 for none).
struct Split {
    std::int32_t mid, end;
    std::int32_t far1, far2;
};

#ifdef OMOTAC_TRACE_AVX2

// Twice the signed area of (a, b, p) for four points at once, in the very
// operations of turn().
__attribute__((target("avx2"))) inline __m256d turn4(__m256d ax, __m256d ay, __m256d bx, __m256d by, __m256d px,
                                                     __m256d py)
{
    return _mm256_sub_pd(_mm256_mul_pd(_mm256_sub_pd(by, py), _mm256_sub_pd(ax, px)),
                         _mm256_mul_pd(_mm256_sub_pd(ay, py), _mm256_sub_pd(bx, px)));
}

// For every 4-bit mask, the bytes that move the masked 32-bit lanes to the
// front, in order.
constexpr std::array<std::array<std::uint8_t, 16>, 16> PackLanes = [] {
    std::array<std::array<std::uint8_t, 16>, 16> t{};
    for (int m = 0; m < 16; ++m) {
        int k = 0;
        for (int lane = 0; lane < 4; ++lane)
            if (m & (1 << lane)) {
                for (int b = 0; b < 4; ++b) t[std::size_t(m)][std::size_t(4 * k + b)] = std::uint8_t(4 * lane + b);
                ++k;
            }
    }
    return t;
}();

// Writes the masked lanes of v to out, packed; gives how many.
__attribute__((target("avx2"))) inline std::int32_t storePacked(std::int32_t* out, __m128i v, int mask)
{
    const __m128i pack = _mm_loadu_si128(reinterpret_cast<const __m128i*>(PackLanes[std::size_t(mask)].data()));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_shuffle_epi8(v, pack));
    return std::popcount(unsigned(mask));
}

// The farthest of four lanes, which each kept their own first farthest: the
// largest value, of equals the lowest point index, which is the earliest, as
// a set keeps its points in index order. Lanes that found nothing hold 0.
__attribute__((target("avx2"))) void foldFarthest(__m256d value, __m256d index, double& best, std::int32_t& far)
{
    alignas(32) std::array<double, 4> v, i;
    _mm256_store_pd(v.data(), value);
    _mm256_store_pd(i.data(), index);
    const double top = std::max(std::max(v[0], v[1]), std::max(v[2], v[3]));
    if (!(top > 0.0)) return;
    double first = double(PointCapacity);
    for (int lane = 0; lane < 4; ++lane) first = v[std::size_t(lane)] == top ? std::min(first, i[std::size_t(lane)]) : first;
    best = top;
    far = std::int32_t(first);
}

// The split below four points at a time, over whole blocks from the start
// of the set: the farthest points found are the first. Gives where it
// stopped. The writes are those of the scalar loop four lanes wide: a block's
// points are all still undecided and none lies beyond the block, so every
// store stays within what its array holds and lands on places already read
// or unused.
template <bool First>
__attribute__((target("avx2"))) std::int32_t splitBlocks(const Point* points, std::int32_t* work, std::int32_t* spill,
                                                         std::int32_t* out, std::int32_t lo, std::int32_t hi,
                                                         std::int32_t skip1, std::int32_t skip2, XY a, XY v, XY b,
                                                         std::int32_t& mid,
                                                         std::int32_t& end, std::int32_t& outEnd, double& best1,
                                                         std::int32_t& far1, double& best2, std::int32_t& far2)
{
    const __m256d ax = _mm256_set1_pd(a.x), ay = _mm256_set1_pd(a.y);
    const __m256d vx = _mm256_set1_pd(v.x), vy = _mm256_set1_pd(v.y);
    const __m256d bx = _mm256_set1_pd(b.x), by = _mm256_set1_pd(b.y);
    const __m256d zero = _mm256_setzero_pd();
    const __m128i skipLane1 = _mm_set1_epi32(skip1), skipLane2 = _mm_set1_epi32(skip2);
    __m256d value1 = zero, index1 = _mm256_set1_pd(-1.0), value2 = zero, index2 = index1;
    std::int32_t k = lo;
    for (; k + 4 <= hi; k += 4) {
        // The first set is every point in index order.
        const __m128i index = First ? _mm_add_epi32(_mm_set1_epi32(k), _mm_setr_epi32(0, 1, 2, 3))
                                    : _mm_loadu_si128(reinterpret_cast<const __m128i*>(work + k));
        const auto at = [&](std::int32_t lane) { return First ? k + lane : work[k + lane]; };
        // Four whole points, x and y gathered from them by unpacking: on the
        // processors measured quicker than a gather instruction.
        const __m128 p0 = _mm_loadu_ps(&points[at(0)].x), p1 = _mm_loadu_ps(&points[at(1)].x);
        const __m128 p2 = _mm_loadu_ps(&points[at(2)].x), p3 = _mm_loadu_ps(&points[at(3)].x);
        const __m128 xy01 = _mm_unpacklo_ps(p0, p1), xy23 = _mm_unpacklo_ps(p2, p3);
        const __m256d x = _mm256_cvtps_pd(_mm_movelh_ps(xy01, xy23));
        const __m256d y = _mm256_cvtps_pd(_mm_movehl_ps(xy23, xy01));
        const __m256d i = _mm256_cvtepi32_pd(index);
        const __m256d d1 = turn4(ax, ay, vx, vy, x, y);
        // Against R->L the very negation of the turn against L->R, as below.
        const __m256d d2 = First ? _mm256_xor_pd(d1, _mm256_set1_pd(-0.0)) : turn4(vx, vy, bx, by, x, y);
        const __m128i skipped = _mm_or_si128(_mm_cmpeq_epi32(index, skipLane1), _mm_cmpeq_epi32(index, skipLane2));
        const __m256d kept =
            _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_xor_si128(skipped, _mm_set1_epi32(-1))));
        const __m256d beyond1 = _mm256_and_pd(kept, _mm256_cmp_pd(d1, zero, _CMP_GT_OQ));
        const __m256d beyond2 = _mm256_andnot_pd(beyond1, _mm256_and_pd(kept, _mm256_cmp_pd(d2, zero, _CMP_GT_OQ)));
        const __m256d ruled = _mm256_andnot_pd(beyond1, _mm256_andnot_pd(beyond2, kept));
        // Per lane, strictly greater wins: of equals the earlier stays.
        const __m256d better1 = _mm256_and_pd(kept, _mm256_cmp_pd(d1, value1, _CMP_GT_OQ));
        const __m256d better2 =
            _mm256_andnot_pd(beyond1, _mm256_and_pd(kept, _mm256_cmp_pd(d2, value2, _CMP_GT_OQ)));
        value1 = _mm256_blendv_pd(value1, d1, better1);
        index1 = _mm256_blendv_pd(index1, i, better1);
        value2 = _mm256_blendv_pd(value2, d2, better2);
        index2 = _mm256_blendv_pd(index2, i, better2);
        mid += storePacked(work + mid, index, _mm256_movemask_pd(beyond1));
        end += storePacked(spill + end, index, _mm256_movemask_pd(beyond2));
        outEnd += storePacked(out + outEnd, index, _mm256_movemask_pd(ruled));
    }
    foldFarthest(value1, index1, best1, far1);
    foldFarthest(value2, index2, best2, far2);
    return k;
}

#endif

// Splits the points of a set but skip1 (and skip2) by a->v and v->b: those
// strictly left of a->v to work[lo, mid), those strictly left of v->b to
// work[mid, end), the rest (inside the triangle a, v, b or on its sides) ruled
// out. Both halves keep their order, and the farthest point of each is found
// in the same pass, strictly greater winning, so of equals the earliest stays
// as in the kernel. The set is work[lo, hi), or for the first split (First)
// all points 0..hi-1 in index order, split by L->R and R->L with a = b = L.
// Where a point goes is a coin toss on a hull with many vertices, so the
// writes are unconditional and the counters move by the tests' results.
template <bool First>
Split splitBy(HullTrace& t, bool vector, std::int32_t lo, std::int32_t hi, std::int32_t skip1, std::int32_t skip2, XY a, XY v,
              XY b, std::int32_t& ruled)
{
    // Plain locals, so the stores below cannot be taken to change them.
    const Point* points = t.points.data();
    std::int32_t* work = t.work.data();
    std::int32_t* spill = t.spill.data();
    std::int32_t* out = t.ruledOut.data();
    std::int32_t outEnd = ruled;
    Split s{lo, 0, -1, -1};
    double best1 = 0.0, best2 = 0.0;
    std::int32_t k = lo;
#ifdef OMOTAC_TRACE_AVX2
    // Sets this small are over before the lanes' farthest points are folded.
    if (vector && hi - lo >= 8)
        k = splitBlocks<First>(points, work, spill, out, lo, hi, skip1, skip2, a, v, b, s.mid, s.end, outEnd, best1,
                               s.far1, best2, s.far2);
#else
    (void)vector;
#endif
    for (; k < hi; ++k) {
        const std::int32_t i = First ? k : work[k];
        if (i == skip1 || (First && i == skip2)) continue;
        const XY p = xyOf(points[i]);
        const double d1 = turn(a, v, p);
        // The turn against R->L is exactly the negation of that against L->R:
        // the same products, subtracted the other way round.
        const double d2 = First ? -d1 : turn(v, b, p);
        // A point beyond a->v goes with that side alone.
        const bool beyondFirst = d1 > 0.0;
        const bool beyondSecond = !beyondFirst & (d2 > 0.0);
        // The bests start at 0, so a new best is beyond its edge.
        if (d1 > best1) best1 = d1, s.far1 = i;
        if (d2 > best2 && !beyondFirst) best2 = d2, s.far2 = i;
        // s.mid <= k: only places already read are written.
        work[s.mid] = i;
        s.mid += beyondFirst;
        spill[s.end] = i;
        s.end += beyondSecond;
        if constexpr (First) {
            // Only points on the line L-R: rare enough to branch on.
            if (!beyondFirst && !beyondSecond) out[outEnd++] = i;
        } else {
            out[outEnd] = i;
            outEnd += !beyondFirst & !beyondSecond;
        }
    }
    std::copy(spill, spill + s.end, work + s.mid);
    s.end += s.mid;
    ruled = outEnd;
    return s;
}

// Queues the two halves of a split, the first last in: the set beyond the
// first sub-edge is expanded completely before the second.
void queue(HullTrace& t, const Split& s, std::int32_t lo, std::int32_t from, std::int32_t apex, std::int32_t to)
{
    if (s.end > s.mid) t.pending.push_back({s.mid, s.end, apex, to, s.far2});
    if (s.mid > lo) t.pending.push_back({lo, s.mid, from, apex, s.far1});
}

} // namespace

void traceHull(const Point* points, std::int32_t n, HullTrace& t) { traceHullOn(fastestHullPath(), points, n, t); }

void traceHullOn(HullPath path, const Point* points, std::int32_t n, HullTrace& t)
{
#ifdef OMOTAC_TRACE_AVX2
    static const bool avx2 = __builtin_cpu_supports("avx2");
    const bool vector = path == HullPath::Avx2 && avx2;
#else
    const bool vector = false;
#endif
    t.points.clear();
    t.vertices.clear();
    t.steps.clear();
    t.outline.clear();
    t.next.clear();
    t.pending.clear();
    // Room for every point; what the last build ruled out is overwritten, not cleared first.
    t.ruledOut.resize(std::size_t(std::max(n, 0)));
    if (n < 1) return;
    t.points.assign(points, points + n);
    t.work.resize(std::size_t(n));
    t.spill.resize(std::size_t(n));

    // Step 0: nothing decided.
    t.steps.push_back({-1, -1, 0, n});

    // Step 1: L and R, then the points above L->R and those below it (left of
    // R->L); L and R themselves are vertices, not candidates.
    std::int32_t left = 0, right = 0;
    extremes(points, n, left, right);
    t.vertices = {left, right};
    t.next = {1, 0};
    std::int32_t ruled = 0;
    const XY l = xyOf(points[left]);
    const Split sides = splitBy<true>(t, vector, 0, n, left, right, l, xyOf(points[right]), l, ruled);
    std::int32_t undecided = sides.end;
    t.steps.push_back({-1, -1, ruled, undecided});
    queue(t, sides, 0, 0, 1, 0);

    // Steps 2 onward: the farthest point beyond the edge of the next set is a
    // vertex; it goes between the edge's ends in the outline, and the points
    // inside the triangle it spans with the edge are ruled out.
    while (!t.pending.empty()) {
        const HullTrace::Pending set = t.pending.back();
        t.pending.pop_back();
        const XY a = xyOf(points[t.vertices[std::size_t(set.from)]]);
        const XY b = xyOf(points[t.vertices[std::size_t(set.to)]]);
        const std::int32_t apex = std::int32_t(t.vertices.size());
        t.vertices.push_back(set.far);
        const Split s = splitBy<false>(t, vector, set.lo, set.hi, set.far, set.far, a, xyOf(points[set.far]), b, ruled);
        undecided += (s.end - set.lo) - (set.hi - set.lo);
        t.steps.push_back({set.from, set.to, ruled, undecided});
        t.next[std::size_t(set.from)] = apex;
        t.next.push_back(set.to);
        queue(t, s, set.lo, set.from, apex, set.to);
    }

    t.ruledOut.resize(std::size_t(ruled));
    t.outline.push_back(0);
    for (std::int32_t k = t.next[0]; k != 0; k = t.next[std::size_t(k)]) t.outline.push_back(k);
}
