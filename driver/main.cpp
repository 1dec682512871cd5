#include <cstdio>
#include <ctime>

#include "console.hpp"
#include "options.hpp"
#include "startup.hpp"
#include "step_view.hpp"
#include "viewer.hpp"

int main(int argc, char** argv)
{
    Options opts;
    if (const std::string bad = parseOptions(argc, argv, opts); !bad.empty()) {
        std::fprintf(stderr, "%s\n", bad.c_str());
        return 2;
    }
    if (opts.help) return printUsage(stdout) ? 0 : reportLostOutput(stderr);

    // The timed hull computation must pay for nothing but the hull.
    prepareTimedRun();

    // The seed is the time in seconds unless one is given, so a run can be repeated.
    const std::uint32_t seed = opts.seed.value_or(std::uint32_t(std::time(nullptr)));
    const int status = opts.pointsFile ? runPointsFile(opts.pointsFile->c_str(), stdin, stdout, stderr)
                                       : runConsole(stdin, stdout, stderr, seed);
    if (status != 0) return status;
    // The window's help names where the points came from, so a run can be repeated.
    if (opts.pointsFile)
        StepView.pointsFile = *opts.pointsFile;
    else
        StepView.seed = seed;
    int toolkitArgc = int(opts.toolkitArgs.size()) - 1;
    runViewer(toolkitArgc, opts.toolkitArgs.data());
    return 0;
}
