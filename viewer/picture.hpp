#pragma once

// The picture builder: from the session, what the window shows now, as a
// scene store to draw and blocks of text to lay over it. Nothing here draws;
// the renderer, the SVG export and the tests all take the same picture.

#include <cstdint>
#include <string>
#include <vector>

#include "camera.hpp"
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
// The column of text down the left edge (the caption, edit mode's lines):
// lines wrap at TextColumnChars characters, so that the column ends
// TextColumnWidth pixels from the window's left edge, short of where the
// usual framing of points 0..999 begins. The help wraps wider.
inline constexpr int TextColumnChars = 28;
inline constexpr int HelpChars = 60;
// What a character of the text takes across, at most for the text shown
// (digits, which are the widest of it, take 7, the rest less).
inline constexpr double CharPixels = 6.2;
// The panel stands beside the picture where that leaves the picture at least
// this much of the window's width; otherwise below it (or, where the platform
// has no room below, in the column).
inline constexpr int LeastPictureWidth = 200;

// What a block of text is, for a platform that places or reads blocks apart.
enum class TextKind { Notes, Caption, Help, Panel };

// Lines of text whose first line's top edge lies `top` pixels below the
// window's top edge, every line `left` pixels from its left edge. A line
// longer than `wrap` characters goes on, indented, on the next (0: never).
// A block `below` goes under the picture, where the platform has room.
struct TextBlock {
    int left = 0, top = 0;
    std::vector<std::string> lines;
    TextKind kind = TextKind::Notes;
    int wrap = 0;
    bool below = false;
};

// What to draw: the finished hull as the run filled the Scene, or the
// picture of the step shown; then the text, in window pixels, `scale` times
// the usual size (the presentation size); and the part of the window the
// picture is framed in, which the text leaves it.
struct Picture {
    const SceneStore* scene = nullptr;
    std::vector<TextBlock> text;
    int scale = 1;
    PictureRoom room;
};

// The window the picture is for: its size in pixels, the scene units that
// make RingPixels at its framing, the presentation size, and whether the
// platform has room for text below the picture (the page has).
struct PictureFrame {
    int width = 0, height = 0;
    float ringRadius = 0.0f;
    int scale = 1;
    bool roomBelow = false;
};

// The lines a line becomes wrapped at `chars` characters: broken at blanks
// outside parentheses (a coordinate pair stays whole), every line after the
// first indented by two blanks; a word longer than that stays whole.
void wrapLine(const std::string& line, int chars, std::vector<std::string>& out);

// The part of the window frame's picture goes in for what session s shows:
// the whole window where the set, as the whole window frames it, clears the
// text; otherwise the room beside or below the text, whichever shows the set
// larger. The method's panel at the right always has its strip.
PictureRoom pictureRoom(const SessionRecord& s, const PictureFrame& frame);

// What the window shows of session s: the step shown (or the question's
// picture), with the caption, the help, edit mode's lines and any notice down
// the left edge and the method's panel at the right (or below, or in the
// column, on a narrow window); the room is pictureRoom's. The step's picture is
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
