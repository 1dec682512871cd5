// The step keys as a small state machine: the step shown, the caption's
// coming, and the play with its rounds, so that a tick of an ended play is
// ignored.

#include "step_keys.hpp"

#include <algorithm>

StepKey stepKeyOf(int key)
{
    switch (key) {
    case 'n': case 'N': case KeyRight: return StepKey::Next;
    case 'p': case 'P': case KeyLeft: return StepKey::Previous;
    case KeyHome: return StepKey::First;
    case KeyEnd: return StepKey::Last;
    case ' ': return StepKey::Play;
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
    case StepKey::None:
        return false;
    }
    return false;
}

namespace {

// The pace's place in PlayPaces; a pace out of range is the nearest one.
std::size_t paceIndex(const StepState& s) { return std::size_t(std::clamp(s.pace, SlowestPace, FastestPace) - SlowestPace); }

constexpr const char* PlayLines[] = {"Reprodukcija: 3.2 s po koraku", "Reprodukcija: 1.6 s po koraku",
                                     "Reprodukcija: 0.8 s po koraku", "Reprodukcija: 0.4 s po koraku"};
constexpr const char* PaceLines[] = {"Brzina: 3.2 s po koraku", "Brzina: 1.6 s po koraku", "Brzina: 0.8 s po koraku",
                                     "Brzina: 0.4 s po koraku"};

} // namespace

int playMillis(const StepState& s) { return PlayPaces[paceIndex(s)]; }

bool changePace(StepState& s, int key)
{
    const std::int32_t pace = s.pace;
    if (key == '-') s.pace = std::max(s.pace - 1, SlowestPace);
    if (key == '+' || key == '=') s.pace = std::min(s.pace + 1, FastestPace);
    return s.pace != pace;
}

const char* paceLine(const StepState& s) { return PaceLines[paceIndex(s)]; }

const char* playLine(const StepState& s) { return s.playing ? PlayLines[paceIndex(s)] : s.paused ? "Pauza" : ""; }

bool playTick(StepState& s, std::int32_t round, std::int32_t count)
{
    if (!s.playing || round != s.playRound) return false;
    s.step = std::min(s.step + 1, count);
    s.playing = s.step < count;
    return s.playing;
}
