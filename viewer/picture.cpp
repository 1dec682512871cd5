// The picture builder: the step pictures of the trace as scene stores, and the
// window's text laid out in blocks, from the session alone.

#include "picture.hpp"

#include "captions.hpp"
#include "method_pictures.hpp"
#include "method_text.hpp"
#include "step_keys.hpp"

namespace {

// The step's picture as last built, and what it was built from.
struct PictureRecord {
    SceneStore steps;
    std::uint64_t revision = 0;
    HullMethod method = HullMethod::Farthest;
    std::int32_t step = -1, question = -1, answered = -1, clicked = -1;
    bool right = false;
    float ringRadius = 0.0f;
    bool built = false;
    Picture picture;
    // Scratch for the text, kept so that a frame allocates nothing new.
    std::vector<std::string> lines;
};

PictureRecord Shown;

// The scene of the step shown or of the question asked; the finished Scene
// where neither.
const SceneStore& stepScene(const SessionRecord& s, float ringRadius)
{
    const GuessState& g = s.guess;
    const HullTrace& t = s.trace;
    if (g.question < 0 && s.steps.step >= finishedStep(s)) return Scene;
    const std::int32_t answered = g.answered == s.steps.step ? g.answered : -1;
    PictureRecord& r = Shown;
    // A step answered again, after going back to it, may be answered otherwise.
    if (r.built && r.revision == s.revision && r.method == s.method && r.step == s.steps.step
        && r.question == g.question && r.answered == answered && r.clicked == g.clicked && r.right == g.right
        && r.ringRadius == ringRadius)
        return r.steps;
    const bool asking = g.question >= 0;
    const std::int32_t step = asking ? g.question : s.steps.step;
    if (s.method == HullMethod::Jarvis) {
        buildJarvisPicture(s.jarvis, step, ringRadius, Scene.box, r.steps, asking);
    } else if (s.method != HullMethod::Farthest) {
        buildStackPicture(s.method == HullMethod::Graham ? s.graham : s.andrew, step, ringRadius, Scene.box, r.steps,
                          asking);
    } else if (asking) {
        // A question shows the step before it with the edge about to be split.
        buildStepPicture(t, g.question - 1, ringRadius, Scene.box, r.steps, false);
        const HullStep& q = t.steps[std::size_t(g.question)];
        r.steps.segments.push_back({vertex(t, q.edgeFrom), vertex(t, q.edgeTo), SplitColor});
    } else {
        buildStepPicture(t, s.steps.step, ringRadius, Scene.box, r.steps);
    }
    // The answer's ring: green round a right point, magenta round a wrong
    // one (the right one keeps the step's own ring).
    if (answered >= 0)
        r.steps.circles.push_back({t.points[std::size_t(g.clicked)], ringRadius,
                                   g.right ? RightGuessColor : WrongGuessColor});
    r.built = true;
    r.revision = s.revision;
    r.method = s.method;
    r.step = s.steps.step;
    r.question = g.question;
    r.answered = answered;
    r.clicked = g.clicked;
    r.right = g.right;
    r.ringRadius = ringRadius;
    return r.steps;
}

// The caption of the step shown, or the question asked, for the method shown;
// its first line names the method.
void captionOf(const SessionRecord& s, std::vector<std::string>& lines)
{
    const std::int32_t question = s.guess.question, step = s.steps.step;
    const StackTrace& stack = s.method == HullMethod::Graham ? s.graham : s.andrew;
    if (question >= 0 && s.method == HullMethod::Farthest) {
        questionCaption(s.trace, question, lines);
    } else if (question >= 0) {
        lines.assign(1, "Korak " + std::to_string(question) + " od " + std::to_string(finishedStep(s)));
        lines.push_back(s.method == HullMethod::Jarvis ? jarvisQuestion(s.jarvis, question) : stackQuestion(stack, question));
    } else if (s.method == HullMethod::Farthest) {
        stepCaption(s.trace, step, lines);
    } else if (s.method == HullMethod::Jarvis) {
        jarvisCaption(s.jarvis, step, lines);
    } else {
        stackCaption(stack, step, lines);
    }
    lines[0] += std::string(" (") + hullMethodName(s.method) + ")";
}

// The method's numbered lines, the step's (or the question's) marked.
void panelOf(const SessionRecord& s, std::vector<std::string>& lines)
{
    const bool asking = s.guess.question >= 0;
    const std::int32_t step = asking ? s.guess.question : s.steps.step;
    switch (s.method) {
    case HullMethod::Farthest: methodLines(s.trace, step, asking, lines); break;
    case HullMethod::Jarvis: jarvisLines(s.jarvis, step, asking, lines); break;
    case HullMethod::Graham: stackLines(s.graham, step, asking, lines); break;
    case HullMethod::Andrew: stackLines(s.andrew, step, asking, lines); break;
    }
}

// Appends lines as a block below the blocks already in the left column,
// a blank line apart; `line` counts the lines used so far.
void leftBlock(Picture& p, const std::vector<std::string>& lines, int& line)
{
    if (lines.empty()) return;
    p.text.push_back({Margin, Margin + TextLineHeight * line, lines});
    line += int(lines.size()) + 1;
}

} // namespace

const Picture& buildPicture(const SessionRecord& s, const PictureFrame& frame)
{
    Picture& p = Shown.picture;
    std::vector<std::string>& lines = Shown.lines;
    p.scene = &stepScene(s, frame.ringRadius);
    p.text.clear();
    int line = 0;
    // Edit mode and any notice first, then the step, then the help.
    lines.clear();
    if (s.mode == Mode::Edit) editLines(s, lines);
    if (!s.notice.empty()) lines.push_back(s.notice);
    leftBlock(p, lines, line);
    if (s.steps.captioned) {
        captionOf(s, lines);
        if (*playLine(s.steps)) lines.push_back(playLine(s.steps));
        guessLines(s, lines);
        leftBlock(p, lines, line);
    }
    if (s.comparison) {
        comparisonLines(s.counts, s.agree, lines);
        leftBlock(p, lines, line);
    }
    if (s.steps.help) {
        helpLines(s.source, lines);
        leftBlock(p, lines, line);
    }
    if (s.panel) {
        panelOf(s, lines);
        p.text.push_back({frame.width - PanelWidth + Margin, Margin, lines});
    }
    return p;
}

void buildStepPicture(const HullTrace& t, std::int32_t step, float ringRadius, const BoundingBox& box, SceneStore& out,
                      bool showSplit)
{
    clearScene(out);
    out.box = box;
    // Every input point blue in index order, so point i is entry i and the
    // ones ruled out so far turn white in place; the vertices come on top.
    for (const Point& p : t.points) out.points.push_back({p.x, p.y, p.z, InputColor});
    if (step <= 0) return;
    const HullStep& s = t.steps[std::size_t(step)];
    for (std::int32_t k = 0; k < s.ruledEnd; ++k) out.points[std::size_t(t.ruledOut[std::size_t(k)])].color = RuledOutColor;

    // The hull so far: the outline's vertices found by this step, in its order.
    // An edge between two of them still waits where the finished outline has
    // vertices between them, for those lie beyond it, undecided.
    const auto count = std::int32_t(t.outline.size());
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
