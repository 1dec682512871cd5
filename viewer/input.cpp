#include "input.hpp"

#include <algorithm>

#include "edit.hpp"
#include "platform.hpp"
#include "session.hpp"
#include "step_view.hpp"
#include "teach.hpp"
#include "viewer.hpp"

namespace {

// A step key in guess mode: → onto a farthest-point step asks first, → with
// a question open shows the step without an answer, Space waits for the
// answer, and any other step key leaves the question. True where the key is
// done with; otherwise the step view takes it as ever.
bool stepInGuessMode(StepKey k)
{
    GuessState& g = Session.guess;
    StepState& s = Session.steps;
    if (!g.on) return false;
    if (k == StepKey::Next) {
        s.captioned = true;
        s.playing = s.paused = false;
        g.answered = -1;
        if (g.question >= 0) {
            s.step = g.question;
            g.question = -1;
        } else if (asksBefore(Session, s.step + 1)) {
            g.question = s.step + 1;
        } else {
            s.step = std::min(s.step + 1, stepCount(Session.trace));
        }
        return true;
    }
    if (g.question >= 0 && k == StepKey::Play) return true;
    if (k == StepKey::Previous || k == StepKey::First || k == StepKey::Last || k == StepKey::Play) {
        g.question = -1;
        forgetPicture();
    }
    return false;
}

// A key for editing, else for the step view.
void pressKey(int key)
{
    // A notice lasts until the next key.
    Session.edit.notice.clear();
    if (const EditKey e = editKeyOf(key); e != EditKey::None) {
        pressEditKey(e);
        requestRedraw();
        return;
    }
    if (key == 'a' || key == 'A') {
        // The picture moves aside for the panel, framed as R frames it.
        Session.panel = !Session.panel;
        const WindowSize size = windowSize();
        reshapeView(size.width, size.height);
        requestRedraw();
        return;
    }
    if (key == 'g' || key == 'G') {
        toggleGuessing(Session);
        forgetPicture();
        requestRedraw();
        return;
    }
    const StepKey k = stepKeyOf(key);
    if (stepInGuessMode(k)) {
        forgetPicture();
        requestRedraw();
        return;
    }
    if (k == StepKey::Quit) {
        closeViewer();
        return;
    }
    // As a resize does: the projection starts again from the initial framing.
    if (k == StepKey::InitialView) {
        const WindowSize size = windowSize();
        reshapeView(size.width, size.height);
    }
    if (pressStepKey(Session.steps, k, stepCount(Session.trace))) startPlayTimer(PlayMillis, Session.steps.playRound);
    requestRedraw();
}

} // namespace

void handleInput(const InputEvent& e)
{
    switch (e.kind) {
    case InputEvent::Kind::Key:
        pressKey(e.key);
        return;
    case InputEvent::Kind::Press:
    case InputEvent::Kind::Release:
    case InputEvent::Kind::Motion:
        editPointer(e);
        return;
    case InputEvent::Kind::Ignored:
        // A key the program has no use for still ends a notice, as any key does.
        Session.edit.notice.clear();
        requestRedraw();
        return;
    }
}

void advancePlay(int round)
{
    // Guess mode stops a play at each question.
    StepState& s = Session.steps;
    if (s.playing && round == s.playRound && asksBefore(Session, s.step + 1)) {
        s.playing = false;
        Session.guess.question = s.step + 1;
        Session.guess.answered = -1;
        forgetPicture();
        requestRedraw();
        return;
    }
    if (playTick(Session.steps, round, stepCount(Session.trace))) startPlayTimer(PlayMillis, round);
    requestRedraw();
}
