// Mouse navigation: pan, rotation and zoom, each multiplied onto the
// projection matrix and onto its double-precision copy alike.

#include "navigation.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

#include "camera.hpp"
#include "picking.hpp"

namespace {

// Window distance in pixels for a zoom by the factor e.
constexpr double ZoomPixelsPerE = 2100.0;
// A notch of the wheel zooms as a middle drag of this many pixels does.
constexpr double WheelNotchPixels = 100.0;

// Zooms by the factor e^(-dy / ZoomPixelsPerE), as a middle drag by dy pixels
// does: upward drags (dy < 0) enlarge. The accumulated zoom stops at its
// limits, so a drag back as long as the one that reached a limit always returns.
void zoomBy(double dy)
{
    const double zoom = std::clamp(ViewState.zoom * std::exp(-dy / ZoomPixelsPerE), 1.0 / ZoomLimit, ZoomLimit);
    const float s = float(zoom / ViewState.zoom);
    ViewState.zoom = zoom;
    glScalef(s, s, 1.0f);
    multiplyScaling(ViewState.projection, s, s, 1.0);
}

enum class Mode { None, Pan, Rotate, Zoom };

// The middle button zooms whatever else is held, and so do left and right together.
Mode modeOf(const ViewRecord& v)
{
    if (v.scaling || (v.translating && v.rotating)) return Mode::Zoom;
    if (v.translating) return Mode::Pan;
    if (v.rotating) return Mode::Rotate;
    return Mode::None;
}

// Degrees to turn for a drag of (dx, dy): the drag length over the window
// width times 180; a drag to the right turns the picture clockwise. The squares
// are summed in double precision, exactly for any drag a screen allows.
float rotationAngle(std::int64_t dx, std::int64_t dy, int viewportWidth)
{
    const float length = float(std::sqrt(double(dx) * double(dx) + double(dy) * double(dy)));
    const float angle = float(double(length) / (double(viewportWidth) + 1.0) * 180.0);
    return dx > 0 ? -angle : angle;
}

} // namespace

bool navigationRelease()
{
    const bool was = navigating();
    ViewState.translating = ViewState.rotating = ViewState.scaling = false;
    return was;
}

void navigationTake(int x, int y)
{
    ViewState.lastMouseX = x;
    ViewState.lastMouseY = y;
    if (const auto p = pickScenePlane(x, y)) ViewState.lastPicked = {toFloat(p->x), toFloat(p->y), 0.0f, 9};
}

void navigationBegin(MouseButton button)
{
    if (button == MouseButton::Left) ViewState.translating = true;
    if (button == MouseButton::Middle) ViewState.scaling = true;
    if (button == MouseButton::Right) ViewState.rotating = true;
}

bool navigationPress(MouseButton button, int x, int y)
{
    navigationTake(x, y);
    navigationBegin(button);
    // The wheel away from the user enlarges, as an upward drag does.
    if (button == MouseButton::WheelUp) zoomBy(-WheelNotchPixels);
    if (button == MouseButton::WheelDown) zoomBy(WheelNotchPixels);
    return button == MouseButton::WheelUp || button == MouseButton::WheelDown;
}

bool navigating() { return ViewState.translating || ViewState.rotating || ViewState.scaling; }

// A zoom and a turn about the view centre, as the middle and the right drag
// make them, then the pan that brings the point grabbed back under the
// fingers, as the left drag makes it.
bool navigationPinch(int fromX, int fromY, int x, int y, double scale, double turn)
{
    const auto grabbed = pickScenePlane(fromX, fromY);
    if (!grabbed || !(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(turn)) return false;
    zoomBy(-std::log(scale) * ZoomPixelsPerE);
    // Clockwise on the screen is clockwise in the picture: negative degrees.
    const float angle = float(-turn);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    multiplyRotationZ(ViewState.projection, angle);
    const auto now = pickScenePlane(x, y);
    if (now) {
        const float tx = toFloat(now->x - grabbed->x), ty = toFloat(now->y - grabbed->y);
        glTranslatef(tx, ty, 0.0f);
        multiplyTranslation(ViewState.projection, tx, ty, 0.0);
    }
    return true;
}

// Navigation multiplies onto the projection matrix after the perspective, so
// it acts on the coordinates the modelview matrix produces. There the view
// centre lies on the z axis at -eyeDistance: a turn about that axis and a
// scaling of x and y alone keep the view centre where it is drawn and every
// point at its depth, so the scene never leaves the clipping range.
bool navigationDrag(int x, int y)
{
    // 64 bits: the difference of two far-apart int positions exceeds 32 bits.
    const std::int64_t dx = std::int64_t(x) - ViewState.lastMouseX;
    const std::int64_t dy = std::int64_t(y) - ViewState.lastMouseY;
    if (dx == 0 && dy == 0) return false;
    const Mode mode = modeOf(ViewState);
    if (mode == Mode::None) return false;
    switch (mode) {
    case Mode::Pan: {
        // Moves the scene so that the point grabbed at the press lies under
        // the cursor again. Measured from the press, so returning there undoes it.
        const auto p = pickScenePlane(x, y);
        if (!p) return false;
        const float tx = toFloat(p->x - double(ViewState.lastPicked.x));
        const float ty = toFloat(p->y - double(ViewState.lastPicked.y));
        glTranslatef(tx, ty, 0.0f);
        multiplyTranslation(ViewState.projection, tx, ty, 0.0);
        break;
    }
    case Mode::Rotate:
    {
        const float angle = rotationAngle(dx, dy, ViewState.viewport[2]);
        glRotatef(angle, 0.0f, 0.0f, 1.0f);
        multiplyRotationZ(ViewState.projection, angle);
    }
        break;
    case Mode::Zoom:
        zoomBy(double(dy));
        break;
    case Mode::None:
        return false;
    }
    ViewState.lastMouseX = x;
    ViewState.lastMouseY = y;
    return true;
}
