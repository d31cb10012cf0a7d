// Mouse events as the window's handlers receive them; the platform layer maps
// its own buttons and modifiers to these.
#pragma once

enum class TMouseButton { Left, Right, Middle };

// Modifier keys and held buttons at the time of an event (a bit set).
enum TShiftFlag : unsigned {
  ssShift = 1,
  ssAlt = 2,
  ssCtrl = 4,
  ssLeft = 8,
  ssRight = 16,
  ssMiddle = 32,
};
using TShiftState = unsigned;

struct TPoint {
  int X = 0;
  int Y = 0;
};
