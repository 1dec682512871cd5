#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>

#include "point.hpp"

using PointArray = std::array<Point, PointCapacity>;
using PointIndices = std::array<std::int32_t, PointCapacity>;

// A count line holds one whole number from 1 to PointCapacity, blanks around it
// allowed; anything else, numbers beyond int included, is no count.
std::optional<std::int32_t> parsePointCount(std::string_view line);

// Prompts on out and reads in line by line until a valid count; 0 when the input
// ends first. Every refused line gets the range message and a fresh prompt.
std::int32_t readPointCount(std::FILE* in, std::FILE* out);

// The console part of a run: count, random points, timed hull, report, scene.
// Returns the process status: 0, or 1 when the input ended without a count.
int runConsole(std::FILE* in, std::FILE* out, std::FILE* err);
