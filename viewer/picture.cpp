// The picture builder: the step pictures of the trace as scene stores, and the
// window's text laid out in blocks, from the session alone.

#include "picture.hpp"

#include <algorithm>
#include <cmath>

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

// A block's band reaches this many pixels past its text (at the usual size).
constexpr int BandPixels = 3;
// Wrapped lines the caption keeps room for, whatever the step's own take.
constexpr int CaptionRoomLines = 12;
// How far past the set's box a mark reaches on the picture: the ring round a
// vertex at its edge, with the ring's width and rim.
constexpr double MarkReach = RingPixels + 2.5;

// Lines a block of lines takes once wrapped.
int wrappedCount(const std::vector<std::string>& lines, int wrap, std::vector<std::string>& scratch)
{
    if (wrap <= 0) return int(lines.size());
    int count = 0;
    for (const std::string& line : lines) {
        scratch.clear();
        wrapLine(line, wrap, scratch);
        count += int(scratch.size());
    }
    return count;
}

// The longest line, in characters.
std::size_t longest(const std::vector<std::string>& lines)
{
    std::size_t n = 0;
    for (const std::string& line : lines) n = std::max(n, line.size());
    return n;
}

// A rectangle of the window in pixels from its top-left corner.
struct Rect {
    double left, top, right, bottom;
};

// The text's layout for one frame: the rectangles of the picture the text
// down the left edge covers, the panel's strip at the right edge (0 for
// none), and the lines of the left column used so far.
struct Layout {
    std::vector<Rect> left;
    int panelStrip = 0;
    int line = 0;
    std::vector<std::string> scratch;
};

Layout Laid;

// Appends lines as a block below the blocks already in the left column, a
// blank line apart. The room the block keeps from the picture has `reserve`
// lines more, and none where it does not keep any (a passing notice alone).
void leftBlock(std::vector<TextBlock>& text, const std::vector<std::string>& lines, TextKind kind, int wrap,
               const PictureFrame& frame, int reserve, bool keepsRoom = true)
{
    if (lines.empty()) return;
    Layout& l = Laid;
    const int scale = frame.scale;
    const int top = (Margin + TextLineHeight * l.line) * scale;
    text.push_back({Margin * scale, top, lines, kind, wrap, false});
    const int count = wrappedCount(lines, wrap, l.scratch);
    l.line += count + 1;
    if (!keepsRoom) return;
    const double chars = wrap > 0 ? double(wrap) : double(longest(lines));
    l.left.push_back({0.0, double(top - BandPixels * scale),
                      double((Margin + BandPixels) * scale) + chars * CharPixels * scale,
                      double(top + ((count + reserve) * TextLineHeight + BandPixels) * scale)});
}

// Where the text of session s goes for frame: into text, and what it keeps
// of the picture into Laid.
void layOut(const SessionRecord& s, const PictureFrame& frame, std::vector<TextBlock>& text,
            std::vector<std::string>& lines)
{
    Layout& l = Laid;
    l.left.clear();
    l.panelStrip = 0;
    l.line = 0;
    text.clear();
    const int scale = frame.scale;
    const auto rightOf = [&](int chars) {
        return (Margin + BandPixels) * scale + int(std::ceil(chars * CharPixels * scale));
    };
    // Edit mode and any notice first, then the step, then the help. Edit
    // mode's block keeps a line's room for the notices that come and go.
    lines.clear();
    if (s.mode == Mode::Edit) editLines(s, lines);
    if (!s.notice.empty()) lines.push_back(s.notice);
    leftBlock(text, lines, TextKind::Notes, TextColumnChars, frame, s.notice.empty() ? 1 : 0, s.mode == Mode::Edit);
    if (s.steps.captioned) {
        captionOf(s, lines);
        if (*playLine(s.steps)) lines.push_back(playLine(s.steps));
        guessLines(s, lines);
        // Room for the longest caption, so that stepping never moves the picture.
        leftBlock(text, lines, TextKind::Caption, TextColumnChars, frame,
                  std::max(CaptionRoomLines - wrappedCount(lines, TextColumnChars, Laid.scratch), 0));
    }
    // On a window too narrow for them beside the picture, the help and the
    // panel go below it where the platform has room there.
    const auto narrow = [&](int right) { return frame.width - right < LeastPictureWidth; };
    // The comparison of the methods and the help are read, then closed: they
    // keep no room, so that they never move the picture.
    const auto readThenClosed = [&] {
        if (frame.roomBelow && narrow(rightOf(HelpChars))) text.push_back({0, 0, lines, TextKind::Help, HelpChars, true});
        else leftBlock(text, lines, TextKind::Help, HelpChars, frame, 0, false);
    };
    if (s.comparison) {
        comparisonLines(s.counts, s.agree, lines);
        readThenClosed();
    }
    if (s.steps.help) {
        helpLines(s.source, lines);
        readThenClosed();
    }
    if (s.panel) {
        panelOf(s, lines);
        if (!narrow(PanelWidth * scale + rightOf(TextColumnChars))) {
            text.push_back({frame.width - (PanelWidth - Margin) * scale, Margin * scale, lines, TextKind::Panel, 0, false});
            l.panelStrip = PanelWidth * scale;
        } else if (frame.roomBelow) {
            text.push_back({0, 0, lines, TextKind::Panel, 0, true});
        } else {
            leftBlock(text, lines, TextKind::Panel, 0, frame, 0);
        }
    }
}

// Where the framing for room draws the set's box, widened by `reach` pixels
// for the marks round its points; false for a set with nothing in it.
bool drawnBox(const PictureRoom& room, double reach, Rect& out)
{
    const BoundingBox& box = Scene.box;
    if (!(box.min.x <= box.max.x) || !(box.min.y <= box.max.y)) return false;
    const Framing f = frameBox(box, room.width, room.height, room.margin);
    const double perUnit = room.height / unitsAcross(f);
    const double cx = room.left + room.width * 0.5, cy = room.top + room.height * 0.5;
    out = {cx + (double(box.min.x) - f.viewCenterX) * perUnit - reach,
           cy - (double(box.max.y) - f.viewCenterY) * perUnit - reach,
           cx + (double(box.max.x) - f.viewCenterX) * perUnit + reach,
           cy - (double(box.min.y) - f.viewCenterY) * perUnit + reach};
    return true;
}

// Pixels a scene unit takes in room's framing: the more, the larger the set.
double scaleIn(const PictureRoom& room)
{
    return room.height / unitsAcross(frameBox(Scene.box, room.width, room.height, room.margin));
}

// The room Laid leaves the picture in a window of frame's size.
PictureRoom roomLeft(const PictureFrame& frame)
{
    const Layout& l = Laid;
    const int right = std::max(frame.width - l.panelStrip, 1);
    const PictureRoom whole{0, 0, right, frame.height};
    Rect drawn{};
    if (l.left.empty() || !drawnBox(whole, MarkReach * frame.scale, drawn)) return whole;
    const auto covers = [&](const Rect& a) {
        return a.left < drawn.right && drawn.left < a.right && a.top < drawn.bottom && drawn.top < a.bottom;
    };
    if (std::none_of(l.left.begin(), l.left.end(), covers)) return whole;
    double textRight = 0.0, textBottom = 0.0;
    for (const Rect& a : l.left) {
        textRight = std::max(textRight, a.right);
        textBottom = std::max(textBottom, a.bottom);
    }
    // The rings round the set's outermost points stay clear of the text too.
    const double reach = MarkReach * frame.scale;
    const int besideLeft = int(std::ceil(textRight)), belowTop = int(std::ceil(textBottom));
    const PictureRoom beside{besideLeft, 0, right - besideLeft, frame.height, reach};
    const PictureRoom below{0, belowTop, right, frame.height - belowTop, reach};
    if (below.height <= 0) return beside.width > 0 ? beside : whole;
    if (beside.width <= 0) return below;
    return scaleIn(below) > scaleIn(beside) ? below : beside;
}

} // namespace

void wrapLine(const std::string& line, int chars, std::vector<std::string>& out)
{
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t room = std::size_t(std::max(chars - (first ? 0 : 2), 1));
        const std::string indent = first ? "" : "  ";
        // The last blank outside parentheses that ends a piece within room;
        // failing that, the first one after it.
        std::size_t cut = std::string::npos;
        int depth = 0;
        if (line.size() - start > room)
            for (std::size_t i = start + 1; i < line.size(); ++i) {
                depth = std::max(depth + (line[i] == '(') - (line[i] == ')'), 0);
                if (line[i] != ' ' || depth > 0) continue;
                if (i - start > room && cut != std::string::npos) break;
                cut = i;
                if (i - start > room) break;
            }
        if (cut == std::string::npos) {
            out.push_back(indent + line.substr(start));
            return;
        }
        out.push_back(indent + line.substr(start, cut - start));
        start = line.find_first_not_of(' ', cut);
        if (start == std::string::npos) return;
    }
}

PictureRoom pictureRoom(const SessionRecord& s, const PictureFrame& frame)
{
    static std::vector<TextBlock> text;
    static std::vector<std::string> lines;
    layOut(s, frame, text, lines);
    return roomLeft(frame);
}

const Picture& buildPicture(const SessionRecord& s, const PictureFrame& frame)
{
    Picture& p = Shown.picture;
    p.scene = &stepScene(s, frame.ringRadius);
    layOut(s, frame, p.text, Shown.lines);
    p.scale = frame.scale;
    p.room = roomLeft(frame);
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
