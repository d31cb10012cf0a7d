// AVI files read back by a decoder we did not write: stream description,
// frame count and the pixels of every frame, for each codec, across OpenDML
// RIFF chunks and after write failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "avi_test_support.h"

using namespace avitest;

namespace {

class AviDecode : public ::testing::Test {
protected:
  void SetUp() override {
    if (!HaveDecoder()) GTEST_SKIP() << "ffprobe/ffmpeg not installed";
  }
  void TearDown() override {
    for (const auto& f : Files)
      std::filesystem::remove(f);
  }
  std::filesystem::path NewFile(const std::string& name) {
    Files.push_back(TempFile(name));
    return Files.back();
  }
  // Starts a writer on `file` with frames of w x h and the given codec.
  void Start(CAVIGenerator& g, const std::filesystem::path& file, int w, int h, uint32_t fps,
             TCodec codec = TCodec::Raw) {
    g.FrameRate = fps;
    g.SetBitmapHeader(w, h);
    g.FileName = file.string();
    g.ChooseCompression = [codec](TCompressionOptions& o) {
      o.Codec = codec;
      return true;
    };
    ASSERT_EQ(g.InitEngine(), 0) << g.ErrorText;
  }
  std::vector<std::filesystem::path> Files;
};

struct TCodecCase {
  TCodec Codec;
  const char* Name;
  bool Exact;
};

class AviDecodeCodec : public AviDecode, public ::testing::WithParamInterface<TCodecCase> {};

TEST_P(AviDecodeCodec, DecoderReadsTheStreamAndEveryFrameWeWrote) {
  const TCodecCase c = GetParam();
  const auto file = NewFile("codec.avi");
  CAVIGenerator g;
  Start(g, file, 98, 51, 7, c.Codec); // frames of 96 x 48
  std::vector<TFrame> written;
  for (int k = 0; k < 5; ++k) {
    written.push_back(c.Exact ? NoiseFrame(96, 48, k) : SmoothFrame(96, 48, k));
    ASSERT_EQ(g.AddFrame(written.back().data()), 0) << g.ErrorText;
  }
  ASSERT_EQ(g.ReleaseEngine(), 0) << g.ErrorText;

  const TProbe p = Probe(file);
  EXPECT_EQ(p.Codec, c.Name);
  EXPECT_EQ(p.Width, 96);
  EXPECT_EQ(p.Height, 48);
  EXPECT_EQ(p.FrameRate, "7/1");
  EXPECT_EQ(p.FramesRead, 5);
  const auto decoded = Decode(file, 96, 48);
  ASSERT_EQ(decoded.size(), written.size());
  for (size_t k = 0; k < written.size(); ++k) {
    const TFrame expected = TopDown(written[k], 96, 48);
    if (c.Exact) {
      EXPECT_TRUE(decoded[k] == expected) << "frame " << k;
    } else {
      EXPECT_LT(MeanAbsDiff(decoded[k], expected), 2.0) << "frame " << k;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Codecs, AviDecodeCodec,
                         ::testing::Values(TCodecCase{TCodec::Raw, "rawvideo", true},
                                           TCodecCase{TCodec::Mjpeg, "mjpeg", false}),
                         [](const auto& info) { return std::string(info.param.Name); });

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
  const uint64_t bytes = std::filesystem::file_size(file);
  g.ReleaseEngine();
  return bytes;
}

TEST_F(AviDecode, SmallRiffLimitSpreadsFramesOverAvixChunksAndEveryReaderFindsThem) {
  const auto file = NewFile("odml.avi");
  const uint64_t limit = HeaderBytes(file) + 4 * kChunk + FirstRiffIndexBytes(4);
  CAVIGenerator g;
  TAviGeneratorTestAccess::SetRiffLimit(g, limit);
  Start(g, file, kW, kH, 10);
  std::vector<TFrame> written;
  for (int k = 0; k < 20; ++k) {
    written.push_back(NoiseFrame(kW, kH, k));
    ASSERT_EQ(g.AddFrame(written.back().data()), 0) << g.ErrorText;
  }
  ASSERT_EQ(g.ReleaseEngine(), 0) << g.ErrorText;

  const auto chunks = RiffChunks(file);
  ASSERT_GE(chunks.size(), 3u);
  uint64_t total = 0;
  for (size_t i = 0; i < chunks.size(); ++i) {
    EXPECT_EQ(chunks[i].Form, i == 0 ? "AVI " : "AVIX");
    EXPECT_LE(chunks[i].Bytes, limit) << "RIFF chunk " << i;
    total += chunks[i].Bytes;
  }
  EXPECT_EQ(total, std::filesystem::file_size(file));
  EXPECT_EQ(Probe(file).FramesRead, 20);

  std::vector<TFrame> expected;
  for (const TFrame& f : written)
    expected.push_back(TopDown(f, kW, kH));
  // In file order, through the OpenDML indexes, and through the legacy index
  // an old player reads, which covers the first RIFF chunk: 4 frames.
  EXPECT_TRUE(Decode(file, kW, kH) == expected);
  EXPECT_TRUE(Decode(file, kW, kH, "-fflags +sortdts") == expected);
  EXPECT_TRUE(Decode(file, kW, kH, "-use_odml 0 -fflags +sortdts") ==
              std::vector<TFrame>(expected.begin(), expected.begin() + 4));
}

struct TDiskFullCase {
  const char* Name;
  // Limits from the header size; 0 leaves the RIFF limit at its default.
  uint64_t (*RiffLimit)(uint64_t header);
  uint64_t (*DiskLimit)(uint64_t header);
  int Accepted; // frames written before the disk is full
  int Kept;     // frames in the completed file
};

class AviDiskFull : public AviDecode, public ::testing::WithParamInterface<TDiskFullCase> {};

TEST_P(AviDiskFull, FileStaysPlayableUpToTheLastFrameItKeeps) {
  const TDiskFullCase c = GetParam();
  const auto file = NewFile("full.avi");
  const uint64_t header = HeaderBytes(file);
  CAVIGenerator g;
  if (c.RiffLimit) TAviGeneratorTestAccess::SetRiffLimit(g, c.RiffLimit(header));
  TAviGeneratorTestAccess::SetDiskLimit(g, c.DiskLimit(header));
  Start(g, file, kW, kH, 10);
  std::vector<TFrame> written;
  int accepted = 0;
  for (int k = 0; k < 8; ++k) {
    written.push_back(NoiseFrame(kW, kH, k));
    const int32_t r = g.AddFrame(written.back().data());
    if (r == 0) {
      ASSERT_EQ(accepted, k) << "a frame was accepted after a failed one";
      ++accepted;
    } else {
      EXPECT_LT(r, 0);
      EXPECT_EQ(g.ErrorText,
                "AVI frame write failed. A disk error occurred while writing the file.");
    }
  }
  EXPECT_EQ(accepted, c.Accepted);
  EXPECT_LT(g.ReleaseEngine(), 0);

  std::vector<TFrame> expected;
  for (int k = 0; k < c.Kept; ++k)
    expected.push_back(TopDown(written[size_t(k)], kW, kH));
  const TProbe p = Probe(file);
  EXPECT_EQ(p.Codec, "rawvideo");
  EXPECT_EQ(p.FramesRead, c.Kept);
  EXPECT_TRUE(Decode(file, kW, kH) == expected);
  EXPECT_TRUE(Decode(file, kW, kH, "-fflags +sortdts") == expected);
}

// First RIFF chunk of 2 frames exactly, then AVIX chunks.
uint64_t TwoFrameRiff(uint64_t h) {
  return h + 2 * kChunk + FirstRiffIndexBytes(2);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AviDiskFull,
    ::testing::Values(
        TDiskFullCase{"RoomLeftForTheIndex", nullptr,
                      [](uint64_t h) { return h + 3 * kChunk + FirstRiffIndexBytes(3); }, 3, 3},
        // The last frame is given up to make room for the index of the others.
        TDiskFullCase{"NoRoomForTheIndex", nullptr, [](uint64_t h) { return h + 3 * kChunk + 10; },
                      3, 2},
        // A frame that ends exactly at the limit is written whole.
        TDiskFullCase{"FrameEndsAtTheLimit", nullptr, [](uint64_t h) { return h + 3 * kChunk; }, 3,
                      2},
        TDiskFullCase{"InAnAvixChunk", TwoFrameRiff,
                      [](uint64_t h) { return TwoFrameRiff(h) + 24 + 2 * kChunk + 5; }, 4, 3},
        TDiskFullCase{"BeforeTheFirstFrame", nullptr, [](uint64_t h) { return h + 4; }, 0, 0}),
    [](const auto& info) { return std::string(info.param.Name); });

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

TEST_F(AviDecode, StartingAnotherFileCompletesTheRunningOne) {
  const auto first = NewFile("first.avi"), second = NewFile("second.avi");
  CAVIGenerator g;
  Start(g, first, kW, kH, 10);
  const TFrame f = NoiseFrame(kW, kH, 1);
  ASSERT_EQ(g.AddFrame(f.data()), 0);
  ASSERT_EQ(g.AddFrame(f.data()), 0);
  Start(g, second, kW, kH, 10);
  EXPECT_EQ(Probe(first).FramesRead, 2);
  g.ReleaseEngine();
  EXPECT_EQ(Probe(second).FramesRead, 0);
}

} // namespace
