// Something that follows the simulation tick by tick: the scope's history and
// the CSV export read the devices after every tick, whatever the redraw rate.
#pragma once

class TSimulation;

class TTickObserver {
public:
  virtual ~TTickObserver() = default;
  // Before every tick, nothing moved yet.
  virtual void BeforeTick(const TSimulation&) {}
  // After every tick, once every device has moved.
  virtual void AfterTick(const TSimulation& sim) = 0;
  // After Reset robots (SimTime back to 0).
  virtual void AfterReset(const TSimulation&) {}
  // After the device set was made anew: what pointed into the old one is gone.
  virtual void AfterSetChanged(const TSimulation&) {}
};
