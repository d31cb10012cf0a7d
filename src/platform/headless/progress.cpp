#include "platform/headless/progress.h"

#include <cstdio>

#include "window/gl_form.h"

namespace {

constexpr auto kFirst = std::chrono::milliseconds(500);
constexpr auto kEvery = std::chrono::milliseconds(100);

std::string Duration(double seconds) {
  const long long s = static_cast<long long>(seconds + 0.5);
  char text[48];
  if (s < 60)
    std::snprintf(text, sizeof text, "%lld s", s);
  else if (s < 3600)
    std::snprintf(text, sizeof text, "%lld min %02lld s", s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%lld h %02lld min", s / 3600, s / 60 % 60);
  return text;
}

} // namespace

TProgressLine::TProgressLine(std::ostream& err, TMode mode, const TGL_Form& form, int columns)
    : err_(err), mode_(mode), form_(form), columns_(columns > 1 ? columns - 1 : 0) {}

void TProgressLine::Begin(const std::string& action, long long total) {
  End();
  if (mode_ == TMode::Off || total <= 0) return;
  action_ = action;
  total_ = total;
  start_ = TClock::now();
  next_ = start_ + kFirst;
}

void TProgressLine::Show(long long done, TClock::time_point now) {
  next_ = now + kEvery;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const double rate = elapsed > 0 ? static_cast<double>(done) / elapsed : 0;
  char text[256];
  int n =
      std::snprintf(text, sizeof text, "%s  %lld/%lld ticks (%lld%%)  t=%.6g s  %.0f ticks/s",
                    action_.c_str(), done, total_, done * 100 / total_, form_.Sim.SimTime, rate);
  std::string line(text, static_cast<std::size_t>(n > 0 ? n : 0));
  if (rate > 0) line += "  " + Duration(static_cast<double>(total_ - done) / rate) + " left";
  if (form_.Recording) {
    const double bytes =
        form_.AviGen.AviFile ? static_cast<double>(form_.AviGen.AviFile->Bytes()) : 0.0;
    std::snprintf(text, sizeof text, "  %d frames, %.1f MB", form_.AviGen.FrameIndex, bytes / 1e6);
    line += text;
  }
  if (mode_ == TMode::Lines) {
    err_ << line << '\n' << std::flush;
    return;
  }
  if (columns_ > 0 && line.size() > columns_) line.resize(columns_);
  // Blanks over what is left of a longer line: no terminal codes needed.
  const std::size_t length = line.size();
  if (length < shown_) line.append(shown_ - length, ' ');
  err_ << '\r' << line << std::flush;
  shown_ = length;
}

void TProgressLine::End(bool keep) {
  if (shown_ > 0 && keep) err_ << '\n' << std::flush;
  if (shown_ > 0 && !keep) err_ << '\r' << std::string(shown_, ' ') << '\r' << std::flush;
  shown_ = 0;
  total_ = 0;
}
