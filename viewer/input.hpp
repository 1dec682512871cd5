#pragma once

// The program's own record of what the user does with the mouse and the
// keyboard. The platform file turns its toolkit's reports into these; the
// window's logic (the controller and the modes it routes to) takes nothing else.

// The wheel turns by notches: each a press (and a release) of its own.
enum class MouseButton { Other, Left, Middle, Right, WheelUp, WheelDown };

// Keys that are not characters, numbered past every character code.
inline constexpr int KeyRight = 0x100;
inline constexpr int KeyLeft = 0x101;
inline constexpr int KeyHome = 0x102;
inline constexpr int KeyEnd = 0x103;
inline constexpr int KeyF1 = 0x104;

// A Pinch is two fingers moving on the picture: their midpoint from
// (fromX, fromY) to (x, y), the distance between them growing `scale` times
// and the line through them turning `turn` degrees clockwise on the screen.
struct InputEvent {
    enum class Kind { Ignored, Press, Release, Motion, Key, Pinch };
    Kind kind = Kind::Ignored;
    MouseButton button = MouseButton::Other; // Press and Release
    int x = 0, y = 0;                        // pixels from the window's top-left corner
    int key = 0;                             // Key: a character code 0..255 or one of the Key* values
    int fromX = 0, fromY = 0;                // Pinch
    double scale = 1.0, turn = 0.0;          // Pinch
    friend bool operator==(const InputEvent&, const InputEvent&) = default;
};
