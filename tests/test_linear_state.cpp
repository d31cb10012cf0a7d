// The linear devices in the state dump, and their determinism over a run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/state_json.h"
#include "models/linear/mslin.h"
#include "test_support.h"

namespace {

std::string RunAndDump() {
  TFormFixture f;
  f.form->MsPtr->ControllerOn = true;
  f.form->Fs = 3.7;
  f.form->AnimateClick();
  for (int t = 0; t < 400; ++t)
    f.form->Timer1Timer();
  return StateJson(*f.form);
}

} // namespace

TEST(LinearState, DumpListsTheLinearDevicesFieldsByName) {
  const auto j = nlohmann::json::parse(RunAndDump());
  const auto& rail = j["Robots"][5];
  EXPECT_EQ(rail["RailType"], 3);
  EXPECT_EQ(rail["ToothPitch"].get<double>(), 0.024);
  const auto& mrv = j["Robots"][6];
  EXPECT_EQ(mrv["class"], "TMRVlin");
  EXPECT_EQ(mrv["ForceModel"], 3);
  EXPECT_TRUE(mrv.contains("PhaseTimer"));
  const auto& aimant = j["Robots"][7];
  EXPECT_EQ(aimant["XMax"].get<double>(), -0.5);
  const auto& ms = j["Robots"][8];
  ASSERT_TRUE(ms["Switch"].is_array());
  EXPECT_EQ(ms["Switch"].size(), 6u);
  EXPECT_EQ(ms["ControllerOn"], true);
  EXPECT_TRUE(ms.contains("CtrlPeriod"));
}

TEST(LinearState, SameRunGivesBitIdenticalStates) {
  EXPECT_EQ(RunAndDump(), RunAndDump());
}
