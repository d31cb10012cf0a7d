#include "app/divergence.h"

#include <cmath>

#include "models/constants.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"

namespace {

bool Finite(const double* v, int n) {
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
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

bool Diverged(const TRobot& r) {
  const double pose[] = {r.PosX, r.PosY, r.VitX, r.VitY, r.Vit, r.Theta};
  if (!Finite(pose, 6)) return true;
  switch (r.TypeCode) {
  case kTypeRobotK:
  case kTypeRobot4:
    return !Half(r.Theta);
  case kTypeMonocycle: {
    const auto& m = static_cast<const TMonocycle&>(r);
    return !Finite(m.State, 4) || !Half(m.State[0]);
  }
  case kTypeBicycle: {
    const auto& b = static_cast<const TBicycle&>(r);
    return !Finite(b.State, 8) || !Half(b.State[0]) || !Half(b.State[2]);
  }
  case kTypeMRVlin:
    return !Turn(r.Theta);
  case kTypeMSlin: {
    const auto& s = static_cast<const TMSlin&>(r);
    return !Turn(s.Theta) || !std::isfinite(s.PendOmega) || !Half(s.PendTheta);
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
