#pragma once

// What the window's logic asks of the platform it runs on. The platform file
// provides each of these; nothing else of the platform reaches the logic.

#include <string_view>

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

// Draws one line of text in the current colour with its baseline starting at
// window pixel (x, y), counted from the bottom-left corner.
void drawText(int x, int y, std::string_view line);

// Opens the window on the Scene, on the finished hull, and runs its event loop
// until the window is closed or the user quits.
void runViewer(int argc, char** argv);
