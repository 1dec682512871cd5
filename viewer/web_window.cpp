// The page's platform: the one file of the viewer that knows the browser. The
// picture is a canvas with a legacy GL context (the toolkit emulation makes
// the context, nothing else of it is used, so keys typed into the page's form
// never reach the picture); the canvas's own mouse and key events become the
// program's events for the controller; text goes to the page as lines over
// the picture; a file the controller reports saved is handed to the browser
// as a download.

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
#include <string>
#include <string_view>

#include "camera.hpp"
#include "controller.hpp"
#include "palette.hpp"
#include "render.hpp"
#include "session.hpp"

namespace {

constexpr const char* CanvasId = "#canvas";

// What the page holds between frames.
struct PageRecord {
    bool contextReady = false;
    bool shown = false;         // a run is in the picture
    unsigned buttons = 0;       // buttons pressed on the canvas and not yet released, one bit each
    std::string text, shownText; // this frame's lines, and the lines the page shows
    double drawMillis = 0.0;     // spent drawing frames so far, for measuring
};

PageRecord Page;

// The page's side (page.js): the canvas's place, the text over it, downloads,
// the end of a run.
EM_JS(double, canvasLeft, (), { return Module.canvas.getBoundingClientRect().left; });
EM_JS(double, canvasTop, (), { return Module.canvas.getBoundingClientRect().top; });
EM_JS(void, showPageText, (const char* text), { Module.omotacText(UTF8ToString(text)); });
EM_JS(void, offerDownload, (const char* name), { Module.omotacDownload(UTF8ToString(name)); });
EM_JS(void, announceRunEnded, (), { Module.omotacRunEnded(); });
EM_JS(void, setBandColour, (int r, int g, int b), {
    document.getElementById('text').style.setProperty('--band', 'rgba(' + r + ',' + g + ',' + b + ',0.75)');
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

// The canvas's size in pixels.
struct CanvasSize {
    int width, height;
};
CanvasSize canvasSize()
{
    CanvasSize size{WindowWidth, WindowHeight};
    emscripten_get_canvas_element_size(CanvasId, &size.width, &size.height);
    return size;
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
        Page.shownText.clear();
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

// A tick of a play of a run that has ended since is nobody's.
void onPlayTick(void* round)
{
    if (Page.shown) act(advancePlay(std::int32_t(reinterpret_cast<std::intptr_t>(round))));
}

// A block of the picture's text for the page: a line "left top" in window
// pixels from the top-left corner, then its lines, each after a tab.
void drawTextBlock(const TextBlock& block, int)
{
    if (block.lines.empty()) return;
    Page.text += std::to_string(block.left) + ' ' + std::to_string(block.top) + '\n';
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
    if (Page.text != Page.shownText) {
        Page.shownText = Page.text;
        showPageText(Page.shownText.c_str());
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
        const auto byte = [](float c) { return int(c * 255.0f + 0.5f); };
        setBandColour(byte(BackgroundColor.r), byte(BackgroundColor.g), byte(BackgroundColor.b));
        Page.contextReady = true;
    }
    // A page shows run after run in one window: each opens as the desktop's
    // window does, with nothing of the run before it.
    glClearColor(BackgroundColor.r, BackgroundColor.g, BackgroundColor.b, 0.0f);
    const CanvasSize size = canvasSize();
    act(startSession(size.width, size.height));
    Page.shown = true;
}

// The GL calls the emulation lacks. The current colour is the only state the
// viewer keeps across glPushAttrib, and every primitive sets its own colour,
// so there is nothing to keep.
extern "C" {
void glPushAttrib(GLbitfield) {}
void glPopAttrib() {}
}
