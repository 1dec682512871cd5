#include <cstdio>
#include <ctime>

#include <malloc.h>

#include "console.hpp"
#include "hull.hpp"
#include "options.hpp"
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
    if (opts.version) return printVersion(stdout) ? 0 : reportLostOutput(stderr);

    // Freed memory stays in the process: otherwise glibc hands the renderer's
    // per-frame buffers back to the system and every frame faults them in anew.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    // The timed hull computation must not pay for first-touch page faults.
    prepareHull();

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
