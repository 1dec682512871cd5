// The program's entry: options, the console run, then the window.

#include <cstdio>
#include <ctime>

#include "console.hpp"
#include "hull.hpp"
#include "options.hpp"
#include "run_viewer.hpp"
#include "startup.hpp"

int main(int argc, char** argv)
{
    Options opts;
    if (const std::string bad = parseOptions(argc, argv, opts); !bad.empty()) {
        std::fprintf(stderr, "%s\n", bad.c_str());
        return 2;
    }
    if (opts.help) return printUsage(stdout) ? 0 : reportLostOutput(stderr);
    if (opts.version) return printVersion(stdout) ? 0 : reportLostOutput(stderr);

    // The timed hull computation must pay for nothing but the hull.
    prepareTimedRun();

    // The seed is the time in seconds unless one is given, so a run can be repeated.
    const std::uint32_t seed = opts.seed.value_or(std::uint32_t(std::time(nullptr)));
    ConsoleRun run;
    const int status = runConsoleFor(opts, seed, stdin, stdout, stderr, run);
    if (status != 0) return status;
    // The window's help names where the points came from, so a run can be repeated.
    const RunSource source = runSourceFor(opts, seed);
    const int toolkitArgc = int(opts.toolkitArgs.size()) - 1;
    // The hand-over: the set, the timed result and the vertices as computeHull found them.
    showRun(source, {run.points.data(), std::size_t(run.n)}, run.result,
            {HullBuffer.data(), std::size_t(run.result.count)}, toolkitArgc, opts.toolkitArgs.data());
    return 0;
}
