#pragma once

#include <cstdint>
#include <vector>

#include "point.hpp"

// The farthest-point hull written the slow, literal way: fresh index sets copied
// from their parent for every sub-edge, the orientation re-evaluated in every
// scan. The production kernel must give exactly its entries, in its order, on any
// input whose orientation arithmetic is exact (integer coordinates below 2^24).
std::vector<Point> referenceHull(const std::vector<Point>& points);
