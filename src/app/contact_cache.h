// The tick's contact pass with each pair's result kept from one pass to the
// next. A pair's test reads only the positions and radii of its two devices
// (and, for the toothed rail, the rail's shape), and between two passes of a
// tick only one device has stepped: the other pairs are not tested again. The
// flags and the OnCollision calls are then replayed in the order of the plain
// pass, each reading Recoiling at its moment, so every effect is the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "models/robot.h"

class TRail;

class TContactCache {
public:
  // One contact pass over the first `count` devices; `rail` answers the pairs
  // that hold a rail (type 7), as RailPtr does.
  void Pass(const TRobotArray& robots, std::int32_t count, TRail* rail);

private:
  // What a device's tests read, as bits, and when it last changed.
  struct TDevice {
    const TRobot* Robot = nullptr;
    std::uint64_t X = 0, Y = 0, Radius = 0;
    std::int32_t Type = 0;
    std::uint64_t Stamp = 0;
  };
  // A pair's result and the stamps of what it was computed from; bit k of
  // Hits is the k-th test that found contact (one for two devices, one per
  // check point of the loop rail).
  struct TPair {
    std::uint64_t StampA = 0, StampB = 0;
    std::uint8_t Hits = 0;
  };

  // Takes note of every device that changed since the last look; true if any
  // did. The rail is looked at again before its next pair.
  bool Observe(const TRobotArray& robots, std::int32_t count);
  void ObserveRail(const TRail& rail);
  void DevicePair(TPair& pair, TRobot& a, TRobot& b, const TDevice& da, const TDevice& db,
                  const TRobotArray& robots, std::int32_t count);
  void RailPair(TPair& pair, TRail& rail, TRobot& other, std::int32_t other_index,
                const TRobotArray& robots, std::int32_t count);
  // Marks a device as touched; a collision it had not started yet is raised.
  // True if that changed what a later test reads.
  bool Touch(TRobot& r, const TRobotArray& robots, std::int32_t count);

  std::vector<TDevice> devices_;
  std::vector<TPair> pairs_; // (i, j), i < j, in the order the pass visits them
  TDevice rail_;
  std::int32_t rail_type_ = 0;
  std::uint64_t rail_radius_ = 0;
  bool rail_observed_ = false;
  bool rail_exact_ = false; // the rail's own test is the loop's, as cached here
  std::uint64_t clock_ = 0;
};
