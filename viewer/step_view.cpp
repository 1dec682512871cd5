#include "step_view.hpp"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "controls.hpp"
#include "edit.hpp"
#include "points_file.hpp"
#include "viewer.hpp"

StepRecord StepView;

namespace {

// The ring round a new vertex, in pixels at the initial framing.
constexpr double RingPixels = 12.0;
// Text: GLUT's 12-point Helvetica, a line every LineHeight pixels, Margin
// pixels from the window's top and left edges.
void* const Font = GLUT_BITMAP_HELVETICA_12;
constexpr int LineHeight = 16;
constexpr int Margin = 10;

// "(x, y)" in whole numbers.
std::string xy(const Point& p)
{
    char text[64];
    std::snprintf(text, sizeof text, "(%.0f, %.0f)", double(p.x), double(p.y));
    return text;
}

const Point& vertex(const HullTrace& t, std::int32_t position)
{
    return t.points[std::size_t(t.vertices[std::size_t(position)])];
}

// Scene units that make RingPixels at the initial framing: the eye sees
// 2 * eyeDistance * tan(fov / 2) units over the window's height.
float ringRadius()
{
    const double unitsPerPixel = 2.0 * double(ViewState.eyeDistance)
                               * std::tan(FieldOfViewY * 0.5 * std::numbers::pi / 180.0) / WindowHeight;
    return float(RingPixels * unitsPerPixel);
}

// The help text: every control, then where the run's points came from.
void helpLines(std::vector<std::string>& lines)
{
    lines.assign(std::begin(ControlHelp), std::end(ControlHelp));
    if (StepView.seed)
        lines.push_back("Seme: " + std::to_string(*StepView.seed));
    else if (!StepView.pointsFile.empty())
        lines.push_back("Tacke iz datoteke: " + (StepView.pointsFile == "-" ? "standardni ulaz" : asciiName(StepView.pointsFile)));
}

// Lines of bitmap text from the top-left corner down, starting firstLine lines
// below it, in the current colour and in window pixels (drawOverlay's projection).
void drawLines(const std::vector<std::string>& lines, int firstLine)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int baseline = viewport[3] - Margin - LineHeight * (firstLine + int(i) + 1) + 4;
        glRasterPos2i(Margin, baseline);
        glutBitmapString(Font, reinterpret_cast<const unsigned char*>(lines[i].c_str()));
    }
}

} // namespace

StepKey stepKeyOf(unsigned char key)
{
    switch (key) {
    case 'n': case 'N': return StepKey::Next;
    case 'p': case 'P': return StepKey::Previous;
    case ' ': return StepKey::Play;
    case 'h': case 'H': return StepKey::Help;
    case 'r': case 'R': return StepKey::InitialView;
    case 'q': case 'Q': case 27: return StepKey::Quit;
    default: return StepKey::None;
    }
}

StepKey specialStepKeyOf(int key)
{
    switch (key) {
    case GLUT_KEY_RIGHT: return StepKey::Next;
    case GLUT_KEY_LEFT: return StepKey::Previous;
    case GLUT_KEY_HOME: return StepKey::First;
    case GLUT_KEY_END: return StepKey::Last;
    case GLUT_KEY_F1: return StepKey::Help;
    default: return StepKey::None;
    }
}

bool pressStepKey(StepState& s, StepKey key, std::int32_t count)
{
    switch (key) {
    case StepKey::Next:
    case StepKey::Previous:
    case StepKey::First:
    case StepKey::Last:
        s.captioned = true;
        s.playing = false;
        if (key == StepKey::Next) s.step = std::min(s.step + 1, count);
        if (key == StepKey::Previous) s.step = std::max(s.step - 1, 0);
        if (key == StepKey::First) s.step = 0;
        if (key == StepKey::Last) s.step = count;
        return false;
    case StepKey::Play:
        s.captioned = true;
        // A new round: a tick still pending from an earlier play is ignored.
        ++s.playRound;
        if (s.playing) {
            s.playing = false;
            return false;
        }
        if (s.step >= count) s.step = 0;
        s.playing = s.step < count;
        return s.playing;
    case StepKey::Help:
        s.help = !s.help;
        return false;
    case StepKey::InitialView:
    case StepKey::Quit:
    case StepKey::None:
        return false;
    }
    return false;
}

bool playTick(StepState& s, std::int32_t round, std::int32_t count)
{
    if (!s.playing || round != s.playRound) return false;
    s.step = std::min(s.step + 1, count);
    s.playing = s.step < count;
    return s.playing;
}

void buildStepPicture(const HullTrace& t, std::int32_t step, float ringRadius, SceneStore& out)
{
    clearScene(out);
    out.box = Scene.box;
    // Every input point blue in index order, so point i is entry i and the
    // ones ruled out so far turn white in place; the vertices come on top.
    for (const Point& p : t.points) out.points.push_back({p.x, p.y, p.z, InputColor});
    if (step <= 0) return;
    const HullStep& s = t.steps[std::size_t(step)];
    for (std::int32_t k = 0; k < s.ruledEnd; ++k) out.points[std::size_t(t.ruledOut[std::size_t(k)])].color = RuledOutColor;

    // The hull so far: the outline's vertices found by this step, in its order.
    const Point* first = nullptr;
    const Point* last = nullptr;
    for (const std::int32_t k : t.outline) {
        if (k > step) continue;
        const Point& p = vertex(t, k);
        if (last) out.segments.push_back({*last, p, OutlineColor});
        if (!first) first = &p;
        last = &p;
    }
    if (first) out.segments.push_back({*last, *first, OutlineColor});

    if (s.edgeFrom >= 0) {
        const Point& a = vertex(t, s.edgeFrom);
        const Point& b = vertex(t, s.edgeTo);
        const Point& v = vertex(t, step);
        for (const Segment& e : {Segment{a, b}, Segment{a, v}, Segment{v, b}})
            out.segments.push_back({e.start, e.end, SplitColor});
        out.circles.push_back({v, ringRadius, SplitColor});
    }
    for (std::int32_t k = 0; k <= step; ++k) {
        const Point& p = vertex(t, k);
        out.points.push_back({p.x, p.y, p.z, HullVertexColor});
    }
}

void stepCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const std::int32_t count = stepCount(t);
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(count));
    if (step >= count) {
        lines.push_back("Temena omotaca: " + std::to_string(count));
    } else if (step == 0) {
        lines.push_back("Ulazne tacke: " + std::to_string(t.points.size()));
    } else if (step == 1) {
        lines.push_back("Krajnje tacke: L " + xy(vertex(t, 0)) + ", R " + xy(vertex(t, 1)));
    } else {
        const HullStep& s = t.steps[std::size_t(step)];
        lines.push_back("Najdalja tacka od ivice " + xy(vertex(t, s.edgeFrom)) + " - " + xy(vertex(t, s.edgeTo)) + ": "
                        + xy(vertex(t, step)));
        lines.push_back("Neodlucene tacke: " + std::to_string(s.undecided));
    }
}

const SceneStore& shownPicture()
{
    StepRecord& r = StepView;
    const std::int32_t count = stepCount(r.trace);
    if (r.state.step != r.shownStep) {
        stepCaption(r.trace, r.state.step, r.caption);
        if (r.state.step < count) buildStepPicture(r.trace, r.state.step, ringRadius(), r.picture);
        r.shownStep = r.state.step;
    }
    return r.state.step < count ? r.picture : Scene;
}

void drawOverlay()
{
    const StepState& s = StepView.state;
    static std::vector<std::string> edit, help;
    editCaption(edit);
    if (!s.captioned && !s.help && edit.empty()) return;
    if (s.help) helpLines(help);

    // Window pixel coordinates from a projection of their own, pushed over the
    // navigation's and popped again.
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, viewport[2], 0.0, viewport[3]);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    setColor(HullVertexColor);
    // Edit mode and its notices first, then the step, then the help, a blank
    // line between them.
    int line = 0;
    if (!edit.empty()) {
        drawLines(edit, line);
        line += int(edit.size()) + 1;
    }
    if (s.captioned) {
        drawLines(StepView.caption, line);
        line += int(StepView.caption.size()) + 1;
    }
    if (s.help) drawLines(help, line);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    glPopAttrib();
}

void onKeyboard(unsigned char key, int, int)
{
    // A notice lasts until the next key.
    Editing.notice.clear();
    if (const EditKey e = editKeyOf(key); e != EditKey::None) {
        pressEditKey(e);
        glutPostRedisplay();
        return;
    }
    const StepKey k = stepKeyOf(key);
    if (k == StepKey::Quit) {
        glutLeaveMainLoop();
        return;
    }
    // As a resize does: the projection starts again from the initial framing.
    if (k == StepKey::InitialView) onReshape(glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
    if (pressStepKey(StepView.state, k, stepCount(StepView.trace)))
        glutTimerFunc(PlayMillis, onPlayTick, StepView.state.playRound);
    glutPostRedisplay();
}

void onSpecialKey(int key, int, int)
{
    Editing.notice.clear();
    if (pressStepKey(StepView.state, specialStepKeyOf(key), stepCount(StepView.trace)))
        glutTimerFunc(PlayMillis, onPlayTick, StepView.state.playRound);
    glutPostRedisplay();
}

void onPlayTick(int round)
{
    if (playTick(StepView.state, round, stepCount(StepView.trace)))
        glutTimerFunc(PlayMillis, onPlayTick, round);
    glutPostRedisplay();
}
