#pragma once

// The camera: the window's fixed settings, the navigation record the mouse
// handlers share, where the eye stands over the points, and the projection a
// window of a given size gets. The matrices are kept twice: as OpenGL is given
// them, and in double precision for picking.

#include <algorithm>
#include <array>
#include <cfloat>
#include <cstdint>

#include "point.hpp"
#include "scene.hpp"

// The window's fixed settings.
inline constexpr int WindowWidth = 1024;
inline constexpr int WindowHeight = 700;
inline constexpr int WindowX = 100;
inline constexpr int WindowY = 50;
inline constexpr const char* WindowTitle = "Divavorade - prikaz zadatka";
inline constexpr double FieldOfViewY = 60.0;
inline constexpr double NearDistance = 1.0;
inline constexpr double LeastFarDistance = 1000.0;
// Side of the square drawn for every point and segment end, in pixels.
inline constexpr float MarkerSize = 4.0f;
// How far the accumulated zoom may go either way from the framing: far enough
// for any use, near enough that every matrix entry stays finite and invertible.
inline constexpr double ZoomLimit = 1e6;

// Rounds to single precision, saturating at the largest finite float: a
// double beyond float's range has no defined conversion.
inline float toFloat(double v) { return float(std::clamp(v, -double(FLT_MAX), double(FLT_MAX))); }

// Navigation state shared by the mouse handlers, and the camera framing, which
// every reshape (a resize, R, the panel coming or going) computes again.
struct ViewRecord {
    int lastMouseX = 0;
    int lastMouseY = 0;
    // Scene point on the plane z = 0 under the cursor at the last press.
    Point lastPicked{};
    bool translating = false;
    bool rotating = false;
    bool scaling = false;
    float viewCenterX = 0.0f;
    float viewCenterY = 0.0f;
    float eyeDistance = 0.0f;
    // Far clipping distance; grows with eyeDistance so the scene is never clipped.
    float farDistance = float(LeastFarDistance);
    // Zoom factor accumulated on the projection matrix since the last reshape.
    double zoom = 1.0;
    // Frames shown so far, for anyone who needs to know whether the window redraws.
    std::uint64_t framesShown = 0;
    // Device pixels to a window pixel: 1 on the desktop, the screen's own ratio
    // (2 or 3 on a phone) on the page, whose window pixels are the browser's
    // CSS pixels. Everything but the GL calls counts in window pixels.
    float deviceScale = 1.0f;
    // The presentation size for a projector: 2 draws points, lines, rings and
    // text twice as large, 1 as ever.
    int presentation = 1;
    // The platform has room for text below the picture (the page has): text
    // that a narrow window has no room for beside the picture goes there.
    bool textBelow = false;
    // The window's size in pixels, and the part of it the picture is drawn
    // in (x, y from the bottom-left corner, width, height), as the last
    // reshape left them.
    int windowWidth = WindowWidth;
    int windowHeight = WindowHeight;
    std::array<int, 4> viewport{0, 0, WindowWidth, WindowHeight};
    // The modelview and projection matrices as OpenGL is given them (column-
    // major), kept in double precision: picking reads these, not OpenGL's
    // single-precision copies, whose far plane runs off to infinity at the
    // widest framings (and which not every platform can read back).
    std::array<double, 16> modelview{};
    std::array<double, 16> projection{};
};

extern ViewRecord ViewState;

// Camera placement for a bounding box: the eye looks down -z at the view centre
// from eyeDistance above the plane z = 0.
struct Framing {
    float viewCenterX = 0.0f;
    float viewCenterY = 0.0f;
    float eyeDistance = 0.0f;
    float farDistance = float(LeastFarDistance);
};

// Places the eye over the box centre, far enough that the whole box fits a
// picture of fitWidth x fitHeight pixels with `margin` pixels to spare along
// every edge, and close enough to stay inside the far clipping plane. The
// customary distance does not depend on the size, so pictures of one shape
// and different sizes show the same, only scaled.
Framing frameBox(const BoundingBox& box, int fitWidth = WindowWidth, int fitHeight = WindowHeight,
                 double margin = MarkerSize);

// Scene units a framing shows over the picture's height, before any zoom.
double unitsAcross(const Framing& f);

// Stores the framing of box in ViewState and loads the modelview matrix with
// the matching translation (leaves the modelview matrix selected).
void frameCamera(const BoundingBox& box, int fitWidth = WindowWidth, int fitHeight = WindowHeight,
                 double margin = MarkerSize);

// The part of the window the picture is drawn in, in window pixels from the
// window's top-left corner, the rest being left to text (empty: the whole
// window), and the pixels the framing keeps free round the set in it.
struct PictureRoom {
    int left = 0, top = 0, width = 0, height = 0;
    double margin = MarkerSize;
    friend bool operator==(const PictureRoom&, const PictureRoom&) = default;
};

// Viewport and perspective for a window of width x height pixels whose
// picture is drawn in `room` (the whole window where it is empty), framed on
// the Scene as it is now; discards all navigation and leaves the projection
// matrix selected.
void reshapeView(int width, int height, PictureRoom room = {});

// Scene units a pixel covers at the framing, before any zoom: what a mark of
// a fixed size in pixels measures in the scene.
double unitsPerPixel();

// Scene units a pixel covers now, zoom included: the width of a line drawn a
// fixed number of pixels wide whatever the zoom.
double unitsPerPixelNow();

// Where the renderer and the platforms put a window pixel position or size on
// the device: times deviceScale, rounded.
int devicePixels(double windowPixels);

// The matrix operations the viewer gives OpenGL, applied to a double-precision
// copy as OpenGL applies them: m becomes m times the operation's matrix.
void loadIdentity(std::array<double, 16>& m);
void multiplyPerspective(std::array<double, 16>& m, double fovY, double aspect, double zNear, double zFar);
void multiplyTranslation(std::array<double, 16>& m, double x, double y, double z);
void multiplyRotationZ(std::array<double, 16>& m, double degrees);
void multiplyScaling(std::array<double, 16>& m, double x, double y, double z);
