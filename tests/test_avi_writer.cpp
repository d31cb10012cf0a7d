// The AVI writer's contract as its owner sees it: frame size, file name,
// result codes and texts, and a release that is always safe.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

#include "avi_test_support.h"

using namespace avitest;

namespace {

TEST(AviWriter, FrameSizeIsTheClientSizeRoundedDownToMultiplesOfFour) {
  struct {
    int w, h, width, height;
    uint32_t bytes;
  } cases[] = {
      {722, 483, 720, 480, 1036800},
      {1280, 720, 1280, 720, 2764800},
      {4, 4, 4, 4, 48},
      {7, 9, 4, 8, 96},
      {3, 100, 0, 100, 0},
  };
  for (const auto& c : cases) {
    CAVIGenerator g;
    g.BitmapHeader.biXPelsPerMeter = 99; // cleared by the next call
    g.SetBitmapHeader(c.w, c.h);
    const TBitmapInfoHeader& b = g.BitmapHeader;
    SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
    EXPECT_EQ(b.biSize, 40u);
    EXPECT_EQ(b.biWidth, c.width);
    EXPECT_EQ(b.biHeight, c.height);
    EXPECT_EQ(b.biPlanes, 1);
    EXPECT_EQ(b.biBitCount, 24);
    EXPECT_EQ(b.biCompression, 0u);
    EXPECT_EQ(b.biSizeImage, c.bytes);
    EXPECT_EQ(b.biXPelsPerMeter, 0);
  }
}

TEST(AviWriter, MakeExtAviAppendsTheExtensionOnlyWhenAviIsNowhereInTheName) {
  const std::pair<const char*, const char*> cases[] = {
      {"film", "film.avi"},           {"capture", "capture.avi"},
      {"capture.avi", "capture.avi"}, {"film.AVI", "film.AVI.avi"}, // case-sensitive
      {"avion.txt", "avion.txt"},     {"", ".avi"},
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
  const std::string pipe = TempFile("pipe.avi").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  struct {
    const char* name;
    std::string file;
    int w, h;
    uint32_t fps;
    int32_t code;
    std::string text;
  } cases[] = {
      {"unwritable path", dir + "/x.avi", 64, 48, 25, kAviErrFileOpen,
       "AVI Engine failed to initialize. Check filename " + dir +
           "/x.avi.A disk error occurred while opening the file."},
      {"a pipe without a reader", pipe, 64, 48, 25, kAviErrFileOpen,
       "AVI Engine failed to initialize. Check filename " + pipe +
           ".A disk error occurred while opening the file."},
      {"full disk", "/dev/full", 64, 48, 25, kAviErrFileWrite,
       "AVI Compressed Stream format setting failed. A disk error occurred while writing the "
       "file."},
      {"no frame area", TempFile("empty.avi").string(), 3, 48, 25, kAviErrBadFormat,
       "AVI Stream creation failed. Check Bitmap info."},
      {"zero frame rate", TempFile("rate.avi").string(), 64, 48, 0, kAviErrBadFormat,
       "AVI Stream creation failed. Check Bitmap info."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CAVIGenerator g;
    g.FrameRate = c.fps;
    g.SetBitmapHeader(c.w, c.h);
    g.FileName = c.file;
    EXPECT_EQ(g.InitEngine(), c.code);
    EXPECT_EQ(g.ErrorText, c.text);
    g.ReleaseEngine();
    EXPECT_EQ(g.AviFile, nullptr);
    if (c.file.starts_with(std::filesystem::temp_directory_path().string() + "/kinemo_"))
      std::filesystem::remove(c.file);
  }
}

TEST(AviWriter, CancellingTheCompressionChoiceReturnsOneAndKeepsOk) {
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
  EXPECT_EQ(g.Compression.Codec, TCodec::Mjpeg); // a cancelled choice is not kept
  EXPECT_EQ(g.AviCompressedStream, nullptr);
  EXPECT_EQ(g.ReleaseEngine(), 0);
  EXPECT_EQ(g.ErrorText, "Ok");
  std::filesystem::remove(file);
}

TEST(AviWriter, ReleaseIsHarmlessWithoutAStartAndWhenRepeated) {
  CAVIGenerator idle;
  EXPECT_EQ(idle.ReleaseEngine(), 0);
  EXPECT_EQ(idle.ReleaseEngine(), 0);

  const auto file = TempFile("twice.avi");
  CAVIGenerator g;
  g.SetBitmapHeader(8, 8);
  g.FileName = file.string();
  ASSERT_EQ(g.InitEngine(), 0);
  const TFrame f = NoiseFrame(8, 8, 0);
  EXPECT_EQ(g.AddFrame(f.data()), 0);
  EXPECT_EQ(g.ReleaseEngine(), 0);
  const auto size = std::filesystem::file_size(file);
  EXPECT_EQ(g.ReleaseEngine(), 0);
  EXPECT_EQ(std::filesystem::file_size(file), size);
  EXPECT_EQ(g.ErrorText, "Ok");
  std::filesystem::remove(file);
}

TEST(AviWriter, FramesCountFromZeroAndAFrameWithoutAnOpenFileFails) {
  const auto file = TempFile("index.avi");
  CAVIGenerator g;
  g.SetBitmapHeader(8, 8);
  const TFrame f = NoiseFrame(8, 8, 0);
  EXPECT_LT(g.AddFrame(f.data()), 0);
  EXPECT_EQ(g.ErrorText, "AVI frame write failed. No AVI file is open.");

  g.FileName = file.string();
  ASSERT_EQ(g.InitEngine(), 0);
  EXPECT_EQ(g.FrameIndex, 0);
  for (int k = 0; k < 3; ++k)
    ASSERT_EQ(g.AddFrame(f.data()), 0);
  EXPECT_EQ(g.FrameIndex, 3);
  EXPECT_LT(g.AddFrame(nullptr), 0);
  EXPECT_EQ(g.FrameIndex, 4); // counted whatever the result
  g.ReleaseEngine();
  EXPECT_LT(g.AddFrame(f.data()), 0);
  std::filesystem::remove(file);
}

} // namespace
