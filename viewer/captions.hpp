#pragma once

// The words the window shows over the picture: the caption of a step, guess
// mode's question and answer, the method's numbered lines beside the picture,
// edit mode's figures and the help. Text only; where it goes is the picture's.

#include <cstdint>
#include <string>
#include <vector>

#include "session.hpp"

// "(x, y)" in whole numbers.
std::string xy(const Point& p);

// "n tacka", "n tacke" or "n tacaka" as the number asks, in the accusative
// ("za 1 tacku", "za 3 tacke", "za 25 tacaka").
std::string pointsAccusative(std::int64_t n);

// The caption of a step, one line each, coordinates as whole numbers.
void stepCaption(const HullTrace& trace, std::int32_t step, std::vector<std::string>& lines);

// The question's caption: the step and what it asks.
void questionCaption(const HullTrace& t, std::int32_t step, std::vector<std::string>& lines);

// The lines guess mode adds below the step's caption: the answer to the step
// shown, and the score.
void guessLines(const SessionRecord& s, std::vector<std::string>& lines);

// The method in numbered lines, each marked ("> ") where the step shown does
// what it says, with the edge or point it does it to on an indented line below:
// none at step 0, finding L and R and the split at step 1, a farthest-point
// step's own lines (with the hull edge line where one of its sub-edges has
// nothing beyond it), the last line on the finished hull. With a question
// open, the lines that ask for the farthest point.
void methodLines(const HullTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines);

// The help text: every control, then where the run's points came from.
void helpLines(const RunSource& source, std::vector<std::string>& lines);

// Edit mode's lines: the mode and the set's figures.
void editLines(const SessionRecord& s, std::vector<std::string>& lines);
