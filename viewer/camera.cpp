// The camera: where the eye stands over the points, the projection a window
// of a given size gets, and the same matrices in double precision.

#include "camera.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>
#include <utility>

ViewRecord ViewState;

namespace {

// A box of no size (a single point) still has to sit clearly beyond the near plane.
constexpr double LeastEyeDistance = 10.0;

// Distance at which a box of the given half sizes, centred on the line of sight,
// fits a picture of fitWidth x fitHeight pixels with `margin` pixels to spare
// along every edge (room for whole markers, at least).
double fitDistance(double halfWidth, double halfHeight, int fitWidth, int fitHeight, double margin)
{
    const double tanHalfFov = std::tan(FieldOfViewY * 0.5 * std::numbers::pi / 180.0);
    // At distance d one scene unit covers (fitHeight / 2) / (d * tanHalfFov) pixels,
    // on both axes, because the aspect ratio follows the picture.
    const double pixelsPerUnitAtOne = fitHeight * 0.5 / tanHalfFov;
    // A picture too small for a whole marker still fits the box in one pixel.
    const double roomX = std::max(fitWidth * 0.5 - margin, 0.5);
    const double roomY = std::max(fitHeight * 0.5 - margin, 0.5);
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

Framing frameBox(const BoundingBox& box, int fitWidth, int fitHeight, double margin)
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
    distance = std::max({distance, fitDistance((maxX - minX) * 0.5, (maxY - minY) * 0.5, fitWidth, fitHeight, margin), LeastEyeDistance});
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

void frameCamera(const BoundingBox& box, int fitWidth, int fitHeight, double margin)
{
    const Framing f = frameBox(box, fitWidth, fitHeight, margin);
    ViewState.viewCenterX = f.viewCenterX;
    ViewState.viewCenterY = f.viewCenterY;
    ViewState.eyeDistance = f.eyeDistance;
    ViewState.farDistance = f.farDistance;
    // The eye stays at the origin looking down -z: moving the scene puts the
    // view centre on the line of sight, eyeDistance in front of the eye.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(-f.viewCenterX, -f.viewCenterY, -f.eyeDistance);
    loadIdentity(ViewState.modelview);
    multiplyTranslation(ViewState.modelview, -f.viewCenterX, -f.viewCenterY, -f.eyeDistance);
}

void reshapeView(int width, int height, PictureRoom room)
{
    if (height == 0) height = 1;
    ViewState.windowWidth = width;
    ViewState.windowHeight = height;
    // Text beside the picture takes part of the window: the picture is framed
    // in the rest, so that the text never covers a point.
    if (room.width <= 0 || room.height <= 0) room = {0, 0, width, height, room.margin};
    // Framed on the set as it is now: edits change the Scene's box, and only
    // here does the view follow them.
    frameCamera(Scene.box, room.width, room.height, room.margin);
    // Navigation piles up on the projection matrix, so reloading it here
    // returns the picture to the initial framing at the new aspect ratio.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewState.zoom = 1.0;
    // OpenGL counts rows from the bottom.
    ViewState.viewport = {room.left, height - room.top - room.height, room.width, room.height};
    const auto& v = ViewState.viewport;
    glViewport(devicePixels(v[0]), devicePixels(v[1]), devicePixels(v[2]), devicePixels(v[3]));
    const double aspect = double(float(double(room.width) / double(room.height)));
    gluPerspective(FieldOfViewY, aspect, NearDistance, double(ViewState.farDistance));
    loadIdentity(ViewState.projection);
    multiplyPerspective(ViewState.projection, FieldOfViewY, aspect, NearDistance, double(ViewState.farDistance));
}

// The eye sees 2 * eyeDistance * tan(fov / 2) units over the picture's height.
double unitsAcross(const Framing& f)
{
    return 2.0 * double(f.eyeDistance) * std::tan(FieldOfViewY * 0.5 * std::numbers::pi / 180.0);
}

double unitsPerPixel()
{
    return unitsAcross({ViewState.viewCenterX, ViewState.viewCenterY, ViewState.eyeDistance, ViewState.farDistance})
           / double(std::max(ViewState.viewport[3], 1));
}

// Navigation never tilts the scene plane: a zoom is the only change of scale.
double unitsPerPixelNow() { return unitsPerPixel() / ViewState.zoom; }

int devicePixels(double windowPixels) { return int(std::lround(windowPixels * double(ViewState.deviceScale))); }

void loadIdentity(std::array<double, 16>& m)
{
    m = {};
    m[0] = m[5] = m[10] = m[15] = 1.0;
}

namespace {

// m times t, both column-major.
void multiply(std::array<double, 16>& m, const std::array<double, 16>& t)
{
    std::array<double, 16> r{};
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            for (int k = 0; k < 4; ++k) r[std::size_t(c * 4 + row)] += m[std::size_t(k * 4 + row)] * t[std::size_t(c * 4 + k)];
    m = r;
}

} // namespace

// The matrix gluPerspective builds.
void multiplyPerspective(std::array<double, 16>& m, double fovY, double aspect, double zNear, double zFar)
{
    const double f = 1.0 / std::tan(fovY * 0.5 * std::numbers::pi / 180.0);
    std::array<double, 16> t{};
    t[0] = f / aspect;
    t[5] = f;
    t[10] = (zFar + zNear) / (zNear - zFar);
    t[11] = -1.0;
    t[14] = 2.0 * zFar * zNear / (zNear - zFar);
    multiply(m, t);
}

void multiplyTranslation(std::array<double, 16>& m, double x, double y, double z)
{
    std::array<double, 16> t{};
    loadIdentity(t);
    t[12] = x;
    t[13] = y;
    t[14] = z;
    multiply(m, t);
}

// A turn about the z axis, counter-clockwise for positive degrees, as glRotatef
// makes it for the axis (0, 0, 1).
void multiplyRotationZ(std::array<double, 16>& m, double degrees)
{
    const double a = degrees * std::numbers::pi / 180.0;
    std::array<double, 16> t{};
    loadIdentity(t);
    t[0] = t[5] = std::cos(a);
    t[1] = std::sin(a);
    t[4] = -t[1];
    multiply(m, t);
}

void multiplyScaling(std::array<double, 16>& m, double x, double y, double z)
{
    std::array<double, 16> t{};
    t[0] = x;
    t[5] = y;
    t[10] = z;
    t[15] = 1.0;
    multiply(m, t);
}
