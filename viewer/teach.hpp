#pragma once

// Teaching with the steps: the method's text beside the picture with the
// lines of the step shown marked, and guess mode, where the student names the
// farthest point before a step shows it.

#include <cstdint>
#include <string>
#include <vector>

#include "input.hpp"
#include "session.hpp"
#include "steps.hpp"

// The method in numbered lines, each marked ("> ") where the step shown does
// what it says: none at step 0, finding L and R and the split at step 1, a
// farthest-point step's own lines (with the hull edge line where one of its
// sub-edges has nothing beyond it), the last line on the finished hull. With
// a question open, the lines that ask for the farthest point.
void methodLines(const HullTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines);

// Whether stepping onto `step` asks first: a farthest-point step in guess mode.
bool asksBefore(const SessionRecord& s, std::int32_t step);

// Turns guess mode on or off; either way the score starts again, and edit mode
// goes off while guessing.
void toggleGuessing(SessionRecord& s);

// The score starts again and no question stays open: a new set, or guess mode left.
void restartGuessing(GuessState& g);

// Answers the open question with the point drawn within GrabPixels of window
// pixel (x, y): the step is shown, marked right where the point lies at the
// greatest distance beyond the edge (ties count). False where no point lies
// there, or no question is open.
bool answerGuess(SessionRecord& s, int x, int y);

// Guess mode's part of the mouse: a left click answers the open question.
void guessPointer(SessionRecord& s, const InputEvent& e);

// The lines guess mode adds below the step's caption: the answer to the step
// shown, and the score. With a question open, the question in place of the
// caption.
void guessLines(const SessionRecord& s, std::vector<std::string>& lines);

// The question's caption: the step and what it asks.
void questionCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines);
