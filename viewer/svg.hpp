#pragma once

// Exporting the picture shown as an SVG file.

#include <cstdio>

#include "numbered_file.hpp"
#include "scene.hpp"

// Writes scene as a standalone SVG picture that looks like the window: the
// background, then circles, lines, segments and points in that order, each in
// its palette colour and in scene coordinates with y up, framed on the points,
// segments and circles with a margin. False when the output failed.
bool writeSvg(std::FILE* out, const SceneStore& scene);

// Exports scene as a new omotac-slika-N.svg in the current directory.
SavedFile exportSvg(const SceneStore& scene);
