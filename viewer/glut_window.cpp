// The desktop platform: the one file that knows the toolkit. It opens the
// window, registers every callback, turns the toolkit's buttons, keys and
// states into the program's own events for the controller, and does what
// the controller asks back (redraws, the play timer, quitting); it writes the
// picture's text in the toolkit's bitmap font.

#include "glut_window.hpp"

#include <GL/freeglut.h>

#include <algorithm>
#include <string>
#include <vector>

#include "camera.hpp"
#include "controller.hpp"
#include "palette.hpp"
#include "render.hpp"
#include "session.hpp"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Text: the toolkit's 12-point Helvetica; at the presentation size its
// 24-point Times, the one twice as large.
void* font() { return ViewState.presentation > 1 ? GLUT_BITMAP_TIMES_ROMAN_24 : GLUT_BITMAP_HELVETICA_12; }

MouseButton buttonOf(int button)
{
    switch (button) {
    case GLUT_LEFT_BUTTON: return MouseButton::Left;
    case GLUT_MIDDLE_BUTTON: return MouseButton::Middle;
    case GLUT_RIGHT_BUTTON: return MouseButton::Right;
    // The wheel comes as presses and releases of the next two buttons.
    case 3: return MouseButton::WheelUp;
    case 4: return MouseButton::WheelDown;
    default: return MouseButton::Other;
    }
}

} // namespace

void openViewer(int* argc, char** argv)
{
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WindowWidth, WindowHeight);
    glutInitWindowPosition(WindowX, WindowY);
    glutCreateWindow(WindowTitle);
    glClearColor(BackgroundColor.r, BackgroundColor.g, BackgroundColor.b, 0.0f);
    frameCamera(Scene.box);
    glutDisplayFunc(onDisplay);
    // Redrawing whenever no event waits keeps the picture continuously fresh.
    glutIdleFunc(onDisplay);
    glutMouseFunc(onMouse);
    glutMotionFunc(onMotion);
    glutReshapeFunc(onReshape);
    glutWindowStatusFunc(onWindowStatus);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutCloseFunc(onClose);
    // Quitting, or closing the window, ends the event loop and returns to
    // main, which ends the program normally.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    act(startSession(WindowWidth, WindowHeight));
}

void runViewer(int argc, char** argv)
{
    openViewer(&argc, argv);
    glutMainLoop();
}

void showRun(const RunSource& source, std::span<const Point> points, const HullResult& result,
             std::span<const Point> found, int argc, char** argv)
{
    takeRun(source, points, result, found);
    runViewer(argc, argv);
}

void act(const Requests& r)
{
    if (r.redraw) glutPostRedisplay();
    if (r.playAfter >= 0) glutTimerFunc(unsigned(r.playAfter), onPlayTick, r.playRound);
    if (r.quit) glutLeaveMainLoop();
}

InputEvent mouseEvent(int button, int state, int x, int y)
{
    InputEvent e;
    e.kind = state == GLUT_DOWN ? InputEvent::Kind::Press : InputEvent::Kind::Release;
    e.button = buttonOf(button);
    e.x = x;
    e.y = y;
    return e;
}

InputEvent motionEvent(int x, int y)
{
    InputEvent e;
    e.kind = InputEvent::Kind::Motion;
    e.x = x;
    e.y = y;
    return e;
}

InputEvent keyEvent(unsigned char key)
{
    InputEvent e;
    e.kind = InputEvent::Kind::Key;
    e.key = key;
    return e;
}

InputEvent specialKeyEvent(int key)
{
    InputEvent e;
    e.kind = InputEvent::Kind::Key;
    switch (key) {
    case GLUT_KEY_RIGHT: e.key = KeyRight; break;
    case GLUT_KEY_LEFT: e.key = KeyLeft; break;
    case GLUT_KEY_HOME: e.key = KeyHome; break;
    case GLUT_KEY_END: e.key = KeyEnd; break;
    case GLUT_KEY_F1: e.key = KeyF1; break;
    default: e.kind = InputEvent::Kind::Ignored; break;
    }
    return e;
}

void onDisplay()
{
    drawPicture(framePicture(), drawTextBlock);
    glutSwapBuffers();
    ++ViewState.framesShown;
}

void onReshape(int width, int height) { act(reshapeWindow(width, height)); }

void onWindowStatus(int state)
{
    // Frames for a window nobody sees only burn a core.
    const bool seen = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
    glutIdleFunc(seen ? onDisplay : nullptr);
}

void onMouse(int button, int state, int x, int y) { act(handleInput(mouseEvent(button, state, x, y))); }
void onMotion(int x, int y) { act(handleInput(motionEvent(x, y))); }
void onKeyboard(unsigned char key, int, int) { act(handleInput(keyEvent(key))); }
void onSpecialKey(int key, int, int) { act(handleInput(specialKeyEvent(key))); }
void onPlayTick(int round) { act(advancePlay(round)); }

void checkLeaksNow()
{
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}

// A program that ends normally after its window closes must not fail the
// sanitizer build over allocations the GL driver keeps to the end.
void onClose() { checkLeaksNow(); }

// A block of text on a band of the background colour that is opaque enough to
// read the text on and lets the picture show faintly through. The band reaches
// Pad pixels past the text on every side; the text's baseline lies
// BaselineRise pixels above the bottom of its line (both at the usual size).
// Lines longer than the block's wrap go on, indented, on the next.
void drawTextBlock(const TextBlock& block, int windowHeight)
{
    constexpr int Pad = 3, BaselineRise = 4;
    constexpr float BandOpacity = 0.75f;
    static std::vector<std::string> lines;
    lines.clear();
    for (const std::string& line : block.lines) {
        if (block.wrap > 0) wrapLine(line, block.wrap, lines);
        else lines.push_back(line);
    }
    if (lines.empty()) return;
    const int scale = ViewState.presentation, height = TextLineHeight * scale;
    int width = 0;
    for (const std::string& line : lines)
        width = std::max(width, glutBitmapLength(font(), reinterpret_cast<const unsigned char*>(line.c_str())));
    const int left = block.left;
    const int topY = windowHeight - block.top;
    const int bottomY = topY - height * int(lines.size());

    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(BackgroundColor.r, BackgroundColor.g, BackgroundColor.b, BandOpacity);
    glRecti(left - Pad * scale, bottomY - Pad * scale, left + width + Pad * scale, topY + Pad * scale);
    glPopAttrib();

    for (std::size_t i = 0; i < lines.size(); ++i) {
        glRasterPos2i(left, topY - height * int(i + 1) + BaselineRise * scale);
        for (const char c : lines[i]) glutBitmapCharacter(font(), static_cast<unsigned char>(c));
    }
}
