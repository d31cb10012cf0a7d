// Runaway integration. Parameters that the instruments accept one by one can
// together make a device's integration unstable at the chosen step (a short,
// heavily damped rod): its state then grows by orders of magnitude each tick
// and within a few ticks is no longer a number, which every later tick, the
// saved scenes and the drawing would carry on. The tick asks this after its
// sub-steps and puts such a device back in its initial state.
#pragma once

#include <cmath>
#include <initializer_list>

#include "models/constants.h"

class TRobot;

// No device value comes near this in a sound run (a wheel turning at 20 rad/s
// would take fifty thousand years of simulated time): beyond it a value is a
// runaway's, and squares and products of it overflow within a step.
inline constexpr double kMaxDeviceValue = 1e12;

// Scenes refuse device values beyond this, but for the wheels' angles, which
// only accumulate. Above kMaxDeviceValue: what a tick derives from a bounded
// state (a force: a parameter of at most 100 times a bounded speed) must open
// again once saved; a state beyond kMaxDeviceValue that a scene brings is put
// back by the first tick's runaway check, and cannot overflow within it.
inline constexpr double kMaxSceneValue = 1e18;

// True when a value of the device's state is no longer finite or beyond
// kMaxDeviceValue, or when one of its angles lies outside the interval its
// single wrap per step keeps it in, which only a turn of more than a whole
// revolution in one sub-step can do. The pose and velocity of every device
// are looked at, then what its class's registry entry names.
bool Diverged(const TRobot& robot);

// The checks the registry's entries are written with. Looked at every tick,
// so a few named fields rather than all of them, and without a branch per
// value: almost always all are bounded.
namespace runaway {

// Also false for NaN, where no comparison holds.
inline bool Bounded(double v) {
  return std::fabs(v) <= kMaxDeviceValue;
}
inline bool Finite(std::initializer_list<double> values) {
  bool bounded = true;
  for (double v : values)
    bounded &= Bounded(v);
  return bounded;
}
template <std::size_t N> bool Finite(const double (&values)[N]) {
  bool bounded = true;
  for (double v : values)
    bounded &= Bounded(v);
  return bounded;
}
// Within (-pi, pi] give or take the sign of pi itself, as a single wrap leaves it.
inline bool Half(double a) {
  return std::fabs(a) <= kPi;
}
// Within [0, 2 pi).
inline bool Turn(double a) {
  return a >= 0 && a < 2 * kPi;
}

} // namespace runaway

// Puts a device that ran away back in its initial state (its Reset), with
// nothing of the runaway left in the values it keeps between steps: what the
// reset does not set and is beyond kMaxDeviceValue or not a number goes back
// to the zero the constructor gives, for the next step to work it out afresh.
void ResetRunaway(TRobot& robot);
