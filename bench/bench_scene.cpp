// A scene written and read back: what saving and opening one costs in the
// window's thread, the file itself aside.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/headless/headless_toolkit.h"
#include "sim/scene.h"
#include "sim/state_json.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

// A window that has run a little, its timer running.
struct TRunWindow {
  THeadlessToolkit tk;
  TGL_Form form{tk};
  TRunWindow() {
    form.AnimateClick();
    for (int i = 0; i < 200; ++i)
      form.Timer1Timer();
  }
};

void BM_SceneText(benchmark::State& state) {
  TRunWindow w;
  for (auto _ : state) {
    std::string text = StateJson(w.form);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_SceneText)->Unit(benchmark::kMicrosecond);

void BM_SceneReadAndApply(benchmark::State& state) {
  TRunWindow w;
  const std::string text = StateJson(w.form);
  TScene scene;
  std::string error;
  for (auto _ : state) {
    if (!ParseScene(text, w.form, scene, error)) state.SkipWithError(error.c_str());
    w.form.ApplyScene(scene);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SceneReadAndApply)->Unit(benchmark::kMicrosecond);

} // namespace KINEMO_UNITY_ID
} // namespace
