// What all wheeled robots share: Reset returns them to their constructed state,
// and their angles stay within half a turn either way.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <numbers>

#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "sim/state_json.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TClassCase {
  const char* name;
  std::function<std::unique_ptr<TRobot>()> make;
  std::function<void(TRobot&)> drive; // hard commands that move it and turn it quickly
  std::function<std::vector<double>(const TRobot&)> angles; // to stay within [-pi, pi]
};

template <class T> std::unique_ptr<TRobot> Make() {
  return std::make_unique<T>(0.1, 0.2, 0);
}

std::vector<TClassCase> Classes() {
  auto heading = [](const TRobot& r) { return std::vector<double>{r.Theta}; };
  return {
      {"TRobot2", Make<TRobot2>, [](TRobot& r) { r.Theta = 0.3; }, heading},
      {"TRobot4", Make<TRobot4>,
       [](TRobot& r) {
         auto& c = static_cast<TRobot4&>(r);
         c.Traction = -1.0;
         c.Steer = 0.5;
         c.WheelR->Delta = c.WheelL->Delta = 0.5;
       },
       heading},
      {"TRobotK", Make<TRobotK>,
       [](TRobot& r) {
         auto& k = static_cast<TRobotK&>(r);
         k.WheelR->SpinRate = 10;
         k.WheelL->SpinRate = -7;
       },
       heading},
      {"TMonocycle", Make<TMonocycle>,
       [](TRobot& r) {
         auto& m = static_cast<TMonocycle&>(r);
         m.ControllerOn = false;
         m.Ce = -3; // spins the rod forwards over the top
       },
       [](const TRobot& r) {
         return std::vector<double>{static_cast<const TMonocycle&>(r).State[0]};
       }},
      {"TBicycle", Make<TBicycle>,
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

TEST(WheeledRobots, ResetRestoresTheConstructedStateButNotTheMode) {
  for (const TClassCase& c : Classes()) {
    SCOPED_TRACE(c.name);
    const auto fresh = c.make(), used = c.make();
    c.drive(*used);
    for (int k = 0; k < 700; ++k)
      used->Step(0.001);
    used->InContact = used->CollisionPending = used->Recoiling = used->AutoMode = true;
    used->Reset();
    EXPECT_TRUE(used->AutoMode);
    used->AutoMode = false;
    auto a = nlohmann::json::parse(DeviceJson(*fresh)),
         b = nlohmann::json::parse(DeviceJson(*used));
    // Scratch and memory fields that the reset leaves as they are.
    for (const char* kept : {"RecoilTime", "Stage", "K1", "K2", "K3", "K4", "YawInertia",
                             "SavedTraction", "SavedSteer", "SavedSpinR", "SavedSpinL"})
      a.erase(kept), b.erase(kept);
    for (const auto& [name, value] : a.items())
      EXPECT_EQ(b[name], value) << name;
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
