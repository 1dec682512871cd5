#pragma once

// The picture builder: from the session, what the window shows now, as a
// scene store to draw and blocks of text to lay over it. Nothing here draws;
// the renderer, the SVG export and the tests all take the same picture.

#include <cstdint>
#include <string>
#include <vector>

#include "scene.hpp"
#include "session.hpp"

// Text over the picture: a line every TextLineHeight pixels, blocks Margin
// pixels from the window's edges, the method's panel PanelWidth pixels wide at
// the right edge (the picture is framed in the rest while it is shown).
inline constexpr int TextLineHeight = 16;
inline constexpr int Margin = 10;
inline constexpr int PanelWidth = 300;
// The ring round a step's new vertex, in pixels at the initial framing.
inline constexpr double RingPixels = 12.0;

// Lines of text whose first line's top edge lies `top` pixels below the
// window's top edge, every line `left` pixels from its left edge.
struct TextBlock {
    int left = 0, top = 0;
    std::vector<std::string> lines;
};

// What to draw: the finished hull as the run filled the Scene, or the
// picture of the step shown; then the text, in window pixels.
struct Picture {
    const SceneStore* scene = nullptr;
    std::vector<TextBlock> text;
};

// The window the picture is for: its size in pixels, and the scene units that
// make RingPixels at its framing.
struct PictureFrame {
    int width = 0, height = 0;
    float ringRadius = 0.0f;
};

// What the window shows of session s: the step shown (or the question's
// picture), with the caption, the help, edit mode's lines and any notice down
// the left edge and the method's panel at the right. The step's picture is
// built again only when the step, the question, the answer, the set or the
// ring's size changed since the last call.
const Picture& buildPicture(const SessionRecord& s, const PictureFrame& frame);

// The picture of step `step` (below stepCount) of trace into out, reusing its
// storage: points still undecided blue, ruled out white, the vertices found so
// far black, the closed polygon through them in outline order, red where an
// edge is final and purple where undecided points still lie beyond it; from
// step 2 on the edge just split and its triangle orange, with a ring of
// ringRadius round the new vertex. Step 0 is the input alone, all blue.
// Without showSplit the edge split and its triangle are left out. out's box
// is box.
void buildStepPicture(const HullTrace& trace, std::int32_t step, float ringRadius, const BoundingBox& box,
                      SceneStore& out, bool showSplit = true);
