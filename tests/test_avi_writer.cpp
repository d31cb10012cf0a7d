// The AVI writer's contract as its owner sees it: frame size, file name,
// result codes and texts, and a release that is always safe.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "avi_test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

using namespace avitest;

TEST(AviWriter, FrameSizeIsTheClientSizeRoundedDownToMultiplesOfFour) {
  struct {
    int w, h, width, height;
    uint32_t bytes;
  } cases[] = {
      {722, 483, 720, 480, 1036800}, {4, 4, 4, 4, 48}, {7, 9, 4, 8, 96}, {3, 100, 0, 100, 0}};
  for (const auto& c : cases) {
    CAVIGenerator g;
    g.SetBitmapHeader(c.w, c.h);
    const TBitmapInfoHeader& b = g.BitmapHeader;
    EXPECT_EQ(std::vector<int64_t>({b.biWidth, b.biHeight, b.biSizeImage, b.biBitCount}),
              std::vector<int64_t>({c.width, c.height, c.bytes, 24}))
        << c.w << " x " << c.h;
  }
}

TEST(AviWriter, MakeExtAviAppendsTheExtensionOnlyWhenAviIsNowhereInTheName) {
  const std::pair<const char*, const char*> cases[] = {
      {"film", "film.avi"},         {"capture.avi", "capture.avi"},
      {"film.AVI", "film.AVI.avi"}, // case-sensitive
      {"avion.txt", "avion.txt"},   {"", ".avi"},
  };
  for (const auto& [name, expected] : cases) {
    CAVIGenerator g;
    g.FileName = name;
    g.MakeExtAvi();
    EXPECT_EQ(g.FileName, expected) << name;
  }
}

TEST(AviWriter, FailuresReturnNegativeCodesWithTheirTexts) {
  const std::string dir = std::filesystem::temp_directory_path() / "kinemo_no_such_dir";
  const std::string pipe = TempFile("pipe.avi").string(), empty = TempFile("empty.avi").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string open_failed = ".A disk error occurred while opening the file.";
  const std::string bad_format = "AVI Stream creation failed. Check Bitmap info.";
  struct {
    std::string file;
    int w;
    uint32_t fps;
    int32_t code;
    std::string text;
  } cases[] = {
      {dir + "/x.avi", 64, 25, kAviErrFileOpen,
       "AVI Engine failed to initialize. Check filename " + dir + "/x.avi" + open_failed},
      {pipe, 64, 25, kAviErrFileOpen, // a pipe without a reader must not hang
       "AVI Engine failed to initialize. Check filename " + pipe + open_failed},
      {"/dev/full", 64, 25, kAviErrFileWrite,
       "AVI Compressed Stream format setting failed. A disk error occurred while writing the "
       "file."},
      {empty, 3, 25, kAviErrBadFormat, bad_format}, // no frame area
      {empty, 64, 0, kAviErrBadFormat, bad_format},
      {dir + "/x.avi", 3, 25, kAviErrBadFormat, bad_format}, // checked before the file
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file + " " + std::to_string(c.w) + " " + std::to_string(c.fps));
    CAVIGenerator g;
    g.FrameRate = c.fps;
    g.SetBitmapHeader(c.w, 48);
    g.FileName = c.file;
    EXPECT_EQ(g.InitEngine(), c.code);
    EXPECT_EQ(g.ErrorText, c.text);
    g.ReleaseEngine();
    EXPECT_EQ(g.AviFile, nullptr);
    EXPECT_FALSE(std::filesystem::exists(empty));
  }
  std::filesystem::remove(pipe);
}

TEST(AviWriter, CancellingTheCompressionChoiceReturnsOneAndKeepsTheLastChoice) {
  const auto file = TempFile("cancel.avi");
  CAVIGenerator g;
  g.SetBitmapHeader(64, 48);
  g.FileName = file.string();
  g.Compression = {TCodec::Mjpeg, 75};
  TCompressionOptions offered;
  g.ChooseCompression = [&](TCompressionOptions& o) {
    offered = o;
    o.Codec = TCodec::Raw;
    return false;
  };
  EXPECT_EQ(g.InitEngine(), kAviCancelled);
  EXPECT_EQ(g.ErrorText, "Ok");
  EXPECT_EQ(offered.Codec, TCodec::Mjpeg); // the last choice is offered again
  EXPECT_EQ(offered.Quality, 75);
  EXPECT_EQ(g.Compression.Codec, TCodec::Mjpeg);
  EXPECT_EQ(g.ReleaseEngine(), 0);
  std::filesystem::remove(file);
}

TEST(AviWriter, FramesNeedAnOpenFileAndReleaseIsSafeAnyTime) {
  const auto file = TempFile("index.avi");
  CAVIGenerator g;
  EXPECT_EQ(g.ReleaseEngine(), 0); // never started
  g.SetBitmapHeader(8, 8);
  const TFrame f = NoiseFrame(8, 8, 0);
  EXPECT_LT(g.AddFrame(f.data()), 0);
  EXPECT_EQ(g.ErrorText, "AVI frame write failed. No AVI file is open.");
  g.FileName = file.string();
  ASSERT_EQ(g.InitEngine(), 0);
  ASSERT_EQ(g.AddFrame(f.data()), 0);
  EXPECT_LT(g.AddFrame(nullptr), 0);
  EXPECT_EQ(g.FrameIndex, 2); // counted whatever the result
  EXPECT_EQ(g.ReleaseEngine(), 0);
  const auto size = std::filesystem::file_size(file);
  EXPECT_EQ(g.ReleaseEngine(), 0); // repeated: the file is left alone
  EXPECT_EQ(std::filesystem::file_size(file), size);
  EXPECT_LT(g.AddFrame(f.data()), 0);
  std::filesystem::remove(file);
}

} // namespace KINEMO_UNITY_ID
} // namespace
