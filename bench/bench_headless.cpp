// Whole command-line runs, as a user starts them: a state-only run with no
// tick (start-up) and with 100 000 ticks, all automatic pilots on, without and
// with the progress line (a clock read every tick, a line ten times a second);
// a 10 s recording at 25 fps, 1280 x 720, Motion-JPEG. Each reports the peak resident
// memory the run added (peak_MB, the process's high-water mark reset before
// the run), and the recording the frames written per second of wall time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/headless/runner.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

// A field of /proc/self/status, in kB (0 where there is none).
long StatusKb(const std::string& field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
  return 0;
}

// Resets the high-water mark of resident memory to what is resident now.
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

void Run(benchmark::State& state, std::vector<std::string> args) {
  const fs::path dir = fs::temp_directory_path();
  for (std::string& a : args) {
    if (a == "@state") a = (dir / "kinemo_bench_state.json").string();
    if (a == "@avi") a = (dir / "kinemo_bench_run.avi").string();
  }
  args.insert(args.begin(), "--headless");
  long peak_kb = 0;
  double frames_per_s = 0;
  for (auto _ : state) {
    ResetPeak();
    const long before = StatusKb("VmRSS");
    std::ostringstream out, err;
    const auto t0 = std::chrono::steady_clock::now();
    const int code = RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, err);
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (code != 0) {
      state.SkipWithError(err.str().c_str());
      return;
    }
    peak_kb = std::max(peak_kb, StatusKb("VmHWM") - before);
    const std::string text = out.str();
    const auto at = text.find("recorded ");
    if (at != std::string::npos) frames_per_s = std::stod(text.substr(at + 9)) / s;
  }
  state.counters["peak_MB"] = static_cast<double>(peak_kb) / 1024;
  if (frames_per_s > 0) state.counters["frames_per_s"] = frames_per_s;
}

void BM_HeadlessStartUp(benchmark::State& state) {
  Run(state, {"--state", "@state"});
}

void BM_HeadlessStateOnly100k(benchmark::State& state) {
  Run(state, {"--do", "key:Ctrl+M menu:Animate ticks:100000", "--state", "@state"});
}

void BM_HeadlessStateOnly100kProgress(benchmark::State& state) {
  Run(state, {"--progress", "--do", "key:Ctrl+M menu:Animate ticks:100000", "--state", "@state"});
}

void BM_HeadlessRecord10s(benchmark::State& state) {
  Run(state, {"--do", "key:Ctrl+M menu:Animate ticks:1000", "--record", "@avi", "--fps", "25",
              "--duration", "10", "--codec", "mjpeg"});
}

} // namespace KINEMO_UNITY_ID
} // namespace

BENCHMARK(BM_HeadlessStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_HeadlessStateOnly100k)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_HeadlessStateOnly100kProgress)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_HeadlessRecord10s)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
