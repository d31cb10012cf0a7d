// The window's fields by name, after the simulation's own, for state dumps,
// scenes and determinism checks.
#include "window/gl_form.h"

void TGL_Form::VisitFields(TFieldVisitor& v) const {
  Sim.VisitFields(v);
  v.Field("DemoMode", DemoMode);
  v.Field("DemoPhase", DemoPhase);
  v.Field("DemoStep", DemoStep);
  v.Field("DemoLen1", DemoLen1);
  v.Field("DemoLen2", DemoLen2);
  v.Field("DemoLen3", DemoLen3);
  v.Field("DemoW2", DemoW2);
  v.Field("DemoW3", DemoW3);
  v.Field("LogOn", LogOn);
  v.Field("xv", xv);
  v.Field("zv", zv);
  v.Field("yv", yv);
  v.Field("zpos", zpos);
  v.Field("yrot", yrot);
  v.Field("yrotSmooth", yrotSmooth);
  v.Field("xrot", xrot);
  v.Field("CamStep", CamStep);
  v.Field("RightDrag", RightDrag);
  v.Field("LeftDrag", LeftDrag);
  v.Field("ShowDiagonals", ShowDiagonals);
  v.Field("LastMouseX", LastMouseX);
  v.Field("LastMouseY", LastMouseY);
  v.Field("ToothWidth", ToothWidth);
  v.Field("RailWidth", RailWidth);
  v.Field("FrameCount", FrameCount);
  v.Field("FrameWindowStart", FrameWindowStart);
  v.Field("Recording", Recording);
  v.Field("CaptureFps", CaptureFps);
  v.Field("CaptureDuration", CaptureDuration);
  v.Field("CaptureStartTime", CaptureStartTime);
  v.Field("CaptureFramesDue", CaptureFramesDue);
  v.Field("CaptureFramesDone", CaptureFramesDone);
  v.Field("CaptureResult", CaptureResult);
  v.BeginObject("Timer1");
  v.Field("Enabled", Timer1.Enabled);
  v.Field("Interval", Timer1.Interval);
  v.EndObject();
  // The view dialog's bars write their whole numbers back into the camera when
  // they move while it is shown, so where they stand shapes what follows.
  v.BeginObject("FormDlgView");
  v.Field("Visible", FormDlgView.Visible);
  v.Field("ScrollBarzpos", FormDlgView.ScrollBarzpos.Position);
  v.Field("ScrollBaryrot", FormDlgView.ScrollBaryrot.Position);
  v.Field("ScrollBarxrot", FormDlgView.ScrollBarxrot.Position);
  v.EndObject();
}
