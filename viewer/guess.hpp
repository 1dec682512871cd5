#pragma once

// Guess mode: before a farthest-point step is shown the window asks which
// point lies farthest beyond the edge it splits, and the student answers with
// a click. Playing stops at each question; the score runs to the finished hull.

#include <cstdint>

#include "session.hpp"
#include "step_keys.hpp"

// Whether stepping onto `step` asks first: a farthest-point step in guess mode.
bool asksBefore(const SessionRecord& s, std::int32_t step);

// A step key in guess mode: → onto a farthest-point step asks first, → with a
// question open shows the step without an answer, Space waits for the answer,
// and any other step key closes the question. True where guess mode has done
// with the key; otherwise the step keys take it as ever.
bool guessStepKey(SessionRecord& s, StepKey k);

// A tick of play `round` that would step onto a question stops the play there
// and asks it; true when it did.
bool stopForQuestion(SessionRecord& s, std::int32_t round);

// Answers the open question with point p (-1 for a click on no point, which
// answers nothing): the step is shown, marked right where p lies beyond the
// edge at the greatest distance (ties count). False where nothing was answered.
bool answerGuess(SessionRecord& s, std::int32_t p);

// Closes the open question unanswered, leaving the step before it shown; false
// where none was open.
bool closeQuestion(SessionRecord& s);
