#pragma once

// The step keys: which step of the computation the window shows, and the play
// that moves through them by itself.

#include <cstdint>

#include "session.hpp"

// Milliseconds between two steps while playing.
inline constexpr int PlayMillis = 800;

// What a key asks of the step view.
enum class StepKey { None, Next, Previous, First, Last, Play };

// The step key of a character or of one of the Key* values.
StepKey stepKeyOf(int key);

// Applies a key to the state, the finished hull being step `count`; true when
// a play starts, which then wants a timer. Keys that change the step by hand
// stop a play.
bool pressStepKey(StepState& s, StepKey key, std::int32_t count);

// What the caption says of a play: "Reprodukcija" while it goes on, "Pauza"
// once Space has stopped it, until the next step key; nothing otherwise.
const char* playLine(const StepState& s);

// One timer tick of play `round`: the next step, stopping at the finished
// hull. True while the play goes on.
bool playTick(StepState& s, std::int32_t round, std::int32_t count);
