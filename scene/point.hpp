#pragma once

// The Point record, the colour index and the colours the window uses.

#include <cstdint>

// Index into the viewer's ten-colour palette (0 red ... 9 black).
using ColorIndex = std::int32_t;

// The console run's colours: input points blue, hull vertices black over them,
// the closed outline red.
inline constexpr ColorIndex InputColor = 2;
inline constexpr ColorIndex HullVertexColor = 9;
inline constexpr ColorIndex OutlineColor = 0;
// The step view's colours: the edge split at a step, its triangle and the ring
// round the new vertex orange; points ruled out white.
inline constexpr ColorIndex SplitColor = 4;
inline constexpr ColorIndex RuledOutColor = 8;
// An edge of the hull so far with undecided points still beyond it: purple.
inline constexpr ColorIndex WaitingColor = 7;
// Guess mode's rings round the point clicked: green where it was right,
// magenta where it was not.
inline constexpr ColorIndex RightGuessColor = 1;
inline constexpr ColorIndex WrongGuessColor = 5;

// A scene point: coordinates in single precision plus its palette colour.
// The default is the origin in black, which is also what a generated point
// carries in the fields the generator does not set.
struct Point {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    ColorIndex color = 9;
};

// Capacity of the run's point array, its index list and the hull buffer.
inline constexpr int PointCapacity = 10000;
