// Simulations side by side: eight threads, each running its own long action
// script on a window of its own, end in exactly the states the same scripts
// reach run one after the other. Nothing of one simulation may reach another
// (CI also runs this under ThreadSanitizer).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/headless/actions.h"
#include "platform/headless/headless_toolkit.h"
#include "sim/state_json.h"
#include "sim/workers.h"
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

// Each simulation of a run goes to exactly one part, run after run, for any
// count and number of threads; a part's exception reaches the caller once
// every part has ended, and the threads serve the next run as before.
TEST(Threads, WorkersCoverEachIndexOnceAndPassOnFailures) {
  for (unsigned threads : {1u, 2u, 3u, 5u}) {
    TWorkers workers(threads);
    for (std::size_t count : {0u, 1u, 2u, 3u, 7u, 1000u}) {
      std::vector<int> seen(count, 0);
      for (int run = 0; run < 3; ++run)
        workers.Run(count, [&](std::size_t begin, std::size_t end) {
          for (std::size_t i = begin; i < end; ++i)
            ++seen[i];
        });
      EXPECT_EQ(std::count(seen.begin(), seen.end(), 3), static_cast<long>(count))
          << threads << " threads, " << count << " simulations";
    }
    std::atomic<int> ended{0};
    EXPECT_THROW(workers.Run(8,
                             [&](std::size_t begin, std::size_t) {
                               ++ended;
                               if (begin > 0 || threads == 1) throw std::runtime_error("part");
                             }),
                 std::runtime_error);
    EXPECT_EQ(ended, static_cast<int>(threads == 1 ? 1 : threads));
    std::size_t total = 0;
    std::mutex lock;
    workers.Run(4, [&](std::size_t begin, std::size_t end) {
      const std::lock_guard hold(lock);
      total += end - begin;
    });
    EXPECT_EQ(total, 4u);
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
