#pragma once

// What the command line asks of a run, and the usage text.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "console.hpp"
#include "distribution.hpp"
#include "methods.hpp"
#include "run_viewer.hpp"

// What the command line asks of a run. Every argument that is not one of the
// program's own goes on to the window toolkit, in its order.
struct Options {
    bool help = false;
    bool version = false;
    std::optional<std::uint32_t> seed;
    // Points file to read instead of asking for a count; "-" is standard input.
    std::optional<std::string> pointsFile;
    // How the random points are drawn; the uniform square unless named.
    std::optional<Distribution> distribution;
    // The method whose steps the window shows; the farthest point unless named.
    std::optional<HullMethod> method;
    // After the hull list, every method's counts on the same points.
    bool compare = false;
    std::vector<char*> toolkitArgs; // argv[0] first, then the toolkit's arguments
};

// Parses the command line into opts; gives the one-line message for a bad
// option (empty when there is none).
std::string parseOptions(int argc, char** argv, Options& opts);

// Writes the usage text; false when it could not be written.
bool printUsage(std::FILE* out);

// Writes "omotac x.y.z"; false when it could not be written.
bool printVersion(std::FILE* out);

// The console part of the run the options ask for: the points file, or a count
// read from in and random points of the distribution from seed, then the
// methods compared where asked. Returns the status as runPointsFile and
// runConsole do.
int runConsoleFor(const Options& opts, std::uint32_t seed, std::FILE* in, std::FILE* out, std::FILE* err,
                  ConsoleRun& run);

// Where that run's points came from, for the window's help.
RunSource runSourceFor(const Options& opts, std::uint32_t seed);
