#pragma once

// Edit mode: points added, moved and removed with the mouse, the hull and
// everything shown of it computed again after each change.

#include <cstdint>
#include <optional>

#include "picking.hpp"
#include "session.hpp"

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
void rebuildEdited(SessionRecord& r);

// Whether a drag of gesture g is edit mode's: a left drag from a point moves
// it. Every other drag navigates.
bool movesPoint(const PointerGesture& g);

// The point of g dragged to window pixel (x, y), keeping its offset from the
// cursor so that it does not jump to it; true when the set changed.
bool dragPointTo(SessionRecord& r, const PointerGesture& g, int x, int y);

// The click g made: a left click on an empty place adds a point there, a right
// click on a point removes it; true when the set changed.
bool editClick(SessionRecord& r, const PointerGesture& g);
