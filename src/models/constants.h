// Mathematical and physical constants shared by the devices, the view and the
// controller, each defined once.
#pragma once

#include <numbers>

inline constexpr double kPi = std::numbers::pi;
// Degrees per radian: angles times kDeg go to glRotated.
inline constexpr double kDeg = 180.0 / kPi;
// Gravitational acceleration, m/s^2.
inline constexpr double kGravity = 9.81;
// Permeability of free space, H/m.
inline constexpr double kMu0 = 4 * kPi * 1e-7;
