// The telemetry line of the status bar, rebuilt after every frame.
#include "app/gl_form.h"
#include "app/number_text.h"
#include "models/status_part.h"

std::string TGL_Form::StatusRatioText() const {
  const char sep = toolkit_.DecimalSeparator();
  // Simulated time stands still with a zero step: no finite ratio exists.
  if (Dt == 0) return ", dt:Tmr 1:\u221e";
  const double r = (Timer1.Interval * 0.001) / Dt;
  if (r >= 1) return ", dt:Tmr 1:" + FloatToStr(r, sep);
  if (r == 0) return ", dt:Tmr 1:0";
  return ", dt:Tmr " + FloatToStrF(1 / r, TFloatFormat::Fixed, 7, 3, sep) + ":1";
}

void TGL_Form::UpdateStatusText() {
  const char sep = toolkit_.DecimalSeparator();
  auto num = [sep](double v) { return FloatToStr(v, sep); };
  std::string s = "Fps:" + num(FrameCount) + ", t:" + num(SimTime) +
                  ", timer:" + num(Timer1.Interval * 0.001) + StatusRatioText();
  TStatusPart part;
  (*Robots)[RobSel]->StatusPart({RobSel, Fs, DemoPhase, DemoStep}, part);
  for (const TStatusPart::TItem& item : part)
    s += item.Label +
         (item.Whole ? IntToStr(static_cast<std::int64_t>(item.Value)) : num(item.Value));
  StatusBar.Panels[0].Text = s;
}
