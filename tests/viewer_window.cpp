// The test window: the program's own window on the X display, and helpers
// that read back what it shows.

#include "viewer_window.hpp"

#include <GL/freeglut.h>

#include <cmath>
#include <cstdlib>

#include "controller.hpp"
#include "hull.hpp"
#include "render.hpp"
#include "session.hpp"

#if defined(__SANITIZE_ADDRESS__)
// The leak check reads the blocks of dynamic thread-local storage that it saw
// handed out; after the GL driver's libraries are loaded, this toolchain's
// sanitizer records one that points nowhere and crashes in the middle of the
// check (whether it does depends on nothing but where the libraries land in
// memory). Not watching them hand out leaves those blocks unread, and the
// thread's own storage is read as ever.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
#endif

namespace {

std::array<GLint, 4> viewport()
{
    std::array<GLint, 4> v{};
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

} // namespace

void openTestWindow()
{
    static bool opened = false;
    // A test that ran the event loop to its end has closed the toolkit.
    if (!opened || !glutGet(GLUT_INIT_STATE)) {
        static char name[] = "viewer_test";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        openViewer(&argc, argv);
        // The leak check normally runs after the libraries' own clean-up has
        // unloaded the GL driver, and then the driver's allocations can no longer
        // be told apart from ours. Checking first keeps them recognisable.
        if (!opened) std::atexit(checkLeaksNow);
        opened = true;
    }
    ViewState.translating = ViewState.rotating = ViewState.scaling = false;
    showScene(SceneStore{});
}

void showScene(const SceneStore& scene)
{
    Scene = scene;
    frameCamera(Scene.box);
    onReshape(WindowWidth, WindowHeight);
}

void showSet(const std::vector<Point>& set)
{
    openTestWindow();
    const HullResult result = timeHull(set.data(), std::int32_t(set.size()));
    takeRun({}, set, result, {HullBuffer.data(), std::size_t(result.count)});
    startSession(WindowWidth, WindowHeight);
    onReshape(WindowWidth, WindowHeight);
}

void drawFrame() { drawPicture(framePicture(), drawTextBlock); }

std::vector<std::string> shownText()
{
    std::vector<std::string> lines;
    for (const TextBlock& b : framePicture().text) lines.insert(lines.end(), b.lines.begin(), b.lines.end());
    return lines;
}

WindowPoint drawnAt(double x, double y, double z)
{
    GLdouble modelview[16];
    GLdouble projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    const auto v = viewport();
    WindowPoint w{};
    gluProject(x, y, z, modelview, projection, v.data(), &w.x, &w.y, &w.depth);
    return w;
}

Rgb8 Frame::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
    const std::size_t i = 3 * (std::size_t(y) * std::size_t(width) + std::size_t(x));
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

bool Frame::hasNear(double x, double y, Rgb8 colour, int radius) const
{
    const int cx = int(std::floor(x));
    const int cy = int(std::floor(y));
    for (int j = cy - radius; j <= cy + radius; ++j)
        for (int i = cx - radius; i <= cx + radius; ++i)
            if (at(i, j) == colour) return true;
    return false;
}

Frame drawAndRead()
{
    drawFrame();
    // The whole window, which the picture's viewport may leave room in.
    Frame f;
    f.width = glutGet(GLUT_WINDOW_WIDTH);
    f.height = glutGet(GLUT_WINDOW_HEIGHT);
    f.rgb.resize(3 * std::size_t(f.width) * std::size_t(f.height));
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, f.width, f.height, GL_RGB, GL_UNSIGNED_BYTE, f.rgb.data());
    return f;
}

std::array<double, 16> projectionMatrix()
{
    std::array<double, 16> m{};
    glGetDoublev(GL_PROJECTION_MATRIX, m.data());
    return m;
}

// The window's rows, not the viewport's: the picture may leave room for text.
int toolkitY(double y) { return ViewState.windowHeight - 1 - int(std::lround(y)); }
