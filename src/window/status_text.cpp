// The telemetry line of the status bar. Each frame notes the values it shows;
// the text is made from them only when someone reads it, so a run that nobody
// watches (a program stepping the simulation) does not pay for the formatting.
#include "models/status_part.h"
#include "texts/number_text.h"
#include "window/gl_form.h"

std::string TGL_Form::StatusRatioText() const {
  return StatusRatioText(Timer1.Interval, Sim.Dt, toolkit_.DecimalSeparator());
}

std::string TGL_Form::StatusRatioText(int interval, double dt, char sep) {
  // Simulated time stands still with a zero step: no finite ratio exists.
  if (dt == 0) return ", dt:Tmr 1:\u221e";
  const double r = (interval * 0.001) / dt;
  if (r >= 1) return ", dt:Tmr 1:" + FloatToStr(r, sep);
  if (r == 0) return ", dt:Tmr 1:0";
  return ", dt:Tmr " + FloatToStrF(1 / r, TFloatFormat::Fixed, 7, 3, sep) + ":1";
}

void TGL_Form::UpdateStatusText() {
  TStatusSnapshot& s = status_;
  s.Frames = FrameCount;
  s.Time = Sim.SimTime;
  s.Interval = Timer1.Interval;
  s.Dt = Sim.Dt;
  s.Separator = toolkit_.DecimalSeparator();
  s.Part = TStatusPart{};
  Sim.Selected().StatusPart({Sim.RobSel, Sim.Fs, DemoPhase, DemoStep}, s.Part);
  status_stale_ = true;
}

const std::string& TGL_Form::StatusText() const {
  std::string& text = StatusBar.Panels[0].Text;
  if (!status_stale_) return text;
  status_stale_ = false;
  MakeStatusText(status_.Separator, text);
  return text;
}

std::string TGL_Form::StatusTextForFiles() const {
  // Made when the line is; a file never depends on the user's separator.
  const std::string& shown = StatusText();
  if (shown.empty() || status_.Separator == '.') return shown;
  std::string text;
  MakeStatusText('.', text);
  return text;
}

void TGL_Form::MakeStatusText(char sep, std::string& text) const {
  const TStatusSnapshot& snap = status_;
  std::size_t place = 0;
  auto num = [&](double v) -> const std::string& {
    if (place == status_numbers_.size()) status_numbers_.emplace_back();
    return status_numbers_[place++].Get({TTextMemo<2>::Bits(v), static_cast<unsigned char>(sep)},
                                        [&] { return FloatToStr(v, sep); });
  };
  text = "Fps:" + num(snap.Frames);
  text += ", t:" + num(snap.Time);
  text += ", timer:" + num(snap.Interval * 0.001);
  text += status_ratio_.Get({static_cast<std::uint32_t>(snap.Interval), TTextMemo<3>::Bits(snap.Dt),
                             static_cast<unsigned char>(sep)},
                            [&] { return StatusRatioText(snap.Interval, snap.Dt, sep); });
  for (const TStatusPart::TItem& item : snap.Part) {
    text += item.Label;
    text += item.Whole ? IntToStr(static_cast<std::int64_t>(item.Value)) : num(item.Value);
  }
}

void TGL_Form::SeparatorChanged() {
  const char sep = toolkit_.DecimalSeparator();
  // A line already shown is made again from the same frame's values.
  if (sep != status_.Separator && !StatusBar.Panels[0].Text.empty()) status_stale_ = true;
  status_.Separator = sep;
  RefreshViewEdits();
}
