// Which frames of a recording fall due. The time recorded is counted in whole
// ticks times the step, never as a running sum of steps, whose rounding would
// leave the last frame just short: N seconds at F frames per second give N·F
// frames, the last one at the tick that ends the N seconds.
#pragma once

#include <cstdint>

// The highest frame rate a step of `dt` seconds feeds, one frame a tick; a
// step of 0, which makes no frame due, feeds any rate.
std::int32_t MaxFrameRate(double dt);

class TCaptureClock {
public:
  void Start(std::int32_t fps, double duration);
  // One tick of `dt` seconds went by: the frames due since the start, never
  // more than Total(). A step changed during the recording counts from then on.
  std::int32_t Tick(double dt);
  // Whether the ticks so far went past the duration.
  bool Over() const;
  // The frames the duration holds.
  std::int32_t Total() const { return total_; }

private:
  double Elapsed() const;

  double fps_ = 0, duration_ = 0;
  double base_ = 0; // seconds recorded at earlier steps
  double dt_ = 0;
  std::int64_t ticks_ = 0; // at the step dt_
  std::int32_t total_ = 0;
};
