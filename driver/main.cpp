#include <cstdio>

#include "console.hpp"
#include "viewer.hpp"

int main(int argc, char** argv)
{
    const int status = runConsole(stdin, stdout, stderr);
    if (status != 0) return status;
    // The whole dialogue must be on the console before the window takes over.
    std::fflush(stdout);
    runViewer(argc, argv);
    return 0;
}
