#include "sim/scope_history.h"

#include <algorithm>
#include <cmath>

#include "models/device_description.h"
#include "sim/device_registry.h"
#include "sim/simulation.h"

std::vector<const char*> DefaultTraces(const TRobot& robot) {
  if (const TDeviceClass* c = FindDeviceClass(robot.ClassName())) return c->DefaultTraces;
  return {"Vit", "Theta"};
}

TScopeHistory::TScopeHistory(const TSimulation& sim, double seconds) : seconds_(seconds) {
  MakeChannels(sim);
  Size(sim.Dt);
}

void TScopeHistory::MakeChannels(const TSimulation& sim) {
  channels_.clear();
  for (std::int32_t i = 0; i < sim.NbRobots; ++i) {
    const TRobot& robot = sim.Device(i);
    for (const TQuantityDescription& q : robot.Description().Quantities)
      if (const TFieldRef ref = FindField(robot, q.Field)) channels_.push_back({i, &q, ref});
  }
  ++layout_;
}

void TScopeHistory::AfterSetChanged(const TSimulation& sim) {
  MakeChannels(sim);
  Size(sim.Dt);
}

int TScopeHistory::Find(std::int32_t device, std::string_view field) const {
  for (std::size_t c = 0; c < channels_.size(); ++c)
    if (channels_[c].Device == device && field == channels_[c].Quantity->Field)
      return static_cast<int>(c);
  return -1;
}

void TScopeHistory::Size(double dt) {
  dt_ = dt;
  // One more than the steps in the span, so that both its ends are kept.
  const double steps = dt > 0 ? std::ceil(seconds_ / dt) + 1 : HUGE_VAL;
  capacity_ =
      steps < static_cast<double>(kMaxSamples) ? static_cast<std::size_t>(steps) : kMaxSamples;
  capacity_ = std::max<std::size_t>(capacity_, 2);
  time_.assign(capacity_, 0.0);
  values_.assign(capacity_ * channels_.size(), 0.0);
  Clear();
}

void TScopeHistory::Clear() {
  first_ = count_ = 0;
  ++version_;
}

void TScopeHistory::AfterTick(const TSimulation& sim) {
  // A new time step (Options) changes the span a ring holds: start again.
  if (sim.Dt != dt_) Size(sim.Dt);
  std::size_t slot;
  if (count_ < capacity_) {
    slot = Slot(count_++);
  } else {
    slot = first_;
    first_ = (first_ + 1) % capacity_;
  }
  time_[slot] = sim.SimTime;
  for (std::size_t c = 0; c < channels_.size(); ++c)
    values_[c * capacity_ + slot] = channels_[c].Ref.Get();
  ++version_;
}
