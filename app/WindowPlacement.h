#pragma once
// Where the window opens, and the fixed geometry it paints in.

#include <cstdint>

// The window's client area is this many pixels on each side.
inline constexpr int kWindowSide = 130;

// A stored corner coordinate (Window_X or Window_Y) brought onto a screen
// `screenExtent` pixels wide (or high): at most screenExtent - kWindowSide,
// and 0 when that is 0 or less. The stored value itself is left alone.
int ClampWindowCoordinate(int32_t stored, int screenExtent);
