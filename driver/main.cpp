#include <cstdio>

#include <malloc.h>

#include "console.hpp"
#include "hull.hpp"
#include "viewer.hpp"

int main(int argc, char** argv)
{
    // Freed memory stays in the process: otherwise glibc hands the renderer's
    // per-frame buffers back to the system and every frame faults them in anew.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    // The timed hull computation must not pay for first-touch page faults.
    prepareHull();

    const int status = runConsole(stdin, stdout, stderr);
    if (status != 0) return status;
    // The whole dialogue must be on the console before the window takes over.
    std::fflush(stdout);
    runViewer(argc, argv);
    return 0;
}
