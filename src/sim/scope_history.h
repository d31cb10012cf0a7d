// The recent past of every described quantity of every device, sampled after
// each tick (not each redraw), for the scope and its CSV export. Memory is
// fixed: one ring of samples per quantity, sized once for the time it must
// cover, so a night-long run uses no more than the first minutes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "models/field_access.h"
#include "sim/tick_observer.h"

class TRobot;
struct TQuantityDescription;

// The quantities the scope shows first for a device (at most four), as its
// class's registry entry gives them; speed and heading for any other.
std::vector<const char*> DefaultTraces(const TRobot& robot);

// A value axis's range for samples from `lo` to `hi`, padded by 5 % each way.
// A constant or nearly constant quantity gets a span of at least `least` (its
// resolution as shown) and a thousandth of its size around its value, so that
// the ticks read apart and the trace is drawn at its value. No samples
// (lo > hi): -1 to 1. Kept within what a plot can draw (1e250).
struct TScopeRange {
  double Lower, Upper;
};
TScopeRange ScopeValueRange(double lo, double hi, double least);

class TScopeHistory : public TTickObserver {
public:
  // Covers at least `seconds` of simulated time at the form's Dt, within
  // kMaxSamples; the device set is read now and must stay the same.
  explicit TScopeHistory(const TSimulation& sim, double seconds = 120);

  // Past this many samples per quantity the history covers fewer seconds
  // (a time step under seconds / kMaxSamples).
  static constexpr std::size_t kMaxSamples = 24000;

  struct TChannel {
    std::int32_t Device;
    const TQuantityDescription* Quantity;
    TFieldRef Ref;
  };
  const std::vector<TChannel>& Channels() const { return channels_; }
  // The channel of device `device`'s field `field`, or -1.
  int Find(std::int32_t device, std::string_view field) const;

  void AfterTick(const TSimulation& sim) override;
  void AfterReset(const TSimulation&) override { Clear(); }
  // A new set: its quantities, and a history of its own from here.
  void AfterSetChanged(const TSimulation& sim) override;
  // Changes when the channels are made anew (a new device set).
  std::uint64_t Layout() const { return layout_; }
  void Clear();

  std::size_t Capacity() const { return capacity_; }
  std::size_t Count() const { return count_; }
  // Sample k, 0 the oldest kept, Count() - 1 the latest.
  double Time(std::size_t k) const { return time_[Slot(k)]; }
  double Value(std::size_t channel, std::size_t k) const {
    return values_[channel * capacity_ + Slot(k)];
  }
  // Changes with every sample taken and every Clear: a plot can tell it is
  // out of date.
  std::uint64_t Version() const { return version_; }

private:
  std::size_t Slot(std::size_t k) const { return (first_ + k) % capacity_; }
  void MakeChannels(const TSimulation& sim);
  void Size(double dt);

  double seconds_;
  double dt_ = 0; // the time step the capacity was chosen for
  std::vector<TChannel> channels_;
  std::size_t capacity_ = 0;
  std::size_t first_ = 0, count_ = 0;
  std::uint64_t version_ = 0;
  std::uint64_t layout_ = 0;
  std::vector<double> time_;
  std::vector<double> values_; // channel after channel, capacity_ each
};
