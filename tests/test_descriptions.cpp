// What each device says about itself must hold for the device: the fields it
// names exist, its parameter defaults are its constructor's values within their
// ranges, and its key legend lists exactly the keys that act on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "models/device_description.h"
#include "models/field_access.h"
#include "models/robots/robot2.h"
#include "sim/device_registry.h"
#include "sim/state_json.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

// The default set, and a two-wheel robot in place of device 0.
struct TEveryDevice : TFormFixture {
  TEveryDevice() { Replace(0, new TRobot2(-1.0, -1.0, 0)); }
};

TEST(Descriptions, NameFieldsThatExistAndDefaultsTheConstructorsGive) {
  TFormFixture defaults;
  TEveryDevice with_robot2;
  std::vector<TRobot*> devices(defaults.form->Sim.Robots.begin(), defaults.form->Sim.Robots.end());
  devices.push_back(&with_robot2.Device(0));
  for (const TRobot* robot : devices) {
    const TDeviceDescription& d = robot->Description();
    SCOPED_TRACE(robot->ClassName());
    EXPECT_STRNE(d.Name, "Appareil");
    EXPECT_GT(std::string(d.Text).size(), 100u);
    EXPECT_FALSE(d.Quantities.empty());
    for (const TQuantityDescription& q : d.Quantities)
      EXPECT_TRUE(FindField(*robot, q.Field)) << q.Field;
    for (const TCommandDescription& c : d.Commands) {
      EXPECT_FALSE(c.Keys.empty());
      if (c.When) {
        EXPECT_EQ(FindField(*robot, c.When).Kind, TFieldRef::TKind::Bool) << c.When;
      }
    }
    for (const TParameterDescription& p : d.Parameters) {
      SCOPED_TRACE(p.Field);
      const TFieldRef field = FindField(*robot, p.Field);
      ASSERT_TRUE(field);
      EXPECT_EQ(field.Get(), p.Default);
      EXPECT_LE(p.Min, p.Default);
      EXPECT_LE(p.Default, p.Max);
      EXPECT_LT(p.Min, p.Max);
      EXPECT_GT(p.Step, 0);
      // An editor showing the default with its decimals holds the bounds exactly.
      const int decimals = DecimalsFor(p.Default, p.Step);
      for (double bound : {p.Min, p.Max})
        EXPECT_LE(DecimalsFor(bound, p.Step), decimals) << bound;
      // An editor in the display unit (degrees) writes back values within the
      // range, whatever its rounding of the bounds, and the default as it was.
      const TParameterEditing e = EditingOf(p);
      const double digit = std::pow(10.0, -e.Decimals);
      for (double shown : {e.Min, e.Max}) {
        const double stored = e.Stored(std::round(shown / digit) * digit);
        EXPECT_TRUE(stored >= p.Min && stored <= p.Max) << stored;
      }
      EXPECT_NEAR(e.Stored(std::round(p.Default * e.Scale / digit) * digit), p.Default,
                  digit / e.Scale);
      if (field.Kind == TFieldRef::TKind::Int32) {
        EXPECT_EQ(p.Step, 1);
        EXPECT_EQ(p.Min, std::trunc(p.Min));
      } else {
        EXPECT_EQ(field.Kind, TFieldRef::TKind::Double);
      }
    }
  }
}

// A bound and the value it bounds read in one unit: a set point in degrees
// against a maximum in radians misleads.
TEST(Descriptions, ParametersAreShownInTheUnitOfTheValuesTheyBound) {
  for (const TDeviceClass& c : DeviceClasses()) {
    const TDeviceDescription& d = c.Description();
    for (const TInputDescription& i : d.Inputs) {
      SCOPED_TRACE(std::string(c.ClassName) + "." + i.Bound);
      const TParameterDescription* p = d.FindParameter(i.Bound);
      ASSERT_NE(p, nullptr);
      for (const TQuantityDescription& q : d.Quantities)
        if (std::string_view(q.Field) == i.Field) {
          EXPECT_STREQ(p->DisplayUnit(), q.DisplayUnit());
          EXPECT_EQ(p->DisplayScale(), q.Scale);
        }
    }
  }
}

TEST(Descriptions, ConstantsDerivedAgainFromTheDefaultsAreTheConstructors) {
  TFormFixture f;
  for (TRobot* robot : f.form->Sim.Robots) {
    const std::string before = DeviceJson(*robot);
    robot->DeriveConstants();
    EXPECT_EQ(DeviceJson(*robot), before) << robot->ClassName();
  }
}

// Runs in its own folder: the carriages' C key writes capture.dat.
class Legend : public ::testing::Test {
protected:
  void SetUp() override { std::filesystem::current_path(dir_.Dir); }
  void TearDown() override { std::filesystem::current_path(old_); }
  std::filesystem::path old_ = std::filesystem::current_path();
  TScratchDir dir_;
};

// Random presses of every key that is neither a camera nor a global key: a key
// that changes the selected device (or opens the log) is in its legend for the
// mode the device was in, and every legend entry acts at some point.
TEST_F(Legend, ListsExactlyTheKeysThatActOnTheSelectedDevice) {
  std::vector<std::uint16_t> keys;
  for (char c : std::string("BCEFGIJKLMOPUVY"))
    keys.push_back(vk::Letter(c));
  for (int d = 0; d <= 9; ++d)
    keys.push_back(vk::Numpad(d));
  std::mt19937 rng(7);
  TEveryDevice f;
  for (int n = 0; n < f.form->Sim.NbRobots; ++n) {
    f.form->SelectDevice(n);
    TRobot& robot = f.Device(n);
    const TDeviceDescription& d = robot.Description();
    SCOPED_TRACE(robot.ClassName());
    std::vector<bool> acted(d.Commands.size(), false);
    for (int press = 0; press < 400; ++press) {
      const std::uint16_t key = keys[rng() % keys.size()];
      std::vector<std::size_t> listed;
      for (std::size_t i = 0; i < d.Commands.size(); ++i) {
        const TCommandDescription& c = d.Commands[i];
        const bool applies = !c.When || (FindField(robot, c.When).Get() != 0) == c.WhenOn;
        if (applies && std::find(c.Keys.begin(), c.Keys.end(), key) != c.Keys.end())
          listed.push_back(i);
      }
      const std::string before = DeviceJson(robot);
      const bool log_before = f.form->LogOn;
      f.Key(key);
      const bool changed = DeviceJson(robot) != before || f.form->LogOn != log_before;
      if (changed) {
        EXPECT_FALSE(listed.empty()) << KeyCaption(key) << " acts but is not in the legend";
        for (std::size_t i : listed)
          acted[i] = true;
      }
    }
    for (std::size_t i = 0; i < d.Commands.size(); ++i)
      EXPECT_TRUE(acted[i]) << KeysCaption(d.Commands[i]) << ": " << d.Commands[i].Action;
  }
  if (f.form->LogOn) f.Key(vk::Letter('C'));
}

} // namespace KINEMO_UNITY_ID
} // namespace
