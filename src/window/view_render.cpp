// One frame of the 3D view, and the frame counter shown in the status line.
#include "window/gl_form.h"

void TGL_Form::RenderScene() {
  RenderFrame(View.Ready());
}

void TGL_Form::RenderFrame(bool draw) {
  // What the frame shows of the models is set whether it is drawn or not.
  Sim.PrepareFrame();
  if (FollowDevice) {
    CentreOnDevice();
    RefreshViewDialog();
  }
  frame_pending_ = View.Ready() && !draw;
  if (draw) DrawScene();
  MeasureFrameRate();
  toolkit_.SwapBuffers();
  UpdateStatusText();
}

void TGL_Form::DrawPendingFrame() {
  if (!frame_pending_ || !View.Ready()) return;
  frame_pending_ = false;
  DrawScene();
}

void TGL_Form::DrawScene() {
  View.Draw(Sim, {xv, zv, yv, zpos, yrot, xrot}, {ToothWidth, RailWidth});
}

void TGL_Form::MeasureFrameRate() {
  const float t = static_cast<float>(toolkit_.TickCountMs() * 0.001);
  FrameCount += 1;
  if (t - FrameWindowStart > 1.0) {
    FrameWindowStart = t;
    FrameCount = 0;
  }
}
