// Guess mode's questions and answers, judged with the kernel's own exact
// orientation test, so that a tie in the picture is a tie in the answer.

#include "guess.hpp"

#include <algorithm>
#include <cmath>

#include "method_text.hpp"
#include "predicates.hpp"

namespace {

double length(const Point& a, const Point& b) { return std::hypot(double(b.x) - a.x, double(b.y) - a.y); }

// Whether point p is still undecided when step `step` begins: neither ruled
// out nor a vertex by then.
bool undecidedBefore(const HullTrace& t, std::int32_t step, std::int32_t p)
{
    for (std::int32_t k = 0; k < t.steps[std::size_t(step - 1)].ruledEnd; ++k)
        if (t.ruledOut[std::size_t(k)] == p) return false;
    for (std::int32_t k = 0; k < step; ++k)
        if (t.vertices[std::size_t(k)] == p) return false;
    return true;
}

} // namespace

bool asksBefore(const SessionRecord& s, std::int32_t step)
{
    if (s.mode != Mode::Guess || step >= finishedStep(s)) return false;
    switch (s.method) {
    case HullMethod::Farthest: return step >= 2;
    case HullMethod::Jarvis: return jarvisAnswer(s.jarvis, step) >= 0;
    case HullMethod::Graham: return stackAnswer(s.graham, step) >= 0;
    case HullMethod::Andrew: return stackAnswer(s.andrew, step) >= 0;
    }
    return false;
}

bool guessStepKey(SessionRecord& s, StepKey k)
{
    GuessState& g = s.guess;
    StepState& st = s.steps;
    if (s.mode != Mode::Guess) return false;
    if (k == StepKey::Next) {
        st.captioned = true;
        st.playing = st.paused = false;
        g.answered = -1;
        if (g.question >= 0) {
            st.step = g.question;
            g.question = -1;
        } else if (asksBefore(s, st.step + 1)) {
            g.question = st.step + 1;
        } else {
            st.step = std::min(st.step + 1, finishedStep(s));
        }
        return true;
    }
    if (g.question >= 0 && k == StepKey::Play) return true;
    if (k != StepKey::None) g.question = -1;
    return false;
}

bool stopForQuestion(SessionRecord& s, std::int32_t round)
{
    StepState& st = s.steps;
    if (!st.playing || round != st.playRound || !asksBefore(s, st.step + 1)) return false;
    st.playing = false;
    s.guess.question = st.step + 1;
    s.guess.answered = -1;
    return true;
}

namespace {

// Judges a click on p for the farthest-point question: beyond the edge, still
// undecided, and at least as far from it as the point the method takes (ties
// count). The orientation is exact for whole coordinates, so a tie is a tie.
void judgeFarthest(SessionRecord& s, std::int32_t step, std::int32_t p)
{
    GuessState& g = s.guess;
    const HullTrace& t = s.trace;
    const HullStep& st = t.steps[std::size_t(step)];
    const Point &a = vertex(t, st.edgeFrom), &b = vertex(t, st.edgeTo), &far = vertex(t, step);
    const double value = orientation(a, b, t.points[std::size_t(p)]);
    g.beyond = value > 0.0 && undecidedBefore(t, step, p);
    g.right = g.beyond && value >= orientation(a, b, far);
    g.answer = t.vertices[std::size_t(step)];
    g.clickedDistance = g.beyond ? value / length(a, b) : 0.0;
    g.farDistance = orientation(a, b, far) / length(a, b);
}

// The other methods' questions have one right point: right where p lies in
// its place (a copy of it is as right).
void judgeByPlace(SessionRecord& s, std::int32_t p, std::int32_t answer)
{
    GuessState& g = s.guess;
    const Point &q = s.points[std::size_t(p)], &a = s.points[std::size_t(answer)];
    g.right = q.x == a.x && q.y == a.y;
    g.answer = answer;
}

} // namespace

bool answerGuess(SessionRecord& s, std::int32_t p)
{
    GuessState& g = s.guess;
    if (g.question < 0 || p < 0) return false;
    const std::int32_t step = g.question;
    switch (s.method) {
    case HullMethod::Farthest: judgeFarthest(s, step, p); break;
    case HullMethod::Jarvis: judgeByPlace(s, p, jarvisAnswer(s.jarvis, step)); break;
    case HullMethod::Graham: judgeByPlace(s, p, stackAnswer(s.graham, step)); break;
    case HullMethod::Andrew: judgeByPlace(s, p, stackAnswer(s.andrew, step)); break;
    }
    g.clicked = p;
    g.hits += g.right;
    ++g.asked;
    g.answered = step;
    g.question = -1;
    s.steps.step = step;
    return true;
}

bool closeQuestion(SessionRecord& s)
{
    if (s.guess.question < 0) return false;
    s.guess.question = -1;
    return true;
}
