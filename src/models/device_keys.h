// What the selected device's keys need: the key codes, the bounded steps of a
// command, and the one service of the window a device key asks for.
#pragma once

#include <cstdint>
#include <numbers>

#include "models/key_codes.h"

// The window seen from a device's key handler.
class TDeviceKeyHost {
public:
  // Opens or closes the data log (the carriages' C key); false if it could not
  // be opened, which ends the handling of that key at once.
  virtual bool ToggleLog() = 0;

protected:
  ~TDeviceKeyHost() = default;
};

// x raised by d, not above m.
inline void RaiseWithin(double& x, double d, double m) {
  x += d;
  if (x > m) x = m;
}

// x lowered by d, not below -m.
inline void LowerWithin(double& x, double d, double m) {
  x -= d;
  if (x < -m) x = -m;
}

// One step of a set-point angle: 6 degrees.
inline constexpr double kSetPointStep = std::numbers::pi / 30;
