#pragma once

// Points files: reading, writing and saving them, and file names the
// window's font can show.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "numbered_file.hpp"
#include "point.hpp"

// Coordinates of a points file lie in -CoordinateLimit..CoordinateLimit: every
// whole number there is exact in single precision.
inline constexpr std::int32_t CoordinateLimit = 16777216;

// The longest line a points file may have, in bytes: far more than any point
// or comment needs, and a bound on how much of an endless line is read.
inline constexpr std::int32_t LineLimit = 10000;

// What reading a points file gave: the number of points stored, or the one
// line that says where and why reading stopped.
struct PointsRead {
    std::int32_t count = 0; // 0 on error
    std::string error;      // empty on success
};

// How standard input is named in messages.
inline constexpr const char* StandardInputName = "standardni ulaz";

// Reads points from in, one per line: two whole numbers separated by blanks
// or a comma; blank lines and lines whose first non-blank is '#' are skipped;
// CRLF line ends and a UTF-8 byte order mark are accepted. Stores them from
// points[0] (x and y set, z 0, colour 9) and stops at the first error without
// reading any further: a coordinate is out of range at the digit that takes it
// there, a line too long at its byte LineLimit + 1. Messages name the file by
// name and the line by number.
PointsRead readPoints(std::FILE* in, std::string_view name, std::span<Point, PointCapacity> points);

// Opens path and reads it as above; "-" reads standardInput instead.
PointsRead loadPoints(const char* path, std::span<Point, PointCapacity> points, std::FILE* standardInput = stdin);

// Writes points[0..n) in the form readPoints reads back to the same points
// (x and y as whole numbers); false when the output failed.
bool writePoints(std::FILE* out, const Point* points, std::int32_t n);

// Saves points[0..n) as a new omotac-tacke-N.txt in the current directory.
SavedFile savePoints(const Point* points, std::int32_t n);

// A name as the window's bitmap font can show it: printable ASCII as it is,
// the Serbian letters as the program writes Serbian (č, ć -> c; š -> s;
// ž -> z; đ -> dj, capitals alike), combining accents dropped (a decomposed
// č is c and its caron), and every other character, or control character, as
// one '?'; a byte that starts no whole UTF-8 character is one '?' of its own.
std::string asciiName(std::string_view utf8);
