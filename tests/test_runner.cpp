// The headless command line: actions, the state dump and its exactness.
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/state_json.h"
#include "platform/headless/runner.h"
#include "test_support.h"

namespace {

struct TRun {
  int code;
  std::string out, err;
};

TRun RunKinemo(std::vector<std::string> args) {
  std::ostringstream out, err;
  args.insert(args.begin(), "--headless");
  const int code = RunHeadless(args, out, err);
  return {code, out.str(), err.str()};
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

std::filesystem::path TempFile(const std::string& name) {
  return std::filesystem::temp_directory_path() /
         (std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name);
}

} // namespace

TEST(Runner, StateDumpHoldsTheControllerTimerStatusBarAndEveryDevice) {
  const auto path = TempFile("state.json");
  const TRun r = RunKinemo({"--do", "menu:Animate ticks:25 select:3", "--state", path.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto j = nlohmann::json::parse(ReadFile(path));
  double t = 0;
  for (int k = 0; k < 25; ++k) t += 0.01;
  EXPECT_EQ(j["SimTime"].get<double>(), t);
  EXPECT_EQ(j["RobSel"], 3);
  EXPECT_EQ(j["Timer1"]["Enabled"], true);
  EXPECT_EQ(j["Timer1"]["Interval"], 10);
  EXPECT_EQ(j["StatusBar"].size(), 2u);
  EXPECT_EQ(j["StatusBar"][1], "Normal");
  EXPECT_EQ(j["CamStep"].get<double>(), 0.05000000074505806);
  ASSERT_EQ(j["Robots"].size(), 9u);
  EXPECT_EQ(j["Robots"][5]["class"], "TRail");
  EXPECT_EQ(j["Robots"][3]["Selected"], true);
  EXPECT_EQ(j["Robots"][8]["Selected"], false);
  std::filesystem::remove(path);
}

TEST(Runner, TimeAdvancesOnlyWhileTheTimerRuns) {
  const auto path = TempFile("state.json");
  ASSERT_EQ(RunKinemo({"--do", "ticks:50", "--state", path.string()}).code, 0);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(path))["SimTime"].get<double>(), 0);
  ASSERT_EQ(RunKinemo({"--do", "menu:Animate ticks:3 menu:Animate ticks:5", "--state", path.string()}).code, 0);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(path))["SimTime"].get<double>(), 0.01 + 0.01 + 0.01);
  std::filesystem::remove(path);
}

TEST(Runner, DoublesReadBackBitIdenticalAndNonFiniteValuesAreStrings) {
  TFormFixture f;
  f.form->SimTime = 0.1 + 0.2; // not the shortest decimal of anything simple
  f.form->xv = std::nextafter(1.0, 2.0);
  f.form->zv = std::numeric_limits<double>::quiet_NaN();
  f.form->yv = -std::numeric_limits<double>::infinity();
  f.form->zpos = 5e-324; // the smallest subnormal
  f.Device(0).PosX = -0.0;
  const auto j = nlohmann::json::parse(StateJson(*f.form));
  auto bits = [](double d) {
    std::uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
  };
  EXPECT_EQ(bits(j["SimTime"].get<double>()), bits(0.1 + 0.2));
  EXPECT_EQ(bits(j["xv"].get<double>()), bits(std::nextafter(1.0, 2.0)));
  EXPECT_EQ(j["zv"], "nan");
  EXPECT_EQ(j["yv"], "-inf");
  EXPECT_EQ(bits(j["zpos"].get<double>()), bits(5e-324));
  EXPECT_EQ(bits(j["Robots"][0]["PosX"].get<double>()), bits(-0.0));
}

TEST(Runner, TwoRunsGiveIdenticalOutput) {
  const auto a = TempFile("a.json"), b = TempFile("b.json");
  const std::string actions = "menu:Animate ticks:200 select:0 ticks:100 menu:Resetrobots ticks:7";
  const TRun ra = RunKinemo({"--do", actions, "--state", a.string()});
  const TRun rb = RunKinemo({"--do", actions, "--state", b.string()});
  ASSERT_EQ(ra.code, 0);
  EXPECT_EQ(ra.out, rb.out);
  EXPECT_EQ(ReadFile(a), ReadFile(b));
  std::filesystem::remove(a);
  std::filesystem::remove(b);
}

TEST(Runner, InvalidArgumentsGiveOneLineAndExitCode2BeforeAnythingRuns) {
  const auto path = TempFile("never.json");
  const std::vector<std::vector<std::string>> bad = {
      {"--do", "ticks:-1"},       {"--do", "ticks:x"},   {"--do", "jump:3"},
      {"--do", "menu:Nothing"},   {"--do"},              {"--frobnicate"},
      {"--do", "select:", "--state", path.string()},
  };
  for (const auto& args : bad) {
    const TRun r = RunKinemo(args);
    EXPECT_EQ(r.code, 2) << args[0];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(Runner, UnwritableStateFileIsAnErrorNotASilentSuccess) {
  const TRun r = RunKinemo({"--do", "ticks:1", "--state", "/nonexistent-dir/state.json"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("/nonexistent-dir/state.json"), std::string::npos);
}

TEST(Runner, SelectionDialogRefusalIsReportedAndChangesNothing) {
  const auto path = TempFile("state.json");
  const TRun r = RunKinemo({"--do", "select:12", "--state", path.string()});
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("Valeur entrée en dehors des limites"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(path))["RobSel"], 8);
  std::filesystem::remove(path);
}

TEST(Runner, KeysMenusComboAndSettingsGoThroughTheWindowsHandlers) {
  const auto path = TempFile("state.json");
  const TRun r = RunKinemo({"--do",
                            "combo:0 key:Num8 key:Num8 key:A ticks:10 key:Ctrl+M set:Dt=0.02 "
                            "set:SBfs=25 set:SBtimer=40 set:RailType=1 set:ForceModel=2 key:PageDown "
                            "menu:ModeDmo1 ticks:2",
                            "--state", path.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto j = nlohmann::json::parse(ReadFile(path));
  EXPECT_EQ(j["RobSel"], 0);
  EXPECT_DOUBLE_EQ(j["Robots"][0]["Traction"].get<double>(), 0.2);
  EXPECT_EQ(j["AllAuto"], true);
  EXPECT_EQ(j["Dt"].get<double>(), 0.02);
  EXPECT_EQ(j["Fs"].get<double>(), 2.5);
  EXPECT_EQ(j["Timer1"]["Interval"], 40);
  EXPECT_EQ(j["Robots"][5]["RailType"], 1);
  EXPECT_EQ(j["Robots"][6]["ForceModel"], 2);
  EXPECT_EQ(j["DemoMode"], true);
  EXPECT_EQ(j["DemoStep"], 898);
  std::filesystem::remove(path);
}

TEST(Runner, RefusedDialogEntriesAreReportedAndLeaveTheSetting) {
  const auto path = TempFile("state.json");
  const TRun r = RunKinemo({"--do", "set:Dt=abc set:Dt=-1", "--state", path.string()});
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("'abc' n'est pas une valeur à virgule flottante correcte"), std::string::npos);
  EXPECT_EQ(nlohmann::json::parse(ReadFile(path))["Dt"].get<double>(), 0.01);
  std::filesystem::remove(path);
}

TEST(Runner, MalformedKeysAndSettingsAreArgumentErrors) {
  for (const char* bad : {"key:F13", "key:Num", "key:Ctrl+", "combo:9", "set:RailType=4",
                          "set:ForceModel=0", "set:SBfs=x", "set:Nothing=1", "set:Dt"}) {
    const TRun r = RunKinemo({"--do", bad});
    EXPECT_EQ(r.code, 2) << bad;
  }
}
