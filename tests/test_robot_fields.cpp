// What the wheeled robots expose to the state dump, and what Reset restores.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"

namespace {

// Flattens the visited fields to "name" or "Wheel.name" -> value text.
class TCollect : public TFieldVisitor {
public:
  std::vector<std::string> Names;
  std::map<std::string, std::string> Values;

  void Field(const char* n, double v) override { Add(n, std::to_string(v)); }
  void Field(const char* n, std::int32_t v) override { Add(n, std::to_string(v)); }
  void Field(const char* n, bool v) override { Add(n, v ? "true" : "false"); }
  void Array(const char* n, const double* v, std::size_t c) override {
    std::string s;
    for (std::size_t i = 0; i < c; ++i)
      s += std::to_string(v[i]) + ",";
    Add(n, s);
  }
  void Array(const char* n, const std::int32_t*, std::size_t) override { Add(n, "?"); }
  void Array(const char* n, const bool*, std::size_t) override { Add(n, "?"); }
  void BeginObject(const char* n) override { prefix_ = std::string(n) + "."; }
  void EndObject() override { prefix_.clear(); }
  void Null(const char* n) override { Add(n, "null"); }

private:
  void Add(const char* n, std::string v) {
    Names.push_back(prefix_ + n);
    Values[prefix_ + n] = std::move(v);
  }
  std::string prefix_;
};

TCollect Collect(const TRobot& r) {
  TCollect c;
  r.VisitFields(c);
  return c;
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start < s.size()) {
    std::size_t end = s.find(' ', start);
    if (end == std::string::npos) end = s.size();
    out.push_back(s.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

const std::string kWheel2 = "WheelR.Mass WheelR.R WheelR.Tube WheelR.SpinRate WheelR.Phi "
                            "WheelR.Delta WheelL.Mass WheelL.R WheelL.Tube WheelL.SpinRate "
                            "WheelL.Phi WheelL.Delta ";
const std::string kChassis = "Mass Track Wheelbase AxleRadius BodyWidth BodyLength BodyHeight";
const std::string kRobot2 = kWheel2 + "WheelRL WheelRR " + kChassis;
const std::string kRobot4Wheels =
    kWheel2 +
    "WheelRL.Mass WheelRL.R WheelRL.Tube WheelRL.SpinRate WheelRL.Phi WheelRL.Delta "
    "WheelRR.Mass WheelRR.R WheelRR.Tube WheelRR.SpinRate WheelRR.Phi WheelRR.Delta " +
    kChassis;
const std::string kRk = "State Stage K1 K2 K3 K4 ControllerOn CtrlCountdown CtrlPeriod";

struct TClassCase {
  const char* name;
  std::function<std::unique_ptr<TRobot>()> make;
  std::string own_fields;             // after the base fields, in order
  std::function<void(TRobot&)> drive; // commands that move it away from its reset state
};

std::vector<TClassCase> Classes() {
  return {
      {"TRobot2", [] { return std::make_unique<TRobot2>(0.1, 0.2, 0); }, kRobot2,
       [](TRobot& r) { r.Theta = 0.3; }},
      {"TRobot4", [] { return std::make_unique<TRobot4>(0.1, 0.2, 0); },
       kRobot4Wheels + " ForceX ForceY Force Traction TractionMax Friction FrictionX "
                       "FrictionY FrictionStatic FrictionViscous Steer SteerMax "
                       "SavedTraction SavedSteer",
       [](TRobot& r) {
         auto& c = static_cast<TRobot4&>(r);
         c.Traction = 0.6;
         c.Steer = 0.2;
         c.WheelR->Delta = c.WheelL->Delta = 0.2;
       }},
      {"TRobotK", [] { return std::make_unique<TRobotK>(0.1, 0.2, 0); },
       std::string(kRobot2) + " SpinMax SavedSpinR SavedSpinL",
       [](TRobot& r) {
         auto& k = static_cast<TRobotK&>(r);
         k.WheelR->SpinRate = 7;
         k.WheelL->SpinRate = 3;
       }},
      {"TMonocycle", [] { return std::make_unique<TMonocycle>(0.1, 0.2, 0); },
       "Wheel.Mass Wheel.R Wheel.Tube Wheel.SpinRate Wheel.Phi Wheel.Delta M L RodRadius "
       "PendulumMass PendulumInertia WheelMass WheelInertia WheelEqMass TiltFriction "
       "RollFriction Ce CeMax Kp Ki Kd ErrIntegral ErrPrev Av AvMax " +
           kRk,
       [](TRobot& r) { static_cast<TMonocycle&>(r).Av = 0.2; }},
      {"TBicycle", [] { return std::make_unique<TBicycle>(0.1, 0.2, 0); },
       kWheel2 +
           "M L Track RodRadius PendulumMass AxleMass PendulumInertia YawInertia WheelMass "
           "WheelInertia WheelEqMass TiltFriction RollFriction YawFriction Torque1 Torque2 "
           "TorqueMax Kp Ki Kd ErrIntegral ErrPrev Av AvMax " +
           kRk,
       [](TRobot& r) {
         auto& b = static_cast<TBicycle&>(r);
         b.ControllerOn = false;
         b.Torque1 = 0.5;
         b.Torque2 = 0.2;
       }},
  };
}

} // namespace

TEST(RobotFields, EveryClassListsItsFieldsInDeclarationOrderAfterTheBase) {
  const TRobot base(0, 0, 0);
  const std::vector<std::string> base_names = Collect(base).Names;
  for (const TClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    const auto robot = c.make();
    EXPECT_STREQ(robot->ClassName(), c.name);
    std::vector<std::string> expected = base_names;
    for (const std::string& n : Split(c.own_fields))
      expected.push_back(n);
    EXPECT_EQ(Collect(*robot).Names, expected);
  }
}

TEST(RobotFields, ResetRestoresTheConstructedState) {
  // Scratch and memory fields that the reset leaves as they are.
  const std::set<std::string> kept = {"RecoilTime", "Stage",      "K1",         "K2",
                                      "K3",         "K4",         "YawInertia", "SavedTraction",
                                      "SavedSteer", "SavedSpinR", "SavedSpinL"};
  for (const TClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    const auto fresh = c.make();
    const auto used = c.make();
    c.drive(*used);
    for (int k = 0; k < 700; ++k)
      used->Step(0.001);
    const auto moved = Collect(*used).Values;
    EXPECT_NE(moved.at("PosY"), Collect(*fresh).Values.at("PosY"));
    used->Reset();
    const auto a = Collect(*fresh).Values;
    const auto b = Collect(*used).Values;
    for (const auto& [name, value] : a) {
      if (kept.count(name)) continue;
      EXPECT_EQ(b.at(name), value) << name;
    }
  }
}
