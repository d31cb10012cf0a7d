// What a device reads from the simulation it belongs to: the supply frequency
// and size of the linear motors, the rails the carriages run on, and whether
// steps may be reused. Each simulation holds its own and hands it to its
// devices when it makes them, so simulations side by side never share a value.
#pragma once

class TRail;
class TRailAimant;

struct TDeviceContext {
  double Fs = 1.0;         // supply frequency of the linear motors, Hz
  double MotorScale = 1.0; // copied into the carriages' Scale at construction
  TRail* RailPtr = nullptr;
  TRailAimant* AimantPtr = nullptr;
  // Steps and results reused when their inputs come back to the bit; off
  // only to compare with a run that computes every value afresh.
  bool MemoEnabled = true;
};

// The context of a device made outside any simulation: defaults, no rails.
inline constexpr TDeviceContext kNoSimulation{};
