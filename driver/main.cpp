#include <cstdio>

#include "console.hpp"

int main(int argc, char** argv)
{
    const int status = runConsole(stdin, stdout, stderr);
    (void)argc;
    (void)argv;
    return status;
}
