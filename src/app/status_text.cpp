// The telemetry line of the status bar, rebuilt after every frame.
#include "app/gl_form.h"
#include "app/number_text.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"

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
  const TRobot* sel = (*Robots)[RobSel];
  switch (sel->TypeCode) {
  case kTypeRobot4: {
    const auto* r = static_cast<const TRobot4*>(sel);
    s += ", RobSel:" + IntToStr(RobSel) + ", d:" + num(r->Steer) + ", dR:" + num(r->Theta) +
         ", PosX:" + num(r->PosX) + ", PosY:" + num(r->PosY) + ", FT:" + num(r->Traction) +
         ", Ffr:" + num(r->Friction) + ", Vit:" + num(r->Vit);
    break;
  }
  case kTypeRobotK: {
    const auto* r = static_cast<const TRobotK*>(sel);
    s += ", RobSel:" + IntToStr(RobSel) + ", PosX:" + num(r->PosX) + ", PosY:" + num(r->PosY) +
         ", WD:" + num(r->WheelR->SpinRate) + ", WG:" + num(r->WheelL->SpinRate) +
         ", Vit:" + num(r->Vit);
    break;
  }
  case kTypeMRVlin:
    s += ", fs:" + num(Fs) + ", DemoPhase:" + IntToStr(DemoPhase) +
         ", DemoStep:" + IntToStr(DemoStep);
    break;
  default:
    break;
  }
  StatusBar.Panels[0].Text = s;
}
