#include "app/contact_cache.h"

#include <cmath>
#include <cstring>
#include <typeinfo>

#include "models/linear/rail.h"
#include "models/linear/rail_shape.h"

namespace {

std::uint64_t Bits(double v) {
  std::uint64_t b = 0;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

} // namespace

bool TContactCache::Observe(const TRobotArray& robots, std::int32_t count) {
  bool changed = false;
  const auto n = static_cast<std::size_t>(count < 0 ? 0 : count);
  if (devices_.size() != n) {
    devices_.assign(n, TDevice{});
    pairs_.assign(n < 2 ? 0 : n * (n - 1) / 2, TPair{});
    changed = true;
  }
  for (std::size_t k = 0; k < n; ++k) {
    const TRobot* r = robots[k];
    TDevice& d = devices_[k];
    const std::uint64_t x = Bits(r->PosX), y = Bits(r->PosY), radius = Bits(r->Radius);
    if (d.Robot != r || d.X != x || d.Y != y || d.Radius != radius || d.Type != r->TypeCode) {
      d = {r, x, y, radius, r->TypeCode, ++clock_};
      changed = true;
    }
  }
  rail_observed_ = false;
  return changed;
}

void TContactCache::ObserveRail(const TRail& rail) {
  rail_observed_ = true;
  const std::uint64_t x = Bits(rail.PosX), y = Bits(rail.PosY), radius = Bits(rail.Radius);
  const std::uint64_t curve = Bits(rail.CurveRadius);
  if (rail_.Robot == &rail && rail_.X == x && rail_.Y == y && rail_.Radius == radius &&
      rail_type_ == rail.RailType && rail_radius_ == curve)
    return;
  rail_ = {&rail, x, y, radius, rail.TypeCode, ++clock_};
  rail_type_ = rail.RailType;
  rail_radius_ = curve;
  // A rail class with a test of its own is asked every time.
  rail_exact_ = typeid(rail) == typeid(TRail);
}

void TContactCache::Pass(const TRobotArray& robots, std::int32_t count, TRail* rail) {
  for (std::int32_t k = 0; k < count; ++k)
    robots[k]->InContact = false;
  Observe(robots, count);
  std::size_t p = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    for (std::int32_t j = i + 1; j < count; ++j, ++p) {
      TRobot& a = *robots[i];
      TRobot& b = *robots[j];
      if (a.TypeCode == kTypeMRVlin || b.TypeCode == kTypeMRVlin) continue;
      if (a.TypeCode == kTypeRail) {
        if (rail) RailPair(pairs_[p], *rail, b, j, robots, count);
        continue;
      }
      if (b.TypeCode == kTypeRail) {
        if (rail) RailPair(pairs_[p], *rail, a, i, robots, count);
        continue;
      }
      DevicePair(pairs_[p], a, b, devices_[i], devices_[j], robots, count);
    }
  }
}

void TContactCache::DevicePair(TPair& pair, TRobot& a, TRobot& b, const TDevice& da,
                               const TDevice& db, const TRobotArray& robots, std::int32_t count) {
  if (pair.StampA != da.Stamp || pair.StampB != db.Stamp) {
    const double dy = a.PosY - b.PosY;
    const double dx = a.PosX - b.PosX;
    const double d = std::sqrt(dy * dy + dx * dx);
    pair.Hits = d <= a.Radius + b.Radius ? 1 : 0;
    pair.StampA = da.Stamp;
    pair.StampB = db.Stamp;
  }
  if (!pair.Hits) return;
  // One distance for both, as the plain pass takes it.
  Touch(a, robots, count);
  Touch(b, robots, count);
}

void TContactCache::RailPair(TPair& pair, TRail& rail, TRobot& other, std::int32_t other_index,
                             const TRobotArray& robots, std::int32_t count) {
  if (!rail_observed_) ObserveRail(rail);
  if (!rail_exact_) {
    rail.CollideWith(&other);
    Observe(robots, count);
    return;
  }
  const TDevice& d = devices_[static_cast<std::size_t>(other_index)];
  if (pair.StampA != rail_.Stamp || pair.StampB != d.Stamp) {
    pair.Hits =
        rail.RailType == kRailLoop ? LoopContactHits(rail, rail.PosY - rail.CurveRadius, other) : 0;
    pair.StampA = rail_.Stamp;
    pair.StampB = d.Stamp;
  }
  unsigned hits = pair.Hits;
  if (hits == 0) return;
  const double cy = rail.PosY - rail.CurveRadius; // once, as the loop's test takes it
  for (int k = 0; k < 5 && hits >> k != 0; ++k) {
    if ((hits >> k & 1) == 0) continue;
    rail.InContact = true;
    if (Touch(other, robots, count)) {
      // The loop's later check points read the devices as they are now.
      hits = (hits & ((2u << k) - 1)) | LoopContactHits(rail, cy, other, k + 1);
      pair.StampA = 0;
    }
  }
}

bool TContactCache::Touch(TRobot& r, const TRobotArray& robots, std::int32_t count) {
  r.InContact = true;
  if (r.Recoiling) return false;
  r.CollisionPending = true;
  r.OnCollision();
  // Collision handlers only take note; should one ever move a device, the
  // tests still to come must see it.
  return Observe(robots, count);
}
