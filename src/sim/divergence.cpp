#include "sim/divergence.h"

#include <cmath>
#include <initializer_list>
#include <typeinfo>

#include "models/constants.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"

namespace {

// Also false for NaN, where no comparison holds.
bool Bounded(double v) {
  return std::fabs(v) <= kMaxDeviceValue;
}

// Without a branch per value: checked every tick, almost always all bounded.
bool Finite(std::initializer_list<double> values) {
  bool bounded = true;
  for (double v : values)
    bounded &= Bounded(v);
  return bounded;
}

template <std::size_t N> bool Finite(const double (&values)[N]) {
  bool bounded = true;
  for (double v : values)
    bounded &= Bounded(v);
  return bounded;
}

// A balancing robot's state and the integrator's work arrays.
template <class T> bool StagesFinite(const T& r) {
  return Finite(r.State) && Finite(r.Stage) && Finite(r.K1) && Finite(r.K2) && Finite(r.K3) &&
         Finite(r.K4);
}

// Within (-pi, pi] give or take the sign of pi itself, as a single wrap leaves it.
bool Half(double a) {
  return std::fabs(a) <= kPi;
}

bool Turn(double a) {
  return a >= 0 && a < 2 * kPi;
}

// The values a runaway reaches first: the pose and velocity, the integrated
// state, and what the carriages work out from their place on the rail (a
// place still finite can be too far along for its tooth or magnet to be).
// Looked at every tick, so a few named fields rather than all of them.
// The device as class T if it is exactly one (a test's stand-in device may
// borrow a type code), else null.
template <class T> const T* As(const TRobot& r) {
  return typeid(r) == typeid(T) ? static_cast<const T*>(&r) : nullptr;
}

} // namespace

bool Diverged(const TRobot& r) {
  if (!Finite({r.PosX, r.PosY, r.VitX, r.VitY, r.Vit, r.Theta, r.Omega})) return true;
  switch (r.TypeCode) {
  case kTypeRobotK:
  case kTypeRobot4:
    return !Half(r.Theta);
  case kTypeMonocycle:
    if (const auto* m = As<TMonocycle>(r)) return !StagesFinite(*m) || !Half(m->State[0]);
    return false;
  case kTypeBicycle:
    if (const auto* b = As<TBicycle>(r))
      return !StagesFinite(*b) || !Half(b->State[0]) || !Half(b->State[2]);
    return false;
  case kTypeMRVlin:
    if (const auto* m = As<TMRVlin>(r))
      return !Finite({m->Height,     m->Dx,        m->Dy,      m->OverlapX,  m->OverlapY,
                      m->DTheta,     m->PoleX,     m->PoleY,   m->ToothX,    m->ToothY,
                      m->ToothTheta, m->ToothDist, m->AirGap,  m->Fx,        m->Fy,
                      m->Fz,         m->Torque,    m->Current, m->ForceCoef, m->PhaseTimer}) ||
             !Turn(m->Theta);
    return false;
  case kTypeMSlin:
    if (const auto* s = As<TMSlin>(r))
      return !Finite({s->Height, s->Dx, s->MagnetX, s->MagnetY, s->MagnetTheta, s->AirGap, s->Fx,
                      s->Fy, s->Fz, s->Torque, s->CurrentCmd, s->FluxDensity, s->PendOmega}) ||
             !Turn(s->Theta) || !Half(s->PendTheta);
    return false;
  default:
    return false;
  }
}

namespace {

// Sets every floating-point field beyond the bound or not a number to 0.
class TUndefinedToZero final : public TFieldRefVisitor {
public:
  void BeginObject(const char*) override {}
  void EndObject() override {}
  void Null(const char*) override {}

private:
  void Leaf(const char*, TFieldRef::TKind kind, const void* p) override {
    if (kind != TFieldRef::TKind::Double && kind != TFieldRef::TKind::Float) return;
    const TFieldRef field{kind, p};
    if (!Bounded(field.Get())) field.Set(0);
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
  TUndefinedToZero zero;
  robot.VisitFields(zero);
}
