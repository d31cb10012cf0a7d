// The command line's pictures: screenshots, their size, and what happens where
// no OpenGL context can be had.
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/headless/runner.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
  int code;
  std::string out, err;
};

TRun RunKinemo(std::vector<std::string> args) {
  std::ostringstream out, err;
  args.insert(args.begin(), "--headless");
  const int code = RunHeadless(args, out, err);
  return {code, out.str(), err.str()};
}

std::string Slurp(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), {}};
}

fs::path Temp(const std::string& name) {
  return fs::temp_directory_path() /
         ("kinemo_" + std::to_string(::getpid()) + "_" +
          ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name);
}

// Width and height from a PNG's header chunk.
std::pair<unsigned, unsigned> PngSize(const std::string& png) {
  auto be32 = [&](std::size_t at) {
    return (unsigned(std::uint8_t(png[at])) << 24) | (unsigned(std::uint8_t(png[at + 1])) << 16) |
           (unsigned(std::uint8_t(png[at + 2])) << 8) | unsigned(std::uint8_t(png[at + 3]));
  };
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  return {be32(16), be32(20)};
}

TEST(RunnerScreenshot, WritesTheViewAtTheRequestedSizeTheSameOnEveryRun) {
  const fs::path a = Temp("a.png"), b = Temp("b.png"), c = Temp("c.png");
  const TRun ra = RunKinemo({"--do", "menu:Animate ticks:20", "--screenshot", a.string()});
  if (ra.code == 3) GTEST_SKIP() << ra.err;
  ASSERT_EQ(ra.code, 0) << ra.err;
  EXPECT_EQ(PngSize(Slurp(a)), std::make_pair(1280u, 720u));
  ASSERT_EQ(RunKinemo({"--do", "menu:Animate ticks:20", "--screenshot", b.string()}).code, 0);
  EXPECT_EQ(Slurp(a), Slurp(b));
  const TRun rc =
      RunKinemo({"--size", "320x200", "--do", "menu:Resetview paint", "--screenshot", c.string()});
  ASSERT_EQ(rc.code, 0) << rc.err;
  EXPECT_EQ(PngSize(Slurp(c)), std::make_pair(320u, 200u));
  for (const auto& p : {a, b, c})
    fs::remove(p);
}

TEST(RunnerScreenshot, InvalidSizesAreRejectedBeforeAnythingRuns) {
  for (const char* size : {"0x5", "10", "x10", "10x", "-1x5", "99999x10", "10x10x", "axb", ""}) {
    const fs::path p = Temp("never.png");
    const TRun r = RunKinemo({"--size", size, "--screenshot", p.string()});
    EXPECT_EQ(r.code, 2) << size;
    EXPECT_NE(r.err.find("--size"), std::string::npos) << size;
    EXPECT_FALSE(fs::exists(p)) << size;
  }
}

// Runs the real program in an environment where the GL dispatch finds no EGL
// vendor, so no display can be had.
TEST(RunnerScreenshot, WithoutADisplayTheRunGoesOnAndOnlyPicturesFail) {
  const fs::path state_gl = Temp("gl.json"), state_none = Temp("none.json"), png = Temp("x.png"),
                 err = Temp("err.txt");
  ASSERT_EQ(RunKinemo({"--do", "menu:Animate ticks:150", "--state", state_gl.string()}).code, 0);
  const std::string cmd =
      "__EGL_VENDOR_LIBRARY_FILENAMES=/nonexistent.json '" + std::string(KINEMO_BINARY) +
      "' --headless --do 'menu:Animate ticks:150' --state '" + state_none.string() +
      "' --screenshot '" + png.string() + "' >/dev/null 2>'" + err.string() + "'";
  const int status = std::system(cmd.c_str());
  ASSERT_NE(status, -1);
  const int code = WEXITSTATUS(status);
  if (code == 0) GTEST_SKIP() << "EGL still available in this environment";
  EXPECT_EQ(code, 3);
  const std::string message = Slurp(err);
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  EXPECT_FALSE(fs::exists(png));
  // Frames are counted without a context too, so the dumps agree to the bit.
  EXPECT_EQ(Slurp(state_none), Slurp(state_gl));
  for (const auto& p : {state_gl, state_none, png, err})
    fs::remove(p);
}

} // namespace
