#pragma once

// The step keys: which step of the computation the window shows, and the play
// that moves through them by itself.

#include <cstdint>

#include "session.hpp"

// Milliseconds between two steps while playing, at each pace from the
// slowest: two slower than the usual 800 for a lecture, one faster.
inline constexpr int PlayPaces[] = {3200, 1600, 800, 400};
inline constexpr std::int32_t SlowestPace = -2, FastestPace = 1;

// Milliseconds between two steps at the state's pace.
int playMillis(const StepState& s);

// '-' slows the play down, '+' (or '=', its key unshifted) speeds it up, a
// pace at a time; true when the pace changed.
bool changePace(StepState& s, int key);

// What the window says of the pace: "Brzina: 0.8 s po koraku".
const char* paceLine(const StepState& s);

// What a key asks of the step view.
enum class StepKey { None, Next, Previous, First, Last, Play };

// The step key of a character or of one of the Key* values.
StepKey stepKeyOf(int key);

// Applies a key to the state, the finished hull being step `count`; true when
// a play starts, which then wants a timer. Keys that change the step by hand
// stop a play.
bool pressStepKey(StepState& s, StepKey key, std::int32_t count);

// What the caption says of a play: "Reprodukcija" and its pace while it goes
// on, "Pauza" once Space has stopped it, until the next step key; nothing
// otherwise.
const char* playLine(const StepState& s);

// One timer tick of play `round`: the next step, stopping at the finished
// hull. True while the play goes on.
bool playTick(StepState& s, std::int32_t round, std::int32_t count);
