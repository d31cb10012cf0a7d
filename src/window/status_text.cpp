// The telemetry line of the status bar, rebuilt after every frame.
#include "models/status_part.h"
#include "texts/number_text.h"
#include "window/gl_form.h"

std::string TGL_Form::StatusRatioText() const {
  const char sep = toolkit_.DecimalSeparator();
  // Simulated time stands still with a zero step: no finite ratio exists.
  if (Sim.Dt == 0) return ", dt:Tmr 1:\u221e";
  const double r = (Timer1.Interval * 0.001) / Sim.Dt;
  if (r >= 1) return ", dt:Tmr 1:" + FloatToStr(r, sep);
  if (r == 0) return ", dt:Tmr 1:0";
  return ", dt:Tmr " + FloatToStrF(1 / r, TFloatFormat::Fixed, 7, 3, sep) + ":1";
}

void TGL_Form::UpdateStatusText() {
  const char sep = toolkit_.DecimalSeparator();
  std::size_t place = 0;
  auto num = [&](double v) -> const std::string& {
    if (place == status_numbers_.size()) status_numbers_.emplace_back();
    return status_numbers_[place++].Get({TTextMemo<2>::Bits(v), static_cast<unsigned char>(sep)},
                                        [&] { return FloatToStr(v, sep); });
  };
  std::string s = "Fps:" + num(FrameCount);
  s += ", t:" + num(Sim.SimTime);
  s += ", timer:" + num(Timer1.Interval * 0.001);
  s += status_ratio_.Get({static_cast<std::uint32_t>(Timer1.Interval), TTextMemo<3>::Bits(Sim.Dt),
                          static_cast<unsigned char>(sep)},
                         [this] { return StatusRatioText(); });
  TStatusPart part;
  Sim.Robots[Sim.RobSel]->StatusPart({Sim.RobSel, Sim.Fs, DemoPhase, DemoStep}, part);
  for (const TStatusPart::TItem& item : part) {
    s += item.Label;
    s += item.Whole ? IntToStr(static_cast<std::int64_t>(item.Value)) : num(item.Value);
  }
  StatusBar.Panels[0].Text = s;
}
