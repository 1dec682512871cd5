// computeHull and the four methods' traces as the page runs them, timed under
// node on the hull benchmark's inputs (random/10000 drawn with the program's
// generator, which gives what the desktop's rand() gives; circle/10000; and
// krug/10000, the program's own circle), InputRotation inputs in turn.
// Prints one line per computation and input kind: the median over
// repetitions of the time per input point: the processor time node's process
// spent (as Google Benchmark's CPU time on the desktop, so a busy machine's
// other processes do not count), then the wall-clock time.

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "distribution.hpp"
#include "hull.hpp"
#include "inputs.hpp"
#include "methods.hpp"
#include "random.hpp"
#include "startup.hpp"

namespace {

// Milliseconds of processor time the node process has used, user and system.
EM_JS(double, processMillis, (), {
    const u = process.cpuUsage();
    return (u.user + u.system) / 1000;
});

bench::Input randomInput(std::int32_t n, unsigned seed)
{
    bench::Input in;
    in.n = n;
    RandomStream draws;
    seedRandom(draws, seed);
    for (std::int32_t i = 0; i < n; ++i) {
        const int x = nextRandom(draws) % 1000;
        const int y = nextRandom(draws) % 1000;
        in.points[std::size_t(i)].x = float(x);
        in.points[std::size_t(i)].y = float(y);
    }
    return in;
}

struct PerPoint {
    double cpu, wall; // nanoseconds per input point of one call
};

// The program's own circle, drawn as --raspored krug draws it from a seed.
bench::Input krugInput(unsigned seed)
{
    bench::Input in;
    in.n = 10000;
    static RandomStream draws;
    seedRandom(draws, seed);
    drawPoints(Distribution::Circle, in.points.data(), in.n, [] { return int(nextRandom(draws)); });
    return in;
}

// The medians over repetitions, each long enough for the clocks, of one
// computation on every input in turn.
template <class Compute>
PerPoint nsPerPoint(const std::vector<bench::Input>& inputs, Compute compute)
{
    std::vector<double> cpu, wall;
    volatile std::int32_t sink = 0;
    for (int rep = 0; rep < 9; ++rep) {
        int calls = 0;
        const double start = emscripten_get_now(), startCpu = processMillis();
        double now = start;
        for (; now - start < 300.0; now = emscripten_get_now())
            for (const bench::Input& in : inputs) {
                sink = sink + compute(in);
                ++calls;
            }
        const double perCall = 1e6 / calls / inputs.front().n;
        cpu.push_back((processMillis() - startCpu) * perCall);
        wall.push_back((now - start) * perCall);
    }
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    return {cpu[cpu.size() / 2], wall[wall.size() / 2]};
}

} // namespace

int main()
{
    prepareTimedRun();
    std::vector<bench::Input> random, circle, krug;
    for (unsigned k = 0; k < bench::InputRotation; ++k) {
        random.push_back(randomInput(10000, bench::RandomSeed + k));
        circle.push_back(bench::circleInput(bench::RandomSeed + k));
        krug.push_back(krugInput(bench::RandomSeed + k));
    }
    for (const auto& [name, inputs] : {std::pair{"random/10000", &random}, std::pair{"circle/10000", &circle}}) {
        const PerPoint t = nsPerPoint(*inputs, [](const bench::Input& in) { return computeHull(in.points.data(), in.n); });
        std::printf("computeHull/%s cpu %.3f wall %.3f ns/point\n", name, t.cpu, t.wall);
    }
    // The traces the page's window builds: milliseconds a trace, as the
    // desktop's hull_bench reports them beside these.
    static MethodTraces traces;
    for (const auto& [name, inputs] : {std::pair{"random/10000", &random}, std::pair{"krug/10000", &krug}})
        for (const HullMethodName& m : HullMethods) {
            const PerPoint t = nsPerPoint(*inputs, [&](const bench::Input& in) {
                return traceMethod(m.method, in.points.data(), in.n, traces).corners;
            });
            std::printf("trace %s/%s cpu %.3f ms\n", m.name, name, t.cpu * 10000 / 1e6);
        }
    return 0;
}
