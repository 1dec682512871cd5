#include "input.hpp"

#include "edit.hpp"
#include "platform.hpp"
#include "session.hpp"
#include "step_view.hpp"
#include "viewer.hpp"

namespace {

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
    const StepKey k = stepKeyOf(key);
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
    if (playTick(Session.steps, round, stepCount(Session.trace))) startPlayTimer(PlayMillis, round);
    requestRedraw();
}
