// The headless command line: actions, the state dump and its exactness, the
// screenshots, and what happens where no OpenGL context can be had.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/headless/actions.h"
#include "platform/headless/runner.h"
#include "sim/state_json.h"
#include "test_support.h"
#include "unavailable.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

struct TRun {
  int code;
  std::string out, err;
  nlohmann::json state; // from --state, when given
};

TRun RunKinemo(std::vector<std::string> args, bool dump = false,
               TDrawFrames draw = TDrawFrames::Needed) {
  std::ostringstream out, err;
  const fs::path state = TempFile("state.json");
  if (dump) args.insert(args.end(), {"--state", state.string()});
  args.insert(args.begin(), "--headless");
  TRun r{RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, err, draw), out.str(), err.str(), {}};
  if (dump && r.code == 0) r.state = nlohmann::json::parse(ReadFile(state));
  fs::remove(state);
  return r;
}

TEST(Runner, StateDumpHoldsTheControllerTimerStatusBarAndEveryDevice) {
  const TRun r = RunKinemo({"--do", "menu:Animate ticks:25 select:3"}, true);
  ASSERT_EQ(r.code, 0) << r.err;
  const auto& j = r.state;
  double t = 0;
  for (int k = 0; k < 25; ++k)
    t += 0.01;
  EXPECT_EQ(j["SimTime"].get<double>(), t);
  EXPECT_EQ(j["RobSel"], 3);
  EXPECT_EQ(j["Timer1"], nlohmann::json::parse(R"({"Enabled": true, "Interval": 10})"));
  EXPECT_EQ(j["StatusBar"].size(), 2u);
  EXPECT_EQ(j["StatusBar"][1], "Normal");
  EXPECT_EQ(j["CamStep"].get<double>(), 0.05000000074505806); // a single-precision 0.05, widened
  ASSERT_EQ(j["Robots"].size(), 9u);
  EXPECT_EQ(j["Robots"][5]["class"], "TRail");
  EXPECT_EQ(j["Robots"][3]["Selected"], true);
  EXPECT_EQ(j["Robots"][8]["Selected"], false);
  EXPECT_EQ(j["Robots"][8]["Switch"].size(), 6u);
  // Time advances only while the timer runs.
  const TRun paused =
      RunKinemo({"--do", "ticks:3 menu:Animate ticks:3 menu:Animate ticks:5"}, true);
  EXPECT_EQ(paused.state["SimTime"].get<double>(), 0.01 + 0.01 + 0.01);
}

TEST(Runner, DoublesReadBackBitIdenticalAndNonFiniteValuesAreStrings) {
  TFormFixture f;
  f.form->Sim.SimTime = 0.1 + 0.2; // not the shortest decimal of anything simple
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
  // Every device moving, the pendulum under its controller, an odd frequency.
  const std::vector<std::string> args = {
      "--do", "menu:Animate key:Ctrl+M select:0 ticks:100 menu:Resetrobots select:8 key:G "
              "set:SBfs=37 ticks:200"};
  const TRun a = RunKinemo(args, true), b = RunKinemo(args, true);
  ASSERT_EQ(a.code, 0) << a.err;
  EXPECT_EQ(a.state["Robots"][8]["ControllerOn"], true);
  EXPECT_EQ(a.out, b.out);
  EXPECT_EQ(a.state.dump(), b.state.dump());
}

TEST(Runner, InvalidArgumentsGiveOneLineAndExitCode2BeforeAnythingRuns) {
  const fs::path never = TempFile("never");
  const std::string n = never.string(), link = TempFile("link").string();
  fs::create_symlink(never, link); // to no file yet
  const std::string size_range = "--size needs WIDTHxHEIGHT between 1 and 16384: ";
  const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
      {{"--do", "ticks:-1"}, "invalid action: ticks:-1"},
      {{"--do", "ticks:x"}, "invalid action: ticks:x"},
      {{"--do", "jump:3"}, "unknown action: jump:3"},
      {{"--do", "menu:Nothing"}, "invalid action: menu:Nothing"},
      {{"--do"}, "--do needs a value"},
      {{"--frobnicate"}, "unknown argument: --frobnicate (kinemo --help lists them)"},
      {{"--do", "key:F13"}, "invalid action: key:F13"},
      {{"--do", "key:Ctrl+"}, "invalid action: key:Ctrl+"},
      {{"--do", "paint:1"}, "invalid action: paint:1"},
      {{"--do", "combo:9"}, "invalid action: combo:9"}, // one item per device: 0 to 8
      {{"--do", "combo:-1"}, "invalid action: combo:-1"},
      {{"--do", "set:Dt"}, "unknown action: set:Dt"},
      {{"--do", "set:=1"}, "unknown action: set:=1"},
      {{"--do", "set:Nothing=1"}, "invalid action: set:Nothing=1"},
      {{"--do", "set:RailType=4"}, "invalid action: set:RailType=4"},
      {{"--do", "set:ForceModel=0"}, "invalid action: set:ForceModel=0"},
      {{"--do", "set:SBfs=x"}, "invalid action: set:SBfs=x"},
      // Beyond 32 bits: once cut to 10 ms and to 0 (the timer stopped).
      {{"--do", "set:SBtimer=4294967306"}, "invalid action: set:SBtimer=4294967306"},
      {{"--do", "set:SBtimer=2147483648"}, "invalid action: set:SBtimer=2147483648"},
      {{"--do", "set:SBfs=-2147483649"}, "invalid action: set:SBfs=-2147483649"},
      {{"--size", "0x5"}, size_range + "0x5"},
      {{"--size", "10"}, size_range + "10"},
      {{"--size", "-1x5"}, size_range + "-1x5"},
      {{"--size", "99999x10"}, size_range + "99999x10"},
      {{"--size", "10x10x"}, size_range + "10x10x"},
      {{"--do", "ticks:1 select:", "--state", never.string()}, "invalid action: select:"},
      {{"--state", ""}, "--state needs a file name"},
      {{"--screenshot", "", "--state", never.string()}, "--screenshot needs a file name"},
      {{"--record", ""}, "--record needs a file name"},
      {{"--size", "x10", "--screenshot", never.string()}, size_range + "x10"},
      {{"--load", "--do", "ticks:5"}, "--load needs a value, not the option --do"},
      {{"--state", "--csv", n}, "--state needs a value, not the option --csv"},
      // An output that would replace an input or another output.
      {{"--csv", n, "--load", n}, "--csv " + n + " is the same file as --load " + n},
      {{"--state", n, "--csv", n}, "--csv " + n + " is the same file as --state " + n},
      {{"--state", link, "--screenshot", n},
       "--screenshot " + n + " is the same file as --state " + link},
      {{"--record", n + ".avi", "--state", n + ".avi"},
       "--record " + n + ".avi is the same file as --state " + n + ".avi"},
      {{"--state", "capture.dat", "--do", "combo:6 key:C"},
       "the data log (key:C) capture.dat is the same file as --state capture.dat"},
  };
  for (const auto& [args, error] : bad) {
    const TRun r = RunKinemo(args);
    EXPECT_EQ(r.code, 2) << error;
    EXPECT_EQ(r.err, "kinemo: " + error + "\n");
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  EXPECT_FALSE(fs::exists(never));
  fs::remove(link);
}

TEST(Runner, HelpListsEveryOptionAndActionThatTheParsersTake) {
  const TRun help = RunKinemo({"--do", "ticks:1", "--help"});
  ASSERT_EQ(help.code, 0);
  EXPECT_TRUE(help.err.empty());
  for (const std::string& name : ActionNames())
    EXPECT_NE(help.out.find("  " + name + (name.find(':') == std::string::npos ? "" : "=")),
              std::string::npos)
        << name;
  // Each option listed is one the parser knows, with a value it takes.
  for (const std::string& sample : OptionSamples()) {
    std::vector<std::string> args;
    std::istringstream words(sample);
    for (std::string w; words >> w;)
      args.push_back(w);
    EXPECT_NE(help.out.find("  " + args[0] + " "), std::string::npos) << sample;
    std::string error;
    CheckHeadlessArgs(args, error);
    EXPECT_EQ(error.find("unknown argument"), std::string::npos) << sample << ": " << error;
  }
  // So is every menu command and key name listed.
  TFormFixture f;
  for (const char* list : {"menu names:", "named keys:"}) {
    const auto from = help.out.find(list) + std::strlen(list);
    std::istringstream words(help.out.substr(from, help.out.find('\n', from) - from));
    int count = 0;
    for (std::string w; words >> w; ++count) {
      TAction a;
      std::string error;
      const std::string word = (*list == 'm' ? "menu:" : "key:") + w;
      EXPECT_TRUE(ParseAction(word, *f.form, a, error)) << error;
    }
    EXPECT_GT(count, 5) << list;
  }
  const TRun version = RunKinemo({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("kinemo ", 0), 0u) << version.out;
}

TEST(Runner, TicksToAPausedOrStoppedTimerReturnAtOnceAndRunningTicksAreCapped) {
  const std::string most = "ticks:9223372036854775807";
  for (const std::string& idle : {most, "menu:Animate set:SBtimer=0 " + most}) {
    SCOPED_TRACE(idle);
    const TRun r = RunKinemo({"--do", idle + " " + most}, true);
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.state["SimTime"].get<double>(), 0);
  }
  const fs::path never = TempFile("never.json");
  const std::vector<std::pair<std::string, std::string>> over = {
      {"menu:Animate ticks:10000001", "ticks:10000001"},
      {"menu:Animate ticks:3 ticks:9999998", "ticks:9999998"},
      {"menu:Animate ticks:3 " + most, most}};
  for (const auto& [actions, refused] : over) {
    SCOPED_TRACE(actions);
    const TRun r = RunKinemo({"--do", actions, "--state", never.string()});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "kinemo: " + refused +
                         ": a run delivers at most 10000000 ticks while the timer runs\n");
  }
  EXPECT_FALSE(fs::exists(never));
}

TEST(Runner, NoActionRunsAfterQuitter) {
  const TRun r =
      RunKinemo({"--do", "menu:Animate ticks:5 menu:Quitter ticks:5 combo:2 key:R"}, true);
  ASSERT_EQ(r.code, 0) << r.err;
  double t = 0;
  for (int k = 0; k < 5; ++k)
    t += 0.01;
  EXPECT_EQ(r.state["SimTime"].get<double>(), t);
  EXPECT_EQ(r.state["RobSel"], 8);
  EXPECT_NE(r.out.find("menu:Quitter"), std::string::npos);
  EXPECT_EQ(r.out.find("combo:2"), std::string::npos) << r.out;
}

// param: refuses before anything runs, naming what it would have accepted.
TEST(Runner, ParametersAreCheckedAsThePanelChecksThem) {
  const fs::path never = TempFile("never");
  const std::string kp = "Kp of device 8 (TMSlin) must be between 0 and 100 A/rad, not ";
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"param:9.Kp=1", "no device 9 (devices 0 to 8)"},
      {"param:-1.Kp=1", "no device -1 (devices 0 to 8)"},
      {"param:8.Foo=1", "device 8 (TMSlin) has no parameter Foo (its parameters: Mass, "
                        "FluxDensity, CurrentMax, PendLength, PendMass, PendDamping, Kp, Ki, "
                        "Kd, ThetaRefMax, CtrlPeriod)"},
      {"param:8.PendInertia=1", ""}, // derived from PendMass and PendLength, not set
      {"param:5.Kp=1", "device 5 (TRail) has no parameter Kp (it has none)"},
      {"param:8.Kp=100.5", kp + "100.5"},
      {"param:8.Kp=-0.1", kp + "-0.1"},
      {"param:8.Kp=nan", kp + "nan"},
      {"param:8.Kp=inf", kp + "inf"},
      {"param:3.CtrlPeriod=2.5",
       "CtrlPeriod of device 3 (TMonocycle) must be a whole number between 1 and 100 pas, not 2.5"},
      {"param:8.Kp", ""},
      {"param:x.Kp=1", ""},
      {"param:8.Kp=1,5", ""},
  };
  for (const auto& [action, reason] : bad) {
    SCOPED_TRACE(action);
    const TRun r = RunKinemo({"--do", "menu:Animate ticks:5 " + action, "--state", never.string()});
    EXPECT_EQ(r.code, 2);
    if (!reason.empty()) {
      EXPECT_EQ(r.err, "kinemo: invalid action: " + action + " (" + reason + ")\n");
    } else {
      EXPECT_EQ(r.err.rfind("kinemo: invalid action: " + action, 0), 0u) << r.err;
    }
    EXPECT_TRUE(r.out.empty()) << r.out;
  }
  EXPECT_FALSE(fs::exists(never));

  // Bounds are accepted; a base parameter brings what follows from it along.
  const TRun r =
      RunKinemo({"--do", "param:8.Kp=100 param:3.PendulumMass=0.4 param:4.CtrlPeriod=1"}, true);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.state["Robots"][8]["Kp"], 100);
  const auto& mono = r.state["Robots"][3];
  EXPECT_EQ(mono["PendulumInertia"].get<double>(), 0.4 * (0.15 * 0.15) / 3);
  EXPECT_EQ(mono["M"].get<double>(), 0.1 + 0.4);
  EXPECT_EQ(r.state["Robots"][4]["CtrlPeriod"], 1);
}

TEST(Runner, KeysMenusComboAndSettingsGoThroughTheWindowsHandlers) {
  const TRun r = RunKinemo({"--do", "combo:0 key:Num8 key:Num8 key:A ticks:10 set:Dt=0.02 "
                                    "set:SBfs=25 set:SBtimer=40 set:RailType=1 set:ForceModel=2 "
                                    "key:PageDown menu:ModeDmo1 ticks:2 set:Dt=abc select:12"},
                           true);
  ASSERT_EQ(r.code, 0) << r.err;
  const auto& j = r.state;
  EXPECT_EQ(j["RobSel"], 0);
  EXPECT_DOUBLE_EQ(j["Robots"][0]["Traction"].get<double>(), 0.2);
  EXPECT_EQ(j["AllAuto"], true);                // set by the demonstration
  EXPECT_EQ(j["Robots"][0]["AutoMode"], false); // the menu variant leaves the devices alone
  EXPECT_EQ(j["Dt"].get<double>(), 0.02);
  EXPECT_EQ(j["Fs"].get<double>(), 2.5);
  EXPECT_EQ(j["Timer1"]["Interval"], 40);
  EXPECT_EQ(j["Robots"][5]["RailType"], 1);
  EXPECT_EQ(j["Robots"][6]["ForceModel"], 2);
  EXPECT_EQ(j["DemoStep"], 898);
  // Refused dialog entries are reported and change nothing.
  EXPECT_NE(r.out.find("'abc' n'est pas une valeur à virgule flottante correcte"),
            std::string::npos);
  EXPECT_NE(r.out.find("Valeur entrée en dehors des limites"), std::string::npos);

  // A position outside the bar's range is as far as the bar goes.
  const TRun far = RunKinemo({"--do", "set:SBtimer=2147483647 set:SBfs=-2147483648"}, true);
  EXPECT_EQ(far.state["Timer1"]["Interval"], 100);
  EXPECT_EQ(far.state["Fs"].get<double>(), 0.1);
  const TRun near = RunKinemo({"--do", "set:SBtimer=-1 set:SBfs=101"}, true);
  EXPECT_EQ(near.state["Timer1"]["Interval"], 0);
  EXPECT_EQ(near.state["Fs"].get<double>(), 10.0);
}

// PNG width and height, from the header chunk.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
  auto be32 = [&](std::size_t at) {
    unsigned v = 0;
    for (int k = 0; k < 4; ++k)
      v = v << 8 | std::uint8_t(png[at + k]);
    return v;
  };
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  return {be32(16), be32(20)};
}

TEST(RunnerScreenshot, WritesTheViewAtTheRequestedSizeTheSameOnEveryRun) {
  const fs::path a = TempFile("a.png"), b = TempFile("b.png"), c = TempFile("c.png");
  const TRun ra = RunKinemo({"--do", "menu:Animate ticks:20", "--screenshot", a.string()});
  if (ra.code == 3) SKIP_UNAVAILABLE(ra.err);
  ASSERT_EQ(ra.code, 0) << ra.err;
  EXPECT_EQ(PngSize(ReadFile(a)), std::make_pair(1280u, 720u));
  ASSERT_EQ(RunKinemo({"--do", "menu:Animate ticks:20", "--screenshot", b.string()}).code, 0);
  EXPECT_EQ(ReadFile(a), ReadFile(b));
  const TRun rc =
      RunKinemo({"--size", "320x200", "--do", "menu:Resetview paint", "--screenshot", c.string()});
  ASSERT_EQ(rc.code, 0) << rc.err;
  EXPECT_EQ(PngSize(ReadFile(c)), std::make_pair(320u, 200u));
  for (const auto& p : {a, b, c})
    fs::remove(p);
}

// Drawing only the frames that are read changes nothing a run writes: the
// state (the same as with no context at all), the recorded frames and the
// screenshot, whether the last frame comes from a tick followed by keys that
// do not draw, or from a key while paused. A four-wheel robot steers.
TEST(RunnerScreenshot, OnlyTheFramesReadAreDrawnAndNothingWrittenChanges) {
  const struct {
    const char* Actions;
    int Steering; // a four-wheel robot turning its front wheels at the end
  } scenarios[] = {
      {"set:Dt=0.04 key:Ctrl+D ticks:80 key:Up key:Left ticks:7 combo:0 key:Num4 ticks:9 "
       "key:Right",
       0},
      {"combo:2 key:Num8 key:Num4 menu:Animate ticks:90 key:Num6 ticks:21 menu:Animate key:Up "
       "key:Num4",
       2},
  };
  const fs::path avi = TempFile("r.avi"), png = TempFile("s.png");
  for (const auto& [actions, steering] : scenarios) {
    const TRun plain = RunKinemo({"--do", actions}, true);
    ASSERT_EQ(plain.code, 0) << plain.err;
    const TRun drawn = RunKinemo({"--size", "96x64", "--do", actions}, true, TDrawFrames::Every);
    if (drawn.code == 3) SKIP_UNAVAILABLE(drawn.err);
    EXPECT_NE(plain.state["Robots"][steering]["WheelR"]["Delta"], 0.0) << actions;
    EXPECT_EQ(plain.state, drawn.state) << actions;

    const std::vector<std::string> pixels = {"--size",       "96x64",     "--do",     actions,
                                             "--fps",        "10",        "--record", avi.string(),
                                             "--screenshot", png.string()};
    const TRun every = RunKinemo(pixels, true, TDrawFrames::Every);
    ASSERT_EQ(every.code, 0) << every.err;
    const std::string every_avi = ReadFile(avi), every_png = ReadFile(png);
    const TRun needed = RunKinemo(pixels, true);
    ASSERT_EQ(needed.code, 0) << needed.err;
    EXPECT_EQ(needed.state, every.state) << actions;
    EXPECT_GT(every_avi.size(), 10 * 96 * 64 * 3u);
    EXPECT_TRUE(ReadFile(avi) == every_avi) << actions;
    EXPECT_TRUE(ReadFile(png) == every_png) << actions;
  }
  fs::remove(avi);
  fs::remove(png);
}

// Runs the real program where the GL dispatch finds no EGL vendor, so that no
// display can be had.
TEST(RunnerScreenshot, WithoutADisplayTheRunGoesOnAndOnlyPicturesFail) {
  const fs::path state = TempFile("none.json"), png = TempFile("x.png"), err = TempFile("err");
  const std::vector<std::string> run = {"--do", "menu:Animate ticks:150"};
  const TRun with_gl = RunKinemo(run, true);
  ASSERT_EQ(with_gl.code, 0);
  const std::string cmd = "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json '" +
                          std::string(KINEMO_BINARY) + "' --headless --do '" + run[1] +
                          "' --state '" + state.string() + "' --screenshot '" + png.string() +
                          "' >/dev/null 2>'" + err.string() + "'";
  const int status = std::system(cmd.c_str());
  ASSERT_NE(status, -1);
  const int code = WEXITSTATUS(status);
  if (code == 0) SKIP_UNAVAILABLE("EGL still available without a vendor library");
  EXPECT_EQ(code, 3);
  const std::string message = ReadFile(err);
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  EXPECT_FALSE(fs::exists(png));
  // Frames are counted without a context too, so the dumps agree to the bit.
  EXPECT_EQ(nlohmann::json::parse(ReadFile(state)), with_gl.state);
  for (const auto& p : {state, png, err})
    fs::remove(p);
}

} // namespace KINEMO_UNITY_ID
} // namespace
