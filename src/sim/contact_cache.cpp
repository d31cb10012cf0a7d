#include "sim/contact_cache.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <typeinfo>

#include "models/linear/rail.h"
#include "models/linear/rail_shape.h"
#include "sim/device_registry.h"

void TContactCache::FullPass(const TRobotArray& robots, std::int32_t count, TRail* rail) {
  robots_ = &robots;
  count_ = count;
  given_rail_ = rail;
  full_next_ = false;
  // The rail is read only when a device of the set is a rail, as the plain
  // pass does: otherwise the pointer may be stale.
  rail_ = nullptr;
  for (std::int32_t k = 0; k < count; ++k) {
    robots[k]->InContact = false;
    if (CollisionRole(*robots[k]) == TCollisionRole::Rail) rail_ = rail;
  }
  rail_device_ = rail_;
  Observe();
  ReplayContacts();
}

void TContactCache::ReplayVisits() {
  for (std::size_t p = NextVisit(0); p < pairs_.size(); p = NextVisit(p + 1)) {
    Replay(p);
    if (!replanned_) continue;
    // A collision handler changed the device set or a type code: the rest of
    // the pass goes the plain way.
    full_next_ = true;
    std::size_t q = 0;
    for (std::int32_t i = 0; i < count_; ++i)
      for (std::int32_t j = i + 1; j < count_; ++j, ++q)
        if (q > p) PlainPair(i, j);
    return;
  }
}

bool TContactCache::Observe() {
  const TRobotArray& robots = *robots_;
  const auto n = static_cast<std::size_t>(std::max(count_, 0));
  const bool exact = rail_ && typeid(*rail_) == typeid(TRail);
  if (!planned_ || devices_.size() != n || rail_key_.Robot != rail_ || rail_exact_ != exact) {
    Plan();
    return true;
  }
  bool changed = false;
  for (std::size_t k = 0; k < n; ++k) {
    const TRobot& r = *robots[k];
    if (devices_[k].Robot != &r || devices_[k].Type != r.TypeCode) {
      Plan();
      return true;
    }
    changed |= ObserveDevice(k, r);
  }
  if (rail_) changed |= ObserveRail();
  return changed;
}

bool TContactCache::ObserveRail() {
  const std::uint64_t x = Bits(rail_->PosX), y = Bits(rail_->PosY);
  const std::uint64_t radius = Bits(rail_->Radius), curve = Bits(rail_->CurveRadius);
  if (rail_key_.X == x && rail_key_.Y == y && rail_key_.Radius == radius &&
      rail_shape_ == rail_->RailType && rail_curve_ == curve)
    return false;
  rail_key_.X = x;
  rail_key_.Y = y;
  rail_key_.Radius = radius;
  rail_shape_ = rail_->RailType;
  rail_curve_ = curve;
  for (std::uint32_t p : rail_pairs_)
    Test(p);
  return true;
}

void TContactCache::Plan() {
  const TRobotArray& robots = *robots_;
  const auto n = static_cast<std::size_t>(std::max(count_, 0));
  planned_ = true;
  replanned_ = true;
  devices_.resize(n);
  for (std::size_t k = 0; k < n; ++k) {
    const TRobot& r = *robots[k];
    devices_[k] = {&r, r.TypeCode, false, Bits(r.PosX), Bits(r.PosY), Bits(r.Radius)};
  }
  rail_key_ = {};
  rail_exact_ = false;
  if (rail_) {
    rail_key_ = {
        rail_, rail_->TypeCode, true, Bits(rail_->PosX), Bits(rail_->PosY), Bits(rail_->Radius)};
    rail_shape_ = rail_->RailType;
    rail_curve_ = Bits(rail_->CurveRadius);
    rail_exact_ = typeid(*rail_) == typeid(TRail);
  }

  pairs_.clear();
  std::vector<std::vector<std::uint32_t>> pairs_of(n);
  rail_pairs_.clear();
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = i + 1; j < n; ++j) {
      const TCollisionRole ta = CollisionRole(*robots[i]), tb = CollisionRole(*robots[j]);
      TPair q;
      q.I = static_cast<std::int32_t>(i);
      q.J = static_cast<std::int32_t>(j);
      if (ta == TCollisionRole::None || tb == TCollisionRole::None)
        q.Kind = TKind::None;
      else if (ta == TCollisionRole::Rail)
        q.Kind = rail_ ? TKind::RailWithJ : TKind::None;
      else if (tb == TCollisionRole::Rail)
        q.Kind = rail_ ? TKind::RailWithI : TKind::None;
      else
        q.Kind = TKind::Devices;
      const auto p = static_cast<std::uint32_t>(pairs_.size());
      pairs_.push_back(q);
      if (q.Kind != TKind::None) devices_[i].Live = devices_[j].Live = true;
      pairs_of[i].push_back(p);
      pairs_of[j].push_back(p);
      if (q.Kind == TKind::RailWithI || q.Kind == TKind::RailWithJ) rail_pairs_.push_back(p);
    }
  }
  pairs_from_.assign(1, 0);
  pair_list_.clear();
  for (const std::vector<std::uint32_t>& of : pairs_of) {
    pair_list_.insert(pair_list_.end(), of.begin(), of.end());
    pairs_from_.push_back(static_cast<std::uint32_t>(pair_list_.size()));
  }
  visit_.assign((pairs_.size() + 63) / 64, 0);
  visits_ = 0;
  for (std::size_t p = 0; p < pairs_.size(); ++p)
    Test(p);
}

void TContactCache::Test(std::size_t p) {
  TPair& q = pairs_[p];
  const TRobot& a = *(*robots_)[static_cast<std::size_t>(q.I)];
  const TRobot& b = *(*robots_)[static_cast<std::size_t>(q.J)];
  switch (q.Kind) {
  case TKind::None:
    q.Hits = 0;
    break;
  case TKind::Devices:
    q.Hits = DiscsTouch(a, b) ? 1 : 0;
    break;
  case TKind::RailWithI:
  case TKind::RailWithJ: {
    if (!rail_exact_) {
      q.Hits = 0;
      SetVisit(p, true); // its own test runs at every pass
      return;
    }
    const TRobot& other = q.Kind == TKind::RailWithI ? a : b;
    q.Hits = rail_->RailType == kRailLoop
                 ? LoopContactHits(*rail_, rail_->PosY - rail_->CurveRadius, other)
                 : 0;
    break;
  }
  }
  SetVisit(p, q.Hits != 0);
}

std::size_t TContactCache::NextVisit(std::size_t from) const {
  const std::size_t n = pairs_.size();
  if (from >= n) return n;
  std::size_t w = from >> 6;
  std::uint64_t bits = visit_[w] & (~std::uint64_t{0} << (from & 63));
  while (bits == 0) {
    if (++w == visit_.size()) return n;
    bits = visit_[w];
  }
  return w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
}

void TContactCache::Replay(std::size_t p) {
  const TPair q = pairs_[p]; // a copy: the pairs are planned again if the set changes
  touched_.push_back(q.I);
  touched_.push_back(q.J);
  TRobot& a = *(*robots_)[static_cast<std::size_t>(q.I)];
  TRobot& b = *(*robots_)[static_cast<std::size_t>(q.J)];
  if (q.Kind == TKind::Devices) {
    // One distance for both, as the plain pass takes it.
    Touch(a);
    Touch(b);
    return;
  }
  if (q.Kind != TKind::RailWithI && q.Kind != TKind::RailWithJ) return;
  TRail& rail = *rail_;
  TRobot& other = q.Kind == TKind::RailWithI ? a : b;
  if (!rail_exact_) {
    full_next_ = true; // a rail's own test may flag any device
    rail.CollideWith(&other);
    Observe();
    return;
  }
  unsigned hits = q.Hits;
  const double cy = rail.PosY - rail.CurveRadius; // once, as the loop's test takes it
  for (int k = 0; k < 5 && hits >> k != 0; ++k) {
    if ((hits >> k & 1) == 0) continue;
    rail.InContact = true;
    // The loop's later check points read the devices as they are now.
    if (Touch(other)) hits = (hits & ((2u << k) - 1)) | LoopContactHits(rail, cy, other, k + 1);
  }
}

bool TContactCache::Touch(TRobot& r) {
  r.InContact = true;
  if (r.Recoiling) return false;
  r.CollisionPending = true;
  r.OnCollision();
  // Collision handlers only take note; should one ever move a device, the
  // tests still to come must see it.
  return Observe();
}

void TContactCache::PlainPair(std::int32_t i, std::int32_t j) {
  TRobot& a = *(*robots_)[static_cast<std::size_t>(i)];
  TRobot& b = *(*robots_)[static_cast<std::size_t>(j)];
  const TCollisionRole ra = CollisionRole(a), rb = CollisionRole(b);
  if (ra == TCollisionRole::None || rb == TCollisionRole::None) return;
  if (ra == TCollisionRole::Rail || rb == TCollisionRole::Rail) {
    if (given_rail_) given_rail_->CollideWith(ra == TCollisionRole::Rail ? &b : &a);
    return;
  }
  const double dy = a.PosY - b.PosY;
  const double dx = a.PosX - b.PosX;
  if (std::sqrt(dy * dy + dx * dx) <= a.Radius + b.Radius) {
    Touch(a);
    Touch(b);
  }
}
