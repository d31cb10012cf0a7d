// What all wheeled robots share: Reset returns them to their constructed state,
// and their angles stay within half a turn either way.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <numbers>
#include <set>
#include <string>

#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"

namespace {

// Every visited field as "name" or "Wheel.name" -> value text.
class TCollect : public TFieldVisitor {
public:
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
  void Add(const char* n, std::string v) { Values[prefix_ + n] = std::move(v); }
  std::string prefix_;
};

std::map<std::string, std::string> Fields(const TRobot& r) {
  TCollect c;
  r.VisitFields(c);
  return c.Values;
}

struct TClassCase {
  const char* name;
  std::function<std::unique_ptr<TRobot>()> make;
  // Hard commands that move it and turn it quickly.
  std::function<void(TRobot&)> drive;
  // The angles that must stay within [-pi, pi].
  std::function<std::vector<double>(const TRobot&)> angles;
};

std::vector<TClassCase> Classes() {
  auto heading = [](const TRobot& r) { return std::vector<double>{r.Theta}; };
  return {
      {"TRobot2", [] { return std::make_unique<TRobot2>(0.1, 0.2, 0); },
       [](TRobot& r) { r.Theta = 0.3; }, heading},
      {"TRobot4", [] { return std::make_unique<TRobot4>(0.1, 0.2, 0); },
       [](TRobot& r) {
         auto& c = static_cast<TRobot4&>(r);
         c.Traction = -1.0;
         c.Steer = 0.5;
         c.WheelR->Delta = c.WheelL->Delta = 0.5;
       },
       heading},
      {"TRobotK", [] { return std::make_unique<TRobotK>(0.1, 0.2, 0); },
       [](TRobot& r) {
         auto& k = static_cast<TRobotK&>(r);
         k.WheelR->SpinRate = 10;
         k.WheelL->SpinRate = -7;
       },
       heading},
      {"TMonocycle", [] { return std::make_unique<TMonocycle>(0.1, 0.2, 0); },
       [](TRobot& r) {
         auto& m = static_cast<TMonocycle&>(r);
         m.ControllerOn = false;
         m.Ce = -3; // spins the rod forwards over the top
       },
       [](const TRobot& r) {
         return std::vector<double>{static_cast<const TMonocycle&>(r).State[0]};
       }},
      {"TBicycle", [] { return std::make_unique<TBicycle>(0.1, 0.2, 0); },
       [](TRobot& r) {
         auto& b = static_cast<TBicycle&>(r);
         b.ControllerOn = false;
         b.Torque1 = 3;
         b.Torque2 = -3;
       },
       [](const TRobot& r) {
         const auto& b = static_cast<const TBicycle&>(r);
         return std::vector<double>{b.State[0], b.State[2]};
       }},
  };
}

} // namespace

TEST(WheeledRobots, AnglesStayWithinHalfATurnEitherWay) {
  for (const TClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    const auto robot = c.make();
    c.drive(*robot);
    for (int k = 0; k < 5000; ++k) {
      robot->Step(0.001);
      for (double a : c.angles(*robot))
        ASSERT_LE(std::fabs(a), std::numbers::pi) << k;
    }
  }
}

TEST(WheeledRobots, ResetRestoresTheConstructedState) {
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
    EXPECT_NE(Fields(*used).at("PosY"), Fields(*fresh).at("PosY"));
    used->Reset();
    const auto a = Fields(*fresh);
    const auto b = Fields(*used);
    for (const auto& [name, value] : a) {
      if (kept.count(name)) continue;
      EXPECT_EQ(b.at(name), value) << name;
    }
  }
}
