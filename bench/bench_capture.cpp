// One capture step at 1280 x 720: the frame read back from the off-screen
// context and handed to the AVI writer, for each codec. At 25 fps with the
// default 10 ms step a frame falls due every 4 ticks, so a tick pays a quarter
// of this on average; the render itself is measured in bench_render. The
// "nocheckpoint" runs leave out what makes the video survive a kill.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/headless/actions.h"
#include "platform/headless/egl_context.h"
#include "platform/headless/headless_toolkit.h"
#include "window/gl_form.h"

struct TAviGeneratorTestAccess {
  static void SetCheckpoints(CAVIGenerator& g, bool on) { g.Checkpoints = on; }
};

namespace {
namespace KINEMO_UNITY_ID {

constexpr int kWidth = 1280, kHeight = 720;
// Frames per file before a fresh one, to keep the disk use bounded.
constexpr int kFramesPerFile = 64;

bool Start(TGL_Form& form, THeadlessToolkit& tk, const std::string& file, int codec) {
  StartRecording(form, tk, TCaptureAnswer{file, "25", "1e9", codec});
  return form.Recording;
}

void BM_CaptureStep(benchmark::State& state, int codec, bool checkpoints) {
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
  TAviGeneratorTestAccess::SetCheckpoints(form.AviGen, checkpoints);
  const std::string file =
      (std::filesystem::temp_directory_path() / "kinemo_bench_capture.avi").string();
  if (!Start(form, tk, file, codec)) {
    state.SkipWithError("the recording did not start");
    return;
  }
  int in_file = 0;
  for (auto _ : state) {
    if (in_file == kFramesPerFile) {
      state.PauseTiming();
      form.EndRecording();
      Start(form, tk, file, codec);
      in_file = 0;
      state.ResumeTiming();
    }
    // Exactly one frame falls due at each step; the render is finished
    // before the clock runs, so that the read-back does not pay for it.
    state.PauseTiming();
    form.Sim.SimTime += 1.0 / 25;
    form.RenderScene();
    glFinish();
    state.ResumeTiming();
    form.CaptureStep();
    if (!form.Recording) {
      state.SkipWithError(form.AviGen.ErrorText.c_str());
      break;
    }
    ++in_file;
  }
  form.FormClose();
  std::filesystem::remove(file);
}

} // namespace KINEMO_UNITY_ID
} // namespace

BENCHMARK_CAPTURE(BM_CaptureStep, raw, 0, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CaptureStep, raw_nocheckpoint, 0, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_CaptureStep, mjpeg, 1, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_CaptureStep, mjpeg_nocheckpoint, 1, false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
