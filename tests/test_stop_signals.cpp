// SIGINT and SIGTERM stop a headless run the way its end would: the recording
// and the data log are completed, nothing is left half-written, and the exit
// code is the shell's 128 + the signal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "avi_test_support.h"
#include "io/stop_signals.h"

using namespace avitest;

namespace {

namespace fs = std::filesystem;

TEST(StopSignals, TheHandlerOnlyNotesTheFirstSignalAndWakesThePipe) {
  {
    TStopSignals stop;
    EXPECT_EQ(TStopSignals::Received(), 0);
    ASSERT_GE(TStopSignals::Fd(), 0);
    ::raise(SIGTERM);
    ::raise(SIGINT);
    EXPECT_EQ(TStopSignals::Received(), SIGTERM);
    char byte = 0;
    EXPECT_EQ(::read(TStopSignals::Fd(), &byte, 1), 1);
    EXPECT_EQ(TStopSignals::ExitCode(SIGTERM), 143);
    EXPECT_EQ(TStopSignals::ExitCode(SIGINT), 130);
  }
  // The earlier handlers are back, and the stop ended with its run: a later
  // run in the same process is not cut short by it.
  EXPECT_EQ(TStopSignals::Received(), 0);
  struct sigaction now {};
  ::sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(StopSignals, AStoppedHeadlessRunCompletesItsRecordingAndDataLog) {
  for (const int sig : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(sig == SIGINT ? "SIGINT" : "SIGTERM");
    TScratchDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // A shell's background job would ignore SIGINT; the test wants it heard.
      ::signal(SIGINT, SIG_DFL);
      if (::chdir(dir.Dir.c_str()) != 0) ::_exit(127);
      const int out = ::open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      const int err = ::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(out, 1);
      ::dup2(err, 2);
      ::execl(KINEMO_BINARY, "kinemo", "--headless", "--size", "64x48", "--record", "run.avi",
              "--duration", "100000", "--state", "state.json", "--do",
              "select:6 key:C menu:Animate ticks:10000000", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // A failed check must not leave the run going.
    struct TReaper {
      pid_t Pid;
      ~TReaper() {
        if (Pid > 0 && ::waitpid(Pid, nullptr, WNOHANG) == 0) {
          ::kill(Pid, SIGKILL);
          ::waitpid(Pid, nullptr, 0);
        }
      }
    } reaper{child};
    // The video is under its name after its first second.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!fs::exists(dir / "run.avi") && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(fs::exists(dir / "run.avi")) << ReadFile(dir / "err.txt");
    ::kill(child, sig);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    reaper.Pid = 0;
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + sig);
    const std::string err = ReadFile(dir / "err.txt");
    EXPECT_EQ(
        err.rfind(std::string("kinemo: stopped by ") + (sig == SIGINT ? "SIGINT" : "SIGTERM"), 0),
        0u)
        << err;

    // Completed: every frame indexed, the legacy index there, nothing after.
    const TAviLayout l = ReadAviLayout(dir / "run.avi");
    ASSERT_EQ(l.Error, "");
    EXPECT_GE(l.Frames.size(), 25u);
    EXPECT_EQ(l.StrhLength, l.Frames.size());
    EXPECT_EQ(l.AvihFrames, l.Frames.size());
    EXPECT_NE(l.Flags & 0x10, 0u);
    uint64_t riffs = 0;
    for (const auto& c : RiffChunks(dir / "run.avi"))
      riffs += c.Bytes;
    EXPECT_EQ(riffs, fs::file_size(dir / "run.avi"));
    EXPECT_NE(err.find(std::to_string(l.Frames.size()) + " frames recorded to run.avi"),
              std::string::npos)
        << err;
    if (HaveDecoder()) {
      EXPECT_EQ(Probe(dir / "run.avi").FramesRead, long(l.Frames.size()));
    }

    // The log: its header and whole lines of 162 characters.
    const std::string log = ReadFile(dir / "capture.dat");
    EXPECT_GT(log.size(), 163u);
    EXPECT_EQ(log.size() % 163, 0u);
    EXPECT_EQ(log.back(), '\n');
    // No state of a run cut short, no temporary file.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Dir))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, std::vector<std::string>({"capture.dat", "err.txt", "out.txt", "run.avi"}));
  }
}

} // namespace
