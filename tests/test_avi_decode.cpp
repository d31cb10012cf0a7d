// AVI files read back by a decoder we did not write: frame count and the pixels
// of every frame across OpenDML RIFF chunks and after write failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "avi_test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

using namespace avitest;

class AviDecode : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveDecoder()) SKIP_UNAVAILABLE("ffprobe/ffmpeg not installed");
  }
  void TearDown() override {
    for (const auto& f : Files)
      std::filesystem::remove(f);
  }
  std::filesystem::path NewFile(const std::string& name) {
    Files.push_back(TempFile(name));
    return Files.back();
  }
  // Starts an uncompressed writer on `file` with frames of w x h.
  void Start(CAVIGenerator& g, const std::filesystem::path& file, int w, int h, uint32_t fps) {
    g.FrameRate = fps;
    g.SetBitmapHeader(w, h);
    g.FileName = file.string();
    ASSERT_EQ(g.InitEngine(), 0) << g.ErrorText;
  }
  std::vector<std::filesystem::path> Files;
};

// Frames of 32 x 16 (1 536 bytes, chunks of 1 544) make the OpenDML path cheap.
constexpr int kW = 32, kH = 16;
constexpr uint64_t kChunk = 8 + 3 * kW * kH;
// Index bytes of a first RIFF chunk holding n frames: 'ix00' plus 'idx1'.
constexpr uint64_t FirstRiffIndexBytes(uint64_t n) {
  return (32 + 8 * n) + (8 + 16 * n);
}

// Bytes before the first frame, whatever the frame size.
uint64_t HeaderBytes(const std::filesystem::path& file) {
  CAVIGenerator g;
  g.SetBitmapHeader(kW, kH);
  g.FileName = file.string();
  EXPECT_EQ(g.InitEngine(), 0);
  // Completed without frames: the headers alone.
  g.ReleaseEngine();
  return std::filesystem::file_size(file);
}

TEST_F(AviDecode, FilesOverManyRiffChunksOrCutShortByAFullDiskReadBackWhole) {
  struct {
    const char* Name;
    uint64_t RiffFrames; // frames the first RIFF chunk holds; 0: the default limit
    uint64_t DiskRoom;   // bytes after the header; 0: no limit
    int Accepted;        // of 8 frames
    int Kept;            // in the completed file
  } cases[] = {
      {"AVIX chunks", 2, 0, 8, 8},
      {"room left for the index", 0, 3 * kChunk + FirstRiffIndexBytes(3), 3, 3},
      // The last frame is given up to make room for the index of the others.
      {"no room for the index", 0, 3 * kChunk + 10, 3, 2},
      // A frame that ends exactly at the limit is written whole.
      {"frame ends at the limit", 0, 3 * kChunk, 3, 2},
      {"full in an AVIX chunk", 2, 2 * kChunk + FirstRiffIndexBytes(2) + 24 + 2 * kChunk + 5, 4, 3},
      {"full before the first frame", 0, 4, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto file = NewFile("odml.avi");
    const uint64_t header = HeaderBytes(file);
    const uint64_t riff = header + c.RiffFrames * kChunk + FirstRiffIndexBytes(c.RiffFrames);
    CAVIGenerator g;
    if (c.RiffFrames) TAviGeneratorTestAccess::SetRiffLimit(g, riff);
    if (c.DiskRoom) TAviGeneratorTestAccess::SetDiskLimit(g, header + c.DiskRoom);
    Start(g, file, kW, kH, 10);
    std::vector<TFrame> expected;
    int accepted = 0;
    for (int k = 0; k < 8; ++k) {
      const TFrame frame = NoiseFrame(kW, kH, k);
      if (g.AddFrame(frame.data()) == 0) {
        ASSERT_EQ(accepted++, k) << "a frame was accepted after a failed one";
        if (accepted <= c.Kept) expected.push_back(TopDown(frame, kW, kH));
      } else {
        EXPECT_EQ(g.ErrorText,
                  "AVI frame write failed. A disk error occurred while writing the file.");
      }
    }
    EXPECT_EQ(accepted, c.Accepted);
    EXPECT_EQ(g.ReleaseEngine() == 0, c.Accepted == 8);

    const auto chunks = RiffChunks(file);
    EXPECT_EQ(chunks.size() > 1, c.Kept > int(c.RiffFrames) && c.RiffFrames > 0);
    uint64_t total = 0;
    for (size_t i = 0; i < chunks.size(); ++i) {
      EXPECT_EQ(chunks[i].Form, i == 0 ? "AVI " : "AVIX");
      EXPECT_TRUE(!c.RiffFrames || chunks[i].Bytes <= riff) << "RIFF chunk " << i;
      total += chunks[i].Bytes;
    }
    EXPECT_EQ(total, std::filesystem::file_size(file));
    const TProbe p = Probe(file);
    EXPECT_EQ(p.Codec + " " + p.FrameRate, "rawvideo 10/1");
    EXPECT_EQ(p.FramesRead, c.Kept);
    // In file order, through the OpenDML indexes, and through the legacy index
    // an old player reads, which covers the first RIFF chunk only.
    EXPECT_TRUE(Decode(file, kW, kH) == expected);
    EXPECT_TRUE(Decode(file, kW, kH, "-fflags +sortdts") == expected);
    const size_t legacy = c.RiffFrames ? std::min<size_t>(c.RiffFrames, c.Kept) : c.Kept;
    EXPECT_TRUE(Decode(file, kW, kH, "-use_odml 0 -fflags +sortdts") ==
                std::vector<TFrame>(expected.begin(), expected.begin() + long(legacy)));
  }
}

TEST_F(AviDecode, AFullSuperIndexEndsTheRecordingWithACompleteFile) {
  // Frames of 64 x 32 and a RIFF limit that holds one frame each.
  const auto file = NewFile("index.avi");
  const uint64_t chunk = 8 + 3 * 64 * 32;
  CAVIGenerator g;
  TAviGeneratorTestAccess::SetRiffLimit(g, HeaderBytes(file) + chunk + FirstRiffIndexBytes(1));
  Start(g, file, 64, 32, 25);
  const TFrame frame = NoiseFrame(64, 32, 0);
  int accepted = 0;
  while (accepted < 1000 && g.AddFrame(frame.data()) == 0)
    ++accepted;
  EXPECT_EQ(accepted, int(kAviSuperIndexEntries));
  EXPECT_EQ(g.ErrorText, "AVI frame write failed. The file has reached its largest size.");
  EXPECT_LT(g.ReleaseEngine(), 0);
  EXPECT_EQ(RiffChunks(file).size(), size_t(kAviSuperIndexEntries));
  EXPECT_EQ(Decode(file, 64, 32, "-fflags +sortdts").size(), size_t(accepted));
}

} // namespace KINEMO_UNITY_ID
} // namespace
