#include "step_view.hpp"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "edit.hpp"
#include "platform.hpp"
#include "points_file.hpp"
#include "run_viewer.hpp"
#include "teach.hpp"
#include "viewer.hpp"

namespace {

// The ring round a new vertex, in pixels at the initial framing.
constexpr double RingPixels = 12.0;
// Text: Margin pixels from the window's top and left edges.
constexpr int Margin = 10;


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
    if (Session.seed)
        lines.push_back("Seme: " + std::to_string(*Session.seed)
                        + (Session.distribution.empty() ? "" : ", raspored: " + Session.distribution));
    else if (!Session.pointsFile.empty())
        lines.push_back("Tacke iz datoteke: " + (Session.pointsFile == "-" ? "standardni ulaz" : asciiName(Session.pointsFile)));
}

// A block of text from the top-left corner down, starting firstLine lines
// below it, in the current colour and in window pixels (drawOverlay's projection).
void drawLines(const std::vector<std::string>& lines, int firstLine)
{
    drawTextBlock(Margin, Margin + TextLineHeight * firstLine, lines);
}

} // namespace

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

StepKey stepKeyOf(int key)
{
    switch (key) {
    case 'n': case 'N': case KeyRight: return StepKey::Next;
    case 'p': case 'P': case KeyLeft: return StepKey::Previous;
    case KeyHome: return StepKey::First;
    case KeyEnd: return StepKey::Last;
    case ' ': return StepKey::Play;
    case 'h': case 'H': case KeyF1: return StepKey::Help;
    case 'r': case 'R': return StepKey::InitialView;
    case 'q': case 'Q': case 27: return StepKey::Quit;
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
        s.playing = s.paused = false;
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
            s.paused = true;
            return false;
        }
        s.paused = false;
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

const char* playLine(const StepState& s) { return s.playing ? "Reprodukcija" : s.paused ? "Pauza" : ""; }

bool playTick(StepState& s, std::int32_t round, std::int32_t count)
{
    if (!s.playing || round != s.playRound) return false;
    s.step = std::min(s.step + 1, count);
    s.playing = s.step < count;
    return s.playing;
}

void buildStepPicture(const HullTrace& t, std::int32_t step, float ringRadius, SceneStore& out, bool showSplit)
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
    // An edge between two of them still waits where the finished outline has
    // vertices between them, for those lie beyond it, undecided.
    const std::int32_t count = std::int32_t(t.outline.size());
    const auto edge = [&](std::int32_t from, std::int32_t to) {
        const bool waits = (to - from + count) % count != 1;
        out.segments.push_back({vertex(t, t.outline[std::size_t(from)]), vertex(t, t.outline[std::size_t(to)]),
                                waits ? WaitingColor : OutlineColor});
    };
    std::int32_t first = -1, last = -1; // positions in the outline
    for (std::int32_t r = 0; r < count; ++r) {
        if (t.outline[std::size_t(r)] > step) continue;
        if (last >= 0) edge(last, r);
        if (first < 0) first = r;
        last = r;
    }
    if (first >= 0) edge(last, first);

    if (s.edgeFrom >= 0 && showSplit) {
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
    // The work so far: every point each step examined, summed.
    std::int64_t total = 0;
    for (std::int32_t k = 0; k <= std::min(step, count - 1); ++k) total += t.steps[std::size_t(k)].examined;
    if (step >= count) {
        lines.push_back("Temena omotaca: " + std::to_string(count));
        lines.push_back("Ukupno ispitano: " + std::to_string(total) + " za " + std::to_string(t.points.size())
                        + " tacaka");
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
    if (step >= 1 && step < count) {
        const HullStep& s = t.steps[std::size_t(step)];
        lines.push_back("Ispitano tacaka: " + std::to_string(s.examined) + ", ukupno " + std::to_string(total)
                        + "; iskljuceno: " + std::to_string(s.ruledEnd - t.steps[std::size_t(step - 1)].ruledEnd));
    }
    if (step + 1 < count && t.steps[std::size_t(step + 1)].edgeFrom >= 0) {
        const HullStep& next = t.steps[std::size_t(step + 1)];
        lines.push_back("Sledeca ivica: " + xy(vertex(t, next.edgeFrom)) + " - " + xy(vertex(t, next.edgeTo)));
    }
}

const SceneStore& shownPicture()
{
    SessionRecord& r = Session;
    const GuessState& g = r.guess;
    const std::int32_t count = stepCount(r.trace);
    // A question shows the step before it with the edge about to be split.
    const std::int32_t shown = g.question >= 0 ? -2 - g.question : r.steps.step;
    if (shown != r.shownStep) {
        if (g.question >= 0) {
            questionCaption(r.trace, g.question, r.caption);
            buildStepPicture(r.trace, g.question - 1, ringRadius(), r.picture, false);
            const HullStep& s = r.trace.steps[std::size_t(g.question)];
            r.picture.segments.push_back({vertex(r.trace, s.edgeFrom), vertex(r.trace, s.edgeTo), SplitColor});
        } else {
            stepCaption(r.trace, r.steps.step, r.caption);
            if (r.steps.step < count) buildStepPicture(r.trace, r.steps.step, ringRadius(), r.picture);
            // The answer's ring: green round a right point, magenta round a
            // wrong one (the right one keeps the step's own ring).
            if (g.answered == r.steps.step && g.answered >= 0)
                r.picture.circles.push_back({r.trace.points[std::size_t(g.clicked)], ringRadius(),
                                             g.right ? RightGuessColor : WrongGuessColor});
        }
        r.shownStep = shown;
    }
    return g.question >= 0 || r.steps.step < count ? r.picture : Scene;
}

void drawOverlay()
{
    const StepState& s = Session.steps;
    static std::vector<std::string> edit, help;
    editCaption(edit);
    if (!s.captioned && !s.help && edit.empty() && !Session.panel) return;
    if (s.help) helpLines(help);

    // Window pixel coordinates from a projection of their own, over the whole
    // window (the picture's may leave room for the panel), pushed over the
    // navigation's and popped again.
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const WindowSize window = windowSize();
    glViewport(0, 0, window.width, window.height);
    glPushAttrib(GL_CURRENT_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0.0, window.width, 0.0, window.height);
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
        static std::vector<std::string> caption;
        caption = Session.caption;
        if (*playLine(s)) caption.push_back(playLine(s));
        guessLines(Session, caption);
        drawLines(caption, line);
        line += int(caption.size()) + 1;
    }
    if (s.help) drawLines(help, line);
    if (Session.panel) {
        static std::vector<std::string> method;
        methodLines(Session.trace, s.step, Session.guess.question >= 0, method);
        drawTextBlock(window.width - PanelWidth + Margin, Margin, method);
    }

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    glPopAttrib();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}
