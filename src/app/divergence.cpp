#include "app/divergence.h"

#include <cmath>
#include <initializer_list>

#include "models/constants.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"

namespace {

bool Finite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

template <std::size_t N> bool Finite(const double (&values)[N]) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

// Within (-pi, pi] give or take the sign of pi itself, as a single wrap leaves it.
bool Half(double a) {
  return std::fabs(a) <= kPi;
}

bool Turn(double a) {
  return a >= 0 && a < 2 * kPi;
}

} // namespace

// The values a runaway reaches first: the pose and velocity, the integrated
// state, and what the carriages work out from their place on the rail (a
// place still finite can be too far along for its tooth or magnet to be).
// Looked at every tick, so a few named fields rather than all of them.
bool Diverged(const TRobot& r) {
  if (!Finite({r.PosX, r.PosY, r.VitX, r.VitY, r.Vit, r.Theta, r.Omega})) return true;
  switch (r.TypeCode) {
  case kTypeRobotK:
  case kTypeRobot4:
    return !Half(r.Theta);
  case kTypeMonocycle: {
    const auto& m = static_cast<const TMonocycle&>(r);
    return !Finite(m.State) || !Half(m.State[0]);
  }
  case kTypeBicycle: {
    const auto& b = static_cast<const TBicycle&>(r);
    return !Finite(b.State) || !Half(b.State[0]) || !Half(b.State[2]);
  }
  case kTypeMRVlin: {
    const auto& m = static_cast<const TMRVlin&>(r);
    return !Finite({m.Omega, m.Dx, m.Dy, m.DTheta, m.ToothX, m.ToothY, m.ToothDist, m.Fx, m.Fy,
                    m.Torque}) ||
           !Turn(m.Theta);
  }
  case kTypeMSlin: {
    const auto& s = static_cast<const TMSlin&>(r);
    return !Finite({s.Omega, s.Dx, s.MagnetX, s.MagnetY, s.Fx, s.Fy, s.Torque, s.PendOmega}) ||
           !Turn(s.Theta) || !Half(s.PendTheta);
  }
  default:
    return false;
  }
}

namespace {

// Sets every floating-point field that is not a number any more to 0.
class TUndefinedToZero final : public TFieldRefVisitor {
public:
  void BeginObject(const char*) override {}
  void EndObject() override {}
  void Null(const char*) override {}

private:
  void Leaf(const char*, TFieldRef::TKind kind, const void* p) override {
    if (kind != TFieldRef::TKind::Double && kind != TFieldRef::TKind::Float) return;
    const TFieldRef field{kind, p};
    if (!std::isfinite(field.Get())) field.Set(0);
  }
  void Elements(const char* name, TFieldRef::TKind kind, const void* p, std::size_t n,
                std::size_t size) override {
    for (std::size_t i = 0; i < n; ++i)
      Leaf(name, kind, static_cast<const unsigned char*>(p) + i * size);
  }
};

} // namespace

void ResetRunaway(TRobot& robot) {
  robot.Reset();
  // What the reset does not set and the runaway left undefined (the values a
  // step works out afresh, the integrator's work arrays) goes back to the
  // zero the constructor gives; the next step recomputes it.
  TUndefinedToZero zero;
  robot.VisitFields(zero);
}
