// The page's platform: the one file of the viewer that knows the browser. The
// picture is a canvas with a legacy GL context (the toolkit emulation makes
// the context, nothing else of it is used, so keys typed into the page's form
// never reach the picture), as large as the page gives it and with a device
// pixel for each of the screen's; the canvas's own mouse, touch and key
// events and the page's buttons become the program's events for the
// controller; text goes to the page as lines over the picture (or below it);
// what the picture shows goes to the page after every change, for its
// address, buttons and live region; a file the controller reports saved is
// handed to the browser as a download.

#include "web_window.hpp"

#include <GL/gl.h>
#include <GL/glut.h>
#include <emscripten.h>
#include <emscripten/eventloop.h>
#include <emscripten/html5.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <string_view>

#include "camera.hpp"
#include "controller.hpp"
#include "methods.hpp"
#include "palette.hpp"
#include "render.hpp"
#include "session.hpp"
#include "step_keys.hpp"

namespace {

constexpr const char* CanvasId = "#canvas";

// A finger is a tap until it moves this many pixels from where it came down.
constexpr double TouchSlop = 10.0;
// A finger held this long without moving is a right click.
constexpr int LongPressMillis = 500;

// The fingers on the picture: one waits to be a tap, a drag or a long press;
// two pinch; once a gesture is over the fingers left count for nothing until
// all are lifted.
struct TouchRecord {
    enum class Phase { None, Waiting, Dragging, Pinching, Over };
    Phase phase = Phase::None;
    long first = 0, second = 0; // the fingers followed, by the browser's numbers
    int startX = 0, startY = 0, lastX = 0, lastY = 0;
    double midX = 0.0, midY = 0.0, spread = 0.0, angle = 0.0; // of the two pinching
    int round = 0;              // the long press a timer belongs to
};

// What the page holds between frames.
struct PageRecord {
    bool contextReady = false;
    bool shown = false;         // a run is in the picture
    unsigned buttons = 0;       // buttons pressed on the canvas and not yet released, one bit each
    std::string text, shownText; // this frame's lines, and the lines the page shows
    std::string state, shownState; // what the picture shows, as the page was last told
    double drawMillis = 0.0;     // spent drawing frames so far, for measuring
    int width = WindowWidth, height = WindowHeight; // the picture's size in window (CSS) pixels
    TouchRecord touch;
    bool pausedHidden = false;   // the play was paused because the page was hidden
};

PageRecord Page;

// The page's side (page.js): the canvas's place, the text over it, downloads,
// the end of a run.
EM_JS(double, canvasLeft, (), { return Module.canvas.getBoundingClientRect().left; });
EM_JS(double, canvasTop, (), { return Module.canvas.getBoundingClientRect().top; });
EM_JS(void, showPageText, (const char* text), { Module.omotacText(UTF8ToString(text)); });
EM_JS(void, offerDownload, (const char* name), { Module.omotacDownload(UTF8ToString(name)); });
EM_JS(void, announceRunEnded, (), { Module.omotacRunEnded(); });
EM_JS(void, showPageState, (const char* state), { Module.omotacState(UTF8ToString(state)); });
EM_JS(void, setBandColour, (int r, int g, int b), {
    document.documentElement.style.setProperty('--band', 'rgba(' + r + ',' + g + ',' + b + ',0.75)');
});

// The canvas's top-left corner in the page's client coordinates: a drag goes on
// outside the canvas, where only the document sees the mouse.
void canvasPixel(const EmscriptenMouseEvent& e, int& x, int& y)
{
    x = int(double(e.clientX) - canvasLeft());
    y = int(double(e.clientY) - canvasTop());
}

// A DOM button number (0 left, 1 middle, 2 right) as the program's.
MouseButton buttonOf(unsigned short button)
{
    switch (button) {
    case 0: return MouseButton::Left;
    case 1: return MouseButton::Middle;
    case 2: return MouseButton::Right;
    default: return MouseButton::Other;
    }
}

void onPlayTick(void* round);

// Does what the controller asked. Every animation frame paints while a run is
// shown, so a redraw needs nothing more.
void act(const Requests& r)
{
    if (r.playAfter >= 0)
        emscripten_set_timeout(onPlayTick, r.playAfter, reinterpret_cast<void*>(std::intptr_t(r.playRound)));
    if (!r.saved.empty()) offerDownload(r.saved.c_str());
    if (r.quit) {
        Page.shown = false;
        Page.buttons = 0;
        Page.touch.phase = TouchRecord::Phase::None;
        Page.shownText.clear();
        Page.shownState.clear();
        announceRunEnded();
    }
}

// DOM numbers the buttons 0 (left) to 4 (forward); the wheel is reported apart.
constexpr unsigned short LastButton = 4;

EM_BOOL onMouseDown(int, const EmscriptenMouseEvent* e, void*)
{
    if (!Page.shown || e->button > LastButton) return EM_FALSE;
    int x, y;
    canvasPixel(*e, x, y);
    Page.buttons |= 1u << e->button;
    act(handleInput(mouseEvent(buttonOf(e->button), true, x, y)));
    // Not prevented, so a click gives the canvas the keyboard.
    return EM_FALSE;
}

EM_BOOL onMouseUp(int, const EmscriptenMouseEvent* e, void*)
{
    // As the desktop's toolkit does, the window that got the press gets its release.
    if (!Page.shown || e->button > LastButton || (Page.buttons & (1u << e->button)) == 0) return EM_FALSE;
    int x, y;
    canvasPixel(*e, x, y);
    Page.buttons &= ~(1u << e->button);
    act(handleInput(mouseEvent(buttonOf(e->button), false, x, y)));
    return EM_TRUE;
}

EM_BOOL onMouseMove(int, const EmscriptenMouseEvent* e, void*)
{
    // Motion counts with a button held, as on the desktop.
    if (!Page.shown || Page.buttons == 0) return EM_FALSE;
    int x, y;
    canvasPixel(*e, x, y);
    act(handleInput(motionEvent(x, y)));
    return EM_TRUE;
}

// A turn of the wheel as the desktop's toolkit reports it: a press and a
// release of the wheel's button for every notch, at the cursor.
EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void*)
{
    if (!Page.shown || e->deltaY == 0.0) return EM_FALSE;
    int x, y;
    canvasPixel(e->mouse, x, y);
    // A notch is 100 pixels, or 3 lines, or a page.
    const double perNotch = e->deltaMode == DOM_DELTA_PIXEL ? 100.0 : e->deltaMode == DOM_DELTA_LINE ? 3.0 : 1.0;
    const int notches = std::max(1, int(std::abs(e->deltaY) / perNotch + 0.5));
    const MouseButton wheel = e->deltaY < 0.0 ? MouseButton::WheelUp : MouseButton::WheelDown;
    for (int i = 0; i < notches; ++i) {
        act(handleInput(mouseEvent(wheel, true, x, y)));
        act(handleInput(mouseEvent(wheel, false, x, y)));
    }
    return EM_TRUE;
}

EM_BOOL onKeyDown(int, const EmscriptenKeyboardEvent* e, void*)
{
    // The browser's own shortcuts stay the browser's.
    // Tab moves the keyboard on to the rest of the page.
    if (!Page.shown || e->ctrlKey || e->altKey || e->metaKey || std::string_view(e->key) == "Tab") return EM_FALSE;
    const InputEvent key = keyEvent(e->key);
    act(handleInput(key));
    // A key the program has no use for (F5, F11, ...) still does what the browser does with it.
    return key.kind == InputEvent::Kind::Ignored ? EM_FALSE : EM_TRUE;
}

// A finger's place on the canvas, in window pixels.
void fingerPixel(const EmscriptenTouchPoint& t, int& x, int& y)
{
    x = int(double(t.clientX) - canvasLeft());
    y = int(double(t.clientY) - canvasTop());
}

const EmscriptenTouchPoint* finger(const EmscriptenTouchEvent& e, long id)
{
    for (int i = 0; i < e.numTouches; ++i)
        if (e.touches[i].identifier == id) return &e.touches[i];
    return nullptr;
}

void onLongPress(void* round);

// The two fingers' midpoint, their distance and the direction from the
// first to the second (radians, clockwise on the screen).
void pinchPlace(const EmscriptenTouchPoint& a, const EmscriptenTouchPoint& b, double& midX, double& midY, double& spread,
                double& angle)
{
    int ax, ay, bx, by;
    fingerPixel(a, ax, ay);
    fingerPixel(b, bx, by);
    midX = (ax + bx) * 0.5;
    midY = (ay + by) * 0.5;
    spread = std::hypot(double(bx - ax), double(by - ay));
    angle = std::atan2(double(by - ay), double(bx - ax));
}

// A finger came down: the first waits (for a move, a lift or the long
// press), a second turns the gesture into a pinch, ending a drag under way.
EM_BOOL onTouchStart(int, const EmscriptenTouchEvent* e, void*)
{
    TouchRecord& t = Page.touch;
    if (!Page.shown) return EM_FALSE;
    for (int i = 0; i < e->numTouches; ++i) {
        const EmscriptenTouchPoint& p = e->touches[i];
        if (!p.isChanged) continue;
        if (t.phase == TouchRecord::Phase::None) {
            // A new round: the timer of a press before is nobody's.
            const int round = t.round + 1;
            t = {};
            t.round = round;
            t.phase = TouchRecord::Phase::Waiting;
            t.first = p.identifier;
            fingerPixel(p, t.startX, t.startY);
            t.lastX = t.startX;
            t.lastY = t.startY;
            emscripten_set_timeout(onLongPress, LongPressMillis, reinterpret_cast<void*>(std::intptr_t(t.round)));
        } else if (t.phase == TouchRecord::Phase::Waiting || t.phase == TouchRecord::Phase::Dragging) {
            const EmscriptenTouchPoint* a = finger(*e, t.first);
            if (!a) continue;
            if (t.phase == TouchRecord::Phase::Dragging)
                act(handleInput(mouseEvent(MouseButton::Left, false, t.lastX, t.lastY)));
            t.phase = TouchRecord::Phase::Pinching;
            t.second = p.identifier;
            pinchPlace(*a, p, t.midX, t.midY, t.spread, t.angle);
        }
    }
    return EM_TRUE;
}

EM_BOOL onTouchMove(int, const EmscriptenTouchEvent* e, void*)
{
    TouchRecord& t = Page.touch;
    if (!Page.shown) return EM_FALSE;
    if (t.phase == TouchRecord::Phase::Waiting || t.phase == TouchRecord::Phase::Dragging) {
        const EmscriptenTouchPoint* p = finger(*e, t.first);
        if (!p) return EM_TRUE;
        fingerPixel(*p, t.lastX, t.lastY);
        if (t.phase == TouchRecord::Phase::Waiting) {
            if (std::hypot(double(t.lastX - t.startX), double(t.lastY - t.startY)) < TouchSlop) return EM_TRUE;
            // A drag after all: pressed where the finger came down.
            t.phase = TouchRecord::Phase::Dragging;
            act(handleInput(mouseEvent(MouseButton::Left, true, t.startX, t.startY)));
        }
        act(handleInput(motionEvent(t.lastX, t.lastY)));
    } else if (t.phase == TouchRecord::Phase::Pinching) {
        const EmscriptenTouchPoint *a = finger(*e, t.first), *b = finger(*e, t.second);
        if (!a || !b) return EM_TRUE;
        double midX, midY, spread, angle;
        pinchPlace(*a, *b, midX, midY, spread, angle);
        if (t.spread > 0.0 && spread > 0.0) {
            InputEvent pinch;
            pinch.kind = InputEvent::Kind::Pinch;
            pinch.fromX = int(std::lround(t.midX));
            pinch.fromY = int(std::lround(t.midY));
            pinch.x = int(std::lround(midX));
            pinch.y = int(std::lround(midY));
            pinch.scale = spread / t.spread;
            pinch.turn = std::remainder(angle - t.angle, 2.0 * std::numbers::pi) * 180.0 / std::numbers::pi;
            act(handleInput(pinch));
        }
        t.midX = midX;
        t.midY = midY;
        t.spread = spread;
        t.angle = angle;
    }
    return EM_TRUE;
}

// A finger lifted: a waiting one was a tap (a left click where it came
// down), a dragging one ends its drag; a pinch ends with either finger.
EM_BOOL onTouchEnd(int, const EmscriptenTouchEvent* e, void*)
{
    TouchRecord& t = Page.touch;
    if (!Page.shown) return EM_FALSE;
    int down = 0;
    for (int i = 0; i < e->numTouches; ++i) down += !e->touches[i].isChanged;
    const EmscriptenTouchPoint* lifted = finger(*e, t.first);
    const bool firstLifted = lifted && lifted->isChanged;
    const EmscriptenTouchPoint* other = finger(*e, t.second);
    const bool secondLifted = other && other->isChanged;
    if (t.phase == TouchRecord::Phase::Waiting && firstLifted) {
        act(handleInput(mouseEvent(MouseButton::Left, true, t.startX, t.startY)));
        act(handleInput(mouseEvent(MouseButton::Left, false, t.startX, t.startY)));
        t.phase = TouchRecord::Phase::Over;
    } else if (t.phase == TouchRecord::Phase::Dragging && firstLifted) {
        act(handleInput(mouseEvent(MouseButton::Left, false, t.lastX, t.lastY)));
        t.phase = TouchRecord::Phase::Over;
    } else if (t.phase == TouchRecord::Phase::Pinching && (firstLifted || secondLifted)) {
        t.phase = TouchRecord::Phase::Over;
    }
    if (down == 0) t.phase = TouchRecord::Phase::None;
    return EM_TRUE;
}

// Half a second without moving: a right click where the finger is.
void onLongPress(void* round)
{
    TouchRecord& t = Page.touch;
    if (!Page.shown || t.phase != TouchRecord::Phase::Waiting || t.round != int(reinterpret_cast<std::intptr_t>(round)))
        return;
    act(handleInput(mouseEvent(MouseButton::Right, true, t.startX, t.startY)));
    act(handleInput(mouseEvent(MouseButton::Right, false, t.startX, t.startY)));
    t.phase = TouchRecord::Phase::Over;
}

// A play goes on only while the page is seen: hidden, it pauses as Space
// pauses it, and it plays on when the page is seen again.
EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent* e, void*)
{
    if (!Page.shown) return EM_FALSE;
    const StepState& s = Session.steps;
    if (e->hidden && s.playing) {
        act(handleInput(keyEvent(" ")));
        Page.pausedHidden = true;
    } else if (!e->hidden && Page.pausedHidden) {
        Page.pausedHidden = false;
        if (s.paused) act(handleInput(keyEvent(" ")));
    }
    return EM_FALSE;
}

// What the picture shows, for the page: its address, its buttons' states, its
// one line about the run.
void describeState()
{
    const SessionRecord& s = Session;
    const char* mode = s.mode == Mode::Edit ? "edit" : s.mode == Mode::Guess ? "guess" : "view";
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\"method\":\"%s\",\"step\":%d,\"steps\":%d,\"mode\":\"%s\",\"panel\":%s,\"help\":%s,"
                  "\"playing\":%s,\"presentation\":%s,\"edited\":%s,\"points\":%d,\"vertices\":%d,"
                  "\"revision\":%llu,\"down\":%s,\"question\":%s,\"captioned\":%s}",
                  hullMethodName(s.method), int(s.steps.step), int(finishedStep(s)), mode, s.panel ? "true" : "false",
                  s.steps.help ? "true" : "false", s.steps.playing ? "true" : "false",
                  ViewState.presentation > 1 ? "true" : "false", s.source.edited ? "true" : "false", int(s.points.size()),
                  int(vertexCount(s)), static_cast<unsigned long long>(s.revision),
                  Page.buttons != 0 || Page.touch.phase != TouchRecord::Phase::None ? "true" : "false",
                  s.guess.question >= 0 ? "true" : "false", s.steps.captioned ? "true" : "false");
    Page.state = text;
}

// A tick of a play of a run that has ended since is nobody's.
void onPlayTick(void* round)
{
    if (Page.shown) act(advancePlay(std::int32_t(reinterpret_cast<std::intptr_t>(round))));
}

// A block of the picture's text for the page: a line "left top kind wrap
// below" (window pixels from the top-left corner; what the block is; the
// pixels a line takes before it wraps, whatever the browser's font, 0 for
// never; 1 for a block below the picture), then its lines, each after a tab.
void drawTextBlock(const TextBlock& block, int)
{
    static constexpr const char* Kinds[] = {"notes", "caption", "help", "panel"};
    if (block.lines.empty()) return;
    const int wrap = int(std::floor(block.wrap * CharPixels * ViewState.presentation));
    Page.text += std::to_string(block.left) + ' ' + std::to_string(block.top) + ' ' + Kinds[int(block.kind)] + ' '
                 + std::to_string(wrap) + ' ' + (block.below ? '1' : '0') + '\n';
    for (const std::string& line : block.lines) Page.text += '\t' + line + '\n';
}

// One animation frame: the picture, then its text if it changed. The picture
// is painted at every frame while a run is shown, as the desktop window is.
void onFrame()
{
    if (!Page.shown) return;
    Page.text.clear();
    const double start = emscripten_get_now();
    drawPicture(framePicture(), drawTextBlock);
    Page.drawMillis += emscripten_get_now() - start;
    ++ViewState.framesShown;
    // The size first: the page lays the text out by it.
    Page.text.insert(0, "scale " + std::to_string(ViewState.presentation) + '\n');
    if (Page.text != Page.shownText) {
        Page.shownText = Page.text;
        showPageText(Page.shownText.c_str());
    }
    describeState();
    if (Page.state != Page.shownState) {
        Page.shownState = Page.state;
        showPageState(Page.shownState.c_str());
    }
}

} // namespace

InputEvent mouseEvent(MouseButton button, bool down, int x, int y)
{
    return {down ? InputEvent::Kind::Press : InputEvent::Kind::Release, button, x, y};
}

InputEvent motionEvent(int x, int y) { return {InputEvent::Kind::Motion, MouseButton::Other, x, y}; }

InputEvent keyEvent(std::string_view key)
{
    InputEvent e;
    e.kind = InputEvent::Kind::Key;
    if (key.size() == 1 && static_cast<unsigned char>(key[0]) < 0x80) e.key = static_cast<unsigned char>(key[0]);
    else if (key == "ArrowRight") e.key = KeyRight;
    else if (key == "ArrowLeft") e.key = KeyLeft;
    else if (key == "Home") e.key = KeyHome;
    else if (key == "End") e.key = KeyEnd;
    else if (key == "F1") e.key = KeyF1;
    else if (key == "Escape") e.key = 27;
    else if (key == "Enter") e.key = '\r';
    else if (key == "Backspace") e.key = 8;
    else if (key == "Delete") e.key = 127;
    else e.kind = InputEvent::Kind::Ignored;
    return e;
}

void startPage()
{
    // The in-memory file system starts with a mask that leaves saved files
    // unreadable, even to the download.
    umask(022);
    emscripten_set_main_loop(onFrame, 0, 0);
}

double drawMillis() { return Page.drawMillis; }

void resizePicture(int width, int height, double ratio)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    const int deviceWidth = std::max(int(std::lround(width * ratio)), 1);
    const int deviceHeight = std::max(int(std::lround(height * ratio)), 1);
    emscripten_set_canvas_element_size(CanvasId, deviceWidth, deviceHeight);
    const float scale = float(double(deviceWidth) / width);
    const bool changed = width != Page.width || height != Page.height || scale != ViewState.deviceScale;
    Page.width = width;
    Page.height = height;
    ViewState.deviceScale = scale;
    // A new size frames the picture again, as a resized window does.
    if (Page.shown && changed) act(reshapeWindow(width, height));
}

void pressKeyNamed(std::string_view key)
{
    if (Page.shown) act(handleInput(keyEvent(key)));
}

void showStepNamed(int step)
{
    if (Page.shown) act(showStep(step));
}

void showRun(const RunSource& source, std::span<const Point> points, const HullResult& result,
             std::span<const Point> found, int, char**)
{
    takeRun(source, points, result, found);
    if (!Page.contextReady) {
        // No depth buffer: the picture is layered by drawing order alone.
        glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
        glutCreateWindow(WindowTitle);
        emscripten_set_mousedown_callback(CanvasId, nullptr, EM_TRUE, onMouseDown);
        emscripten_set_mouseup_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onMouseUp);
        emscripten_set_mousemove_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, onMouseMove);
        emscripten_set_keydown_callback(CanvasId, nullptr, EM_TRUE, onKeyDown);
        emscripten_set_wheel_callback(CanvasId, nullptr, EM_TRUE, onWheel);
        emscripten_set_touchstart_callback(CanvasId, nullptr, EM_TRUE, onTouchStart);
        emscripten_set_touchmove_callback(CanvasId, nullptr, EM_TRUE, onTouchMove);
        emscripten_set_touchend_callback(CanvasId, nullptr, EM_TRUE, onTouchEnd);
        emscripten_set_touchcancel_callback(CanvasId, nullptr, EM_TRUE, onTouchEnd);
        emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, onVisibility);
        const auto byte = [](float c) { return int(c * 255.0f + 0.5f); };
        setBandColour(byte(BackgroundColor.r), byte(BackgroundColor.g), byte(BackgroundColor.b));
        Page.contextReady = true;
    }
    // A page shows run after run in one window: each opens as the desktop's
    // window does, with nothing of the run before it.
    glClearColor(BackgroundColor.r, BackgroundColor.g, BackgroundColor.b, 0.0f);
    // The page has room for text below the picture.
    ViewState.textBelow = true;
    Page.touch.phase = TouchRecord::Phase::None;
    Page.pausedHidden = false;
    act(startSession(Page.width, Page.height));
    Page.shown = true;
}

// The GL calls the emulation lacks. The current colour is the only state the
// viewer keeps across glPushAttrib, and every primitive sets its own colour,
// so there is nothing to keep.
extern "C" {
void glPushAttrib(GLbitfield) {}
void glPopAttrib() {}
}
