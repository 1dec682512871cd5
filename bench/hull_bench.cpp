// computeHull on the program's own input and on a circle whose every point is a
// hull vertex, beside the least work any exact hull must do (one pass that
// bounds the coordinates) and beside other libraries' hull functions on the
// same points. Each iteration times one whole computation; the iterations take
// 16 different inputs of each kind and size in turn.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "distribution.hpp"
#include "hull.hpp"
#include "inputs.hpp"
#include "methods.hpp"
#include "peers.hpp"
#include "session.hpp"
#include "timing.hpp"
#include "scene.hpp"
#include "steps.hpp"

namespace {

// Every operator new of the process, CGAL's and Boost's included, passes the
// counter; the benchmark reads it around its timed loop.
std::atomic<std::uint64_t> Allocations{0};

void* allocate(std::size_t size, std::size_t alignment)
{
    Allocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0) size = 1;
    void* p = alignment <= alignof(std::max_align_t)
                ? std::malloc(size)
                : std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
    if (p == nullptr) throw std::bad_alloc();
    return p;
}

// Out of line: where GCC sees operator delete end in free it takes free for the
// partner of operator new and warns of a mismatch.
[[gnu::noinline]] void release(void* p) noexcept { std::free(p); }

} // namespace

void* operator new(std::size_t size) { return allocate(size, 0); }
void* operator new(std::size_t size, std::align_val_t al) { return allocate(size, std::size_t(al)); }
void operator delete(void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, std::align_val_t) noexcept { release(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { release(p); }

namespace {

struct Bounds {
    float minX, maxX, minY, maxY;
};

// The floor: every point's x and y read once, their minima and maxima kept.
// Any exact hull reads at least this much, since every point may be a vertex.
Bounds scanBounds(const Point* points, std::int32_t n)
{
    Bounds b{points[0].x, points[0].x, points[0].y, points[0].y};
    for (std::int32_t i = 1; i < n; ++i) {
        const float x = points[i].x;
        const float y = points[i].y;
        b.minX = std::min(x, b.minX);
        b.maxX = std::max(x, b.maxX);
        b.minY = std::min(y, b.minY);
        b.maxY = std::max(y, b.maxY);
    }
    return b;
}

// Each iteration computes the next input of the rotation. One untimed round over
// all of them comes first, so what is counted and timed is the steady state of a
// process that has computed hulls before; then reports the points per second,
// the allocations per iteration and the mean count of vertices found.
template <class Compute>
void measure(benchmark::State& state, std::int32_t n, bool countAllocations, Compute compute)
{
    double vertices = 0.0;
    for (unsigned k = 0; k < bench::InputRotation; ++k) vertices += double(compute(k));
    const std::uint64_t before = Allocations.load(std::memory_order_relaxed);
    unsigned k = 0;
    for (auto _ : state) {
        const std::size_t found = compute(k);
        benchmark::DoNotOptimize(found);
        benchmark::ClobberMemory();
        k = (k + 1) % bench::InputRotation;
    }
    const std::uint64_t allocations = Allocations.load(std::memory_order_relaxed) - before;
    state.SetItemsProcessed(state.iterations() * n);
    if (countAllocations)
        state.counters["allocs_per_iter"] = benchmark::Counter(double(allocations), benchmark::Counter::kAvgIterations);
    state.counters["vertices"] = vertices / bench::InputRotation;
}

// One kind and size of input: InputRotation different point sets.
struct InputSet {
    std::string name;
    std::vector<bench::Input> inputs;
};

// Sizes this small only serve the table of the program's printed times; the
// other libraries race from this size on.
constexpr std::int32_t SmallestRaced = 100;

void registerInputs(const InputSet& set, std::vector<std::unique_ptr<bench::Peer>>& peers)
{
    const std::vector<bench::Input>* inputs = &set.inputs;
    const std::int32_t n = set.inputs.front().n;
    benchmark::RegisterBenchmark(("computeHull/" + set.name).c_str(), [inputs, n](benchmark::State& state) {
        measure(state, n, true, [inputs](unsigned k) {
            const bench::Input& in = (*inputs)[k];
            return std::size_t(computeHull(in.points.data(), in.n));
        });
    });
    // The path for processors without AVX2, where computeHull falls back to it.
    benchmark::RegisterBenchmark(("computeHullOn/portable/" + set.name).c_str(), [inputs, n](benchmark::State& state) {
        measure(state, n, true, [inputs](unsigned k) {
            const bench::Input& in = (*inputs)[k];
            return std::size_t(computeHullOn(HullPath::Portable, in.points.data(), in.n));
        });
    });
    benchmark::RegisterBenchmark(("floor/" + set.name).c_str(), [inputs, n](benchmark::State& state) {
        measure(state, n, false, [inputs](unsigned k) {
            const bench::Input& in = (*inputs)[k];
            const Bounds b = scanBounds(in.points.data(), in.n);
            benchmark::DoNotOptimize(b);
            return std::size_t(4);
        });
    });
    if (n < SmallestRaced) return;
    for (const bench::PeerKind& kind : bench::availablePeers()) {
        std::vector<bench::Peer*> rotation;
        for (const bench::Input& in : set.inputs) {
            rotation.push_back(peers.emplace_back(kind.make()).get());
            rotation.back()->load(in.points.data(), in.n);
        }
        benchmark::RegisterBenchmark(("peer/" + kind.name + "/" + set.name).c_str(), [rotation, n](benchmark::State& state) {
            measure(state, n, rotation.front()->allocationsVisible(), [&rotation](unsigned k) { return rotation[k]->run(); });
        });
    }
}

// Registers what/random/10000 and what/circle/10000: work the window does, on
// the very inputs computeHull is timed on, so the two stand side by side; and
// what/krug/10000 where the program's own circle is among the sets.
template <class Body>
void registerWindowWork(const std::string& what, const std::vector<InputSet>& sets, Body body)
{
    for (const InputSet& set : sets) {
        if (set.name != "random/10000" && set.name.rfind("circle/", 0) != 0 && set.name != "krug/10000") continue;
        const std::vector<bench::Input>* inputs = &set.inputs;
        benchmark::RegisterBenchmark((what + "/" + set.name).c_str(),
                                     [inputs, body](benchmark::State& state) { body(state, *inputs); });
    }
}

template <class Vector>
double heapBytes(const Vector& v)
{
    return double(v.capacity() * sizeof(typename Vector::value_type));
}

// The steps the window shows, built the plain way: the goal is at most ten
// times computeHull's time. `bytes` is the heap the trace holds afterwards,
// its reused scratch included.
void registerTraces(const std::vector<InputSet>& sets)
{
    registerWindowWork("traceHull", sets, [](benchmark::State& state, const std::vector<bench::Input>& inputs) {
        HullTrace trace;
        measure(state, inputs.front().n, true, [&](unsigned k) {
            traceHull(inputs[k].points.data(), inputs[k].n, trace);
            return std::size_t(stepCount(trace));
        });
        state.counters["bytes"] = heapBytes(trace.points) + heapBytes(trace.vertices) + heapBytes(trace.steps)
                                + heapBytes(trace.ruledOut) + heapBytes(trace.outline) + heapBytes(trace.work)
                                + heapBytes(trace.spill) + heapBytes(trace.next);
    });
}

// The other methods' steps, each the plain way: the goal is 20 ms a trace at
// 10000 points. Gift wrapping makes n tests per corner, so its time follows
// the corners: 218 on krug, every point on the benchmark's circle. `tests`
// is the orientation tests of one trace of the first input.
void registerMethodTraces(const std::vector<InputSet>& sets)
{
    registerWindowWork("traceJarvis", sets, [](benchmark::State& state, const std::vector<bench::Input>& inputs) {
        JarvisTrace t;
        measure(state, inputs.front().n, true, [&](unsigned k) {
            traceJarvis(inputs[k].points.data(), inputs[k].n, t);
            return t.steps.size() - 1;
        });
        state.counters["tests"] = double(countsOf(t).orientationTests);
    });
    for (const auto& [name, trace] : {std::pair{"traceGraham", &traceGraham}, std::pair{"traceAndrew", &traceAndrew}})
        registerWindowWork(name, sets, [trace](benchmark::State& state, const std::vector<bench::Input>& inputs) {
            StackTrace t;
            measure(state, inputs.front().n, true, [&](unsigned k) {
                trace(inputs[k].points.data(), inputs[k].n, t);
                return std::size_t(t.steps.back().depth);
            });
            state.counters["tests"] = double(countsOf(t).orientationTests);
        });
    // What --poredi (and the window's comparison) costs: all four traces of
    // the same points and their counts. The goal is 50 ms.
    registerWindowWork("compareMethods", sets, [](benchmark::State& state, const std::vector<bench::Input>& inputs) {
        MethodTraces traces;
        measure(state, inputs.front().n, true, [&](unsigned k) {
            std::int32_t corners = 0;
            for (const HullMethodName& m : HullMethods)
                corners = traceMethod(m.method, inputs[k].points.data(), inputs[k].n, traces).corners;
            return std::size_t(corners);
        });
    });
}

// The program's own circle (--raspored krug) at 10000 points, from the seeds
// of the rotation: its corners are the whole-number points in convex position
// near a circle of radius 499, far fewer than the benchmark circle's.
InputSet krugInputs()
{
    InputSet set{"krug/10000", {}};
    for (unsigned k = 0; k < bench::InputRotation; ++k) {
        bench::Input& in = set.inputs.emplace_back();
        in.n = 10000;
        std::srand(bench::RandomSeed + k);
        drawPoints(Distribution::Circle, in.points.data(), in.n, std::rand);
    }
    return set;
}

// One edit in the window as it costs at 10000 points: a point moved, then
// everything shown rebuilt the way the window rebuilds it (timed hull,
// outline, Scene, steps). An edit changes one point of the set the window
// already holds, so every iteration edits the same set, the first input of
// the rotation: its point 0 moves one unit out and back on alternate
// iterations. The goals are at most a millisecond, and at circle/10000 at most
// five times computeHull on the same inputs, which stands beside it.
void registerEdits(const std::vector<InputSet>& sets)
{
    registerWindowWork("edit", sets, [](benchmark::State& state, const std::vector<bench::Input>& inputs) {
        const bench::Input& in = inputs.front();
        std::vector<Point> points(in.points.begin(), in.points.begin() + in.n);
        float step = 1.0f;
        measure(state, in.n, true, [&](unsigned) {
            points[0].x += step;
            step = -step;
            const HullResult result = timeHull(points.data(), in.n);
            loadRun(points, result, {HullBuffer.data(), std::size_t(result.count)});
            return std::size_t(result.count);
        });
        state.counters["scene_points"] = double(Scene.points.size());
    });
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    std::vector<InputSet> sets;
    for (const std::int32_t n : {1, 10, 100, 1000, 10000}) {
        InputSet& set = sets.emplace_back(InputSet{"random/" + std::to_string(n), {}});
        for (unsigned k = 0; k < bench::InputRotation; ++k) set.inputs.push_back(bench::randomInput(n, bench::RandomSeed + k));
    }
    InputSet& circles = sets.emplace_back(InputSet{"circle/" + std::to_string(bench::CircleCount), {}});
    for (unsigned k = 0; k < bench::InputRotation; ++k) circles.inputs.push_back(bench::circleInput(bench::RandomSeed + k));

    // The circle only measures the all-vertices case if it is one.
    if (!bench::strictlyConvex(bench::circleRing())) {
        std::fprintf(stderr, "circle input: the ring is not strictly convex\n");
        return 1;
    }
    for (const bench::Input& circle : circles.inputs) {
        const std::int32_t circleHull = computeHull(circle.points.data(), circle.n);
        if (circleHull != circle.n) {
            std::fprintf(stderr, "circle input: %d of %d points are hull vertices\n", circleHull, circle.n);
            return 1;
        }
    }

    std::vector<std::unique_ptr<bench::Peer>> peers;
    for (const InputSet& set : sets) registerInputs(set, peers);
    registerTraces(sets);
    registerEdits(sets);
    registerMethodTraces(sets);
    const std::vector<InputSet> krug{krugInputs()};
    registerTraces(krug);
    registerMethodTraces(krug);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
