#pragma once

// Mouse navigation: a press starts the mode of its button (left pans, right
// rotates, middle or left and right together zoom), any release ends every
// mode, and a motion moves the picture by the mode held. Every change is a
// transform multiplied onto the projection matrix. Each call gives whether
// the picture changed.

#include "input.hpp"

// A press: its position and the scene point under it are taken, and the
// button's mode starts (the wheel zooms at once, a notch at a time).
bool navigationPress(MouseButton button, int x, int y);

// The first half of a press: its position and the scene point under it are
// taken, but no mode starts, for a press that may still turn out a click.
void navigationTake(int x, int y);

// The second half: the mode of button starts, measured from the press taken.
void navigationBegin(MouseButton button);

// Any release ends every mode, even with another button still held.
bool navigationRelease();

// A motion to (x, y) with a button held: pans, rotates or zooms by the mode.
bool navigationDrag(int x, int y);

// Whether a mode is under way.
bool navigating();

// Two fingers: the picture zooms `scale` times (as far as the wheel and the
// middle drag may) and turns `turn` degrees clockwise, and the scene point
// that was under their midpoint (fromX, fromY) comes under (x, y).
bool navigationPinch(int fromX, int fromY, int x, int y, double scale, double turn);
