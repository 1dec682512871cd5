// The desktop platform: the one file that knows the toolkit. It opens the
// window, registers every callback, turns the toolkit's buttons, keys and
// states into the program's own events, and provides what the window's logic
// asks of a platform (redraws, the play timer, quitting, text).

#include "glut_window.hpp"

#include <GL/freeglut.h>

#include <string>

#include "palette.hpp"
#include "platform.hpp"
#include "session.hpp"
#include "viewer.hpp"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// Text: the toolkit's 12-point Helvetica.
void* const Font = GLUT_BITMAP_HELVETICA_12;

MouseButton buttonOf(int button)
{
    switch (button) {
    case GLUT_LEFT_BUTTON: return MouseButton::Left;
    case GLUT_MIDDLE_BUTTON: return MouseButton::Middle;
    case GLUT_RIGHT_BUTTON: return MouseButton::Right;
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
    openOnFinishedHull();
}

void runViewer(int argc, char** argv)
{
    openViewer(&argc, argv);
    glutMainLoop();
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
    drawFrame();
    glutSwapBuffers();
    ++ViewState.framesShown;
}

void onReshape(int width, int height) { reshapeView(width, height); }

void onWindowStatus(int state)
{
    // Frames for a window nobody sees only burn a core.
    const bool seen = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
    glutIdleFunc(seen ? onDisplay : nullptr);
}

void onMouse(int button, int state, int x, int y) { handleInput(mouseEvent(button, state, x, y)); }
void onMotion(int x, int y) { handleInput(motionEvent(x, y)); }
void onKeyboard(unsigned char key, int, int) { handleInput(keyEvent(key)); }
void onSpecialKey(int key, int, int) { handleInput(specialKeyEvent(key)); }
void onPlayTick(int round) { advancePlay(round); }

void checkLeaksNow()
{
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}

// A program that ends normally after its window closes must not fail the
// sanitizer build over allocations the GL driver keeps to the end.
void onClose() { checkLeaksNow(); }

void requestRedraw() { glutPostRedisplay(); }
void startPlayTimer(int millis, int round) { glutTimerFunc(unsigned(millis), onPlayTick, round); }
void closeViewer() { glutLeaveMainLoop(); }
WindowSize windowSize() { return {glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT)}; }

void drawText(int x, int y, std::string_view line)
{
    glRasterPos2i(x, y);
    for (const char c : line) glutBitmapCharacter(Font, static_cast<unsigned char>(c));
}
