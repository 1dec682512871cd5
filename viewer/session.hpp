#pragma once

// Everything the window holds beside the Scene and the camera's ViewState:
// where the run came from, the set shown with its hull and steps, the mode,
// the step shown, guessing, the press under way and what the last key has to
// say. One record, so that a front end, an edit or a test starts it from one
// place.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "methods.hpp"
#include "picking.hpp"
#include "run_viewer.hpp"
#include "scene.hpp"
#include "steps.hpp"
#include "timing.hpp"

// What the mouse does beside navigating: nothing (view), change the set
// (edit), or answer the question of a step (guess). One at a time.
enum class Mode { View, Edit, Guess };

// Where the step view stands. The window opens on the finished hull with no
// text; the first step key brings the caption.
struct StepState {
    std::int32_t step = 0;      // 0 .. stepCount(trace); stepCount is the finished hull
    bool captioned = false;     // from the first step key on
    bool help = false;          // the help text is shown
    bool playing = false;       // a step every playMillis (step_keys.hpp)
    bool paused = false;        // a play was stopped by Space, and no step key came since
    std::int32_t playRound = 0; // the play a timer tick belongs to; stale ticks are ignored
    std::int32_t pace = 0;      // the play's speed: 0 the usual, below it slower, above faster
};

// Guess mode: before a step is shown, the student clicks the point the step
// will decide on: the point farthest beyond the edge split, the next vertex
// of the wrap, or the point on top of the stack when the next one arrives.
struct GuessState {
    std::int32_t question = -1; // the step asked about (the step before it is shown); -1: none open
    std::int32_t answered = -1; // the step last answered with a click, while it is shown; -1: none
    std::int32_t clicked = -1;  // the point clicked for it
    std::int32_t answer = -1;   // the point that answers it
    bool right = false;
    bool beyond = false;        // the point clicked lies beyond the edge at all
    double clickedDistance = 0.0, farDistance = 0.0; // from the edge's line, both beyond it
    std::int32_t hits = 0, asked = 0;                // the score: hits of asked
};

struct SessionRecord {
    // Where the points came from: the generator's seed, or otherwise a file.
    RunSource source;
    // The set shown, in order: the run's, then as edited; its last computation
    // and its steps by the farthest point. revision counts the sets shown, so
    // that whatever is built from one knows when it is out of date.
    std::vector<Point> points;
    HullResult result;
    HullTrace trace;
    std::uint64_t revision = 0;
    // The other methods' steps on the same set, each traced when it is first
    // shown (traced: the revision it was traced for, 0 for none), and the
    // four methods' counts for the comparison (U).
    JarvisTrace jarvis;
    StackTrace graham, andrew;
    std::uint64_t jarvisTraced = 0, grahamTraced = 0, andrewTraced = 0;
    std::vector<MethodCounts> counts;
    std::vector<bool> agree; // per method: its corners are the farthest point's
    std::uint64_t counted = 0;
    bool comparison = false; // the comparison is shown

    Mode mode = Mode::View;
    HullMethod method = HullMethod::Farthest; // whose steps are shown
    StepState steps;
    bool panel = false; // the method's text beside the picture
    GuessState guess;
    PointerGesture gesture; // a press of edit or guess mode, until its release
    // What the last key or edit has to say (empty for nothing), until the next key.
    std::string notice;
    bool unsaved = false;   // the set was edited since it was loaded or last saved
    bool quitAsked = false; // Q came once over unsaved edits: the next Q quits
};

extern SessionRecord Session;

// Makes points the set shown, with result from computeHull on them and found
// the vertices in the order computeHull found them: the Scene refilled with
// the inputs blue, the vertices over them black in the order found, then the
// closed outline red from the lowest of the leftmost vertices clockwise, and
// the steps traced. The mode, the step shown and the view are the caller's.
void loadRun(std::span<const Point> points, const HullResult& result, std::span<const Point> found);

// A run as the console hands it over: where it came from, and loadRun on its
// set. Nothing of it is unsaved.
void takeRun(const RunSource& source, std::span<const Point> points, const HullResult& result,
             std::span<const Point> found);

// Traces the method shown on the set shown, unless it is traced already.
void traceShownMethod(SessionRecord& s);

// The four methods' counts on the set shown, unless counted already.
void countMethods(SessionRecord& s);

// The step number of the finished hull for the method shown: its steps run
// from 0 (the input, and what the method prepares) to this.
std::int32_t finishedStep(const SessionRecord& s);

// The hull's vertices as a person counts them: one for a set whose points
// all coincide, which computeHull lists twice.
inline std::int32_t vertexCount(const SessionRecord& s) { return stepCount(s.trace); }
