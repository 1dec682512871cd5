#include "teach.hpp"

#include <cmath>
#include <cstdio>

#include "edit.hpp"
#include "predicates.hpp"
#include "step_view.hpp"

namespace {

// The method, one step of it a line.
constexpr const char* Method[] = {
    "1. Nadji L i R, krajnju levu i desnu tacku.",
    "2. Podeli tacke na one iznad i ispod prave L-R.",
    "3. Uzmi sledecu ivicu a-b koja ceka na red.",
    "4. Iza a-b nema tacaka: a-b je ivica omotaca.",
    "5. Nadji tacku c najdalju iza ivice a-b.",
    "6. c je teme omotaca.",
    "7. Tacke u trouglu a, c, b su iskljucene.",
    "8. Ivice a-c i c-b cekaju na red (prvo a-c).",
    "9. Ponavljaj od 3 dok neka ivica ceka.",
    "10. Nijedna ivica ne ceka: omotac je gotov.",
};
constexpr int MethodLines = int(std::size(Method));

double length(const Point& a, const Point& b) { return std::hypot(double(b.x) - a.x, double(b.y) - a.y); }

// Whether the vertices at outline positions of steps `from` and `to` are
// neighbours in the finished outline: nothing lies beyond the edge between them.
bool hullEdge(const HullTrace& t, std::int32_t from, std::int32_t to)
{
    const std::int32_t count = std::int32_t(t.outline.size());
    std::int32_t rf = 0, rt = 0;
    for (std::int32_t r = 0; r < count; ++r) {
        if (t.outline[std::size_t(r)] == from) rf = r;
        if (t.outline[std::size_t(r)] == to) rt = r;
    }
    return (rt - rf + count) % count == 1;
}

std::string oneDecimal(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

} // namespace

void methodLines(const HullTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines)
{
    bool marked[MethodLines] = {};
    const std::int32_t count = stepCount(t);
    if (asking) {
        marked[2] = marked[4] = true;
    } else if (step >= count) {
        marked[9] = true;
    } else if (step == 1) {
        marked[0] = marked[1] = true;
    } else if (step >= 2) {
        const HullStep& s = t.steps[std::size_t(step)];
        marked[2] = marked[4] = marked[5] = marked[6] = marked[7] = true;
        marked[3] = hullEdge(t, s.edgeFrom, step) || hullEdge(t, step, s.edgeTo);
    }
    lines.assign(1, "Metod najdalje tacke (A: sakrij)");
    for (int i = 0; i < MethodLines; ++i) lines.push_back((marked[i] ? "> " : "   ") + std::string(Method[i]));
}

bool asksBefore(const SessionRecord& s, std::int32_t step) { return s.guess.on && step >= 2 && step < stepCount(s.trace); }

void restartGuessing(GuessState& g)
{
    const bool on = g.on;
    g = {};
    g.on = on;
}

void toggleGuessing(SessionRecord& s)
{
    s.guess.on = !s.guess.on;
    restartGuessing(s.guess);
    if (s.guess.on) {
        s.edit.on = false;
        s.edit.gesture = {};
    }
    // The score shows from here on.
    s.steps.captioned = true;
}

bool answerGuess(SessionRecord& s, int x, int y)
{
    GuessState& g = s.guess;
    if (g.question < 0) return false;
    const HullTrace& t = s.trace;
    const std::int32_t p = pointNear(t.points, currentWindowMap(), x, y);
    if (p < 0) return false;

    const std::int32_t step = g.question;
    const HullStep& st = t.steps[std::size_t(step)];
    const Point &a = vertex(t, st.edgeFrom), &b = vertex(t, st.edgeTo), &far = vertex(t, step);
    const Point& q = t.points[std::size_t(p)];
    // A point still undecided before the step, beyond the edge, and at least as
    // far from it as the point the method takes: ties count. The orientation is
    // exact for whole coordinates, so a tie is a tie.
    bool undecided = orientation(a, b, q) > 0.0;
    for (std::int32_t k = 0; k < t.steps[std::size_t(step - 1)].ruledEnd && undecided; ++k)
        undecided = t.ruledOut[std::size_t(k)] != p;
    for (std::int32_t k = 0; k < step && undecided; ++k) undecided = t.vertices[std::size_t(k)] != p;

    g.right = undecided && orientation(a, b, q) >= orientation(a, b, far);
    g.clicked = p;
    g.clickedDistance = orientation(a, b, q) / length(a, b);
    g.farDistance = orientation(a, b, far) / length(a, b);
    g.hits += g.right;
    ++g.asked;
    g.answered = step;
    g.question = -1;
    s.steps.step = step;
    return true;
}

void guessPointer(SessionRecord& s, const InputEvent& e)
{
    GuessState& g = s.guess;
    if (e.kind == InputEvent::Kind::Press) {
        g.pressed = e.button == MouseButton::Left && g.question >= 0;
        g.pressX = e.x;
        g.pressY = e.y;
    } else if (e.kind == InputEvent::Kind::Motion) {
        const double dx = double(e.x) - g.pressX, dy = double(e.y) - g.pressY;
        if (dx * dx + dy * dy > ClickPixels * ClickPixels) g.pressed = false;
    } else if (e.kind == InputEvent::Kind::Release) {
        if (g.pressed && e.button == MouseButton::Left) answerGuess(s, g.pressX, g.pressY);
        g.pressed = false;
    }
}

void questionCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines)
{
    const HullStep& s = t.steps[std::size_t(step)];
    lines.assign(1, "Korak " + std::to_string(step) + " od " + std::to_string(stepCount(t)));
    lines.push_back("Koja tacka je najdalja od ivice " + xy(vertex(t, s.edgeFrom)) + " - " + xy(vertex(t, s.edgeTo))
                    + "? Kliknite je.");
}

void guessLines(const SessionRecord& s, std::vector<std::string>& lines)
{
    const GuessState& g = s.guess;
    if (!g.on) return;
    if (g.question < 0 && g.answered >= 0 && g.answered == s.steps.step) {
        if (g.right) {
            lines.push_back("Tacno!");
        } else {
            const HullTrace& t = s.trace;
            lines.push_back("Netacno: " + xy(t.points[std::size_t(g.clicked)]) + " je na udaljenosti "
                            + oneDecimal(g.clickedDistance) + ", najdalja " + xy(vertex(t, g.answered)) + " na "
                            + oneDecimal(g.farDistance));
        }
    }
    lines.push_back("Pogodjeno: " + std::to_string(g.hits) + " od " + std::to_string(g.asked));
}
