#include "sim/device_registry.h"

#include <algorithm>
#include <cmath>
#include <typeinfo>

#include "models/constants.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/linear/rail_aimant.h"
#include "models/linear/rail_shape.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot2.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "sim/divergence.h"
#include "sim/simulation.h"

namespace {

template <class T>
std::unique_ptr<TRobot> Make(double x0, double y0, int index, const TDeviceContext* context) {
  return std::make_unique<T>(x0, y0, index, context);
}

// The device as class T if it is exactly one (a test's stand-in device may
// borrow a type code), else null.
template <class T> const T* As(const TRobot& r) {
  return typeid(r) == typeid(T) ? static_cast<const T*>(&r) : nullptr;
}

// A balancing robot's state and the integrator's work arrays.
template <class T> bool StagesFinite(const T& r) {
  using runaway::Finite;
  return Finite(r.State) && Finite(r.Stage) && Finite(r.K1) && Finite(r.K2) && Finite(r.K3) &&
         Finite(r.K4);
}

// The wheeled robots' headings are wrapped once a step.
bool HeadingRanAway(const TRobot& r) {
  return !runaway::Half(r.Theta);
}

bool MonocycleRanAway(const TRobot& r) {
  const auto* m = As<TMonocycle>(r);
  return m && (!StagesFinite(*m) || !runaway::Half(m->State[0]));
}

bool BicycleRanAway(const TRobot& r) {
  const auto* b = As<TBicycle>(r);
  return b && (!StagesFinite(*b) || !runaway::Half(b->State[0]) || !runaway::Half(b->State[2]));
}

// What the carriages work out from their place on the rail: a place still
// finite can be too far along for its tooth or magnet to be.
bool MrvRanAway(const TRobot& r) {
  const auto* m = As<TMRVlin>(r);
  return m &&
         (!runaway::Finite(
              {m->Height, m->Dx,     m->Dy,     m->OverlapX,   m->OverlapY,  m->DTheta,    m->PoleX,
               m->PoleY,  m->ToothX, m->ToothY, m->ToothTheta, m->ToothDist, m->AirGap,    m->Fx,
               m->Fy,     m->Fz,     m->Torque, m->Current,    m->ForceCoef, m->PhaseTimer}) ||
          !runaway::Turn(m->Theta));
}

bool MsRanAway(const TRobot& r) {
  const auto* s = As<TMSlin>(r);
  return s && (!runaway::Finite({s->Height, s->Dx, s->MagnetX, s->MagnetY, s->MagnetTheta,
                                 s->AirGap, s->Fx, s->Fy, s->Fz, s->Torque, s->CurrentCmd,
                                 s->FluxDensity, s->PendOmega}) ||
               !runaway::Turn(s->Theta) || !runaway::Half(s->PendTheta));
}

void ShowSteering(TRobot& r) {
  static_cast<TRobot4&>(r).ShowSteering();
}

// The links the simulation keeps into its set.
void LinkDemoRobot(TSimulation& s, TRobot& r) {
  s.DemoRobot = &static_cast<TRobot4&>(r);
}
void LinkRail(TSimulation& s, TRobot& r) {
  s.RailPtr = &static_cast<TRail&>(r);
}
void LinkMrv(TSimulation& s, TRobot& r) {
  s.MrvPtr = &static_cast<TMRVlin&>(r);
}
void LinkMagnetRail(TSimulation& s, TRobot& r) {
  s.AimantPtr = &static_cast<TRailAimant&>(r);
}
void LinkMs(TSimulation& s, TRobot& r) {
  s.MsPtr = &static_cast<TMSlin&>(r);
}

} // namespace

const std::vector<TDeviceClass>& DeviceClasses() {
  // The largest angle below a whole turn.
  const double kBelowTwoPi = std::nextafter(2 * kPi, 0.0);
  static const std::vector<TDeviceClass> kDeviceClasses = {
      {.TypeCode = kTypeRobotK,
       .ClassName = "TRobotK",
       .ComboText = " : RobotK",
       .Description = &TRobotK::Describe,
       .Make = &Make<TRobotK>,
       .Collision = TCollisionRole::Disc,
       .RanAway = &HeadingRanAway,
       .Ranges = {{"Theta", -kPi, kPi}, {"Theta0", -kPi, kPi}},
       .DefaultTraces = {"Vit", "Theta"},
       .Placements = {{-1.0, -1.5, -2 * kPi / 3}}},
      {.TypeCode = kTypeRobot2,
       .ClassName = "TRobot2",
       .ComboText = " : Robot2",
       .Description = &TRobot2::Describe,
       .Make = &Make<TRobot2>,
       .Collision = TCollisionRole::Disc,
       .RanAway = nullptr,
       .Ranges = {},
       .DefaultTraces = {"VitY", "PosY"},
       .Placements = {{0.0, -0.5, 0}}},
      {.TypeCode = kTypeMonocycle,
       .ClassName = "TMonocycle",
       .ComboText = " : Monocycle",
       .Description = &TMonocycle::Describe,
       .Make = &Make<TMonocycle>,
       .Collision = TCollisionRole::Disc,
       .RanAway = &MonocycleRanAway,
       .Ranges = {{"State[0]", -kPi, kPi}, {"Wheel.Phi", -kBelowTwoPi, kBelowTwoPi}},
       .DefaultTraces = {"State[0]", "Ce", "Av"},
       .Placements = {{1.0, 0.0, 0}}},
      {.TypeCode = kTypeRobot4,
       .ClassName = "TRobot4",
       .ComboText = " : Robot4",
       .Description = &TRobot4::Describe,
       .Make = &Make<TRobot4>,
       .Collision = TCollisionRole::Disc,
       .RanAway = &HeadingRanAway,
       .Ranges = {{"Theta", -kPi, kPi}, {"Theta0", -kPi, kPi}},
       .DefaultTraces = {"Vit", "Theta"},
       .PrepareFrame = &ShowSteering,
       .Link = &LinkDemoRobot,
       .Placements = {{-1.0, -1.0, 0}, {-0.5, -0.5, kPi / 2}}},
      {.TypeCode = kTypeBicycle,
       .ClassName = "TBicycle",
       .ComboText = " : Bicycle",
       .Description = &TBicycle::Describe,
       .Make = &Make<TBicycle>,
       .Collision = TCollisionRole::Disc,
       .RanAway = &BicycleRanAway,
       .Ranges = {{"State[0]", -kPi, kPi}, {"State[2]", -kPi, kPi}},
       .DefaultTraces = {"State[0]", "Torque1", "Torque2", "Av"},
       .Placements = {{1.5, 0.5, 0}}},
      {.TypeCode = kTypeMRVlin,
       .ClassName = "TMRVlin",
       .ComboText = " : MRVlin",
       .Description = &TMRVlin::Describe,
       .Make = &Make<TMRVlin>,
       .Collision = TCollisionRole::None,
       .RanAway = &MrvRanAway,
       .Ranges = {{"ForceModel", 1, 3},
                  {"Phase", 0, 2},
                  {"Theta", 0, kBelowTwoPi},
                  {"ToothTheta", 0, kBelowTwoPi}},
       .DefaultTraces = {"Fx", "PosX", "Phase"},
       .Needs = "TRail",
       .Logged = true,
       .Link = &LinkMrv,
       .Placements = {{0.2, 1.0, 0}}},
      {.TypeCode = kTypeRail,
       .ClassName = "TRail",
       .ComboText = " : Rail",
       .Description = &TRail::Describe,
       .Make = &Make<TRail>,
       .Collision = TCollisionRole::Rail,
       .RanAway = nullptr,
       .Ranges = {{"RailType", kRailStraight, kRailLoop}},
       .DefaultTraces = {"InContact"},
       .Pitch = "ToothPitch",
       .Link = &LinkRail,
       .Placements = {{0.0, 1.0, 0}}},
      {.TypeCode = kTypeMSlin,
       .ClassName = "TMSlin",
       .ComboText = " : MSlin",
       .Description = &TMSlin::Describe,
       .Make = &Make<TMSlin>,
       .Collision = TCollisionRole::Disc,
       .RanAway = &MsRanAway,
       .Ranges = {{"PendTheta", -kPi, kPi},
                  {"Theta", 0, kBelowTwoPi},
                  {"MagnetTheta", 0, kBelowTwoPi}},
       .DefaultTraces = {"PendTheta", "CurrentCmd", "Secteur"},
       .Needs = "TRailAimant",
       .Link = &LinkMs,
       .Placements = {{-1.5, 1.0, 0}}},
      {.TypeCode = kTypeRailAimant,
       .ClassName = "TRailAimant",
       .ComboText = " : RailAimant",
       .Description = &TRailAimant::Describe,
       .Make = &Make<TRailAimant>,
       .Collision = TCollisionRole::Disc,
       .RanAway = nullptr,
       .Ranges = {{"RailType", kRailStraight, kRailLoop}},
       .DefaultTraces = {"MagnetIndex"},
       .Pitch = "MagnetPitch",
       .Link = &LinkMagnetRail,
       .Placements = {{-1.0, 1.0, 0}}},
  };
  return kDeviceClasses;
}

const TDeviceClass* FindDeviceClass(std::string_view class_name) {
  for (const TDeviceClass& c : DeviceClasses())
    if (class_name == c.ClassName) return &c;
  return nullptr;
}

const TDeviceClass* FindDeviceClass(std::int32_t type_code) {
  // Type codes are 1 to 9 in table order: asked every tick for every device,
  // so the table is taken once rather than through DeviceClasses each time.
  static const std::vector<TDeviceClass>& classes = DeviceClasses();
  const auto k = static_cast<std::size_t>(type_code) - 1;
  if (k < classes.size() && classes[k].TypeCode == type_code) return &classes[k];
  for (const TDeviceClass& c : classes)
    if (c.TypeCode == type_code) return &c;
  return nullptr;
}

const TDeviceClass* ClassOf(const TRobot& robot) {
  return FindDeviceClass(robot.TypeCode);
}

const char* TypeCodeText(std::int32_t type_code) {
  const TDeviceClass* c = FindDeviceClass(type_code);
  return c ? c->ComboText : " : Robot ?";
}

const std::vector<std::string>& StandardDeviceSet() {
  static const std::vector<std::string> kSet = {"TRobot4",    "TRobotK",     "TRobot4",
                                                "TMonocycle", "TBicycle",    "TRail",
                                                "TMRVlin",    "TRailAimant", "TMSlin"};
  return kSet;
}

std::vector<std::string> MissingFor(TSetNeed need, const std::vector<std::string>& classes) {
  const std::vector<std::string> needed = need == TSetNeed::Demonstration
                                              ? std::vector<std::string>{"TRobot4", "TMRVlin"}
                                              : std::vector<std::string>{"TRail", "TMRVlin"};
  std::vector<std::string> missing;
  for (const std::string& n : needed)
    if (std::find(classes.begin(), classes.end(), n) == classes.end()) missing.push_back(n);
  return missing;
}

std::string TSetProblem::English() const {
  switch (Kind) {
  case None:
    return {};
  case Empty:
    return "a simulation needs at least one device";
  case TooMany:
    return "at most " + std::to_string(kMaxDevices) + " devices";
  case Unknown: {
    std::string known;
    for (const TDeviceClass& c : DeviceClasses())
      known += (known.empty() ? "" : ", ") + std::string(c.ClassName);
    return "unknown device class \"" + Name + "\" (known: " + known + ")";
  }
  case SecondRail:
    return "a second " + Name + ": a set holds at most one rail of each kind";
  case NoRail:
    return Name + " runs on a " + Other + ", which the set lacks";
  }
  return {};
}

std::string TSetProblem::French() const {
  switch (Kind) {
  case None:
    return {};
  case Empty:
    return "une simulation compte au moins un appareil";
  case TooMany:
    return "au plus " + std::to_string(kMaxDevices) + " appareils";
  case Unknown:
    return "classe d'appareil inconnue « " + Name + " »";
  case SecondRail:
    return "un second " + Name + " : un ensemble compte au plus un rail de chaque sorte";
  case NoRail:
    return Name + " roule sur un " + Other + ", absent de l'ensemble";
  }
  return {};
}

TSetProblem PlanDeviceSet(const std::vector<std::string>& classes, std::vector<TDevicePlan>& plan) {
  plan.clear();
  if (classes.empty()) return TSetProblem(TSetProblem::Empty);
  if (classes.size() > kMaxDevices) return TSetProblem(TSetProblem::TooMany);
  const std::vector<TDeviceClass>& all = DeviceClasses();
  std::vector<std::size_t> made(all.size(), 0);
  for (const std::string& name : classes) {
    const TDeviceClass* c = FindDeviceClass(name);
    if (!c) return TSetProblem(TSetProblem::Unknown, name);
    const auto k = static_cast<std::size_t>(c - all.data());
    if (c->Collision == TCollisionRole::Rail || c->Pitch) {
      if (made[k] > 0) return TSetProblem(TSetProblem::SecondRail, name);
    }
    // Beyond its own places, a class's devices line up along x from its last one.
    const std::size_t n = made[k]++;
    TPlacement p = c->Placements.empty() ? TPlacement{} : c->Placements.back();
    if (n < c->Placements.size())
      p = c->Placements[n];
    else
      p.X0 += 0.5 * static_cast<double>(n + 1 - c->Placements.size());
    plan.push_back({c, p});
  }
  for (const TDevicePlan& d : plan) {
    if (!d.Class->Needs) continue;
    bool found = false;
    for (const TDevicePlan& e : plan)
      found = found || std::string_view(e.Class->ClassName) == d.Class->Needs;
    if (!found) return TSetProblem(TSetProblem::NoRail, d.Class->ClassName, d.Class->Needs);
  }
  return {};
}
