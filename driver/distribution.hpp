#pragma once

// How the random points of a run are drawn. Every way gives whole coordinates
// 0..999, drawn with the generator handed in as seeded, so the same seed
// and count give the same points.

#include <cstdint>

#include "point.hpp"

enum class Distribution { Uniform, Circle, Grid, Clusters, Duplicates, Vertical, Worst };

struct DistributionName {
    const char* name;
    Distribution distribution;
    const char* what; // one line for the usage text
};

inline constexpr DistributionName Distributions[] = {
    {"ravnomerno", Distribution::Uniform, "ravnomerno po kvadratu 0..999 (podrazumevano)"},
    {"krug", Distribution::Circle, "na krugu: skoro sve su temena, najduzi niz koraka"},
    {"mreza", Distribution::Grid, "u cvorovima mreze: kolinearne tacke na ivicama"},
    {"grozdovi", Distribution::Clusters, "nekoliko gustih grozdova"},
    {"duplikati", Distribution::Duplicates, "nekoliko razlicitih tacaka, svaka mnogo puta"},
    {"uspravno", Distribution::Vertical, "sve na jednoj uspravnoj pravoj"},
    {"najgori", Distribution::Worst, "podele iskljucuju sto manje: posao raste najbrze"},
};

// Draws points[0..n) of the distribution with rand(): x before y where both are
// drawn, each point only after the one before it.
void drawPoints(Distribution d, Point* points, std::int32_t n, int (*rand)());
