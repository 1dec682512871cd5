// computeHull as the page runs it, timed under node on the hull benchmark's
// inputs (random/10000 drawn with the program's generator, which gives what
// the desktop's rand() gives; circle/10000), InputRotation inputs in turn.
// Prints one line per input kind: the median over repetitions of the time per
// input point.

#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "hull.hpp"
#include "inputs.hpp"
#include "random.hpp"

namespace {

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
    bench::numberPoints(in);
    return in;
}

// Nanoseconds per point of one call, the median of repetitions each long
// enough for the clock.
double nsPerPoint(const std::vector<bench::Input>& inputs)
{
    std::vector<double> samples;
    volatile std::int32_t sink = 0;
    for (int rep = 0; rep < 9; ++rep) {
        int calls = 0;
        const double start = emscripten_get_now();
        double now = start;
        for (; now - start < 300.0; now = emscripten_get_now())
            for (const bench::Input& in : inputs) {
                sink = sink + computeHull(in.points.data(), in.n, in.indices.data());
                ++calls;
            }
        samples.push_back((now - start) * 1e6 / calls / inputs.front().n);
    }
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main()
{
    prepareHull();
    std::vector<bench::Input> random, circle;
    for (unsigned k = 0; k < bench::InputRotation; ++k) {
        random.push_back(randomInput(10000, bench::RandomSeed + k));
        circle.push_back(bench::circleInput(bench::RandomSeed + k));
    }
    std::printf("random/10000 %.3f\n", nsPerPoint(random));
    std::printf("circle/10000 %.3f\n", nsPerPoint(circle));
    return 0;
}
