#pragma once

// The renderer: draws a picture with fixed-function OpenGL in immediate mode,
// in the palette's colours, through the camera's matrices as they stand. Text
// is drawn by the platform's own pen, in window pixels over the picture.

#include "picture.hpp"
#include "scene.hpp"

// Palette: sets the current colour for indices 0..9 and leaves it alone otherwise.
void setColor(ColorIndex c);
void drawCircle(const Circle& k);
void drawLine(const Line& l);
// One end of the piece drawLine draws: sign +1 or -1.
Point lineEnd(const Line& l, double sign);
void drawSegment(const Segment& s);

// Draws every primitive of store: circles, lines, segments, then points.
void drawStore(const SceneStore& store);

// How a platform writes a block of text in the current colour, with a window
// pixel projection over the whole window in place (y up, the origin at the
// bottom-left corner).
using TextPen = void (*)(const TextBlock& block, int windowHeight);

// Draws picture p into the back buffer without swapping it: clears, draws its
// scene, then each of its text blocks with pen over the whole window; leaves
// every matrix, the matrix mode and the viewport as it found them.
void drawPicture(const Picture& p, TextPen pen);
