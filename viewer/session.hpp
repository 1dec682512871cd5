#pragma once

// Everything the window holds beside the Scene and the navigation's
// ViewState: where the run came from, the set shown and its hull, the steps
// and the step shown, editing, and what is cached for drawing. One record,
// so that a front end, a rebuild or a test starts it from one place.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input.hpp"
#include "scene.hpp"
#include "steps.hpp"
#include "timing.hpp"

// Where the step view stands. The window opens on the finished hull with no
// text; the first step key brings the caption.
struct StepState {
    std::int32_t step = 0;      // 0 .. stepCount(trace); stepCount is the finished hull
    bool captioned = false;     // from the first step key on
    bool help = false;          // the help text is shown
    bool playing = false;       // a step every PlayMillis
    bool paused = false;        // a play was stopped by Space, and no step key came since
    std::int32_t playRound = 0; // the play a timer tick belongs to; stale ticks are ignored
};

// One press in edit mode, up to its release.
struct EditGesture {
    MouseButton button = MouseButton::Other; // Other while none is down
    bool down = false;                       // a gesture is under way
    int pressX = 0, pressY = 0;              // pixels of the press
    std::int32_t point = -1;                 // the point taken, -1 for an empty place
    Point from{};                            // where that point was at the press
    double pickX = 0.0, pickY = 0.0;         // the scene point under the press on z = 0
    bool picked = false;                     // false where no scene point lies under it
    bool dragging = false;                   // the cursor has left the click radius
};

// Edit mode: whether it is on, the gesture under way, and what the last key or
// edit has to say (empty for nothing).
struct EditState {
    bool on = false;
    EditGesture gesture;
    std::string notice;
};

// Guess mode: before a farthest-point step is shown, the student clicks the
// point they think is farthest beyond its edge.
struct GuessState {
    bool on = false;
    std::int32_t question = -1; // the step asked about (the step before it is shown); -1: none open
    std::int32_t answered = -1; // the step last answered with a click, while it is shown; -1: none
    std::int32_t clicked = -1;  // the point clicked for it
    bool right = false;
    double clickedDistance = 0.0, farDistance = 0.0; // from the edge's line
    std::int32_t hits = 0, asked = 0;                // the score: hits of asked
    bool pressed = false;                            // a left press that may still be a click
    int pressX = 0, pressY = 0;
};

struct SessionRecord {
    // Where the points came from: the generator's seed, or otherwise a file.
    std::optional<std::uint32_t> seed;
    std::string pointsFile;
    std::string distribution;
    // The set shown, in order: the run's, then as edited; its last computation
    // and its steps.
    std::vector<Point> points;
    HullResult result;
    HullTrace trace;
    StepState steps;
    EditState edit;
    // Teaching: the method's text beside the picture, and guess mode.
    bool panel = false;
    GuessState guess;
    // Rebuilt only when the step shown changes (shownStep -1: at the next
    // frame): the step's picture and caption.
    SceneStore picture;
    std::vector<std::string> caption;
    std::int32_t shownStep = -1;
};

extern SessionRecord Session;

// Makes points[0..n) the set shown, with result from computeHull on them and
// HullBuffer[0..result.count) as computeHull left it: the Scene refilled with
// the inputs blue, the vertices over them black in the order found, then the
// closed outline red (HullBuffer is left in outline order), and the steps
// traced. The step shown, editing and the view are left to the caller.
void loadRun(const Point* points, std::int32_t n, const HullResult& result);

// The window opens on the finished hull, without text, edit mode off.
void openOnFinishedHull();

// The picture of the step shown is drawn anew at the next frame.
void forgetPicture();
