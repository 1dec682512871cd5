// computeHull on the program's own input and on a circle whose every point is a
// hull vertex, beside the least work any exact hull must do (one pass that
// bounds the coordinates) and beside other libraries' hull functions on the
// same points. Each iteration times one whole computation.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "hull.hpp"
#include "inputs.hpp"
#include "peers.hpp"
#include "rebuild.hpp"
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

// Runs one untimed computation first, so what is counted and timed is the
// steady state of a process that has computed a hull before; then reports the
// points per second, the allocations per iteration and the vertices found.
template <class Compute>
void measure(benchmark::State& state, std::int32_t n, bool countAllocations, Compute compute)
{
    std::size_t vertices = compute();
    const std::uint64_t before = Allocations.load(std::memory_order_relaxed);
    for (auto _ : state) {
        vertices = compute();
        benchmark::DoNotOptimize(vertices);
        benchmark::ClobberMemory();
    }
    const std::uint64_t allocations = Allocations.load(std::memory_order_relaxed) - before;
    state.SetItemsProcessed(state.iterations() * n);
    if (countAllocations)
        state.counters["allocs_per_iter"] = benchmark::Counter(double(allocations), benchmark::Counter::kAvgIterations);
    state.counters["vertices"] = double(vertices);
}

struct NamedInput {
    std::string name;
    bench::Input input;
};

void registerInput(const NamedInput& in, std::vector<std::unique_ptr<bench::Peer>>& peers)
{
    const bench::Input* input = &in.input;
    benchmark::RegisterBenchmark(("computeHull/" + in.name).c_str(), [input](benchmark::State& state) {
        measure(state, input->n, true, [input] {
            return std::size_t(computeHull(input->points.data(), input->n, input->indices.data()));
        });
    });
    // The path for processors without AVX2, where computeHull falls back to it.
    benchmark::RegisterBenchmark(("computeHullOn/portable/" + in.name).c_str(), [input](benchmark::State& state) {
        measure(state, input->n, true, [input] {
            return std::size_t(computeHullOn(HullPath::Portable, input->points.data(), input->n));
        });
    });
    benchmark::RegisterBenchmark(("floor/" + in.name).c_str(), [input](benchmark::State& state) {
        measure(state, input->n, false, [input] {
            const Bounds b = scanBounds(input->points.data(), input->n);
            benchmark::DoNotOptimize(b);
            return std::size_t(4);
        });
    });
    for (const bench::PeerKind& kind : bench::availablePeers()) {
        bench::Peer* peer = peers.emplace_back(kind.make()).get();
        peer->load(input->points.data(), input->n);
        benchmark::RegisterBenchmark(("peer/" + kind.name + "/" + in.name).c_str(), [peer, input](benchmark::State& state) {
            measure(state, input->n, peer->allocationsVisible(), [peer] { return peer->run(); });
        });
    }
}

// Registers what/random/10000 and what/circle/10000: work the window does on
// the inputs computeHull is timed on, so the two stand side by side.
template <class Body>
void registerWindowWork(const std::string& what, Body body)
{
    for (const bool circle : {false, true}) {
        const std::string name = what + (circle ? "/circle/" + std::to_string(bench::CircleCount) : "/random/10000");
        benchmark::RegisterBenchmark(name.c_str(), [circle, body](benchmark::State& state) {
            static const bench::Input random = bench::randomInput(10000);
            static const bench::Input ring = bench::circleInput();
            body(state, circle ? ring : random);
        });
    }
}

// The steps the window shows, built the plain way, on the same inputs as
// computeHull: the goal is at most ten times its time. `bytes` is the heap the
// trace holds afterwards, its reused scratch included.
template <class Vector>
double heapBytes(const Vector& v)
{
    return double(v.capacity() * sizeof(typename Vector::value_type));
}

void registerTraces()
{
    registerWindowWork("traceHull", [](benchmark::State& state, const bench::Input& input) {
        HullTrace trace;
        measure(state, input.n, true, [&] {
            traceHull(input.points.data(), input.n, trace);
            return std::size_t(stepCount(trace));
        });
        state.counters["bytes"] = heapBytes(trace.points) + heapBytes(trace.vertices) + heapBytes(trace.steps)
                                + heapBytes(trace.ruledOut) + heapBytes(trace.outline) + heapBytes(trace.work)
                                + heapBytes(trace.spill) + heapBytes(trace.next) + heapBytes(trace.pending);
    });
}

// One edit in the window as it costs at 10000 points: a point moved, then
// everything shown rebuilt the way the window rebuilds it (timed hull,
// outline, Scene, steps). The point moves one unit out and back on
// alternate iterations, so the set stays the input's. The goal is at most a
// millisecond; computeHull on the same input stands beside it.
void registerEdits()
{
    registerWindowWork("edit", [](benchmark::State& state, const bench::Input& input) {
        std::vector<Point> points(input.points.begin(), input.points.begin() + input.n);
        HullTrace trace;
        float step = 1.0f;
        measure(state, input.n, true, [&] {
            points[0].x += step;
            step = -step;
            return std::size_t(rebuildHull(points.data(), input.n, input.indices.data(), trace).count);
        });
        state.counters["scene_points"] = double(Scene.points.size());
    });
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    std::vector<NamedInput> inputs;
    for (const std::int32_t n : {100, 1000, 10000})
        inputs.push_back({"random/" + std::to_string(n), bench::randomInput(n)});
    inputs.push_back({"circle/" + std::to_string(bench::CircleCount), bench::circleInput()});

    // The circle only measures the all-vertices case if it is one.
    const bench::Input& circle = inputs.back().input;
    const std::int32_t circleHull = computeHull(circle.points.data(), circle.n, circle.indices.data());
    if (!bench::strictlyConvex(bench::circleRing()) || circleHull != circle.n) {
        std::fprintf(stderr, "circle input: %d of %d points are hull vertices\n", circleHull, circle.n);
        return 1;
    }

    std::vector<std::unique_ptr<bench::Peer>> peers;
    for (const NamedInput& in : inputs) registerInput(in, peers);
    registerTraces();
    registerEdits();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
