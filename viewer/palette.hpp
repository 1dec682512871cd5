#pragma once

// The palette: the colours a ColorIndex selects, and the few the window adds
// round them (the background, the rim of a white point).

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

inline bool inPalette(ColorIndex c) { return c >= 0 && c < ColorIndex(Palette.size()); }
