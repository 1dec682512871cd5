#pragma once

// The controller: the one way in for everything the user does in the window.
// A platform file translates its toolkit's reports into InputEvents and hands
// them here; the controller routes each to the active mode (the step keys,
// guess mode, edit mode) or to navigation, and gives back what it needs of
// the platform. It never calls the platform itself.

#include <cstdint>
#include <string>

#include "input.hpp"
#include "picture.hpp"
#include "session.hpp"

// What the logic asks of the platform once it has taken an event.
struct Requests {
    bool redraw = false;
    // Call advancePlay(playRound) once, after playAfter milliseconds (-1: no timer).
    int playAfter = -1;
    std::int32_t playRound = 0;
    bool quit = false;        // the run is over: end the window's event loop
    std::string saved;        // a file just written to the working directory, by name
};

// Starts showing the session's set in a window of width x height pixels, as
// a window opens: the finished hull without text, view mode, no panel, no
// question, no navigation under way, the initial framing. Both platforms
// start every window (and the page every run) here.
Requests startSession(int width, int height);

// The window changed its size: the picture is framed again at the new size.
Requests reshapeWindow(int width, int height);

// Takes one event: keys first to the controller's own keys (quitting, Esc,
// modes, the panel, the help, framing, saving), then to the step keys;
// buttons and motion to the active mode, and else to navigation.
Requests handleInput(const InputEvent& e);

// One tick of the play started in round `round`: the next step, or the
// question guess mode asks before it.
Requests advancePlay(std::int32_t round);

// Shows step `step` of the method shown (within its steps) with its caption,
// as an address naming a step asks: no play, no question.
Requests showStep(std::int32_t step);

// What the window shows now, for the platform to draw.
const Picture& framePicture();

// Changes the mode: the one place that does. Leaving or entering guess mode
// starts its score again; any press under way is forgotten.
void setMode(SessionRecord& s, Mode m);
