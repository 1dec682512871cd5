#pragma once

// The desktop window: the toolkit's callbacks and what they translate its
// reports into. Everything of the toolkit stays in glut_window.cpp.

#include "controller.hpp"
#include "input.hpp"
#include "picture.hpp"

// Opens the window framed on the Scene on the finished hull and registers the
// callbacks, stopping short of the event loop. argc is passed by address: the
// toolkit may take its own options out of argv.
void openViewer(int* argc, char** argv);

// The toolkit's reports as the program's own events: a button going down or
// up, a motion with a button held, a character key, another key. Buttons and
// keys the program has no use for become MouseButton::Other and Kind::Ignored.
InputEvent mouseEvent(int button, int state, int x, int y);
InputEvent motionEvent(int x, int y);
InputEvent keyEvent(unsigned char key);
InputEvent specialKeyEvent(int key);

// Opens the window and runs the toolkit's event loop until the window is
// closed or the user quits.
void runViewer(int argc, char** argv);

// Does what the controller asked: a redraw, a play timer, the end of the loop.
void act(const Requests& r);

// Writes a block of the picture's text in the toolkit's font (renderer's pen).
void drawTextBlock(const TextBlock& block, int windowHeight);

// The registered callbacks.
void onDisplay();
void onReshape(int width, int height);
void onWindowStatus(int state);
void onMouse(int button, int state, int x, int y);
void onMotion(int x, int y);
void onKeyboard(unsigned char key, int x, int y);
void onSpecialKey(int key, int x, int y);
void onPlayTick(int round);
void onClose();

// Runs the whole leak check now, while the GL driver is still loaded, where
// the build checks for leaks; the check at exit is then skipped. The toolkit's
// own clean-up, at the end of its event loop or at exit, unloads the driver and
// leaves its allocations unrecognisable.
void checkLeaksNow();
