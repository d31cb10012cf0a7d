// The cached contact pass against the plain one it replaces: long random
// sequences of the window's actions (every device selected in turn, its keys,
// all rail shapes and force models, automatic pilots, the demonstration), run
// once with each pass, every field compared to the bit after every action;
// and the same for the results the devices keep from step to step.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "models/linear/rail.h"
#include "models/robots/memo.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"
#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/state_json.h"
#include "test_support.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

// The same list on every platform: the engine's output is fixed by the
// standard, and no library distribution is used.
std::vector<std::string> RandomActions(std::uint32_t seed, int count) {
  std::mt19937 rng(seed);
  auto pick = [&rng](std::uint32_t n) { return static_cast<int>(rng() % n); };
  static const char* const kKeys[] = {"Num0", "Num1", "Num2", "Num3", "Num4", "Num5", "Num6",
                                      "Num7", "Num8", "Num9", "Num8", "Num9", "G",    "E",
                                      "M",    "B",    "R",    "A",    "Q",    "Up"};
  // Device 0 driven into the loop rail first, then the pilots take over.
  std::vector<std::string> words = {"combo:0"};
  words.insert(words.end(), 10, "key:Num8");
  words.insert(words.end(),
               {"key:Num6", "menu:Animate", "ticks:180", "key:Num5", "ticks:100", "key:Ctrl+M"});
  int device = 0;
  for (int k = 0; k < count; ++k) {
    switch (pick(12)) {
    case 0:
      words.push_back("combo:" + std::to_string(device++ % 9));
      break;
    case 1:
      words.push_back("set:RailType=" + std::to_string(pick(4)));
      break;
    case 2:
      words.push_back("set:ForceModel=" + std::to_string(1 + pick(3)));
      break;
    case 3:
      words.push_back("set:SBfs=" + std::to_string(1 + pick(100)));
      break;
    case 4:
      words.push_back(pick(3) == 0 ? "key:Ctrl+D" : "key:Ctrl+M");
      break;
    default:
      words.push_back(std::string("key:") + kKeys[pick(std::size(kKeys))]);
      words.push_back("ticks:" + std::to_string(1 + pick(60)));
      break;
    }
  }
  return words;
}

// A device of the program that also logs the collisions it is told of.
template <class T> class TLogged : public T {
public:
  TLogged(const T& original, std::vector<int>& log)
      : T(original.PosX0, original.PosY0, original.Index, original.Context), log_(log) {
    this->Theta0 = this->Theta = original.Theta0;
  }
  void OnCollision() override {
    log_.push_back(this->Index);
    T::OnCollision();
  }

private:
  std::vector<int>& log_;
};

struct TRunResult {
  std::vector<std::string> States; // after each action
  std::vector<int> Collisions;     // the devices told of a collision, in call order
  int RailContacts = 0;            // actions after which the loop rail touched a device
};

TRunResult RunActions(const std::vector<std::string>& words, bool reference, bool memos = true) {
  TRunResult r;
  TFormFixture f;
  TGL_Form& form = *f.form;
  // The devices that react to collisions, as the window built them.
  f.Replace(0, new TLogged<TRobot4>(static_cast<TRobot4&>(f.Device(0)), r.Collisions));
  f.Replace(1, new TLogged<TRobotK>(static_cast<TRobotK&>(f.Device(1)), r.Collisions));
  form.Sim.DemoRobot =
      f.Replace(2, new TLogged<TRobot4>(static_cast<TRobot4&>(f.Device(2)), r.Collisions));
  form.Sim.ReferenceContactPass = reference;
  form.Sim.MemoEnabled = memos;
  form.FormResize(64, 48);
  for (const std::string& word : words) {
    TAction a;
    std::string error;
    if (!ParseAction(word, form, a, error)) {
      ADD_FAILURE() << error;
      break;
    }
    ApplyAction(form, f.tk, a);
    r.States.push_back(StateJson(form));
    r.RailContacts += form.Sim.RailPtr->InContact;
  }
  form.FormClose();
  return r;
}

TEST(ContactCache, EveryFieldMatchesThePlainPassThroughLongRandomRuns) {
  for (std::uint32_t seed : {1u, 2u}) {
    const std::vector<std::string> words = RandomActions(seed, 400);
    const TRunResult plain = RunActions(words, true);
    const TRunResult cached = RunActions(words, false);
    ASSERT_EQ(plain.States.size(), cached.States.size());
    for (std::size_t k = 0; k < plain.States.size(); ++k)
      ASSERT_EQ(plain.States[k], cached.States[k])
          << "seed " << seed << ": differs after action " << k << " (" << words[k] << ")";
    EXPECT_TRUE(plain.Collisions == cached.Collisions) << seed;
    // Contacts did happen, on the rail and between devices.
    EXPECT_GE(plain.RailContacts, 5) << seed;
    EXPECT_GE(plain.Collisions.size(), 100u) << seed;
  }
}

// A device that logs the collisions it is told of, and jumps along x at each.
// No device of the program moves there, but the cached pass must not rely on
// it: the loop's later check points and the later pairs see where it went.
class TJumper : public TRobot {
public:
  TJumper(double x, double y, int index, double jump, std::vector<int>& log)
      : TRobot(x, y, index), jump_(jump), log_(log) {}
  void OnCollision() override {
    log_.push_back(Index);
    PosX += jump_;
  }

private:
  double jump_;
  std::vector<int>& log_;
};

// The loop rail (device 5) stays where it is. Still: device 0 between two of
// the loop's check points, device 2 touching devices 3 and 4. Jumping: device
// 0 on the second check point, 0.25 before the third; device 2 touching 3 and
// 0.25 before 4.
TEST(ContactCache, SeveralContactsInOnePairAndDevicesMovedByACollision) {
  const struct {
    const char* Name;
    double Jump, X0, X4;
    std::size_t Calls; // at least
  } cases[] = {{"still", 0, 0.125, 5.25, 90 * (2 + 2)}, {"jumping", 0.25, 0, 5.75, 6}};
  for (const auto& c : cases) {
    std::vector<std::string> states[2];
    std::vector<int> logs[2];
    for (bool reference : {true, false}) {
      TFormFixture f;
      f.form->Sim.ReferenceContactPass = reference;
      std::vector<int>& log = logs[reference];
      const double place[9][3] = {{c.X0, 0.75, 0},  {20, 0, 0},       {5, 5, 0.125},
                                  {5.25, 5, 0.125}, {c.X4, 5, 0.125}, {},
                                  {30, 0, 0},       {40, 0, 0},       {50, 0, 0}};
      for (int i = 0; i < 9; ++i) {
        if (i == 5) continue;
        TRobot* r = i == 0 || i == 2 || i == 3
                        ? f.Replace(i, new TJumper(place[i][0], place[i][1], i, c.Jump, log))
                        : f.Replace(i, new TRobot(place[i][0], place[i][1], i));
        r->Radius = place[i][2];
      }
      f.Ticks(1);
      states[reference] = {StateJson(*f.form)};
    }
    EXPECT_GE(logs[1].size(), c.Calls) << c.Name;
    EXPECT_EQ(logs[0], logs[1]) << c.Name;
    EXPECT_EQ(states[0], states[1]) << c.Name;
  }
}

// The results the devices keep (steps of a device at rest, the balancing
// robots' rod and tilt parts) against every value computed afresh: random
// actions, then a long quiet run from a reset in which the balancing robots
// come to rest, where the kept results are used.
TEST(TickCaches, KeptResultsMatchEveryValueComputedAfresh) {
  std::vector<std::string> words = RandomActions(3, 300);
  const auto toggles = std::count(words.begin(), words.end(), "key:A") +
                       std::count(words.begin(), words.end(), "menu:Animate");
  if (toggles % 2 == 0) words.push_back("menu:Animate");
  words.push_back("key:R");
  words.insert(words.end(), 6, "ticks:5000");
  TRunResult runs[2];
  for (bool kept : {false, true})
    runs[kept] = RunActions(words, false, kept);
  ASSERT_EQ(runs[0].States.size(), runs[1].States.size());
  for (std::size_t k = 0; k < runs[0].States.size(); ++k)
    ASSERT_EQ(runs[0].States[k], runs[1].States[k])
        << "differs after action " << k << " (" << words[k] << ")";
  EXPECT_TRUE(runs[0].Collisions == runs[1].Collisions);
  // The quiet run did run.
  const std::size_t n = runs[0].States.size();
  EXPECT_NE(runs[0].States[n - 1], runs[0].States[n - 2]);
}

} // namespace KINEMO_UNITY_ID
} // namespace
