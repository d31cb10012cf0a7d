// One frame of the default scene at 1280 x 720 through the off-screen context,
// next to a frame that only clears and reads one pixel back (the floor the
// software renderer and the read-back set). Reading a pixel makes each frame
// finish before the clock stops.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/headless/egl_context.h"
#include "platform/headless/headless_toolkit.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr int kWidth = 1280, kHeight = 720;

std::uint8_t ReadOnePixel() {
  std::uint8_t rgba[4] = {};
  glReadPixels(kWidth / 2, kHeight / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return rgba[0];
}

void BM_RenderDefaultScene(benchmark::State& state) {
  TEglContext gl;
  std::string error;
  if (!gl.Create(kWidth, kHeight, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  THeadlessToolkit tk;
  TGL_Form form(tk);
  form.UseDataFolder(KINEMO_BUILD_DATA_DIR);
  form.InitGL(kWidth, kHeight);
  form.FormResize(kWidth, kHeight);
  for (auto _ : state) {
    form.RenderScene();
    benchmark::DoNotOptimize(ReadOnePixel());
  }
  form.FormClose();
}

void BM_ClearAndReadPixel(benchmark::State& state) {
  TEglContext gl;
  std::string error;
  if (!gl.Create(kWidth, kHeight, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  glEnable(GL_DEPTH_TEST);
  glClearColor(0.8f, 0.8f, 0.8f, 1.0f);
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    benchmark::DoNotOptimize(ReadOnePixel());
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace

BENCHMARK(BM_RenderDefaultScene)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ClearAndReadPixel)->Unit(benchmark::kMillisecond)->UseRealTime();
