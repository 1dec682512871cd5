#include "edit.hpp"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "hull.hpp"
#include "platform.hpp"
#include "points_file.hpp"
#include "step_view.hpp"
#include "svg.hpp"
#include "teach.hpp"
#include "viewer.hpp"

namespace {

// The index list 0..PointCapacity-1: every set computeHull is given here is
// numbered from 0 in order.
const std::array<std::int32_t, PointCapacity>& indexList()
{
    static const auto list = [] {
        std::array<std::int32_t, PointCapacity> l{};
        std::iota(l.begin(), l.end(), 0);
        return l;
    }();
    return list;
}

bool isDragButton(MouseButton button) { return button == MouseButton::Left || button == MouseButton::Right; }

bool navigating() { return ViewState.translating || ViewState.rotating || ViewState.scaling; }

// "%.3f": clock() counts microseconds, so no figure past the third decimal means anything.
std::string millis(double ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

// A save's result as the notice, a failure on stderr as well.
void noticeSaved(const SavedFile& saved, const char* what)
{
    if (saved.error.empty()) {
        Session.edit.notice = std::string(what) + saved.name;
        return;
    }
    Session.edit.notice = saved.error;
    std::fprintf(stderr, "%s\n", saved.error.c_str());
}

// The press that starts a gesture: the point under it, where that point was,
// and the scene point under the press, from which a move is measured.
void startGesture(MouseButton button, int x, int y)
{
    EditGesture& g = Session.edit.gesture;
    g = {};
    g.button = button;
    g.down = true;
    g.pressX = x;
    g.pressY = y;
    g.point = pointNear(Session.points, currentWindowMap(), x, y);
    if (g.point >= 0) g.from = Session.points[std::size_t(g.point)];
    if (const auto p = pickScenePlane(x, y)) {
        g.pickX = p->x;
        g.pickY = p->y;
        g.picked = true;
    }
}

// Hands an event on to navigation.
void navigation(const InputEvent& e)
{
    if (e.kind == InputEvent::Kind::Press) navigationPress(e.button, e.x, e.y);
    if (e.kind == InputEvent::Kind::Release) navigationRelease();
    if (e.kind == InputEvent::Kind::Motion) navigationDrag(e.x, e.y);
}

} // namespace

EditAction motionAction(EditGesture& g, int x, int y)
{
    if (!g.down) return EditAction::Navigate;
    if (!g.dragging) {
        const double dx = double(x) - g.pressX, dy = double(y) - g.pressY;
        if (dx * dx + dy * dy <= ClickPixels * ClickPixels) return EditAction::None;
        g.dragging = true;
    }
    return g.button == MouseButton::Left && g.point >= 0 ? EditAction::Move : EditAction::Navigate;
}

EditAction releaseAction(const EditGesture& g)
{
    if (g.dragging) return EditAction::None;
    if (g.button == MouseButton::Left && g.point < 0) return EditAction::Add;
    if (g.button == MouseButton::Right && g.point >= 0) return EditAction::Remove;
    return EditAction::None;
}

WindowMap currentWindowMap()
{
    const std::array<double, 16>& modelview = ViewState.modelview;
    const std::array<double, 16>& projection = ViewState.projection;
    WindowMap map;
    glGetIntegerv(GL_VIEWPORT, map.viewport.data());
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
    const double cursorX = x, cursorY = double(v[3]) - double(y) - 1.0;
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

std::optional<float> wholeCoordinate(double v)
{
    if (std::isnan(v)) return std::nullopt;
    return float(std::clamp(std::round(v), -double(CoordinateLimit), double(CoordinateLimit)));
}

bool addEditPoint(SessionRecord& r, double x, double y)
{
    if (r.points.size() >= std::size_t(PointCapacity)) {
        r.edit.notice = "Najvise 10000 tacaka: tacka nije dodata";
        return false;
    }
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    if (!wx || !wy) return false;
    r.points.push_back({*wx, *wy});
    return true;
}

bool moveEditPoint(SessionRecord& r, std::int32_t i, double x, double y)
{
    if (i < 0 || std::size_t(i) >= r.points.size()) return false;
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    Point& p = r.points[std::size_t(i)];
    if (!wx || !wy || (p.x == *wx && p.y == *wy)) return false;
    p.x = *wx;
    p.y = *wy;
    return true;
}

bool removeEditPoint(SessionRecord& r, std::int32_t i)
{
    if (i < 0 || std::size_t(i) >= r.points.size()) return false;
    if (r.points.size() == 1) {
        r.edit.notice = "Poslednja tacka se ne moze ukloniti";
        return false;
    }
    r.points.erase(r.points.begin() + i);
    return true;
}

void rebuildEdited()
{
    const std::int32_t before = stepCount(Session.trace);
    const std::int32_t n = std::int32_t(Session.points.size());
    loadRun(Session.points.data(), n, timeHull(Session.points.data(), n, indexList().data()));
    const std::int32_t after = stepCount(Session.trace);
    StepState& s = Session.steps;
    s.step = s.step >= before ? after : std::min(s.step, after);
    Session.edit.notice.clear();
    // A new set, a new score.
    restartGuessing(Session.guess);
    requestRedraw();
}

void editCaption(std::vector<std::string>& lines)
{
    lines.clear();
    if (Session.edit.on) {
        lines.push_back("Uredjivanje tacaka");
        lines.push_back("Tacke: " + std::to_string(Session.points.size()) + "  Temena: " +
                        std::to_string(Session.result.count) + "  Vreme: " + millis(Session.result.millis()) + " ms");
    }
    if (!Session.edit.notice.empty()) lines.push_back(Session.edit.notice);
}

EditKey editKeyOf(int key)
{
    switch (key) {
    case 'e': case 'E': return EditKey::Toggle;
    case 's': case 'S': return EditKey::Save;
    case 'x': case 'X': return EditKey::Export;
    default: return EditKey::None;
    }
}

void pressEditKey(EditKey key)
{
    switch (key) {
    case EditKey::Toggle:
        Session.edit.on = !Session.edit.on;
        Session.edit.gesture = {};
        Session.edit.notice.clear();
        // Editing and guessing exclude each other.
        if (Session.edit.on && Session.guess.on) {
            Session.guess = {};
            forgetPicture();
        }
        break;
    case EditKey::Save:
        noticeSaved(savePoints(Session.points.data(), std::int32_t(Session.points.size())), "Tacke sacuvane u ");
        break;
    case EditKey::Export:
        noticeSaved(exportSvg(shownPicture()), "Slika sacuvana u ");
        break;
    case EditKey::None:
        break;
    }
}

void editPointer(const InputEvent& e)
{
    EditGesture& g = Session.edit.gesture;
    if (!Session.edit.on) {
        if (Session.guess.on) guessPointer(Session, e);
        return navigation(e);
    }
    if (e.kind == InputEvent::Kind::Motion) {
        const bool startsDrag = g.down && !g.dragging;
        switch (motionAction(g, e.x, e.y)) {
        case EditAction::None:
            return;
        case EditAction::Move:
            // The point keeps its offset from the cursor, so it does not jump to it.
            if (const auto p = pickScenePlane(e.x, e.y); p && g.picked)
                if (moveEditPoint(Session, g.point, g.from.x + (p->x - g.pickX), g.from.y + (p->y - g.pickY)))
                    rebuildEdited();
            return;
        default:
            // A drag from an empty place pans, a right drag rotates, from the press on.
            if (startsDrag) (g.button == MouseButton::Left ? ViewState.translating : ViewState.rotating) = true;
            return navigation(e);
        }
    }
    if (e.kind == InputEvent::Kind::Release) {
        // Any release ends the gesture, as it ends every navigation mode.
        const EditAction action = g.down ? releaseAction(g) : EditAction::None;
        if (action == EditAction::Add && g.picked && addEditPoint(Session, g.pickX, g.pickY)) rebuildEdited();
        if (action == EditAction::Remove && removeEditPoint(Session, g.point)) rebuildEdited();
        g = {};
        return navigation(e);
    }
    if (isDragButton(e.button) && !g.down && !navigating()) {
        // The press is navigation's too (where it was, what lay under it), but
        // its pan or rotation waits until the gesture turns out to be a drag.
        navigation(e);
        ViewState.translating = ViewState.rotating = false;
        startGesture(e.button, e.x, e.y);
        return;
    }
    // A second button ends the gesture and leaves both to navigation, which
    // zooms for left and right together.
    if (g.down && (isDragButton(e.button) || e.button == MouseButton::Middle)) {
        ViewState.translating = g.button == MouseButton::Left;
        ViewState.rotating = g.button == MouseButton::Right;
        g = {};
    }
    navigation(e);
}
