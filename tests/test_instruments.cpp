// What the instruments add to the controller: parameter edits that the device
// follows and that its defaults undo exactly, and the single step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>

#include "models/device_description.h"
#include "models/field_access.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/robots/bicycle.h"
#include "platform/headless/actions.h"
#include "sim/state_json.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(Parameters, EditsReachTheDeviceAndWhatFollowsFromThem) {
  TFormFixture f;
  ASSERT_TRUE(f.form->SetParameter(4, "WheelMass", 0.5));
  const auto& bike = static_cast<const TBicycle&>(f.Device(4));
  EXPECT_EQ(bike.WheelR->Mass, 0.5);
  EXPECT_EQ(bike.WheelInertia, 0.5 * 0.5 * (0.05 * 0.05));
  EXPECT_EQ(bike.M, 2 * 0.5 + 0.2 + 0.2 + 2 * bike.WheelEqMass);
  ASSERT_TRUE(f.form->SetParameter(8, "PendLength", 0.2));
  EXPECT_EQ(f.form->Sim.MsPtr->PendInertia, 0.2 * (1.0 / 3) * 0.2 * 0.2);
  ASSERT_TRUE(f.form->SetParameter(6, "AirGap0", 0.002));
  EXPECT_EQ(f.form->Sim.MrvPtr->Height, 0.002 + 0.015); // drawn higher at once
  ASSERT_TRUE(f.form->SetParameter(6, "Mass", 1));
  EXPECT_EQ(f.form->Sim.MrvPtr->Inertia, 0.5 * 1 * (0.056 * 0.056));

  std::string why;
  EXPECT_FALSE(f.form->SetParameter(6, "Mass", 0, &why));
  EXPECT_EQ(why, "Mass of device 6 (TMRVlin) must be between 0.01 and 5 kg, not 0");
  EXPECT_EQ(f.form->Sim.MrvPtr->Mass, 1);
}

TEST(Parameters, DefaultsRestoreTheConstructorsValuesBitForBit) {
  TFormFixture fresh, f;
  std::mt19937 rng(3);
  for (int n = 0; n < f.form->Sim.NbRobots; ++n) {
    for (const TParameterDescription& p : f.Device(n).Description().Parameters) {
      const double v = std::round(std::uniform_real_distribution<double>(p.Min, p.Max)(rng));
      ASSERT_TRUE(f.form->SetParameter(n, p.Field, std::clamp(v, p.Min, p.Max))) << p.Field;
    }
  }
  for (int n = 0; n < f.form->Sim.NbRobots; ++n) {
    f.form->RestoreParameters(n);
    EXPECT_EQ(DeviceJson(f.Device(n)), DeviceJson(fresh.Device(n))) << n;
  }
}

// One tick exactly as a timer event runs it; a running simulation pauses first.
TEST(SingleStep, RunsOneTickWhilePausedAndPausesARun) {
  TFormFixture tick, step, space, action;
  auto run = [](TFormFixture& f, const std::function<void()>& what) {
    f.form->SelectDevice(0);
    f.Key(vk::Numpad(8)); // something moves
    what();
  };
  run(tick, [&] { tick.form->Timer1Timer(); });
  run(step, [&] { step.form->PasAPas1Click(); });
  run(space, [&] { space.Key(vk::Space); });
  run(action, [&] {
    TAction a;
    std::string error;
    ASSERT_TRUE(ParseAction("step", *action.form, a, error)) << error;
    ApplyAction(*action.form, action.tk, a);
  });
  EXPECT_EQ(step.form->Sim.SimTime, step.form->Sim.Dt);
  EXPECT_FALSE(step.form->Timer1.Enabled);
  for (TFormFixture* f : {&step, &space, &action})
    EXPECT_EQ(StateJson(*f->form), StateJson(*tick.form));

  step.form->AnimateClick(); // running: the step pauses, then moves on by one tick
  step.form->PasAPas1Click();
  EXPECT_FALSE(step.form->Timer1.Enabled);
  EXPECT_EQ(step.form->Sim.SimTime, step.form->Sim.Dt + step.form->Sim.Dt);
}

} // namespace KINEMO_UNITY_ID
} // namespace
