// The program as a person uses it: on a private virtual display, type a count,
// look at the window, drag with the real mouse, resize the window.

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "hull_reference.hpp"
#include "points_file.hpp"
#include "svg_groups.hpp"
#include "camera.hpp"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto Patience = std::chrono::seconds(15);
// Every run draws the same 60 points: ten hull vertices whose edges are all at
// least 130 pixels long on screen, so no two vertex markers cover the outline
// between them, and enough of them stay in view after each test's pan.
constexpr int PointCount = 60;
constexpr const char* Seed = "324";
// Shortest hull edge, in pixels, that still shows red between its end markers.
constexpr double ShortestEdge = 12.0;

// A child process that is ended when this goes out of scope.
class Child {
public:
    Child() = default;
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { stop(); }

    // Runs argv with the given descriptors as its standard input and output,
    // in the directory dir where one is given.
    void start(std::vector<std::string> argv, int in, int out, const std::string& display = {},
               const std::string& dir = {})
    {
        pid_ = fork();
        if (pid_ == 0) {
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
            if (in >= 0) dup2(in, STDIN_FILENO);
            if (out >= 0) dup2(out, STDOUT_FILENO);
            if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
            std::vector<char*> args;
            for (std::string& a : argv) args.push_back(a.data());
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
    }
    bool running()
    {
        if (pid_ <= 0) return false;
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == 0) return true;
        status_ = status;
        pid_ = -1;
        return false;
    }
    // The wait status of a process that ended by itself within `patience`.
    std::optional<int> ended(Clock::duration patience)
    {
        const auto deadline = Clock::now() + patience;
        while (running() && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return running() ? std::nullopt : status_;
    }
    // Asks the process to end, and makes it end if it does not within a few seconds.
    void stop()
    {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        int status = 0;
        while (waitpid(pid_, &status, WNOHANG) == 0) {
            if (Clock::now() > deadline) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
constexpr Rgb Background{230, 230, 204};
constexpr Rgb Red{255, 0, 0};
constexpr Rgb Blue{0, 0, 255};
constexpr Rgb Black{0, 0, 0};

// A screenshot of the window; x from the left, y from the top.
struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    Rgb at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height) return {-1, -1, -1};
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
    bool operator==(const Shot&) const = default;
};

struct Vec {
    double x, y;
};

// Where the scene is drawn, in OpenGL window coordinates (y up): the view centre
// lands at `origin`, and the scene is scaled and turned about it.
struct Placement {
    Vec centre;    // the view centre in scene units
    Vec origin;    // where it is drawn
    double scale;  // pixels per scene unit
    double angle;  // radians, counter-clockwise
    Vec drawn(Vec p) const
    {
        const double x = p.x - centre.x, y = p.y - centre.y;
        return {origin.x + scale * (std::cos(angle) * x - std::sin(angle) * y),
                origin.y + scale * (std::sin(angle) * x + std::cos(angle) * y)};
    }
};

// What the program printed: the input points and the hull vertices.
struct Printed {
    std::vector<Vec> points, hull;
};

Printed parseDialogue(const std::string& path)
{
    Printed p;
    std::ifstream in(path);
    std::string line;
    bool hull = false;
    while (std::getline(in, line)) {
        if (line.find("omotaca") != std::string::npos) hull = true;
        double x = 0, y = 0;
        if (std::sscanf(line.c_str(), " <%lf,%lf>", &x, &y) == 2) (hull ? p.hull : p.points).push_back({x, y});
    }
    return p;
}

class Person : public testing::Test {
protected:
    void SetUp() override
    {
        startDisplay();
        ASSERT_NE(display_, nullptr) << "no virtual display";
        startProgram();
        ASSERT_TRUE(findWindow()) << "no window titled \"" << WindowTitle << "\"";
        dialogue_ = parseDialogue(outputPath_);
        ASSERT_EQ(int(dialogue_.points.size()), PointCount);
        ASSERT_GE(dialogue_.hull.size(), 3u);
        Scene = {};
        for (const Vec& v : dialogue_.points) addPoint({float(v.x), float(v.y)}, 2);
        framing_ = frameBox(Scene.box);
        placement_ = initialPlacement(WindowWidth, WindowHeight);
        const std::vector<Vec> outline = outlineOf(dialogue_.hull);
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Vec a = outline[i], b = outline[(i + 1) % outline.size()];
            ASSERT_GE(placement_.scale * std::hypot(b.x - a.x, b.y - a.y), ShortestEdge)
                << "the points of seed " << Seed << " do not suit these tests: choose another";
        }
    }

    void TearDown() override
    {
        if (!endsByItself_) {
            EXPECT_TRUE(program_.running()) << "the program ended by itself";
        }
        program_.stop();
        if (display_) XCloseDisplay(display_);
        xvfb_.stop();
        if (!outputPath_.empty()) std::remove(outputPath_.c_str());
        if (!workDir_.empty()) std::filesystem::remove_all(workDir_);
    }

    // The framing the window opens with, for a window of the given size.
    Placement initialPlacement(int width, int height) const
    {
        const double tanHalfFov = std::tan(FieldOfViewY * 0.5 * std::numbers::pi / 180.0);
        return {{framing_.viewCenterX, framing_.viewCenterY},
                {width / 2.0, height / 2.0},
                height / 2.0 / (double(framing_.eyeDistance) * tanHalfFov),
                0.0};
    }

    Shot screenshot() const
    {
        XWindowAttributes a;
        XGetWindowAttributes(display_, window_, &a);
        Shot s;
        XImage* image = XGetImage(display_, window_, 0, 0, unsigned(a.width), unsigned(a.height), AllPlanes, ZPixmap);
        if (!image) return s;
        s.width = a.width;
        s.height = a.height;
        s.pixels.reserve(std::size_t(s.width) * std::size_t(s.height));
        const auto channel = [](unsigned long pixel, unsigned long mask) {
            int shift = 0;
            while (mask && !(mask & 1)) mask >>= 1, ++shift;
            return int((pixel >> shift) & mask);
        };
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const unsigned long p = XGetPixel(image, x, y);
                s.pixels.push_back({channel(p, image->red_mask), channel(p, image->green_mask),
                                    channel(p, image->blue_mask)});
            }
        XDestroyImage(image);
        return s;
    }

    // Pixel column and row (from the top) where `placement` draws a scene point.
    static std::pair<int, int> pixelOf(const Shot& s, const Placement& placement, Vec p)
    {
        const Vec w = placement.drawn(p);
        return {int(std::floor(w.x)), s.height - 1 - int(std::floor(w.y))};
    }
    // Whole markers only: navigation may carry points out of the window.
    static bool inView(const Shot& s, const Placement& placement, Vec p)
    {
        const auto [x, y] = pixelOf(s, placement, p);
        return x >= 3 && y >= 3 && x < s.width - 3 && y < s.height - 3;
    }
    // True when some pixel within `radius` of where p is drawn has the colour.
    static bool shows(const Shot& s, const Placement& placement, Vec p, Rgb colour, int radius)
    {
        const auto [cx, cy] = pixelOf(s, placement, p);
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if (s.at(x, y) == colour) return true;
        return false;
    }
    static std::string where(const Shot& s, const Placement& placement, Vec p)
    {
        const auto [x, y] = pixelOf(s, placement, p);
        return " (" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") expected at pixel " + std::to_string(x) +
               ", " + std::to_string(y);
    }

    // Checks the picture of `set` against where `placement` puts the scene;
    // empty when it matches.
    static std::string mismatch(const Shot& s, const Placement& placement, const Printed& set)
    {
        if (s.width == 0) return "no screenshot";
        const auto near = [&](Vec p, Rgb colour, int radius) { return shows(s, placement, p, colour, radius); };
        int seen = 0;
        for (const Vec& v : set.hull) {
            if (!inView(s, placement, v)) continue;
            if (!near(v, Black, 2)) return "no black hull vertex at" + where(s, placement, v);
            ++seen;
        }
        if (seen < 3) return "fewer than three hull vertices in view";
        for (const Vec& v : set.points)
            if (inView(s, placement, v) && !near(v, Blue, 2) && !near(v, Black, 2))
                return "no point at" + where(s, placement, v);
        const std::vector<Vec> outline = outlineOf(set.hull);
        for (std::size_t i = 0; i < outline.size(); ++i) {
            const Vec a = outline[i], b = outline[(i + 1) % outline.size()];
            bool red = false, looked = false;
            for (const double t : {0.25, 0.5, 0.75}) {
                const Vec m{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
                if (!inView(s, placement, m)) continue;
                looked = true;
                red = red || near(m, Red, 1);
            }
            if (looked && !red) return "no red outline between" + where(s, placement, a) + " and" + where(s, placement, b);
        }
        return {};
    }

    // Waits until `problem` finds none in a screenshot (empty); on failure keeps
    // the last screenshot.
    void expectShot(const std::function<std::string(const Shot&)>& problem, const std::string& what,
                    Clock::duration patience = Patience)
    {
        std::string found;
        const auto deadline = Clock::now() + patience;
        Shot s;
        do {
            s = screenshot();
            found = s.width == 0 ? "no screenshot" : problem(s);
            if (found.empty()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (Clock::now() < deadline);
        FAIL() << what << ": " << found << "; screenshot kept in " << keep(s, what);
    }

    // Waits until the picture shows the run's points where `placement` puts them.
    void expectPicture(const Placement& placement, const std::string& what, Clock::duration patience = Patience)
    {
        expectSet(placement, dialogue_, what, patience);
    }
    void expectSet(const Placement& placement, const Printed& set, const std::string& what,
                   Clock::duration patience = Patience)
    {
        expectShot([&](const Shot& s) { return mismatch(s, placement, set); }, what, patience);
    }

    // Waits until the window shows exactly `expected`.
    void expectSameAs(const Shot& expected, const std::string& what)
    {
        expectShot([&](const Shot& s) { return s == expected ? "" : "the picture differs"; }, what);
    }

    // A key pressed and released on the real keyboard, with the pointer in the
    // window: without a window manager the keys go to the window under it.
    void press(KeySym key)
    {
        XTestFakeMotionEvent(display_, -1, windowX_ + WindowWidth / 2, windowY_ + WindowHeight / 2, CurrentTime);
        const KeyCode code = XKeysymToKeycode(display_, key);
        XTestFakeKeyEvent(display_, code, True, CurrentTime);
        XTestFakeKeyEvent(display_, code, False, CurrentTime);
        XSync(display_, False);
    }

    // A drag with the real mouse, in window pixels, moving `steps` times by (dx, dy).
    void drag(unsigned button, int x, int y, int dx, int dy, int steps)
    {
        XTestFakeMotionEvent(display_, -1, windowX_ + x, windowY_ + y, CurrentTime);
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        for (int i = 1; i <= steps; ++i)
            XTestFakeMotionEvent(display_, -1, windowX_ + x + i * dx, windowY_ + y + i * dy, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
        XSync(display_, False);
    }

    void resize(int width, int height)
    {
        XResizeWindow(display_, window_, unsigned(width), unsigned(height));
        XSync(display_, False);
    }

    Display* display_ = nullptr;
    Window window_ = 0;
    int windowX_ = 0, windowY_ = 0;
    // The wait status of the program once it has ended by itself, within `patience`.
    std::optional<int> programEnds(Clock::duration patience)
    {
        endsByItself_ = true;
        return program_.ended(patience);
    }

    Printed dialogue_;
    Framing framing_;
    Placement placement_{};
    bool endsByItself_ = false;
    // The program's working directory, where it saves its files.
    std::string workDir_;

    // The hull vertices in order around their centre, closing the outline.
    static std::vector<Vec> outlineOf(std::vector<Vec> hull)
    {
        Vec c{0, 0};
        for (const Vec& v : hull) c.x += v.x / double(hull.size()), c.y += v.y / double(hull.size());
        std::sort(hull.begin(), hull.end(), [c](const Vec& a, const Vec& b) {
            return std::atan2(a.y - c.y, a.x - c.x) < std::atan2(b.y - c.y, b.x - c.x);
        });
        return hull;
    }

private:
    // Writes the screenshot as a PPM next to the test, for a person to look at.
    static std::string keep(const Shot& s, std::string what)
    {
        std::replace(what.begin(), what.end(), ' ', '_');
        const std::string path = "window_e2e_" + what + ".ppm";
        std::FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return "(not kept)";
        std::fprintf(f, "P6\n%d %d\n255\n", s.width, s.height);
        for (const Rgb& p : s.pixels) {
            const unsigned char rgb[3] = {(unsigned char)p.r, (unsigned char)p.g, (unsigned char)p.b};
            std::fwrite(rgb, 1, 3, f);
        }
        std::fclose(f);
        return path;
    }

    // A private Xvfb, so that no window manager or other window is in the way;
    // it picks a free display number and tells it through a pipe.
    void startDisplay()
    {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        xvfb_.start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-noreset", "-screen", "0", "1600x1000x24",
                     "-nolisten", "tcp"},
                    -1, -1);
        close(fds[1]);
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        const auto deadline = Clock::now() + Patience;
        while (Clock::now() < deadline && poll(&p, 1, 100) >= 0) {
            if (!(p.revents & (POLLIN | POLLHUP))) continue;
            if (read(fds[0], &c, 1) != 1 || c == '\n') break;
            number += c;
        }
        close(fds[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        displayName_ = ":" + number;
        display_ = XOpenDisplay(displayName_.c_str());
    }

    // Starts the program with the count on its input and its dialogue in a file.
    void startProgram()
    {
        char path[] = "/tmp/omotac_e2e_XXXXXX";
        const int out = mkstemp(path);
        ASSERT_GE(out, 0);
        outputPath_ = path;
        int in[2];
        ASSERT_EQ(pipe(in), 0);
        char dir[] = "/tmp/omotac_e2e_dir_XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        workDir_ = dir;
        program_.start({OMOTAC_PROGRAM, "--seed", Seed}, in[0], out, displayName_, workDir_);
        close(in[0]);
        close(out);
        const std::string count = std::to_string(PointCount) + "\n";
        ASSERT_EQ(write(in[1], count.data(), count.size()), ssize_t(count.size()));
        close(in[1]);
    }

    // Waits for the program's window to be shown; the dialogue is complete by then.
    bool findWindow()
    {
        const Window root = DefaultRootWindow(display_);
        const auto deadline = Clock::now() + Patience;
        while (Clock::now() < deadline && program_.running()) {
            Window parent = 0, unused = 0;
            Window* children = nullptr;
            unsigned count = 0;
            XQueryTree(display_, root, &unused, &parent, &children, &count);
            for (unsigned i = 0; i < count && !window_; ++i) {
                char* name = nullptr;
                XWindowAttributes a;
                if (XFetchName(display_, children[i], &name) && name && std::string(name) == WindowTitle &&
                    XGetWindowAttributes(display_, children[i], &a) && a.map_state == IsViewable)
                    window_ = children[i];
                if (name) XFree(name);
            }
            if (children) XFree(children);
            if (window_) {
                Window child = 0;
                XTranslateCoordinates(display_, window_, root, 0, 0, &windowX_, &windowY_, &child);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    Child xvfb_;
    Child program_;
    std::string displayName_;
    std::string outputPath_;
};

TEST_F(Person, SeesTheWindowInItsPlaceShowingTheScene)
{
    XWindowAttributes a;
    XGetWindowAttributes(display_, window_, &a);
    EXPECT_EQ(a.width, WindowWidth);
    EXPECT_EQ(a.height, WindowHeight);
    // No window manager: the window sits exactly where it asked to be.
    EXPECT_EQ(windowX_, WindowX);
    EXPECT_EQ(windowY_, WindowY);

    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "opened"));
    const Shot s = screenshot();
    for (const auto& [x, y] : {std::pair{0, 0}, {WindowWidth - 1, 0}, {0, WindowHeight - 1}})
        EXPECT_EQ(s.at(x, y), Background);
}

TEST_F(Person, PansRotatesAndZoomsWithTheMouse)
{
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "opened"));

    // Left drag by (120, 70): the picture follows the cursor.
    drag(Button1, 400, 300, 12, 7, 10);
    placement_.origin.x += 120;
    placement_.origin.y -= 70;
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "panned"));

    // Right drag 100 pixels to the right: clockwise by 100 / 1025 * 180 degrees,
    // about the view centre where the pan left it.
    drag(Button3, 300, 500, 10, 0, 10);
    placement_.angle -= 100.0 / 1025.0 * std::numbers::pi;
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "rotated"));

    // Middle drag 105 pixels up: larger by e^(105 / 2100), about the view centre.
    drag(Button2, 600, 400, 0, -15, 7);
    placement_.scale *= std::exp(105.0 / 2100.0);
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "zoomed"));

    // Middle drag back down: smaller again.
    drag(Button2, 600, 400, 0, 15, 7);
    placement_.scale /= std::exp(105.0 / 2100.0);
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "zoomed back"));
}

TEST_F(Person, ResizeRestoresTheFraming)
{
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "opened"));
    const Shot opened = screenshot();
    drag(Button1, 400, 300, -10, 10, 10);
    drag(Button2, 600, 400, 0, -20, 5);
    placement_.origin = {placement_.origin.x - 100, placement_.origin.y - 100};
    placement_.scale *= std::exp(100.0 / 2100.0);
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "navigated"));

    resize(800, 600);
    ASSERT_NO_FATAL_FAILURE(expectPicture(initialPlacement(800, 600), "resized"));
    resize(WindowWidth, WindowHeight);
    ASSERT_NO_FATAL_FAILURE(expectSameAs(opened, "resized back"));
}

// V, for a projector: every marker twice as large, the colours and the
// framing as they were; V again gives back the picture the window opened with.
TEST_F(Person, VDoublesTheMarkersForAProjector)
{
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "opened"));
    const Shot opened = screenshot();
    press(XK_v);
    expectShot(
        [&](const Shot& s) -> std::string {
            for (const Vec& v : dialogue_.hull) {
                const auto [x, y] = pixelOf(s, placement_, v);
                for (const auto& [dx, dy] : {std::pair{-3, -2}, {2, -2}, {-3, 3}, {2, 3}})
                    if (!(s.at(x + dx, y + dy) == Black)) return "no 8 x 8 marker at" + where(s, placement_, v);
            }
            return {};
        },
        "presentation size");
    press(XK_v);
    ASSERT_NO_FATAL_FAILURE(expectSameAs(opened, "usual size"));
}

// The caption's corner: three lines of text from the window's top left, the
// longest with six three-digit coordinates about 340 pixels wide.
constexpr int CaptionWidth = 350, CaptionHeight = 64;

// The step view, driven with the real keyboard. Its caption must not hide a
// point, so that every point can be seen in every step.
class Stepping : public Person {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(Person::SetUp());
        const Shot frame{WindowWidth, WindowHeight, {}};
        for (const Vec& v : dialogue_.points) {
            const auto [x, y] = pixelOf(frame, placement_, v);
            ASSERT_FALSE(x < CaptionWidth && y < CaptionHeight)
                << "a point of seed " << Seed << " lies under the caption: choose another";
        }
        ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "opened"));
        opened_ = screenshot();
    }

    // Waits until exactly the hull entries 0..last are black where they are drawn.
    void expectVerticesUpTo(int last, const std::string& what)
    {
        expectShot(
            [&](const Shot& s) -> std::string {
                for (int k = 0; k < int(dialogue_.hull.size()); ++k)
                    if (shows(s, placement_, dialogue_.hull[std::size_t(k)], Black, 1) != (k <= last))
                        return "hull entry " + std::to_string(k) + (k <= last ? " not black" : " black");
                return {};
            },
            what);
    }

    // Waits until every point is drawn exactly as in `expected`.
    void expectPointsAsIn(const Shot& expected, const std::string& what)
    {
        expectShot(
            [&](const Shot& s) -> std::string {
                for (const std::vector<Vec>* set : {&dialogue_.points, &dialogue_.hull})
                    for (const Vec& v : *set) {
                        const auto [x, y] = pixelOf(s, placement_, v);
                        for (const auto& [dx, dy] : {std::pair{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}})
                            if (!(s.at(x + dx, y + dy) == expected.at(x + dx, y + dy)))
                                return "the pixel of" + where(s, placement_, v) + " differs";
                    }
                return {};
            },
            what);
    }

    Shot opened_;
};

TEST_F(Stepping, HomeShowsTheInputAloneAndEachRightArrowTheNextVertex)
{
    press(XK_Home);
    expectShot(
        [&](const Shot& s) -> std::string {
            for (const Vec& v : dialogue_.hull)
                if (shows(s, placement_, v, Black, 2) || shows(s, placement_, v, Red, 2))
                    return "black or red at the hull vertex" + where(s, placement_, v);
            for (const Vec& v : dialogue_.points)
                if (!shows(s, placement_, v, Blue, 1)) return "no blue point at" + where(s, placement_, v);
            return {};
        },
        "step 0");
    // Entries in the order the console listed them: L and R at step 1.
    for (int j = 1; j < int(dialogue_.hull.size()); ++j) {
        press(XK_Right);
        ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(j, "step " + std::to_string(j)));
    }
    press(XK_Left);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(int(dialogue_.hull.size()) - 2, "a step back"));
}

TEST_F(Stepping, EndShowsThePictureTheWindowOpenedWith)
{
    press(XK_Home);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(-1, "step 0"));
    press(XK_End);
    ASSERT_NO_FATAL_FAILURE(expectPointsAsIn(opened_, "end"));
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "end"));
}

TEST_F(Stepping, SpacePlaysToTheFinishedHullByItself)
{
    press(XK_Home);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(-1, "step 0"));
    press(XK_space);
    // One step every 0.8 s: wait for the whole play, and then some.
    const auto play = std::chrono::milliseconds(800) * dialogue_.hull.size();
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "played", play + Patience));
    ASSERT_NO_FATAL_FAILURE(expectPointsAsIn(opened_, "played"));
}

TEST_F(Stepping, NavigationWorksInEveryStepAndStepsNeverMoveTheView)
{
    press(XK_End);
    // Left drag by (120, 70): the picture follows the cursor.
    drag(Button1, 400, 300, 12, 7, 10);
    placement_.origin.x += 120;
    placement_.origin.y -= 70;
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "panned"));

    press(XK_Home);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(-1, "step 0, panned"));
    // Middle drag 105 pixels up, at step 0: larger by e^(105 / 2100).
    drag(Button2, 600, 400, 0, -15, 7);
    placement_.scale *= std::exp(105.0 / 2100.0);
    press(XK_Right);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(1, "step 1, zoomed"));
    press(XK_End);
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "zoomed"));
}

// Esc closes what is open and ends nothing: the steps go on after it. Q ends
// the program, normally.
TEST_F(Stepping, EscapeQuitsNothingAndQEndsTheProgramWithStatusZero)
{
    press(XK_Home);
    press(XK_Escape);
    press(XK_Right);
    ASSERT_NO_FATAL_FAILURE(expectVerticesUpTo(1, "step 1 after Esc"));
    press(XK_q);
    const std::optional<int> status = programEnds(Patience);
    ASSERT_TRUE(status) << "the program is still running";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "wait status " << *status;
}

// Edit mode with the real mouse and keys. The caption it brings stands where
// Stepping made sure no point lies.
class Editor : public Stepping {
protected:
    // The toolkit pixel where the opening framing draws p.
    std::pair<int, int> pixel(Vec p) const { return pixelOf(Shot{WindowWidth, WindowHeight, {}}, placement_, p); }
    // The whole scene point the opening framing shows at a toolkit pixel.
    Vec sceneAt(int x, int y) const
    {
        const Placement& p = placement_;
        return {std::round(p.centre.x + (x - p.origin.x) / p.scale),
                std::round(p.centre.y + (WindowHeight - 1 - y - p.origin.y) / p.scale)};
    }
    // The set with its hull, in the order the program lists it.
    static Printed withHull(const std::vector<Vec>& points)
    {
        std::vector<Point> in;
        for (const Vec& v : points) in.push_back({float(v.x), float(v.y)});
        Printed set{points, {}};
        for (const Point& h : referenceHull(in)) set.hull.push_back({h.x, h.y});
        return set;
    }
    void click(unsigned button, std::pair<int, int> at) { drag(button, at.first, at.second, 0, 0, 0); }
    // Waits until the program has written `name` in its directory; its content.
    std::string fileWritten(const std::string& name) const
    {
        const std::string path = workDir_ + "/" + name;
        const auto deadline = Clock::now() + Patience;
        while (!std::filesystem::exists(path) && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Waits until the pixel shows nothing but the background.
    void expectBackgroundAt(std::pair<int, int> at, const std::string& what)
    {
        expectShot([&](const Shot& s) { return s.at(at.first, at.second) == Background ? "" : "not background"; }, what);
    }
    Vec rightmostVertex() const
    {
        return *std::max_element(dialogue_.hull.begin(), dialogue_.hull.end(),
                                 [](const Vec& a, const Vec& b) { return a.x < b.x; });
    }
};

TEST_F(Editor, AddsMovesAndRemovesPointsWithTheHullLiveAndKeepsThem)
{
    press(XK_e);
    // A click outside the hull, right of its rightmost vertex: a new vertex,
    // with the outline through it.
    auto [x, y] = pixel(rightmostVertex());
    x += 80;
    std::vector<Vec> points = dialogue_.points;
    points.push_back(sceneAt(x, y));
    Printed set = withHull(points);
    ASSERT_NE(std::find_if(set.hull.begin(), set.hull.end(),
                           [&](const Vec& v) { return v.x == points.back().x && v.y == points.back().y; }),
              set.hull.end())
        << "the click is not outside the hull";
    click(Button1, {x, y});
    ASSERT_NO_FATAL_FAILURE(expectSet(placement_, set, "added"));

    // Taken 5 pixels off and dragged by (-40, 60): the point keeps its offset
    // from the cursor, and the outline follows it.
    drag(Button1, x + 3, y - 4, -4, 6, 10);
    points.back() = sceneAt(x - 40, y + 60);
    set = withHull(points);
    ASSERT_NO_FATAL_FAILURE(expectSet(placement_, set, "moved"));
    ASSERT_NO_FATAL_FAILURE(expectBackgroundAt({x, y}, "moved away"));

    // S keeps the set as a points file that loads back to it.
    press(XK_s);
    const std::string saved = fileWritten("omotac-tacke-1.txt");
    std::FILE* f = fmemopen(const_cast<char*>(saved.data()), saved.size(), "r");
    std::array<Point, PointCapacity> read;
    const PointsRead r = readPoints(f, "omotac-tacke-1.txt", read);
    std::fclose(f);
    ASSERT_EQ(r.count, int(points.size())) << r.error;
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        ASSERT_EQ(std::make_pair(double(read[i].x), double(read[i].y)), std::make_pair(points[i].x, points[i].y)) << i;
    EXPECT_NEAR(read[points.size() - 1].x, points.back().x, 1.0);
    EXPECT_NEAR(read[points.size() - 1].y, points.back().y, 1.0);
    points.back() = {read[points.size() - 1].x, read[points.size() - 1].y};
    set = withHull(points);

    // X exports the picture: a square per point, blue, then one per hull
    // vertex, black, in the order found, and the outline in red.
    press(XK_x);
    auto svg = svgGroups(fileWritten("omotac-slika-1.svg"));
    ASSERT_EQ(svg["points"].size(), set.points.size() + set.hull.size());
    for (std::size_t i = 0; i < svg["points"].size(); ++i) {
        const SvgElement& e = svg["points"][i];
        const bool input = i < set.points.size();
        const Vec& p = input ? set.points[i] : set.hull[i - set.points.size()];
        EXPECT_EQ(e.tag + e.attr.at("fill"), input ? "rect#0000ff" : "rect#000000") << i;
        EXPECT_NEAR(e["x"] + e["width"] / 2, p.x, 1e-6) << i;
        EXPECT_NEAR(e["y"] + e["height"] / 2, -p.y, 1e-6) << i;
    }
    ASSERT_EQ(svg["segments"].size(), set.hull.size());
    for (const SvgElement& e : svg["segments"]) EXPECT_EQ(e.attr.at("stroke"), "#ff0000");

    // A right click 4 pixels off the point takes it away again.
    const auto [mx, my] = pixel(points.back());
    click(Button3, {mx + 4, my});
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "removed"));
    ASSERT_NO_FATAL_FAILURE(expectBackgroundAt({mx, my}, "removed"));
}

TEST_F(Editor, WithEditModeOffTheSameGesturesNavigate)
{
    press(XK_e);
    press(XK_e);
    auto [x, y] = pixel(rightmostVertex());
    x += 80;
    click(Button1, {x, y});
    const Vec vertex = dialogue_.hull[2];
    click(Button3, pixel(vertex));
    // The drag that would move a vertex pans, and every vertex is still there.
    const auto [vx, vy] = pixel(vertex);
    drag(Button1, vx + 3, vy - 4, 12, 7, 10);
    placement_.origin.x += 120;
    placement_.origin.y -= 70;
    ASSERT_NO_FATAL_FAILURE(expectPicture(placement_, "panned"));
    ASSERT_NO_FATAL_FAILURE(expectBackgroundAt({x + 120, y + 70}, "no point where the click was"));
    EXPECT_TRUE(std::filesystem::is_empty(workDir_));
}

} // namespace
