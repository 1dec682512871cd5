#pragma once

// The words for gift wrapping, Graham's scan and the monotone chain: a step's
// caption, the method's numbered lines with the step's marked, the question
// guess mode asks before a step and the point that answers it. The
// farthest-point method's own words are in captions.hpp.

#include <cstdint>
#include <string>
#include <vector>

#include "methods.hpp"

// The caption of step `step` (the finished hull at the trace's step count).
void jarvisCaption(const JarvisTrace& t, std::int32_t step, std::vector<std::string>& lines);
void stackCaption(const StackTrace& t, std::int32_t step, std::vector<std::string>& lines);

// The method's lines, each marked ("> ") where step `step` does what it says,
// with what it does it to on an indented line below; asking: the lines of the
// question about step `step`.
void jarvisLines(const JarvisTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines);
void stackLines(const StackTrace& t, std::int32_t step, bool asking, std::vector<std::string>& lines);

// What guess mode asks before step `step`, and the point that answers it (-1
// where the step asks nothing): the next vertex of the wrap; the point on top
// of the stack when the step's point is pushed.
std::string jarvisQuestion(const JarvisTrace& t, std::int32_t step);
std::string stackQuestion(const StackTrace& t, std::int32_t step);
std::int32_t jarvisAnswer(const JarvisTrace& t, std::int32_t step);
std::int32_t stackAnswer(const StackTrace& t, std::int32_t step);

// The comparison of the four methods' counts, one line each as the console's
// --poredi prints them, and whether they agree.
void comparisonLines(const std::vector<MethodCounts>& counts, const std::vector<bool>& agree,
                     std::vector<std::string>& lines);
