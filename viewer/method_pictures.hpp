#pragma once

// The step pictures of gift wrapping, Graham's scan and the monotone chain,
// in the farthest-point method's language: undecided points blue, ruled out
// white, the vertices found black, final edges red, edges that may still
// change purple, and what the step decided orange (its edge, and a ring).

#include <cstdint>

#include "methods.hpp"
#include "scene.hpp"

// Gift wrapping at step `step` (below the trace's step count): the edges the
// wrap has laid red, and the edge this step chose orange with a ring round
// the vertex it reached (at step 0, the ring round the start). As a
// question (asking), the step before the one asked about, with the ring round
// the vertex the wrap stands on and nothing decided.
void buildJarvisPicture(const JarvisTrace& t, std::int32_t step, float ringRadius, const BoundingBox& box,
                        SceneStore& out, bool asking = false);

// A stack scan at step `step`: the points taken and popped white, the stack
// black and joined purple (the monotone chain's finished lower chain red), the
// point pushed ringed with its edge onto the stack orange; Graham's scan also
// draws rays from the pivot to the next points of its sorted order. As a
// question, the step before, with the arriving point ringed.
void buildStackPicture(const StackTrace& t, std::int32_t step, float ringRadius, const BoundingBox& box,
                       SceneStore& out, bool asking = false);
