#pragma once

// The real viewer window for the tests: opened once per test process on the
// X display, with helpers that draw a scene and read back what it shows.

#include <array>
#include <string>
#include <vector>

#include "camera.hpp"
#include "glut_window.hpp"

struct Rgb8 {
    int r, g, b;
    friend bool operator==(const Rgb8&, const Rgb8&) = default;
};

inline constexpr Rgb8 Background{230, 230, 204};
inline constexpr Rgb8 Red{255, 0, 0};
inline constexpr Rgb8 Green{0, 255, 0};
inline constexpr Rgb8 Blue{0, 0, 255};
inline constexpr Rgb8 Magenta{255, 0, 255};
inline constexpr Rgb8 Orange{255, 128, 0};
inline constexpr Rgb8 White{255, 255, 255};
inline constexpr Rgb8 Black{0, 0, 0};
inline constexpr Rgb8 Rim{102, 102, 102};
inline constexpr Rgb8 Purple{128, 0, 128};

// Window coordinates as OpenGL counts them: x from the left, y from the bottom.
struct WindowPoint {
    double x, y, depth;
};

// Opens the window on first use; every test starts from an empty scene, no
// navigation mode and the window's own size.
void openTestWindow();

// Makes `scene` the Scene, frames the camera on it and reshapes to the window
// size, as the program does when the window opens.
void showScene(const SceneStore& scene);

// Opens the window on a set of points as a run hands it over (hull, Scene and
// steps computed from the set), framed on it with no navigation, as a window
// opens on it.
void showSet(const std::vector<Point>& set);

// Draws what the window shows into the back buffer, as a frame does.
void drawFrame();

// Every line of text the window shows now, block after block.
std::vector<std::string> shownText();

// Where the scene point (x, y, z) is drawn through the current matrices.
WindowPoint drawnAt(double x, double y, double z = 0.0);

// Draws a frame and reads back the whole back buffer.
struct Frame {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    Rgb8 at(int x, int y) const;
    // True when some pixel within `radius` of (x, y) has the colour.
    bool hasNear(double x, double y, Rgb8 colour, int radius = 1) const;
    bool operator==(const Frame& other) const = default;
};
Frame drawAndRead();

// The current projection matrix, as OpenGL keeps it.
std::array<double, 16> projectionMatrix();

// The toolkit's y (from the top) of a window y counted from the bottom.
int toolkitY(double y);
