#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "session.hpp"
#include "scene.hpp"

// A press within GrabPixels of a point takes that point; a press and a release
// within ClickPixels of each other make a click, anything longer a drag.
inline constexpr double GrabPixels = 8.0;
inline constexpr double ClickPixels = 3.0;

// What the next event of a gesture asks for.
enum class EditAction { None, Add, Move, Remove, Navigate };

// A motion of the cursor to (x, y): nothing while it stays within the click
// radius; once it leaves it (for good: the gesture becomes a drag) a left drag
// from a point moves it, any other drag navigates.
EditAction motionAction(EditGesture& g, int x, int y);

// The release that ends g: a left click on an empty place adds a point, a
// right click on a point removes it, anything else does nothing more.
EditAction releaseAction(const EditGesture& g);

// Where the scene plane is drawn: projection times modelview (column-major,
// as OpenGL keeps them) and the viewport.
struct WindowMap {
    std::array<double, 16> matrix{};
    std::array<int, 4> viewport{};
};

// The map the matrices and viewport give as they stand.
WindowMap currentWindowMap();

// The point drawn nearest to toolkit pixel (x, y) if it is within GrabPixels,
// the later of equals (it is drawn on top); -1 for none.
std::int32_t pointNear(std::span<const Point> points, const WindowMap& map, int x, int y);

// A scene coordinate as a whole number a points file can hold: rounded and
// kept within -CoordinateLimit..CoordinateLimit; nothing for a non-number.
std::optional<float> wholeCoordinate(double v);

// The edits on the record's set; each gives whether the set changed, and a
// refusal leaves its reason in the notice. A new point goes last; a removed
// one leaves the others in their order.
bool addEditPoint(SessionRecord& r, double x, double y);
bool moveEditPoint(SessionRecord& r, std::int32_t i, double x, double y);
bool removeEditPoint(SessionRecord& r, std::int32_t i);

// Computes everything shown from the record's set again, as the run did: hull,
// outline, Scene and steps. The step shown stays, within the new step count;
// the finished hull stays the finished hull. The view is left as it is.
void rebuildEdited();

// The edit mode's lines over the picture: the mode and the set's figures
// while it is on, then any notice.
void editCaption(std::vector<std::string>& lines);

// What a key asks of the editing.
enum class EditKey { None, Toggle, Save, Export };
EditKey editKeyOf(int key);

// Toggles edit mode, saves the points or exports the picture shown; the
// notice says what came of it (a failed write on stderr too).
void pressEditKey(EditKey key);

// The mouse: the gestures above while edit mode is on, and navigation for
// everything edit mode leaves to it.
void editPointer(const InputEvent& e);
