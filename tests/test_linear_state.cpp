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

TEST(LinearState, DumpHoldsTheSwitchStatesAsAnArrayAndRunsAreBitIdentical) {
  const std::string dump = RunAndDump();
  const auto ms = nlohmann::json::parse(dump)["Robots"][8];
  ASSERT_TRUE(ms["Switch"].is_array());
  EXPECT_EQ(ms["Switch"].size(), 6u);
  EXPECT_EQ(ms["ControllerOn"], true);
  EXPECT_EQ(dump, RunAndDump());
}
