// A recording that never reaches its end: what a kill leaves must be a
// complete video up to its last checkpoint (one second of video at most is
// lost), under its own name, with an earlier file of that name untouched.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "avi_test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

using namespace avitest;

namespace fs = std::filesystem;

constexpr int kW = 32, kH = 16;

std::string Bytes(const TFrame& f) {
  return {f.begin(), f.end()};
}

// The file as a kill would leave it now: every byte written so far, and
// nothing the writer still meant to do.
fs::path Snapshot(const fs::path& file, const fs::path& copy) {
  fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
  return copy;
}

// Frames 0..n-1 of the run, in the order written.
std::vector<std::string> Expected(size_t n) {
  std::vector<std::string> v;
  for (size_t k = 0; k < n; ++k)
    v.push_back(Bytes(NoiseFrame(kW, kH, int(k))));
  return v;
}

TEST(AviCheckpoint, AfterEveryFrameTheFileIsCompleteUpToItsLastSecond) {
  const bool decoder = HaveDecoder();
  struct {
    const char* Name;
    uint32_t Fps;
    uint64_t RiffFrames; // 0: one RIFF chunk
    int Frames;
  } cases[] = {
      {"one RIFF chunk", 4, 0, 30},
      // Checkpoints inside 'AVIX' chunks, and RIFF chunks ending between them.
      {"several RIFF chunks", 3, 5, 26},
      // Indexes outgrow the room reserved for them.
      {"growing indexes", 1, 0, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TScratchDir dir;
    const fs::path file = dir / "run.avi", copy = dir / "killed.avi";
    CAVIGenerator g;
    if (c.RiffFrames) {
      // Room for the headers, the frames and their indexes (generously).
      TAviGeneratorTestAccess::SetRiffLimit(g, 4600 + c.RiffFrames * (8 + 3 * kW * kH + 40));
    }
    g.FrameRate = c.Fps;
    g.SetBitmapHeader(kW, kH);
    g.FileName = file.string();
    ASSERT_EQ(g.InitEngine(), 0);
    size_t last = 0; // frames at the last checkpoint seen
    for (int k = 1; k <= c.Frames; ++k) {
      SCOPED_TRACE("after frame " + std::to_string(k));
      ASSERT_EQ(g.AddFrame(NoiseFrame(kW, kH, k - 1).data()), 0);
      if (k < int(c.Fps)) {
        // Before the first checkpoint the file is not yet under its name.
        EXPECT_FALSE(fs::exists(file));
        continue;
      }
      const TAviLayout l = ReadAviLayout(Snapshot(file, copy));
      ASSERT_EQ(l.Error, "");
      const size_t n = l.Frames.size();
      EXPECT_EQ(std::vector<uint32_t>({l.StrhLength, l.DmlhFrames}),
                std::vector<uint32_t>({uint32_t(n), uint32_t(n)}));
      EXPECT_LE(l.AvihFrames, n); // the first RIFF chunk's share
      EXPECT_LT(size_t(k) - n, c.Fps) << "more than a second lost";
      EXPECT_GE(n, last);
      EXPECT_TRUE(l.Frames == Expected(n));
      // A player's view, at some of the checkpoints (decoders are slow).
      if (decoder && n != last && (n / c.Fps) % 3 == 1) {
        const auto [frames, seconds] = HeaderCountAndDuration(copy);
        EXPECT_EQ(frames, long(n));
        EXPECT_NEAR(seconds, double(n) / c.Fps, 1e-6);
        const auto decoded = Decode(copy, kW, kH, "-fflags +sortdts");
        ASSERT_GE(decoded.size(), n);
        for (size_t i = 0; i < n; ++i)
          EXPECT_TRUE(decoded[i] == TopDown(NoiseFrame(kW, kH, int(i)), kW, kH)) << i;
      }
      last = n;
    }
    ASSERT_EQ(g.ReleaseEngine(), 0);
    const TAviLayout l = ReadAviLayout(file);
    ASSERT_EQ(l.Error, "");
    EXPECT_EQ(l.StrhLength, uint32_t(c.Frames));
    EXPECT_TRUE(l.Frames == Expected(size_t(c.Frames)));
    if (decoder) {
      EXPECT_EQ(Probe(file).FramesRead, c.Frames);
    }
  }
}

// A writer killed with SIGKILL in a child process, the name free or taken.
TEST(AviCheckpoint, AKilledWriterLeavesItsLastCheckpoint) {
  constexpr uint32_t kFps = 5;
  for (const bool taken : {false, true}) {
    SCOPED_TRACE(taken ? "name taken" : "name free");
    TScratchDir dir;
    const fs::path file = dir / "run.avi";
    if (taken) std::ofstream(file) << "earlier";
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::close(report[0]);
      CAVIGenerator g;
      g.FrameRate = kFps;
      g.SetBitmapHeader(kW, kH);
      g.FileName = file.string();
      if (g.InitEngine() != 0) ::_exit(1);
      for (int k = 0;; ++k) {
        if (g.AddFrame(NoiseFrame(kW, kH, k).data()) != 0) ::_exit(1);
        const int written = k + 1;
        if (::write(report[1], &written, sizeof written) != sizeof written) ::_exit(1);
      }
    }
    ::close(report[1]);
    int written = 0;
    while (written < 23 && ::read(report[0], &written, sizeof written) == sizeof written) {
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(report[0]);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GE(written, 23);

    // The checkpoints' file: under the name, or beside an earlier file.
    fs::path left = file;
    if (taken) {
      EXPECT_EQ(ReadFile(file), "earlier");
      std::vector<fs::path> others;
      for (const auto& e : fs::directory_iterator(dir.Dir))
        if (e.path() != file) others.push_back(e.path());
      ASSERT_EQ(others.size(), 1u);
      left = others[0];
    }
    const TAviLayout l = ReadAviLayout(left, true);
    ASSERT_EQ(l.Error, "");
    const size_t n = l.Frames.size();
    EXPECT_EQ(n % kFps, 0u);
    EXPECT_GE(n, size_t(written) / kFps * kFps);
    EXPECT_EQ(l.StrhLength, n);
    EXPECT_TRUE(l.Frames == Expected(n));
    if (HaveDecoder()) {
      const auto [frames, seconds] = HeaderCountAndDuration(left);
      EXPECT_EQ(frames, long(n));
      EXPECT_NEAR(seconds, double(n) / kFps, 1e-6);
    }
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
