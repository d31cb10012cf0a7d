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

TScopeRange ScopeValueRange(double lo, double hi, double least) {
  if (!(lo <= hi)) return {-1, 1};
  // A plot draws spans between 1e-280 and 1e250 and keeps its old range for
  // any other, so the range stays well inside.
  constexpr double kLimit = 4e249;
  lo = std::clamp(lo, -kLimit, kLimit);
  hi = std::clamp(hi, -kLimit, kLimit);
  const double centre = lo / 2 + hi / 2;
  double floor = std::max(least / 2, std::abs(centre) * 5e-4);
  if (!(floor > 0)) floor = 1; // a constant 0 of a quantity without resolution
  const double half = std::max({(hi - lo) / 2 * 1.05, floor, 1e-270});
  return {std::max(centre - half, -kLimit * 1.1), std::min(centre + half, kLimit * 1.1)};
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
