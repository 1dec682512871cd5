#include "edit.hpp"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "points_file.hpp"
#include "step_view.hpp"
#include "svg.hpp"
#include "viewer.hpp"

EditRecord Editing;

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

bool isDragButton(int button) { return button == GLUT_LEFT_BUTTON || button == GLUT_RIGHT_BUTTON; }

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
        Editing.notice = std::string(what) + saved.name;
        return;
    }
    Editing.notice = saved.error;
    std::fprintf(stderr, "%s\n", saved.error.c_str());
}

// The press that starts a gesture: the point under it, where that point was,
// and the scene point under the press, from which a move is measured.
void startGesture(int button, int x, int y)
{
    EditGesture& g = Editing.gesture;
    g = {};
    g.button = button;
    g.pressX = x;
    g.pressY = y;
    g.point = pointNear(Editing.points, currentWindowMap(), x, y);
    if (g.point >= 0) g.from = Editing.points[std::size_t(g.point)];
    if (const auto p = pickScenePlane(x, y)) {
        g.pickX = p->x;
        g.pickY = p->y;
        g.picked = true;
    }
}

} // namespace

EditAction motionAction(EditGesture& g, int x, int y)
{
    if (g.button < 0) return EditAction::Navigate;
    if (!g.dragging) {
        const double dx = double(x) - g.pressX, dy = double(y) - g.pressY;
        if (dx * dx + dy * dy <= ClickPixels * ClickPixels) return EditAction::None;
        g.dragging = true;
    }
    return g.button == GLUT_LEFT_BUTTON && g.point >= 0 ? EditAction::Move : EditAction::Navigate;
}

EditAction releaseAction(const EditGesture& g)
{
    if (g.dragging) return EditAction::None;
    if (g.button == GLUT_LEFT_BUTTON && g.point < 0) return EditAction::Add;
    if (g.button == GLUT_RIGHT_BUTTON && g.point >= 0) return EditAction::Remove;
    return EditAction::None;
}

WindowMap currentWindowMap()
{
    std::array<double, 16> modelview{}, projection{};
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
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

bool addEditPoint(EditRecord& e, double x, double y)
{
    if (e.points.size() >= std::size_t(PointCapacity)) {
        e.notice = "Najvise 10000 tacaka: tacka nije dodata";
        return false;
    }
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    if (!wx || !wy) return false;
    e.points.push_back({*wx, *wy});
    return true;
}

bool moveEditPoint(EditRecord& e, std::int32_t i, double x, double y)
{
    if (i < 0 || std::size_t(i) >= e.points.size()) return false;
    const auto wx = wholeCoordinate(x), wy = wholeCoordinate(y);
    Point& p = e.points[std::size_t(i)];
    if (!wx || !wy || (p.x == *wx && p.y == *wy)) return false;
    p.x = *wx;
    p.y = *wy;
    return true;
}

bool removeEditPoint(EditRecord& e, std::int32_t i)
{
    if (i < 0 || std::size_t(i) >= e.points.size()) return false;
    if (e.points.size() == 1) {
        e.notice = "Poslednja tacka se ne moze ukloniti";
        return false;
    }
    e.points.erase(e.points.begin() + i);
    return true;
}

void rebuildEdited()
{
    const std::int32_t before = stepCount(StepView.trace);
    Editing.run = rebuildHull(Editing.points.data(), std::int32_t(Editing.points.size()), indexList().data(), StepView.trace);
    const std::int32_t after = stepCount(StepView.trace);
    StepState& s = StepView.state;
    s.step = s.step >= before ? after : std::min(s.step, after);
    // The picture of the step is drawn anew even where its number stays.
    StepView.shownStep = -1;
    Editing.notice.clear();
    glutPostRedisplay();
}

void startEditing()
{
    Editing.on = false;
    Editing.points = StepView.trace.points;
    Editing.gesture = {};
    Editing.notice.clear();
}

void editCaption(std::vector<std::string>& lines)
{
    lines.clear();
    if (Editing.on) {
        lines.push_back("Uredjivanje tacaka");
        lines.push_back("Tacke: " + std::to_string(Editing.points.size()) + "  Temena: " +
                        std::to_string(Editing.run.count) + "  Vreme: " + millis(Editing.run.millis()) + " ms");
    }
    if (!Editing.notice.empty()) lines.push_back(Editing.notice);
}

EditKey editKeyOf(unsigned char key)
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
        Editing.on = !Editing.on;
        Editing.gesture = {};
        Editing.notice.clear();
        break;
    case EditKey::Save:
        noticeSaved(savePoints(Editing.points.data(), std::int32_t(Editing.points.size())), "Tacke sacuvane u ");
        break;
    case EditKey::Export:
        noticeSaved(exportSvg(shownPicture()), "Slika sacuvana u ");
        break;
    case EditKey::None:
        break;
    }
}

void onEditMouse(int button, int state, int x, int y)
{
    EditGesture& g = Editing.gesture;
    if (!Editing.on) return onMouse(button, state, x, y);
    if (state != GLUT_DOWN) {
        // Any release ends the gesture, as it ends every navigation mode.
        const EditAction action = g.button >= 0 ? releaseAction(g) : EditAction::None;
        if (action == EditAction::Add && g.picked && addEditPoint(Editing, g.pickX, g.pickY)) rebuildEdited();
        if (action == EditAction::Remove && removeEditPoint(Editing, g.point)) rebuildEdited();
        g = {};
        return onMouse(button, state, x, y);
    }
    if (isDragButton(button) && g.button < 0 && !navigating()) {
        // The press is navigation's too (where it was, what lay under it), but
        // its pan or rotation waits until the gesture turns out to be a drag.
        onMouse(button, state, x, y);
        ViewState.translating = ViewState.rotating = false;
        startGesture(button, x, y);
        return;
    }
    // A second button ends the gesture and leaves both to navigation, which
    // zooms for left and right together.
    if (g.button >= 0 && (isDragButton(button) || button == GLUT_MIDDLE_BUTTON)) {
        ViewState.translating = g.button == GLUT_LEFT_BUTTON;
        ViewState.rotating = g.button == GLUT_RIGHT_BUTTON;
        g = {};
    }
    onMouse(button, state, x, y);
}

void onEditMotion(int x, int y)
{
    EditGesture& g = Editing.gesture;
    if (!Editing.on) return onMotion(x, y);
    const bool startsDrag = g.button >= 0 && !g.dragging;
    switch (motionAction(g, x, y)) {
    case EditAction::None:
        return;
    case EditAction::Move:
        // The point keeps its offset from the cursor, so it does not jump to it.
        if (const auto p = pickScenePlane(x, y); p && g.picked)
            if (moveEditPoint(Editing, g.point, g.from.x + (p->x - g.pickX), g.from.y + (p->y - g.pickY)))
                rebuildEdited();
        return;
    default:
        // A drag from an empty place pans, a right drag rotates, from the press on.
        if (startsDrag) (g.button == GLUT_LEFT_BUTTON ? ViewState.translating : ViewState.rotating) = true;
        onMotion(x, y);
        return;
    }
}
