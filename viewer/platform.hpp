#pragma once

// What the window's logic asks of the platform it runs on. The platform file
// provides each of these; nothing else of the platform reaches the logic.

#include <span>
#include <string>

// Draws the window again soon.
void requestRedraw();

// Calls advancePlay(round) once, after millis milliseconds.
void startPlayTimer(int millis, int round);

// Ends the window's event loop: the run is over.
void closeViewer();

// The window's size in pixels.
struct WindowSize {
    int width, height;
};
WindowSize windowSize();

// Text over the picture: a line every TextLineHeight pixels.
inline constexpr int TextLineHeight = 16;

// Draws lines of text in the current colour, the first line's top edge `top`
// pixels below the window's top edge and every line `left` pixels from its
// left edge, over a band of the window's background colour that is opaque
// enough to read the text on and lets the picture show faintly through.
void drawTextBlock(int left, int top, std::span<const std::string> lines);

// Opens the window on the Scene, on the finished hull, and runs its event loop
// until the window is closed or the user quits.
void runViewer(int argc, char** argv);
