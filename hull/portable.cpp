// The portable passes: one candidate at a time in plain C++. They are the path
// where the processor lacks AVX2, and they finish what the vector passes leave.

#include <algorithm>
#include <bit>

#include "kernel.hpp"
#include "predicates.hpp"

namespace {

// The running farthest candidate of both halves while one pass splits a set.
struct SplitTally {
    double best1 = 0.0, best2 = 0.0;
    std::int32_t far1 = -1, far2 = -1;
    bool in1 = false, in2 = false;

    // Places one candidate by its orientations against the two sub-edges: in set 1
    // beyond the first, else in set 2 beyond the second (never both, so no point
    // is written twice even where rounding would allow it), and records its tag
    // where it beats every earlier one: strict, so the first of equally far
    // candidates stays. Selects, not branches: on hulls with many vertices the side
    // is a coin toss the predictor would lose. best >= 0, so beating it implies
    // membership; outside set 2, t2 is 0 or NaN (a product, since a select on
    // doubles compiles to a branch).
    void place(double o1, double o2, std::int32_t tag1, std::int32_t tag2)
    {
        in1 = o1 > 0.0;
        in2 = !in1 & (o2 > 0.0);
        const double t2 = o2 * double(in2);
        // Masks rather than ?: on the tags, which the compiler may or may not turn
        // into a branch depending on the code around it.
        const std::int32_t up1 = -std::int32_t(o1 > best1), up2 = -std::int32_t(t2 > best2);
        far1 ^= (far1 ^ tag1) & up1;
        far2 ^= (far2 ^ tag2) & up2;
        best1 = o1 > best1 ? o1 : best1;
        best2 = t2 > best2 ? t2 : best2;
    }
};

Extremes findExtremes(const Point* points, std::int32_t n)
{
    Extremes e;
    scanExtremes(points, n, e);
    return e;
}

std::int32_t keepOutsideAll(const Point* points, std::int32_t n, const InteriorBox& box, Scratch& sc)
{
    return keepOutside(points, n, box, sc.work);
}

// One candidate at a time: set 1 packed in place, set 2 to spill.
std::int32_t splitRange(const Point* points, Scratch& sc, const SubProblem& set, SubProblem* pending,
                        std::int32_t depth)
{
    Columns& w = sc.work;
    Columns& sp = sc.spill;
    const Candidate &a = set.a, &v = set.far, &b = set.b;
    RangeSplit r = startRangeSplit(set);
    SplitTally t;
    for (std::int32_t k = set.lo; k < set.lo + set.count; ++k) {
        const float x = w.x[k], y = w.y[k];
        const std::int32_t i = w.index[k];
        t.place(orientation(a.x, a.y, v.x, v.y, x, y), orientation(v.x, v.y, b.x, b.y, x, y), i, i);
        // Both slots are written and only the chosen end moves.
        w.put(r.end1, x, y, i); // end1 <= k: never overwrites an unread candidate
        sp.put(r.size2, x, y, i);
        r.end1 += t.in1;
        r.size2 += t.in2;
    }
    if (t.far1 >= 0) r.far1 = candidateOf(points, t.far1);
    if (t.far2 >= 0) r.far2 = candidateOf(points, t.far2);
    for (std::int32_t k = 0; k < r.size2; ++k) w.put(r.end1 + k, sp.x[k], sp.y[k], sp.index[k]);
    return pushRangeHalves(set, r, pending, depth);
}

// The walk of hull.cpp over member bits of the small set at work[set.lo..]: the
// same pre-order, nothing moved. Visits the members in position order, which is
// index order.
std::int32_t finishSmallSet(const Columns& w, const SubProblem& set, std::int32_t* out)
{
    struct Part {
        Candidate a, b, far;
        std::uint32_t members;
    };
    Part pending[SmallSet + 1]; // the parts share no member, and a push writes one slot ahead
    pending[0] = {set.a, set.b, set.far, std::uint32_t((std::uint64_t(1) << set.count) - 1)};
    std::int32_t depth = 1, count = 0;
    while (depth > 0) {
        const Part part = pending[--depth];
        out[count++] = part.far.index;
        const Candidate &a = part.a, &v = part.far, &b = part.b;
        SplitTally t;
        std::uint32_t bits1 = 0, bits2 = 0;
        for (std::uint32_t rest = part.members; rest != 0; rest &= rest - 1) {
            const int i = std::countr_zero(rest);
            const float x = w.x[set.lo + i], y = w.y[set.lo + i];
            t.place(orientation(a.x, a.y, v.x, v.y, x, y), orientation(v.x, v.y, b.x, b.y, x, y), i, i);
            bits1 |= std::uint32_t(t.in1) << i;
            bits2 |= std::uint32_t(t.in2) << i;
        }
        pending[depth] = {v, b, w.at(set.lo + std::max(t.far2, 0)), bits2};
        depth += bits2 != 0;
        pending[depth] = {a, v, w.at(set.lo + std::max(t.far1, 0)), bits1};
        depth += bits1 != 0;
    }
    return count;
}

void finishSmallSets(Scratch& sc, const SmallSetJob* jobs, std::int32_t count)
{
    for (std::int32_t k = 0; k < count; ++k)
        *jobs[k].count += finishSmallSet(sc.work, *jobs[k].set, jobs[k].vertices + *jobs[k].count);
}

} // namespace

const HullPasses PortablePasses{findExtremes, boxInside, keepOutsideAll, splitRange, finishSmallSets};
