// Recording the view through the window's handlers: frames due by simulated
// time, the files read back by a real decoder, and every way a recording ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "avi_test_support.h"
#include "gl_test_support.h"
#include "platform/headless/runner.h"

namespace {
namespace KINEMO_UNITY_ID {

namespace fs = std::filesystem;

constexpr const char* kDiskFullText =
    "AVI frame write failed. A disk error occurred while writing the file.";

class Recording : public TGLFormTest {
protected:
  void SetUp() override {
    TGLFormTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    if (!avitest::HaveDecoder()) SKIP_UNAVAILABLE("ffprobe/ffmpeg not installed");
  }
  void TearDown() override {
    TGLFormTest::TearDown();
    for (const fs::path& f : files_)
      fs::remove(f);
  }

  fs::path File(const std::string& name) {
    files_.push_back(avitest::TempFile(name));
    return files_.back();
  }

  // The capture dialog answered with these entries, the compression dialog
  // with `codec` (or cancelled).
  void Answer(const std::string& file, const std::string& fps, const std::string& time,
              int codec = 0, TModalResult compression = TModalResult::OK) {
    tk.AnswerDialog = [=, this](TDialogId id) {
      if (id == TDialogId::Capture) form->DialogCapture = {file, fps, time};
      if (id != TDialogId::Compression) return TModalResult::OK;
      form->DialogCompression.Codec = codec;
      return compression;
    };
  }
  bool Start(const fs::path& file, const std::string& fps, const std::string& time, int codec = 0) {
    Answer(file.string(), fps, time, codec);
    form->EnregistreAVI1Click();
    tk.AnswerDialog = nullptr;
    return form->Recording;
  }

  // Ticks until the recording ends; returns the frames each tick wrote, as
  // the view held them after that tick (top row first, blue-green-red). The
  // camera turns at every tick, so that each tick draws a different frame.
  std::vector<avitest::TFrame> TickUntilDone(int max_ticks, bool keep_frames = false) {
    std::vector<avitest::TFrame> written;
    for (int k = 0; k < max_ticks && form->Recording; ++k) {
      const int before = form->AviGen.FrameIndex;
      if (keep_frames) form->yrot += 10;
      form->Timer1Timer();
      if (keep_frames && form->AviGen.FrameIndex > before) written.push_back(ViewAsFrame());
    }
    return written;
  }

  avitest::TFrame ViewAsFrame() const {
    const int w = form->CaptureHeader->biWidth, h = form->CaptureHeader->biHeight;
    const TFrame view = Read();
    avitest::TFrame f(std::size_t(3) * w * h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const TRgba8 p = view.At(x, h - 1 - y);
        std::uint8_t* q = &f[3 * (std::size_t(y) * w + x)];
        q[0] = std::uint8_t(p.b);
        q[1] = std::uint8_t(p.g);
        q[2] = std::uint8_t(p.r);
      }
    return f;
  }

  // Nothing of a recording is left running or allocated.
  void ExpectIdle() const {
    EXPECT_FALSE(form->Recording);
    EXPECT_FALSE(form->CGaugeCapture.Visible);
    EXPECT_TRUE(form->CaptureBuffer.empty());
    EXPECT_EQ(form->AviGen.AviFile, nullptr);
  }

  std::vector<fs::path> files_;
};

struct TDueCase {
  const char* Name;
  const char* Fps;
  const char* Time;
  double Dt;
  int Frames;
  int Ticks; // to the end of the recording
};

TEST_F(Recording, FramesFallDueBySimulatedTime) {
  const TDueCase cases[] = {
      {"a frame every 4 ticks", "25", "10", 0.01, 250, 1001},
      {"duration 0 ends at the first tick", "25", "0", 0.01, 0, 1},
      {"a frame every tick, the fastest rate", "100", "2", 0.01, 200, 201},
      {"frames between ticks", "30", "1", 0.02, 30, 51},
  };
  for (const TDueCase& c : cases) {
    SCOPED_TRACE(c.Name);
    form->Sim.Dt = c.Dt;
    const fs::path file = File(std::string(c.Fps) + "_" + c.Time + ".avi");
    ASSERT_TRUE(Start(file, c.Fps, c.Time));
    EXPECT_EQ(form->CGaugeCapture.MaxValue, c.Frames);
    EXPECT_TRUE(form->CGaugeCapture.Visible);
    int ticks = 0;
    while (form->Recording && ticks < 2000) {
      form->Timer1Timer();
      ++ticks;
    }
    EXPECT_EQ(ticks, c.Ticks);
    EXPECT_EQ(form->AviGen.FrameIndex, c.Frames);
    EXPECT_EQ(form->CGaugeCapture.Progress, c.Frames);
    EXPECT_EQ(form->CaptureResult, 0);
    ExpectIdle();
    const avitest::TProbe p = avitest::Probe(file);
    EXPECT_EQ(p.Codec, "rawvideo");
    EXPECT_EQ(p.FrameRate, std::string(c.Fps) + "/1");
    EXPECT_EQ(p.FramesRead, c.Frames);
  }
  EXPECT_TRUE(tk.Messages.empty());
}

// The frame size comes from the client size rounded down to multiples of 4,
// and each frame is the view as this tick drew it.
TEST_F(Recording, FilesHoldTheFramesTheViewDrew) {
  form->FormResize(kWidth + 2, kHeight + 3);
  for (int codec : {0, 1}) {
    SCOPED_TRACE(codec == 0 ? "uncompressed" : "Motion-JPEG");
    const fs::path file = File(codec == 0 ? "raw" : "mjpeg"); // ".avi" appended
    ASSERT_TRUE(Start(file, "25", "0.3", codec));
    const std::vector<avitest::TFrame> drawn = TickUntilDone(100, true);
    ASSERT_EQ(drawn.size(), 7u);
    ASSERT_TRUE(fs::exists(file.string() + ".avi"));
    const avitest::TProbe p = avitest::Probe(file.string() + ".avi");
    files_.push_back(file.string() + ".avi");
    EXPECT_EQ(p.Codec, codec == 0 ? "rawvideo" : "mjpeg");
    EXPECT_EQ(p.Width, kWidth);
    EXPECT_EQ(p.Height, kHeight);
    EXPECT_EQ(p.FramesRead, 7);
    const auto decoded = avitest::Decode(file.string() + ".avi", kWidth, kHeight);
    ASSERT_EQ(decoded.size(), drawn.size());
    for (std::size_t k = 0; k < drawn.size(); ++k) {
      if (codec == 0)
        EXPECT_TRUE(decoded[k] == drawn[k]) << "frame " << k;
      else
        EXPECT_LT(avitest::MeanAbsDiff(decoded[k], drawn[k]), 6.0) << "frame " << k;
    }
    // The top-left corner is clear sky, in the clear colour.
    for (int i = 0; i < 3; ++i)
      EXPECT_NEAR(decoded.front()[std::size_t(i)], 204, codec == 0 ? 0 : 4);
  }
}

TEST_F(Recording, AFullDiskShowsTheMessageAndNeverCountsAsFinished) {
  // At set-up: the headers cannot be written.
  const fs::path full = File("full.avi");
  fs::create_symlink("/dev/full", full);
  EXPECT_FALSE(Start(full, "25", "10"));
  ASSERT_EQ(tk.Messages.size(), 1u);
  EXPECT_EQ(tk.Messages[0].Text, "AVI Compressed Stream format setting failed. A disk error "
                                 "occurred while writing the file.");
  EXPECT_EQ(tk.Messages[0].Caption, "Erreur");
  EXPECT_LT(form->CaptureResult, 0);
  ExpectIdle();

  // While writing: the disk fills up after the third frame.
  const fs::path file = File("fills.avi");
  const std::uint64_t frame = std::uint64_t(3) * kWidth * kHeight;
  TAviGeneratorTestAccess::SetDiskLimit(form->AviGen, 3 * frame + frame / 2);
  ASSERT_TRUE(Start(file, "25", "10"));
  TickUntilDone(100);
  EXPECT_EQ(form->AviGen.FrameIndex, 4);
  ASSERT_EQ(tk.Messages.size(), 2u);
  EXPECT_EQ(tk.Messages[1].Text, kDiskFullText);
  EXPECT_LT(form->CaptureResult, 0);
  ExpectIdle();
  // Playable up to a good frame.
  const avitest::TProbe p = avitest::Probe(file);
  EXPECT_EQ(p.Codec, "rawvideo");
  EXPECT_GE(p.FramesRead, 1);
  EXPECT_LE(p.FramesRead, 3);
  // Ticks after the failure write nothing and report nothing.
  form->Timer1Timer();
  EXPECT_EQ(tk.Messages.size(), 2u);

  // At the end: every frame fits but the index does not.
  const fs::path empty = File("empty.avi"), last = File("last.avi");
  ASSERT_TRUE(Start(empty, "25", "0"));
  TickUntilDone(10);
  TAviGeneratorTestAccess::SetDiskLimit(form->AviGen, fs::file_size(empty) + 2 * (frame + 8));
  ASSERT_TRUE(Start(last, "25", "0.1"));
  TickUntilDone(100);
  EXPECT_EQ(form->AviGen.FrameIndex, 2);
  ASSERT_EQ(tk.Messages.size(), 3u);
  EXPECT_EQ(tk.Messages[2].Text,
            "AVI file completion failed. A disk error occurred while writing the file.");
  EXPECT_LT(form->CaptureResult, 0);
  ExpectIdle();
  EXPECT_EQ(avitest::Probe(last).FramesRead, 1);
}

TEST_F(Recording, ACancelledCompressionChoiceStartsNothing) {
  const fs::path file = File("cancel.avi");
  Answer(file.string(), "25", "10", 1, TModalResult::Cancel);
  form->EnregistreAVI1Click();
  EXPECT_EQ(tk.ShownDialogs.back(), TDialogId::Compression);
  EXPECT_EQ(form->CaptureResult, 1);
  ExpectIdle();
  EXPECT_TRUE(tk.Messages.empty());
  form->Timer1Timer();
  EXPECT_EQ(form->AviGen.FrameIndex, 0);
}

TEST_F(Recording, BadEntriesShowAMessageAndPrepareNothing) {
  struct TCase {
    const char* Fps;
    const char* Time;
  } cases[] = {{"abc", "10"}, {"2.5", "10"}, {"0", "10"},     {"-5", "10"}, {"101", "10"},
               {"25", "x"},   {"25", "-1"},  {"25", "1e999"}, {"25", "nan"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Fps) + " / " + c.Time);
    tk.Messages.clear();
    tk.ShownDialogs.clear();
    const fs::path file = File("bad.avi");
    EXPECT_FALSE(Start(file, c.Fps, c.Time));
    ASSERT_EQ(tk.Messages.size(), 1u);
    // A rate the step cannot feed names the highest it can.
    if (c.Fps == std::string("101")) {
      EXPECT_EQ(tk.Messages[0].Text.rfind("Au plus 100 images par seconde", 0), 0u);
    }
    EXPECT_EQ(tk.ShownDialogs, std::vector<TDialogId>{TDialogId::Capture});
    EXPECT_FALSE(fs::exists(file));
    ExpectIdle();
  }
}

TEST_F(Recording, AViewSmallerThanOneFrameIsRefusedBeforeTheDialogAndAnyFile) {
  const fs::path file = File("tiny.avi");
  for (const auto& [w, h] : {std::pair{3, 200}, std::pair{200, 3}}) {
    form->ClientWidth = w;
    form->ClientHeight = h;
    tk.Messages.clear();
    EXPECT_FALSE(Start(file, "25", "10"));
    ASSERT_EQ(tk.Messages.size(), 1u);
    EXPECT_NE(tk.Messages[0].Text.find("au moins 4 × 4 pixels"), std::string::npos);
    EXPECT_TRUE(tk.ShownDialogs.empty());
    EXPECT_FALSE(fs::exists(file));
    ExpectIdle();
  }
  form->ClientWidth = form->ClientHeight = 4; // the smallest frame
  EXPECT_TRUE(Start(file, "25", "10"));
  EXPECT_EQ(form->CaptureHeader->biWidth, 4);
  form->EndRecording();
}

TEST_F(Recording, ARunningRecordingIsCompletedBeforeAnotherOneAndAtClose) {
  const fs::path first = File("first.avi"), second = File("second.avi");
  ASSERT_TRUE(Start(first, "25", "10"));
  TickUntilDone(20);
  ASSERT_EQ(form->AviGen.FrameIndex, 5);

  ASSERT_TRUE(Start(second, "50", "10", 1));
  EXPECT_EQ(avitest::Probe(first).FramesRead, 5);
  EXPECT_EQ(form->CGaugeCapture.Progress, 0);
  EXPECT_EQ(form->CGaugeCapture.MaxValue, 500);
  TickUntilDone(10);

  form->FormClose();
  ExpectIdle();
  const avitest::TProbe p = avitest::Probe(second);
  EXPECT_EQ(p.Codec, "mjpeg");
  EXPECT_EQ(p.FrameRate, "50/1");
  EXPECT_EQ(p.FramesRead, 5);
  EXPECT_TRUE(tk.Messages.empty());
}

// A file already under the name survives every way a recording can end
// short of completing; only a completed recording replaces it.
TEST_F(Recording, AnExistingFileIsReplacedOnlyByACompletedRecording) {
  TScratchDir dir;
  const std::string file = dir / "run1.avi";
  const std::string earlier = "an earlier recording";
  std::ofstream(file, std::ios::binary) << earlier;
  const std::string question = file + " existe déjà. Voulez-vous le remplacer ?";
  const std::uint64_t frame = std::uint64_t(3) * kWidth * kHeight;
  struct TCase {
    const char* Name;
    TModalResult Capture, Compression;
    bool Yes;
    std::uint64_t DiskLimit; // 0: none
    std::size_t Messages;
  } cases[] = {
      {"capture dialog cancelled", TModalResult::Cancel, TModalResult::OK, true, 0, 0},
      {"Non", TModalResult::OK, TModalResult::OK, false, 0, 0},
      {"compression choice cancelled", TModalResult::OK, TModalResult::Cancel, true, 0, 0},
      {"the disk fills up", TModalResult::OK, TModalResult::OK, true, 2 * frame, 1},
      {"completed", TModalResult::OK, TModalResult::OK, true, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    tk.Messages.clear();
    tk.Questions.clear();
    tk.AnswerDialog = [&](TDialogId id) {
      if (id == TDialogId::Capture) form->DialogCapture = {dir / "run1", "25", "0.5"};
      return id == TDialogId::Compression ? c.Compression : c.Capture;
    };
    tk.AnswerQuestion = [&](const std::string&) { return c.Yes; };
    TAviGeneratorTestAccess::SetDiskLimit(form->AviGen,
                                          c.DiskLimit ? c.DiskLimit : ~std::uint64_t(0));
    form->EnregistreAVI1Click();
    if (c.Capture == TModalResult::OK) {
      EXPECT_EQ(tk.Questions, std::vector<std::string>{question});
    }
    // While the recording runs the earlier file is still there, whole.
    TickUntilDone(5);
    EXPECT_EQ(ReadFile(file), earlier);
    TickUntilDone(100);
    ExpectIdle();
    EXPECT_EQ(tk.Messages.size(), c.Messages);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Dir), {}), 1) << "a temporary file is left";
  }
  const int frames = avitest::Probe(file).FramesRead;
  EXPECT_GE(frames, 12);
  EXPECT_LE(frames, 13);
  tk.AnswerDialog = nullptr;
  tk.AnswerQuestion = nullptr;
}

// N seconds at F frames per second give N·F frames, frame k at the first tick
// that reaches k/F seconds and the last one at the tick that ends the N
// seconds, whatever a running sum of the steps would have come to. Steps are
// in tenths of a millisecond and durations in tenths of a second, so that the
// expected ticks are whole-number sums.
TEST(CaptureClock, FramesFallOnWholeTicks) {
  for (const long long step : {100, 200, 50, 300, 500, 123, 70})
    for (const long long fps : {1, 10, 24, 25, 30, 50, 60, 100, 200})
      for (const long long tenths : {0, 3, 10, 40, 60, 137, 600}) {
        const double dt = static_cast<double>(step) / 10000;
        if (fps > MaxFrameRate(dt)) {
          EXPECT_GT(fps * step, 10000);
          continue;
        }
        SCOPED_TRACE(std::to_string(tenths) + " ds at " + std::to_string(fps) + " fps, step " +
                     std::to_string(step));
        TCaptureClock clock;
        clock.Start(static_cast<std::int32_t>(fps), static_cast<double>(tenths) / 10);
        const long long frames = tenths * fps / 10;
        EXPECT_EQ(clock.Total(), frames);
        // Frame k is due at the first tick n with n * step * fps >= k * 10000.
        auto tick_of = [&](long long k) { return (k * 10000 + step * fps - 1) / (step * fps); };
        std::int32_t done = 0;
        long long n = 0;
        while (!clock.Over() && n < 100000) {
          const std::int32_t due = clock.Tick(dt);
          ++n;
          if (due == done) continue;
          ASSERT_EQ(due, done + 1) << "tick " << n;
          ASSERT_EQ(n, tick_of(due)) << "frame " << due;
          done = due;
        }
        EXPECT_EQ(done, frames);
        // Over at the first tick past the duration.
        EXPECT_EQ(n, tenths * 1000 / step + 1);
      }
  // A step changed midway counts from then on: 2 s at 0.01 s, then 2 s at 0.02 s.
  TCaptureClock clock;
  clock.Start(25, 4);
  std::int32_t due = 0;
  for (int k = 0; k < 200; ++k)
    due = clock.Tick(0.01);
  EXPECT_EQ(due, 50);
  for (int k = 0; k < 100; ++k)
    due = clock.Tick(0.02);
  EXPECT_EQ(due, 100);
  EXPECT_FALSE(clock.Over());
  clock.Tick(0.02);
  EXPECT_TRUE(clock.Over());
}

TEST(RecordingWithoutView, IsRefusedWithAMessage) {
  TFormFixture f;
  f.AnswerOk([](TGL_Form&) {});
  f.form->FormResize(320, 240);
  f.form->EnregistreAVI1Click();
  EXPECT_FALSE(f.form->Recording);
  EXPECT_TRUE(f.tk.ShownDialogs.empty());
  ASSERT_EQ(f.tk.Messages.size(), 1u);
  EXPECT_EQ(f.tk.Messages[0].Caption, "Erreur");
}

struct TRun {
  int Code;
  std::string Out, Err;
};

TRun RunKinemo(std::vector<std::string> args) {
  std::ostringstream out, err;
  args.insert(args.begin(), "--headless");
  const int code = RunHeadless(args, KINEMO_BUILD_DATA_DIR, out, err);
  return {code, out.str(), err.str()};
}

TEST(RunnerRecord, RecordsAsTheWindowDoesAndCompletesTheFileAtTheEnd) {
  if (!avitest::HaveDecoder()) SKIP_UNAVAILABLE("ffprobe/ffmpeg not installed");
  const fs::path file = avitest::TempFile("run.avi");
  struct TCase {
    std::vector<std::string> Args;
    const char* Codec;
    long Frames;
  } cases[] = {
      // The duration elapses: 25 frames in 1 s.
      {{"--codec", "mjpeg", "--fps", "25", "--duration", "1", "--do", "menu:Animate ticks:150"},
       "mjpeg",
       25},
      // The run ends on the tick that ends the duration: its last frame is there.
      {{"--fps", "25", "--duration", "4", "--do", "menu:Animate ticks:400"}, "rawvideo", 100},
      {{"--fps", "25", "--duration", "6", "--do", "menu:Animate ticks:600"}, "rawvideo", 150},
      // The run ends first (default 10 s): the file is completed anyway.
      {{"--do", "menu:Animate ticks:20"}, "rawvideo", 5},
      // Chosen again from the menu: the first file is replaced by a fresh one.
      {{"--fps", "10", "--do", "menu:Animate ticks:40 menu:EnregistreAVI1 ticks:20"},
       "rawvideo",
       2},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> args = {"--size", "162x121", "--record", file.string()};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const TRun r = RunKinemo(args);
    if (r.Code == 3) SKIP_UNAVAILABLE(r.Err);
    ASSERT_EQ(r.Code, 0) << r.Err;
    EXPECT_NE(r.Out.find("recorded " + std::to_string(c.Frames) + " frames"), std::string::npos)
        << r.Out;
    const avitest::TProbe p = avitest::Probe(file);
    EXPECT_EQ(p.Codec, c.Codec);
    EXPECT_EQ(p.Width, 160);
    EXPECT_EQ(p.Height, 120);
    EXPECT_EQ(p.FramesRead, c.Frames);
  }
  fs::remove(file);
}

TEST(RunnerRecord, BadSettingsAndFailedFilesGiveTheirExitCodes) {
  const fs::path full = avitest::TempFile("full.avi");
  fs::remove(full);
  fs::create_symlink("/dev/full", full);
  struct TCase {
    std::vector<std::string> Args;
    int Code;
  } cases[] = {
      {{"--record", "x.avi", "--codec", "h264"}, 2},
      {{"--record", "x.avi", "--fps", "0"}, 2},
      {{"--record", "x.avi", "--fps", "2.5"}, 2},
      {{"--record", "x.avi", "--fps", "101"}, 2}, // more than a frame a tick
      {{"--record", "x.avi", "--fps", "2147483647"}, 2},
      {{"--record", "x.avi", "--duration", "-1"}, 2},
      {{"--record", "x.avi", "--duration", "inf"}, 2},
      {{"--fps", "25"}, 2},
      {{"--record", full.string(), "--do", "menu:Animate ticks:8"}, 1},
      {{"--record", "x.avi", "--size", "1x1"}, 2}, // no frame: refused before the file
      {{"--size", "64x3", "--record", "x.avi"}, 2},
  };
  for (const TCase& c : cases) {
    std::vector<std::string> args = {"--size", "64x48"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const TRun r = RunKinemo(args);
    if (r.Code == 3) SKIP_UNAVAILABLE(r.Err);
    EXPECT_EQ(r.Code, c.Code) << r.Err;
    EXPECT_FALSE(r.Err.empty());
    EXPECT_EQ(r.Out.find("recorded"), std::string::npos);
  }
  EXPECT_FALSE(fs::exists("x.avi"));
  fs::remove(full);
  EXPECT_EQ(RunKinemo({"--size", "1x1", "--record", "x.avi"}).Err,
            "kinemo: --record needs a --size of at least 4x4 (frames are multiples of 4 "
            "pixels): 1x1\n");
  EXPECT_EQ(RunKinemo({"--record", "x.avi", "--fps", "200"}).Err,
            "kinemo: --fps 200 is more than the step of 0.01 s feeds (one frame a tick): at most "
            "100 frames per second\n");
}

} // namespace KINEMO_UNITY_ID
} // namespace
