// The progress line of long command-line actions, seen as a user sees it: the
// real program on a pseudo-terminal, and the same run through pipes.
#include <gtest/gtest.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

#include "platform/headless/runner.h"
#include "scratch.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TTerminalRun {
  int Code = -1;
  std::string Screen; // everything the terminal received
};

// Runs kinemo on a new pseudo-terminal (standard output and error both), and
// sends `signal` once the terminal has shown `wait_for`.
TTerminalRun OnTerminal(std::vector<std::string> args, int signal = 0,
                        const std::string& wait_for = "") {
  args.insert(args.begin(), {"kinemo", "--headless"});
  int master = -1;
  const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (child == 0) {
    std::vector<char*> argv;
    for (std::string& a : args)
      argv.push_back(a.data());
    argv.push_back(nullptr);
    ::signal(SIGINT, SIG_DFL);
    ::execv(KINEMO_BINARY, argv.data());
    ::_exit(127);
  }
  TTerminalRun r;
  if (child < 0) return r;
  bool sent = signal == 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  char buf[4096];
  ssize_t n = 0;
  while ((n = ::read(master, buf, sizeof buf)) > 0 && std::chrono::steady_clock::now() < deadline) {
    r.Screen.append(buf, static_cast<std::size_t>(n));
    if (!sent && r.Screen.find(wait_for) != std::string::npos) sent = ::kill(child, signal) == 0;
  }
  int status = 0;
  if (std::chrono::steady_clock::now() >= deadline) ::kill(child, SIGKILL);
  ::waitpid(child, &status, 0);
  ::close(master);
  r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

// The terminal's text without the progress line: each '\r' that does not end
// a line goes back to the line's start, as the terminal does.
std::string Settled(const std::string& screen) {
  std::string text, line;
  for (std::size_t i = 0; i < screen.size(); ++i) {
    const char c = screen[i];
    if (c == '\r' && i + 1 < screen.size() && screen[i + 1] == '\n') continue;
    if (c == '\r') {
      line.clear();
    } else if (c == '\n') {
      // Trailing blanks are what wiping the line leaves.
      text += line.substr(0, line.find_last_not_of(' ') + 1) + "\n";
      line.clear();
    } else {
      line += c;
    }
  }
  return text + line;
}

const std::string kLong = "key:Ctrl+M menu:Animate ticks:120000 ticks:3";

TEST(ProgressLine, OnATerminalItUpdatesInPlaceAndLeavesTheReportAsWithoutIt) {
  const TTerminalRun r = OnTerminal({"--do", kLong});
  ASSERT_EQ(r.Code, 0) << r.Screen;
  // Shown and rewritten: several updates, each from the line's start.
  std::size_t updates = 0;
  for (std::size_t at = 0; (at = r.Screen.find("\rticks:120000  ", at)) != std::string::npos; ++at)
    ++updates;
  EXPECT_GE(updates, 2u) << r.Screen;
  EXPECT_NE(r.Screen.find("/120000 ticks ("), std::string::npos);
  EXPECT_NE(r.Screen.find(" ticks/s  "), std::string::npos);
  EXPECT_NE(r.Screen.find(" left"), std::string::npos);

  // Once wiped, the terminal reads as the run's report does through a pipe.
  std::ostringstream out, err;
  ASSERT_EQ(RunHeadless({"--headless", "--do", kLong}, KINEMO_BUILD_DATA_DIR, out, err), 0);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(Settled(r.Screen), out.str());

  // --quiet: nothing at all, on a terminal or not.
  EXPECT_EQ(OnTerminal({"--quiet", "--do", kLong}).Screen, "");
  std::ostringstream quiet_out, quiet_err;
  EXPECT_EQ(RunHeadless({"--headless", "--quiet", "--do", kLong}, KINEMO_BUILD_DATA_DIR, quiet_out,
                        quiet_err),
            0);
  EXPECT_EQ(quiet_out.str() + quiet_err.str(), "");
}

TEST(ProgressLine, AStopLeavesTheLastLineEndedAndTheTerminalOnAFreshLine) {
  const TTerminalRun r = OnTerminal({"--do", "menu:Animate ticks:10000000"}, SIGINT, "ticks/s");
  EXPECT_EQ(r.Code, 130) << r.Screen;
  const std::size_t stop = r.Screen.find("kinemo: stopped by SIGINT");
  ASSERT_NE(stop, std::string::npos) << r.Screen;
  // The progress line ends where it stood; then the report, on lines of its own.
  const std::size_t last = r.Screen.rfind("\rticks:10000000  ", stop);
  ASSERT_NE(last, std::string::npos);
  const std::size_t end = r.Screen.find("\r\n", last);
  EXPECT_EQ(r.Screen.find('\r', last + 1), end);
  EXPECT_EQ(r.Screen.compare(end + 2, 15, "ticks:10000000 "), 0) << r.Screen.substr(end);
  EXPECT_EQ(r.Screen.substr(r.Screen.size() - 2), "\r\n");
}

// Elsewhere there is no line unless asked for; asked for, each update is a
// line of its own, for a program to read.
TEST(ProgressLine, ThroughPipesOnlyWhenAskedAndThenAsWholeLines) {
  TScratchDir dir;
  const std::string run = std::string("'") + KINEMO_BINARY + "' --headless --do '" + kLong + "'";
  ASSERT_EQ(std::system((run + " >'" + dir / "out" + "' 2>'" + dir / "err" + "'").c_str()), 0);
  std::ostringstream out, err;
  ASSERT_EQ(RunHeadless({"--headless", "--do", kLong}, KINEMO_BUILD_DATA_DIR, out, err), 0);
  EXPECT_EQ(ReadFile(dir / "out"), out.str());
  EXPECT_EQ(ReadFile(dir / "err"), "");

  ASSERT_EQ(std::system((run + " --progress >/dev/null 2>'" + dir / "err" + "'").c_str()), 0);
  const std::string lines = ReadFile(dir / "err");
  EXPECT_EQ(lines.find('\r'), std::string::npos);
  EXPECT_EQ(lines.rfind("ticks:120000  ", 0), 0u) << lines;
  EXPECT_EQ(lines.back(), '\n');
}

} // namespace KINEMO_UNITY_ID
} // namespace
