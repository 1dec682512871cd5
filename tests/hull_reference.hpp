#pragma once

// The slow, literal hull and outline the kernel is held to.

#include <cstdint>
#include <vector>

#include "point.hpp"

// The farthest-point hull written the slow, literal way: fresh index sets copied
// from their parent for every sub-edge, the orientation re-evaluated in every
// scan. The production kernel must give exactly its entries, in its order, on any
// input whose orientation arithmetic is exact (integer coordinates below 2^24).
std::vector<Point> referenceHull(const std::vector<Point>& points);

// The outline order the slow, literal way: an exchange sort by (x, y) for the
// base vertex, direction keys, then an exchange sort by key with the exact-turn
// tie break and the walk along shared rays (nearer first, farther first on the
// closing ray). orderHullOutline must give exactly its order.
std::vector<Point> referenceOutline(std::vector<Point> hull);

// The corners of an outline in referenceOutline's order (clockwise from the
// lowest of the leftmost), the slow, literal way: copies of a point dropped,
// then each point on the line through its two neighbours, then the rest
// reversed to counter-clockwise and turned to start at the lowest, of several
// the leftmost. A segment keeps its two ends, a single place one point.
std::vector<Point> referenceCorners(const std::vector<Point>& outline);
