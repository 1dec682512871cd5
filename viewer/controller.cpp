// The controller: keys and pointer events routed to the modes and to
// navigation, saving and exporting, and the start of a session.

#include "controller.hpp"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#include "camera.hpp"
#include "edit.hpp"
#include "guess.hpp"
#include "navigation.hpp"
#include "points_file.hpp"
#include "step_keys.hpp"
#include "svg.hpp"

namespace {

constexpr int Escape = 27;

// Requests for a redraw alone, or for nothing where draw is false.
Requests redraw(bool draw = true)
{
    Requests r;
    r.redraw = draw;
    return r;
}

// The window the picture is built for, as the camera stands.
PictureFrame windowFrame()
{
    return {ViewState.windowWidth, ViewState.windowHeight, float(RingPixels * ViewState.presentation * unitsPerPixel()),
            ViewState.presentation, ViewState.textBelow};
}

// The room the picture was last framed in.
PictureRoom Framed;

// As a resize does: the projection starts again from the initial framing, in
// the room the text leaves the picture.
void frameAgain(const SessionRecord& s)
{
    Framed = pictureRoom(s, windowFrame());
    reshapeView(ViewState.windowWidth, ViewState.windowHeight, Framed);
}

// After a key: where the text now leaves the picture another room (the
// caption came, the panel or the help, a mode's lines, the size), the
// picture is framed again in it. Pointer events never do this, so that an
// edit leaves the view where it is.
void fitToText(const SessionRecord& s)
{
    if (pictureRoom(s, windowFrame()) != Framed) frameAgain(s);
}

// A save's result as the notice, a failure on stderr as well; the name of a
// file written goes to the platform.
void noticeSaved(SessionRecord& s, const SavedFile& saved, const char* what, Requests& r)
{
    if (saved.error.empty()) {
        s.notice = std::string(what) + saved.name;
        r.saved = saved.name;
        return;
    }
    s.notice = saved.error;
    std::fprintf(stderr, "%s\n", saved.error.c_str());
}

// Esc closes what is open, the nearest first: the question, the help, the panel.
void closeWhatIsOpen(SessionRecord& s)
{
    if (closeQuestion(s)) return;
    if (s.steps.help) {
        s.steps.help = false;
        return;
    }
    s.panel = false;
}

// The next method's steps: the finished hull stays the finished hull, the
// same for every method; from any other step the new method starts at its
// beginning, since its steps are others. A play stops, a question open is
// closed, and guess mode's score starts again, as the questions are another
// method's now.
void nextMethod(SessionRecord& s)
{
    const bool finished = s.steps.step >= finishedStep(s);
    s.method = HullMethods[(std::size_t(s.method) + 1) % std::size(HullMethods)].method;
    traceShownMethod(s);
    s.steps.step = finished ? finishedStep(s) : 0;
    s.steps.playing = s.steps.paused = false;
    ++s.steps.playRound;
    if (s.mode == Mode::Guess) setMode(s, Mode::Guess);
}

Requests pressKey(int key)
{
    SessionRecord& s = Session;
    Requests r = redraw();
    // A notice lasts until the next key, and a Q asks only once in a row.
    s.notice.clear();
    const bool quitAsked = std::exchange(s.quitAsked, false);
    switch (key) {
    case 'q': case 'Q':
        if (s.unsaved && !quitAsked) {
            s.quitAsked = true;
            s.notice = "Izmene nisu sacuvane: Q jos jednom za izlaz, S za cuvanje";
        } else {
            r.quit = true;
        }
        return r;
    case Escape:
        closeWhatIsOpen(s);
        return r;
    case 'e': case 'E':
        setMode(s, s.mode == Mode::Edit ? Mode::View : Mode::Edit);
        return r;
    case 'g': case 'G':
        setMode(s, s.mode == Mode::Guess ? Mode::View : Mode::Guess);
        return r;
    case 'a': case 'A':
        // The picture moves aside for the panel, framed as R frames it.
        s.panel = !s.panel;
        return r;
    case 'm': case 'M':
        nextMethod(s);
        return r;
    case 'u': case 'U':
        s.comparison = !s.comparison;
        if (s.comparison) countMethods(s);
        return r;
    case 'h': case 'H': case KeyF1:
        s.steps.help = !s.steps.help;
        return r;
    case 'r': case 'R':
        frameAgain(s);
        return r;
    case 's': case 'S': {
        const SavedFile saved = savePoints(s.points.data(), std::int32_t(s.points.size()));
        if (saved.error.empty()) s.unsaved = false;
        noticeSaved(s, saved, "Tacke sacuvane u ", r);
        return r;
    }
    case 'x': case 'X':
        noticeSaved(s, exportSvg(*framePicture().scene), "Slika sacuvana u ", r);
        return r;
    case '-': case '+': case '=':
        changePace(s.steps, key);
        s.notice = paceLine(s.steps);
        return r;
    case 'v': case 'V':
        // The presentation size: the picture's marks and its text twice as large.
        ViewState.presentation = ViewState.presentation == 1 ? 2 : 1;
        return r;
    default:
        break;
    }
    const StepKey k = stepKeyOf(key);
    if (k == StepKey::None || guessStepKey(s, k)) return r;
    if (pressStepKey(s.steps, k, finishedStep(s))) {
        r.playAfter = playMillis(s.steps);
        r.playRound = s.steps.playRound;
    }
    return r;
}

bool isClickButton(MouseButton b) { return b == MouseButton::Left || b == MouseButton::Right; }

// Navigation alone, as the mouse works in view mode: every press and release
// is drawn anew, a motion where it moved the picture.
bool navigate(const InputEvent& e)
{
    if (e.kind == InputEvent::Kind::Motion) return navigationDrag(e.x, e.y);
    if (e.kind == InputEvent::Kind::Press) navigationPress(e.button, e.x, e.y);
    else navigationRelease();
    return true;
}

// The click of gesture g, for the mode it was made in.
void click(SessionRecord& s, const PointerGesture& g)
{
    if (s.mode == Mode::Edit && editClick(s, g)) rebuildEdited(s);
    if (s.mode == Mode::Guess && g.button == MouseButton::Left) answerGuess(s, g.point);
}

// A mode that takes clicks: a left or right press waits, its navigation taken
// but not begun, until it either comes back up within the click radius (a
// click, for the mode) or leaves it (a drag: a point moved in edit mode,
// navigation otherwise, measured from the press).
bool pointerInMode(SessionRecord& s, const InputEvent& e)
{
    PointerGesture& g = s.gesture;
    const bool moving = s.mode == Mode::Edit && movesPoint(g);
    switch (e.kind) {
    case InputEvent::Kind::Press:
        if (isClickButton(e.button) && !g.down && !navigating()) {
            navigationTake(e.x, e.y);
            g = pressGesture(e.button, e.x, e.y, s.points);
            return true;
        }
        // A second button ends the gesture and leaves both to navigation,
        // which zooms for left and right together.
        if (g.down) {
            navigationBegin(g.button);
            g = {};
        }
        navigationPress(e.button, e.x, e.y);
        return true;
    case InputEvent::Kind::Motion:
        if (g.down && !g.dragging) {
            if (!becomesDrag(g, e.x, e.y)) return false;
            if (!moving) navigationBegin(g.button);
        }
        if (g.down && moving) {
            if (!dragPointTo(s, g, e.x, e.y)) return false;
            rebuildEdited(s);
            return true;
        }
        return navigationDrag(e.x, e.y);
    case InputEvent::Kind::Release:
        // Any release ends the gesture, as it ends every navigation mode.
        if (g.down && !g.dragging) click(s, g);
        g = {};
        navigationRelease();
        return true;
    case InputEvent::Kind::Key:
    case InputEvent::Kind::Pinch:
    case InputEvent::Kind::Ignored:
        return false;
    }
    return false;
}

} // namespace

void setMode(SessionRecord& s, Mode m)
{
    if (s.mode == Mode::Guess || m == Mode::Guess) {
        s.guess = {};
        // The score shows from here on.
        s.steps.captioned = true;
    }
    s.gesture = {};
    s.mode = m;
}

Requests startSession(int width, int height)
{
    SessionRecord& s = Session;
    // A play tick still pending from a run before belongs to no play of this one.
    const std::int32_t round = s.steps.playRound;
    s.steps = {};
    s.steps.playRound = round + 1;
    s.steps.step = finishedStep(s);
    s.mode = Mode::View;
    s.panel = false;
    s.comparison = false;
    s.guess = {};
    s.gesture = {};
    s.notice.clear();
    s.quitAsked = false;
    navigationRelease();
    return reshapeWindow(width, height);
}

Requests reshapeWindow(int width, int height)
{
    ViewState.windowWidth = width;
    ViewState.windowHeight = std::max(height, 1);
    frameAgain(Session);
    return redraw();
}

Requests handleInput(const InputEvent& e)
{
    SessionRecord& s = Session;
    switch (e.kind) {
    case InputEvent::Kind::Key: {
        const Requests r = pressKey(e.key);
        fitToText(s);
        return r;
    }
    case InputEvent::Kind::Press:
    case InputEvent::Kind::Release:
    case InputEvent::Kind::Motion:
        return redraw(s.mode == Mode::View ? navigate(e) : pointerInMode(s, e));
    case InputEvent::Kind::Pinch:
        // Two fingers navigate in every mode, and end whatever one began.
        s.gesture = {};
        navigationRelease();
        return redraw(navigationPinch(e.fromX, e.fromY, e.x, e.y, e.scale, e.turn));
    case InputEvent::Kind::Ignored:
        // A key the program has no use for still ends a notice, as any key does.
        s.notice.clear();
        s.quitAsked = false;
        return redraw();
    }
    return {};
}

Requests advancePlay(std::int32_t round)
{
    SessionRecord& s = Session;
    Requests r = redraw();
    // Guess mode stops a play at each question.
    if (stopForQuestion(s, round)) return r;
    if (playTick(s.steps, round, finishedStep(s))) {
        r.playAfter = playMillis(s.steps);
        r.playRound = round;
    }
    return r;
}

Requests showStep(std::int32_t step)
{
    SessionRecord& s = Session;
    closeQuestion(s);
    // A new round: a tick of a play before is nobody's.
    ++s.steps.playRound;
    s.steps.playing = s.steps.paused = false;
    s.steps.captioned = true;
    s.steps.step = std::clamp(step, 0, finishedStep(s));
    s.guess.answered = -1;
    fitToText(s);
    return redraw();
}

const Picture& framePicture() { return buildPicture(Session, windowFrame()); }
