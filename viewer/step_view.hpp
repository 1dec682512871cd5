#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session.hpp"
#include "scene.hpp"
#include "steps.hpp"

// Milliseconds between two steps while playing.
inline constexpr int PlayMillis = 800;

// "(x, y)" in whole numbers.
std::string xy(const Point& p);

// The hull vertex found at step `position`.
const Point& vertex(const HullTrace& t, std::int32_t position);

// What a key asks of the step view.
enum class StepKey { None, Next, Previous, First, Last, Play, Help, InitialView, Quit };

// The key of a character or of one of the Key* values.
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

// The picture of step `step` (below stepCount) of trace into out, reusing its
// storage: points still undecided blue, ruled out white, the vertices found so
// far black, the closed polygon through them in outline order red; from step 2
// on the edge just split and its triangle orange, with a ring of ringRadius
// round the new vertex. Step 0 is the input alone, all blue.
// Without showSplit the edge split and its triangle are left out.
void buildStepPicture(const HullTrace& trace, std::int32_t step, float ringRadius, SceneStore& out,
                      bool showSplit = true);

// The caption of a step, one line each, coordinates as whole numbers.
void stepCaption(const HullTrace& trace, std::int32_t step, std::vector<std::string>& lines);

// What the window shows now: the finished Scene, or the picture of the step.
const SceneStore& shownPicture();

// Draws the caption and the help text, as far as they are on, over the
// picture in the top-left corner; leaves every GL state as it found it.
void drawOverlay();
