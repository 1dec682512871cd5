#pragma once

// The console run: the count dialogue, the points drawn or read, the timed
// hull and the two lists.

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "distribution.hpp"
#include "point.hpp"
#include "timing.hpp"

using PointArray = std::array<Point, PointCapacity>;

// What a run hands on to the window: its points and the timed hull, with
// HullBuffer[0..result.count) in the order found.
struct ConsoleRun {
    PointArray points{};
    std::int32_t n = 0;
    HullResult result;
};

// A count line holds one whole number from 1 to PointCapacity, blanks around it
// and leading zeros allowed, whatever its length; anything else is no count.
std::optional<std::int32_t> parsePointCount(std::string_view line);

// Prompts on out and reads in line by line until a valid count; 0 when the input
// ends first, -1 when the prompt could not be written. Every refused line gets
// the range message and a fresh prompt.
std::int32_t readPointCount(std::FILE* in, std::FILE* out);

// The console part of a run into run: count, random points of the
// distribution from seed, timed hull, report. Returns the process status: 0,
// or 1 when the input ended without a count or the dialogue could not be written.
int runConsole(std::FILE* in, std::FILE* out, std::FILE* err, std::uint32_t seed, ConsoleRun& run,
               Distribution d = Distribution::Uniform);

// The run from its points on (run.points[0..run.n)): listing, timed hull,
// report. Returns 0, or 1 when the report could not be written.
int runOnPoints(std::FILE* out, std::FILE* err, ConsoleRun& run);

// The same run on the points of a file (path "-": in), without a prompt.
// Returns 2 with the reader's one line on err, before anything else is
// printed, when the file cannot be read; otherwise as runConsole.
int runPointsFile(const char* path, std::FILE* in, std::FILE* out, std::FILE* err, ConsoleRun& run);

// The same run on the points read from file, named `name` in messages.
int runPointsStream(std::FILE* file, std::string_view name, std::FILE* out, std::FILE* err, ConsoleRun& run);

// After the run's report: a blank line, "Poredjenje metoda:" and one line per
// method with its counts on run.points[0..run.n) (methods.hpp). Returns 0, or
// 1 when the lines could not be written.
int printMethodComparison(std::FILE* out, std::FILE* err, const ConsoleRun& run);

// Says on err that standard output lost the dialogue; gives the status 1.
int reportLostOutput(std::FILE* err);
