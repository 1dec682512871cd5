#pragma once

// Picking: where the scene is drawn in the window, the point drawn nearest the
// cursor, the scene point under the cursor, and the rule that tells a click
// from a drag. Edit mode and guess mode take their clicks through it.

#include <array>
#include <cstdint>
#include <optional>
#include <span>

#include "input.hpp"
#include "point.hpp"

// A press within GrabPixels of a point takes that point; a press and a release
// within ClickPixels of each other make a click, anything longer a drag.
inline constexpr double GrabPixels = 8.0;
inline constexpr double ClickPixels = 3.0;

// Where the scene plane is drawn: projection times modelview (column-major,
// as OpenGL keeps them), the viewport and the window's height, whose rows
// the cursor counts from the top.
struct WindowMap {
    std::array<double, 16> matrix{};
    std::array<int, 4> viewport{};
    int windowHeight = 0;
};

// The map the camera's matrices and viewport give as they stand.
WindowMap currentWindowMap();

// The point drawn nearest to window pixel (x, y), counted from the top-left
// corner, if it is within GrabPixels; the later of equals (it is drawn on
// top); -1 for none.
std::int32_t pointNear(std::span<const Point> points, const WindowMap& map, int x, int y);

// A point of the scene plane z = 0, in double precision.
struct ScenePoint {
    double x, y;
};

// The scene point on the plane z = 0 under window pixel (x, y), through the
// camera's matrices and viewport as they stand; none where the ray through
// the pixel runs off beyond every number.
std::optional<ScenePoint> pickScenePlane(int x, int y);

// One press of a mode that takes clicks, up to its release.
struct PointerGesture {
    MouseButton button = MouseButton::Other;
    bool down = false;       // a gesture is under way
    int pressX = 0, pressY = 0;
    std::int32_t point = -1; // the point drawn within GrabPixels of the press, -1 for none
    Point grabbed{};         // where that point was at the press
    std::optional<ScenePoint> picked; // the scene point under the press
    bool dragging = false;   // the cursor has left the click radius: no click any more
};

// Starts a gesture at a press of button at (x, y) over points.
PointerGesture pressGesture(MouseButton button, int x, int y, std::span<const Point> points);

// The cursor moved to (x, y) with the gesture's button held: true the first
// time it leaves the click radius, when the gesture becomes a drag for good.
bool becomesDrag(PointerGesture& g, int x, int y);
