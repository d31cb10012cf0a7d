// The tick's contact pass with each pair's result kept from one pass to the
// next. A pair's test reads only the positions and radii of its two devices
// (and, for the toothed rail, the rail's shape), and between two passes of a
// tick only one device has stepped: only that device's pairs are tested again.
// The flags and the OnCollision calls of the pairs found in contact are then
// replayed in the order of the plain pass, each reading Recoiling at its
// moment, so every effect is the same.
//
// Within a tick only a device's own Step moves it (AutoPilot sets commands,
// Step writes no other device's position, radius or type, and neither changes
// the set), so a pass told which device stepped since the previous one looks
// at that device and the next (whose pilot ran) only; the tick tells only
// while those slots hold the devices that ran. The tick's first pass, after
// whatever happened between ticks, looks at every device, and so does the pass
// after one whose collision handlers changed the set.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "models/robot.h"

class TRail;

class TContactCache {
public:
  // One contact pass over the first `count` devices; `rail` answers the pairs
  // that hold a rail (type 7), as RailPtr does. `stepped`: the device that
  // stepped since the previous pass of the same tick, or -1 when anything may
  // have changed.
  // Inline: a tick makes ninety of them, most finding nothing moved.
  void Pass(const TRobotArray& robots, std::int32_t count, TRail* rail, std::int32_t stepped = -1) {
    if (stepped >= 0 && stepped < count && !full_next_ && robots_ == &robots && count_ == count &&
        given_rail_ == rail)
      PassAfterStep(static_cast<std::size_t>(stepped));
    else
      FullPass(robots, count, rail);
  }

private:
  enum class TKind : std::uint8_t {
    None,      // a pair with the switched-reluctance carriage, or a rail but no RailPtr
    Devices,   // the distance test
    RailWithI, // the rail's test against device I (a rail class with a test of
    RailWithJ, // its own is asked at every pass)
  };
  struct TPair {
    std::int32_t I = 0, J = 0;
    TKind Kind = TKind::None;
    // Bit k: the k-th test found contact (one test for two devices, one per
    // check point of the loop rail).
    std::uint8_t Hits = 0;
  };
  // What a device's tests read, as bits.
  struct TDevice {
    const TRobot* Robot = nullptr;
    std::int32_t Type = 0;
    bool Live = false; // some pair of it has a test (not the switched-reluctance carriage)
    std::uint64_t X = 0, Y = 0, Radius = 0;
  };

  // Tests again the pairs of what changed since the last look (all of them
  // after a change of the set or of a type code); true if anything changed.
  bool Observe();
  // A pass that looks at every device.
  void FullPass(const TRobotArray& robots, std::int32_t count, TRail* rail);
  // The pass after device a stepped and the next one's pilot ran, the set
  // being the one the last pass saw.
  void PassAfterStep(std::size_t a) {
    const TRobotArray& robots = *robots_;
    const std::size_t b = a + 1 == static_cast<std::size_t>(count_) ? 0 : a + 1;
    // Only the devices the last pass flagged and the two that ran code since
    // can hold a contact flag; the rail is the last pass's.
    for (std::int32_t k : touched_)
      robots[k]->InContact = false;
    TRobot& ra = *robots[a];
    TRobot& rb = *robots[b];
    ra.InContact = false;
    rb.InContact = false;
    ObserveDevice(a, ra);
    ObserveDevice(b, rb);
    if (rail_device_ && (&ra == rail_device_ || &rb == rail_device_)) ObserveRail();
    ReplayContacts();
  }
  // Tests again the pairs of device k (r) if its position or radius changed;
  // true if that may change what a test reads.
  bool ObserveDevice(std::size_t k, const TRobot& r) {
    const TDevice& d = devices_[k];
    // Where a device with no test stands is read by none.
    if (!d.Live) return false;
    if (d.X == Bits(r.PosX) && d.Y == Bits(r.PosY) && d.Radius == Bits(r.Radius)) return false;
    Retest(k, r);
    return true;
  }
  // Takes device k's new place and tests its pairs again. Inline with the
  // distance test, the one most pairs have: a moving device asks it at
  // almost every pass.
  void Retest(std::size_t k, const TRobot& r) {
    TDevice& d = devices_[k];
    d.X = Bits(r.PosX);
    d.Y = Bits(r.PosY);
    d.Radius = Bits(r.Radius);
    for (std::uint32_t e = pairs_from_[k]; e < pairs_from_[k + 1]; ++e) {
      const std::uint32_t p = pair_list_[e];
      TPair& q = pairs_[p];
      if (q.Kind != TKind::Devices) {
        Test(p);
        continue;
      }
      q.Hits = DiscsTouch(*(*robots_)[static_cast<std::size_t>(q.I)],
                          *(*robots_)[static_cast<std::size_t>(q.J)])
                   ? 1
                   : 0;
      SetVisit(p, q.Hits != 0);
    }
  }
  // Replays the pairs found in contact, in the plain pass's order.
  void ReplayContacts() {
    touched_.clear();
    replanned_ = false;
    // Most passes find nothing in contact.
    if (visits_ != 0) ReplayVisits();
  }
  void ReplayVisits();
  static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }
  // The distance test of two devices, as the plain pass takes it.
  static bool DiscsTouch(const TRobot& a, const TRobot& b) {
    const double dy = a.PosY - b.PosY;
    const double dx = a.PosX - b.PosX;
    return std::sqrt(dy * dy + dx * dx) <= a.Radius + b.Radius;
  }
  // Tests again the rail pairs if the rail's position or shape changed.
  bool ObserveRail();
  void Plan();
  void Test(std::size_t p);
  void SetVisit(std::size_t p, bool visit) {
    std::uint64_t& word = visit_[p >> 6];
    const std::uint64_t bit = std::uint64_t{1} << (p & 63);
    if (((word & bit) != 0) == visit) return;
    word ^= bit;
    visits_ += visit ? 1 : -1;
  }
  // The first pair at or after `from` whose effects are to be replayed.
  std::size_t NextVisit(std::size_t from) const;
  void Replay(std::size_t p);
  // Marks a device as touched; a collision it had not started yet is raised.
  // True if that changed what a later test reads.
  bool Touch(TRobot& r);
  // The plain pass's handling of one pair, for the rest of a pass that saw the
  // device set change under it.
  void PlainPair(std::int32_t i, std::int32_t j);

  // The pass under way.
  const TRobotArray* robots_ = nullptr;
  std::int32_t count_ = 0;
  TRail* given_rail_ = nullptr;
  TRail* rail_ = nullptr;               // the given rail if a device of the set is a rail
  const TRobot* rail_device_ = nullptr; // the same, as a device
  bool replanned_ = false;
  // The devices the last pass may have flagged in contact, and whether the
  // next pass must look at every device (nothing planned yet, a set changed by
  // a collision handler, a rail with a test of its own).
  std::vector<std::int32_t> touched_;
  bool full_next_ = true;

  bool planned_ = false;
  std::vector<TDevice> devices_;
  std::vector<TPair> pairs_; // (i, j), i < j, in the order the pass visits them
  // Each device's pairs: device k's are pair_list_[pairs_from_[k] .. pairs_from_[k + 1]).
  std::vector<std::uint32_t> pairs_from_, pair_list_;
  std::vector<std::uint32_t> rail_pairs_;
  std::vector<std::uint64_t> visit_; // bit p: pair p has effects to replay
  std::ptrdiff_t visits_ = 0;        // the bits set in visit_
  TDevice rail_key_;
  std::int32_t rail_shape_ = 0;
  std::uint64_t rail_curve_ = 0;
  bool rail_exact_ = false; // the rail's own test is the loop's test replayed here
};
