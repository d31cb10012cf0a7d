// The live line on standard error while a long action of the command line
// runs: ticks done of the action's total, simulated time, ticks per second,
// time left, and while recording the frames written and the file's size.
// It shows once an action has run for half a second and changes at most ten
// times a second. On a terminal it is rewritten in place and wiped when the
// action ends, so that what the run prints reads as without it; elsewhere
// (--progress) each update is a line of its own. Only this display reads the
// clock; the simulation knows nothing of it.
#pragma once

#include <chrono>
#include <ostream>
#include <string>

class TGL_Form;

class TProgressLine {
public:
  enum class TMode { Off, Terminal, Lines };
  // `columns`: the terminal's width (0 unknown); a line that wrapped could no
  // longer be rewritten in place, so it is cut to fit.
  TProgressLine(std::ostream& err, TMode mode, const TGL_Form& form, int columns = 0);
  ~TProgressLine() { End(); }
  TProgressLine(const TProgressLine&) = delete;
  TProgressLine& operator=(const TProgressLine&) = delete;

  // An action of `total` ticks starts (0: nothing to show for it).
  void Begin(const std::string& action, long long total);
  // `done` ticks of the action are over: a clock read, and now and then a line.
  void Tick(long long done) {
    if (total_ == 0) return;
    const TClock::time_point now = TClock::now();
    if (now >= next_) Show(done, now);
  }
  // The action is over: the line leaves the terminal. `keep` (a stopped
  // run): it stays there, ended, above what the run says next.
  void End(bool keep = false);

private:
  using TClock = std::chrono::steady_clock;
  void Show(long long done, TClock::time_point now);

  std::ostream& err_;
  TMode mode_;
  const TGL_Form& form_;
  std::size_t columns_;
  std::string action_;
  long long total_ = 0;
  TClock::time_point start_, next_;
  std::size_t shown_ = 0; // characters of the line on the terminal
};
