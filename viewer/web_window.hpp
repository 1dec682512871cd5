#pragma once

// The page's window: the browser's reports as the program's events, and what
// the page's entry calls. Everything of the browser stays in web_window.cpp.

#include <string_view>

#include "input.hpp"

// A button going down or up, a motion with a button held, in canvas pixels
// from the top-left corner.
InputEvent mouseEvent(MouseButton button, bool down, int x, int y);
InputEvent motionEvent(int x, int y);

// A key by the name the browser gives it ("a", "A", " ", "ArrowRight",
// "Escape", ...): characters as themselves, the keys the viewer knows as its
// Key* values, anything else Kind::Ignored.
InputEvent keyEvent(std::string_view key);

// Sets the page up once, before any run: the file system's mask and the
// frame loop, which paints while a run is shown.
void startPage();

// Milliseconds spent drawing frames so far (the GL calls as the page makes
// them, not the browser's compositing), for measuring.
double drawMillis();

// The page gives the picture width x height window (CSS) pixels on a screen
// of `ratio` device pixels to one: the canvas gets a device pixel for each,
// and a run shown is framed again at the new size.
void resizePicture(int width, int height, double ratio);

// A key the page's buttons press, named as keyEvent names it: exactly what
// that key pressed on the picture does.
void pressKeyNamed(std::string_view key);

// Shows step `step` of the run shown, as an address asks.
void showStepNamed(int step);
