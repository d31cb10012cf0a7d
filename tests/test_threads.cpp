// Simulations side by side: eight threads, each running its own long action
// script on a window of its own, end in exactly the states the same scripts
// reach run one after the other. Nothing of one simulation may reach another
// (CI also runs this under ThreadSanitizer).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TScript {
  std::vector<std::string> Devices; // empty: the program's own set
  const char* Actions;
};

const TScript kScripts[] = {
    {{}, "key:Ctrl+M menu:Animate ticks:2500"},
    {{}, "key:Ctrl+D ticks:2500"},
    {{}, "combo:3 menu:Animate ticks:500 key:Num8 key:Num8 ticks:1000 key:G ticks:500"},
    {{}, "combo:4 menu:Animate ticks:500 key:G key:Num7 key:Num9 ticks:1500"},
    {{}, "combo:6 set:RailType=3 set:ForceModel=3 set:SBfs=100 menu:Animate ticks:2500"},
    {{}, "combo:8 key:G menu:Animate ticks:1000 key:Num6 ticks:1000 param:8.Kp=9 ticks:500"},
    {{"TRailAimant", "TMSlin"}, "key:G menu:Animate ticks:2000 key:Num4 ticks:500"},
    {{"TRobot4", "TRobotK", "TMonocycle", "TRail", "TMRVlin"},
     "key:Ctrl+M set:RailType=1 set:Dt=0.02 menu:Animate ticks:2500"},
};

std::string RunScript(const TScript& s) {
  THeadlessToolkit tk;
  TGL_Form form(tk);
  if (!s.Devices.empty() && form.SetDevices(s.Devices)) return "set refused";
  form.FormResize(640, 480);
  std::istringstream words(s.Actions);
  std::string word, error;
  while (words >> word) {
    TAction a;
    if (!ParseAction(word, form, a, error)) return error;
    ApplyAction(form, tk, a);
  }
  std::string state = StateJson(form);
  form.FormClose();
  return state;
}

TEST(Threads, SimulationsSideBySideEndAsEachAlone) {
  std::vector<std::string> alone, together(std::size(kScripts));
  for (const TScript& s : kScripts)
    alone.push_back(RunScript(s));
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < std::size(kScripts); ++i)
    threads.emplace_back([i, &together] { together[i] = RunScript(kScripts[i]); });
  for (std::thread& t : threads)
    t.join();
  for (std::size_t i = 0; i < std::size(kScripts); ++i) {
    EXPECT_EQ(alone[i].rfind("{\"format\"", 0), 0u) << alone[i];
    EXPECT_TRUE(together[i] == alone[i]) << "script " << i << ": " << kScripts[i].Actions;
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
