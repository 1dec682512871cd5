#include <GL/freeglut.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <utility>

#include "edit.hpp"
#include "step_view.hpp"
#include "viewer.hpp"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// A box of no size (a single point) still has to sit clearly beyond the near plane.
constexpr double LeastEyeDistance = 10.0;

// Distance at which a box of the given half sizes, centred on the line of sight,
// fits the initial window with room for whole markers along every edge.
double fitDistance(double halfWidth, double halfHeight)
{
    const double tanHalfFov = std::tan(FieldOfViewY * 0.5 * std::numbers::pi / 180.0);
    // At distance d one scene unit covers (WindowHeight / 2) / (d * tanHalfFov) pixels,
    // on both axes, because the aspect ratio follows the window.
    const double pixelsPerUnitAtOne = WindowHeight * 0.5 / tanHalfFov;
    const double roomX = WindowWidth * 0.5 - MarkerSize;
    const double roomY = WindowHeight * 0.5 - MarkerSize;
    return std::max(halfWidth * pixelsPerUnitAtOne / roomX, halfHeight * pixelsPerUnitAtOne / roomY);
}

// The bounds of one axis of the box; an axis nothing has widened (or only
// something infinite) is framed as the single coordinate 0, so no infinity
// reaches the matrices.
std::pair<double, double> axisBounds(float min, float max)
{
    if (!(min <= max) || !std::isfinite(min) || !std::isfinite(max)) return {0.0, 0.0};
    return {min, max};
}

} // namespace

Framing frameBox(const BoundingBox& box)
{
    const auto [minX, maxX] = axisBounds(box.min.x, box.max.x);
    const auto [minY, maxY] = axisBounds(box.min.y, box.max.y);

    // The customary distance: the largest coordinate plus the size of the
    // smallest, across x, or across y for a box five or more times taller than wide.
    const double spanX = maxX + std::abs(minX);
    const double spanY = maxY + std::abs(minY);
    double distance = 5.0 * spanX > spanY ? spanX : spanY;

    // It is kept where it shows the whole box, and raised just enough where it
    // would not (tall narrow boxes, boxes of no size).
    distance = std::max({distance, fitDistance((maxX - minX) * 0.5, (maxY - minY) * 0.5), LeastEyeDistance});
    // Keeps the far distance below (twice this) representable in single precision.
    distance = std::min(distance, double(FLT_MAX) * 0.25);

    Framing f;
    f.viewCenterX = float((maxX + minX) * 0.5);
    f.viewCenterY = float((maxY + minY) * 0.5);
    f.eyeDistance = float(distance);
    // The scene plane lies halfway to the far plane, so it never reaches it.
    f.farDistance = float(std::max(LeastFarDistance, 2.0 * distance));
    return f;
}

void frameCamera(const BoundingBox& box)
{
    const Framing f = frameBox(box);
    ViewState.viewCenterX = f.viewCenterX;
    ViewState.viewCenterY = f.viewCenterY;
    ViewState.eyeDistance = f.eyeDistance;
    ViewState.farDistance = f.farDistance;
    // The eye stays at the origin looking down -z: moving the scene puts the
    // view centre on the line of sight, eyeDistance in front of the eye.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-f.viewCenterX, -f.viewCenterY, -f.eyeDistance);
}

void openViewer(int* argc, char** argv)
{
    glutInit(argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(WindowWidth, WindowHeight);
    glutInitWindowPosition(WindowX, WindowY);
    glutCreateWindow(WindowTitle);
    glClearColor(0.9f, 0.9f, 0.8f, 0.0f);
    frameCamera(Scene.box);
    glutDisplayFunc(onDisplay);
    // Redrawing whenever no event waits keeps the picture continuously fresh.
    glutIdleFunc(onDisplay);
    glutMouseFunc(onEditMouse);
    glutMotionFunc(onEditMotion);
    glutReshapeFunc(onReshape);
    glutWindowStatusFunc(onWindowStatus);
    glutKeyboardFunc(onKeyboard);
    glutSpecialFunc(onSpecialKey);
    glutCloseFunc(onClose);
    // Quitting, or closing the window, ends the event loop and returns to
    // main, which ends the program normally.
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    // The window opens on the finished hull, with no text.
    StepView.state = {};
    StepView.state.step = stepCount(StepView.trace);
    startEditing();
}

void runViewer(int argc, char** argv)
{
    openViewer(&argc, argv);
    glutMainLoop();
}

void onReshape(int width, int height)
{
    if (height == 0) height = 1;
    // Framed on the set as it is now: edits change the Scene's box, and only
    // here does the view follow them. The ring round a step's new vertex is
    // sized by the framing, so the step's picture is drawn anew.
    frameCamera(Scene.box);
    StepView.shownStep = -1;
    // Navigation piles up on the projection matrix, so reloading it here
    // returns the picture to the initial framing at the new aspect ratio.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewState.zoom = 1.0;
    glViewport(0, 0, width, height);
    gluPerspective(FieldOfViewY, double(float(double(width) / double(height))), NearDistance,
                   double(ViewState.farDistance));
}

void onWindowStatus(int state)
{
    // Frames for a window nobody sees only burn a core.
    const bool seen = state != GLUT_HIDDEN && state != GLUT_FULLY_COVERED;
    glutIdleFunc(seen ? onDisplay : nullptr);
}

void checkLeaksNow()
{
#if defined(__SANITIZE_ADDRESS__)
    __lsan_do_leak_check();
#endif
}

// A program that ends normally after its window closes must not fail the
// sanitizer build over allocations the GL driver keeps to the end.
void onClose() { checkLeaksNow(); }
