// Writing one 1280 x 720 frame to an AVI file, for each codec. Recording at
// 25 fps with the default 10 ms tick writes a frame every 4 ticks. The
// "nocheckpoint" runs leave out what makes the file survive a kill (indexes
// and headers brought up to date every second of video), to show its cost.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "recording/avi_generator.h"

struct TAviGeneratorTestAccess {
  static void SetCheckpoints(CAVIGenerator& g, bool on) { g.Checkpoints = on; }
};

namespace {
namespace KINEMO_UNITY_ID {

constexpr int kWidth = 1280, kHeight = 720;
// Frames per file before a fresh one, to keep the disk use bounded.
constexpr int kFramesPerFile = 64;

// Something like a rendered view: shaded background, a checkered floor and
// flat-coloured blocks with hard edges.
std::vector<uint8_t> SceneFrame() {
  std::vector<uint8_t> f(size_t(3) * kWidth * kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      uint8_t* p = &f[3 * (size_t(y) * kWidth + x)];
      if (y < kHeight / 2) {
        const bool dark = ((x / 40) + (y / 20)) % 2 != 0;
        p[0] = p[1] = p[2] = dark ? 60 : 190;
      } else {
        p[0] = uint8_t(200 - y / 8);
        p[1] = uint8_t(150 - y / 10);
        p[2] = uint8_t(90 + x / 20);
      }
      if ((x / 160) % 3 == 1 && y > 200 && y < 420) {
        p[0] = 30;
        p[1] = 30;
        p[2] = 220;
      }
    }
  return f;
}

void BM_AviAddFrame(benchmark::State& state, TCodec codec, bool checkpoints) {
  const auto file = std::filesystem::temp_directory_path() / "kinemo_bench.avi";
  const std::vector<uint8_t> frame = SceneFrame();
  CAVIGenerator g;
  g.FrameRate = 25;
  g.SetBitmapHeader(kWidth, kHeight);
  g.FileName = file.string();
  g.Compression.Codec = codec;
  TAviGeneratorTestAccess::SetCheckpoints(g, checkpoints);
  if (g.InitEngine() != 0) {
    state.SkipWithError(g.ErrorText.c_str());
    return;
  }
  int inFile = 0;
  for (auto _ : state) {
    if (inFile == kFramesPerFile) {
      state.PauseTiming();
      g.ReleaseEngine();
      g.InitEngine();
      inFile = 0;
      state.ResumeTiming();
    }
    if (g.AddFrame(frame.data()) != 0) {
      state.SkipWithError(g.ErrorText.c_str());
      break;
    }
    ++inFile;
  }
  g.ReleaseEngine();
  std::filesystem::remove(file);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(frame.size()));
}

} // namespace KINEMO_UNITY_ID
} // namespace

BENCHMARK_CAPTURE(BM_AviAddFrame, raw, TCodec::Raw, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AviAddFrame, raw_nocheckpoint, TCodec::Raw, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AviAddFrame, mjpeg, TCodec::Mjpeg, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AviAddFrame, mjpeg_nocheckpoint, TCodec::Mjpeg, false)
    ->Unit(benchmark::kMillisecond);
