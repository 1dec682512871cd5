#pragma once

// The palette: the colours a ColorIndex selects, and the few the window adds
// round them (the background, the rim of a white point and of the marks), and
// how the marks of the step view are drawn besides their colour.

#include <array>

#include "point.hpp"

struct Rgb {
    float r, g, b;
};

// The ten colours a ColorIndex selects, for the window and for exported pictures.
inline constexpr std::array<Rgb, 10> Palette{{
    {1.0f, 0.0f, 0.0f}, // 0 red
    {0.0f, 1.0f, 0.0f}, // 1 green
    {0.0f, 0.0f, 1.0f}, // 2 blue
    {1.0f, 1.0f, 0.0f}, // 3 yellow
    {1.0f, 0.5f, 0.0f}, // 4 orange
    {1.0f, 0.0f, 1.0f}, // 5 magenta
    {0.0f, 1.0f, 1.0f}, // 6 cyan
    {0.5f, 0.0f, 0.5f}, // 7 purple
    {1.0f, 1.0f, 1.0f}, // 8 white
    {0.0f, 0.0f, 0.0f}, // 9 black
}};

// What the picture shows before any colour is set: OpenGL's initial white.
inline constexpr ColorIndex InitialColor = 8;

// The rim round a white point, which on the background alone would all but
// vanish (contrast 1.3 : 1; the rim's is about 4.5 : 1).
inline constexpr Rgb WhiteRimColor{0.4f, 0.4f, 0.4f};
inline constexpr ColorIndex RimmedColor = 8;

// The window's background, the colour it clears to.
inline constexpr Rgb BackgroundColor{0.9f, 0.9f, 0.8f};

// How a mark the step view and guess mode add is drawn besides its colour.
// Against the background green stands out 1.08 : 1, orange 1.99 : 1 and
// magenta 2.47 : 1, so those marks are wide and carry a rim of WhiteRimColor
// (4.5 : 1) MarkRimPixels wide all round; purple (7.4 : 1) needs none. Each
// has a shape of its own, so that none is told by its colour alone (red and
// orange, magenta and blue look alike to many): the split edge is wide where
// the outline is thin, waiting edges are dashed, the ring round a wrong answer
// is broken into dashes where the others are whole.
struct MarkStyle {
    float width = 1.0f; // pixels across
    float dash = 0.0f;  // pixels of each dash, 0 for an unbroken line
    float gap = 0.0f;   // pixels between two dashes
    bool rimmed = false;
    friend bool operator==(const MarkStyle&, const MarkStyle&) = default;
};
inline constexpr float MarkRimPixels = 1.0f;

// Segments in the colour of a mark; every other segment is a plain line.
inline MarkStyle segmentStyle(ColorIndex c)
{
    if (c == SplitColor) return {3.0f, 0.0f, 0.0f, true};
    if (c == WaitingColor) return {2.0f, 7.0f, 4.0f, false};
    return {};
}

// Rings: every circle the window draws is a mark round a point.
inline MarkStyle circleStyle(ColorIndex c)
{
    if (c == WrongGuessColor) return {3.0f, 5.0f, 4.0f, true};
    return {3.0f, 0.0f, 0.0f, true};
}

inline bool inPalette(ColorIndex c) { return c >= 0 && c < ColorIndex(Palette.size()); }
