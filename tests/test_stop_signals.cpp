// SIGINT, SIGTERM and SIGHUP stop a headless run the way its end would: the
// recording and the data log are completed, nothing is left half-written, and
// the exit code is the shell's 128 + the signal. Nor does anything else the
// system does to a run (a reader gone, a file size limit, a FIFO) kill it, hang
// it or leave a temporary file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "avi_test_support.h"
#include "io/stop_signals.h"

namespace {
namespace KINEMO_UNITY_ID {

using namespace avitest;

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
  for (const int sig : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(TStopSignals::Name(sig));
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
              "--duration", "100000", "--state", "state.json", "--csv", "s.csv", "--do",
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
    EXPECT_EQ(err.rfind(std::string("kinemo: stopped by ") + TStopSignals::Name(sig), 0), 0u)
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

enum class TOut { File, ReaderGone, NeverRead };

struct TChildCase {
  const char* Name;
  std::vector<std::string> Args;
  TOut Out = TOut::File;
  rlim_t FileLimit = RLIM_INFINITY;
  int Signal = 0; // sent once the run has begun its files (a temporary one is there)
  int Code = 0;
  std::string Says;               // how standard error begins
  std::vector<std::string> Files; // what the folder holds after, besides err.txt and out.txt
};

// Runs the real program in `dir` as `c` says; its exit code, or 128 + the
// signal that killed it.
int RunChild(const TScratchDir& dir, const TChildCase& c) {
  int out[2] = {-1, -1};
  if (c.Out != TOut::File && ::pipe(out) != 0) return -1;
  if (c.Out == TOut::ReaderGone) ::close(out[0]);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::chdir(dir.Dir.c_str()) != 0) ::_exit(127);
    // The limit as `ulimit -f` sets it, its signal left as a shell leaves it.
    const rlimit limit{c.FileLimit, c.FileLimit};
    if (c.FileLimit != RLIM_INFINITY) ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_DFL);
    ::signal(SIGPIPE, SIG_DFL);
    const int to =
        c.Out == TOut::File ? ::open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644) : out[1];
    ::dup2(to, 1);
    ::dup2(::open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
    std::vector<std::string> args = {"kinemo", "--headless"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(KINEMO_BINARY, argv.data());
    ::_exit(127);
  }
  if (out[1] >= 0) ::close(out[1]);
  if (child < 0) return -1;
  int status = 0;
  const auto start = std::chrono::steady_clock::now();
  bool signalled = c.Signal == 0;
  std::chrono::steady_clock::time_point begun{};
  while (::waitpid(child, &status, WNOHANG) == 0) {
    const auto now = std::chrono::steady_clock::now();
    // Half a second after the run began: long enough to fill a pipe.
    if (!signalled && begun == std::chrono::steady_clock::time_point{}) {
      for (const auto& e : fs::directory_iterator(dir.Dir))
        if (e.path().filename().string().front() == '.') begun = now;
    }
    if (!signalled && begun != std::chrono::steady_clock::time_point{} &&
        now - begun > std::chrono::milliseconds(500))
      signalled = ::kill(child, c.Signal) == 0;
    if (now - start > std::chrono::seconds(120)) {
      ::kill(child, SIGKILL); // hung: the check below fails
      ::waitpid(child, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  if (out[0] >= 0 && c.Out == TOut::NeverRead) ::close(out[0]);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(StopSignals, NeitherAGoneReaderNorAFileLimitNorAFifoKillsOrHangsARun) {
  std::string many; // more report than a pipe holds
  for (int k = 0; k < 3000; ++k)
    many += "ticks:1 ";
  const std::string log = "combo:6 menu:Animate key:G key:E key:C ticks:2000 key:C";
  const TChildCase cases[] = {
      {"standard output's reader gone",
       {"--size", "64x48", "--record", "run.avi", "--duration", "1", "--csv", "s.csv", "--state",
        "s.json", "--do", "menu:Animate ticks:150"},
       TOut::ReaderGone,
       RLIM_INFINITY,
       0,
       0,
       "",
       {"run.avi", "s.csv", "s.json"}},
      {"standard output never read, then SIGTERM",
       {"--csv", "s.csv", "--do", many},
       TOut::NeverRead,
       RLIM_INFINITY,
       SIGTERM,
       143,
       "kinemo: stopped by SIGTERM",
       {}},
      {"a FIFO to --load",
       {"--load", "in.json", "--do", "ticks:1"},
       TOut::File,
       RLIM_INFINITY,
       0,
       2,
       "kinemo: Impossible d'ouvrir la scène in.json : ce n'est pas un fichier ordinaire",
       {"in.json"}},
      {"a file size limit, --csv",
       {"--csv", "s.csv", "--do", "menu:Animate ticks:20000"},
       TOut::File,
       100 << 10,
       0,
       1,
       "kinemo: cannot write s.csv: File too large",
       {"s.csv"}},
      {"a file size limit, --record",
       {"--size", "64x48", "--record", "run.avi", "--do", "menu:Animate ticks:300"},
       TOut::File,
       100 << 10,
       0,
       1,
       "kinemo: the recording to run.avi failed: ",
       {"run.avi"}},
      {"a file size limit, the data log",
       {"--do", log},
       TOut::File,
       100 << 10,
       0,
       1,
       "kinemo: Erreur d'écriture dans capture.dat : le journal est fermé (fichier trop grand "
       "pour le système)\n",
       {"capture.dat"}},
  };
  const std::string earlier = "earlier";
  for (const TChildCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScratchDir dir;
    ::mkfifo((dir / "in.json").c_str(), 0600);
    for (const char* name : {"s.csv", "run.avi"})
      std::ofstream(dir / name) << earlier;
    const int code = RunChild(dir, c);
    if (code == 3) SKIP_UNAVAILABLE(ReadFile(dir / "err.txt"));
    EXPECT_EQ(code, c.Code);
    const std::string err = ReadFile(dir / "err.txt");
    EXPECT_EQ(err.rfind(c.Says, 0), 0u) << err;
    if (c.Says.empty()) {
      EXPECT_EQ(err.find("kinemo:"), std::string::npos) << err;
    }
    // Nothing else is left, an earlier file is as it was unless replaced whole.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir.Dir))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = c.Files;
    expected.push_back("err.txt");
    if (c.Out == TOut::File) expected.push_back("out.txt");
    for (const char* kept : {"in.json", "run.avi", "s.csv"})
      if (std::find(expected.begin(), expected.end(), kept) == expected.end() &&
          fs::exists(dir / kept))
        expected.push_back(kept); // made by the test, untouched
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    if (c.Code == 0) {
      EXPECT_EQ(ReadAviLayout(dir / "run.avi").Error, "");
      EXPECT_EQ(ReadAviLayout(dir / "run.avi").Frames.size(), 25u);
      EXPECT_GT(fs::file_size(dir / "s.csv"), 1000u);
    } else {
      for (const char* name : {"s.csv", "run.avi"})
        EXPECT_EQ(ReadFile(dir / name), earlier) << name;
    }
    if (fs::exists(dir / "capture.dat")) {
      const auto size = fs::file_size(dir / "capture.dat");
      EXPECT_GT(size, 163u);
      EXPECT_EQ(size % 163, 0u);
    }
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
