// Picking: the camera's matrices carried to window pixels and back, for the
// point under the cursor and the scene point under it, and the click rule.

#include "picking.hpp"

#include <GL/glu.h>

#include <cmath>

#include "camera.hpp"

WindowMap currentWindowMap()
{
    const std::array<double, 16>& modelview = ViewState.modelview;
    const std::array<double, 16>& projection = ViewState.projection;
    WindowMap map;
    map.viewport = ViewState.viewport;
    map.windowHeight = ViewState.windowHeight;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) sum += projection[std::size_t(k * 4 + r)] * modelview[std::size_t(c * 4 + k)];
            map.matrix[std::size_t(c * 4 + r)] = sum;
        }
    return map;
}

// Each point is carried to window pixels as gluProject carries it (through
// the matrix, divided by w, onto the viewport); the cursor's row counts from
// the top, the window's from the bottom.
std::int32_t pointNear(std::span<const Point> points, const WindowMap& map, int x, int y)
{
    const auto& m = map.matrix;
    const auto& v = map.viewport;
    const double cursorX = x, cursorY = double(map.windowHeight) - double(y) - 1.0;
    double best = GrabPixels * GrabPixels;
    std::int32_t nearest = -1;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double px = points[i].x, py = points[i].y, pz = points[i].z;
        const double w = m[3] * px + m[7] * py + m[11] * pz + m[15];
        if (!(w > 0.0)) continue; // behind the eye, or no number
        const double wx = v[0] + v[2] * ((m[0] * px + m[4] * py + m[8] * pz + m[12]) / w + 1.0) / 2.0;
        const double wy = v[1] + v[3] * ((m[1] * px + m[5] * py + m[9] * pz + m[13]) / w + 1.0) / 2.0;
        const double d = (wx - cursorX) * (wx - cursorX) + (wy - cursorY) * (wy - cursorY);
        if (d <= best) {
            best = d;
            nearest = std::int32_t(i);
        }
    }
    return nearest;
}

// The ray through the pixel runs from the near to the far plane; navigation
// never tilts the scene plane, so the ray always meets it.
std::optional<ScenePoint> pickScenePlane(int x, int y)
{
    const double* modelview = ViewState.modelview.data();
    const double* projection = ViewState.projection.data();
    const GLint viewport[4] = {ViewState.viewport[0], ViewState.viewport[1], ViewState.viewport[2],
                               ViewState.viewport[3]};
    // The window's rows count from the top, OpenGL's from the bottom.
    const double winX = x;
    const double winY = double(ViewState.windowHeight) - double(y) - 1.0;
    double nx, ny, nz, fx, fy, fz;
    if (!gluUnProject(winX, winY, 0.0, modelview, projection, viewport, &nx, &ny, &nz) ||
        !gluUnProject(winX, winY, 1.0, modelview, projection, viewport, &fx, &fy, &fz))
        return std::nullopt;
    const double t = nz / (nz - fz);
    if (!std::isfinite(t)) return std::nullopt;
    return ScenePoint{nx + t * (fx - nx), ny + t * (fy - ny)};
}

PointerGesture pressGesture(MouseButton button, int x, int y, std::span<const Point> points)
{
    PointerGesture g;
    g.button = button;
    g.down = true;
    g.pressX = x;
    g.pressY = y;
    g.point = pointNear(points, currentWindowMap(), x, y);
    if (g.point >= 0) g.grabbed = points[std::size_t(g.point)];
    g.picked = pickScenePlane(x, y);
    return g;
}

bool becomesDrag(PointerGesture& g, int x, int y)
{
    if (!g.down || g.dragging) return false;
    const double dx = double(x) - g.pressX, dy = double(y) - g.pressY;
    if (dx * dx + dy * dy <= ClickPixels * ClickPixels) return false;
    g.dragging = true;
    return true;
}
