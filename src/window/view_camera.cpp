// The camera: mouse pan, rotation and zoom, and the view reset.
#include <cmath>

#include "models/constants.h"
#include "window/gl_form.h"

void TGL_Form::FormMouseDown(TMouseButton Button, TShiftState /*Shift*/, int X, int Y) {
  if (Button == TMouseButton::Left) {
    LeftDrag = true;
    StatusBar.Panels[1].Text = "Mouse moves screen";
  } else if (Button == TMouseButton::Right) {
    RightDrag = true;
    StatusBar.Panels[1].Text = "Mouse rotates screen";
  } else {
    return;
  }
  LastMouseX = X;
  LastMouseY = Y;
}

void TGL_Form::FormMouseUp(TMouseButton Button, TShiftState /*Shift*/, int /*X*/, int /*Y*/) {
  if (Button == TMouseButton::Left) LeftDrag = false;
  if (Button == TMouseButton::Right) RightDrag = false;
  StatusBar.Panels[1].Text = "Normal";
}

void TGL_Form::FormMouseMove(TShiftState /*Shift*/, int X, int Y) {
  if (LeftDrag) {
    // Pan in the ground plane, along the screen's axes as the azimuth turns them.
    const double a = yrot * kPi / 180;
    const double dX = (X - LastMouseX) / 300.0;
    const double dY = (Y - LastMouseY) / 300.0;
    xv -= std::cos(a) * dX;
    zv -= std::sin(a) * dX;
    xv += std::sin(a) * dY;
    zv -= std::cos(a) * dY;
    LastMouseX = X;
    LastMouseY = Y;
    RefreshViewDialog();
    if (!Timer1.Enabled) RenderScene();
  }
  if (RightDrag) {
    yrot += X - LastMouseX;
    if (yrot < -180) yrot += 360;
    if (yrot > 180) yrot -= 360;
    xrot += Y - LastMouseY;
    if (xrot > 180) xrot -= 360;
    if (xrot < -180) xrot += 360;
    LastMouseX = X;
    LastMouseY = Y;
    RefreshViewDialog();
    if (!Timer1.Enabled) RenderScene();
  }
}

void TGL_Form::FormMouseWheel(TShiftState /*Shift*/, int WheelDelta, TPoint /*MousePos*/) {
  zpos += WheelDelta * CamStep * 0.01;
  if (zpos < 0.01) zpos = 0.01;
  RefreshViewDialog();
  if (!Timer1.Enabled) RenderScene();
}

void TGL_Form::ResetView() {
  xv = zv = yv = 0;
  zpos = 2.0;
  yrot = -90;
  xrot = 30;
  CamStep = static_cast<double>(0.4f);
  RefreshViewDialog();
}

void TGL_Form::ResetviewClick() {
  ResetView();
  // Seen at once while paused, as after a camera key.
  if (!Timer1.Enabled) RenderScene();
}

void TGL_Form::CentreOnDevice() {
  // The view's ground plane is the devices' (x, y) with y along -z.
  const TRobot& r = Sim.Selected();
  xv = r.PosX * r.Scale;
  zv = -r.PosY * r.Scale;
}

void TGL_Form::CentreOnDeviceClick() {
  CentreOnDevice();
  RefreshViewDialog();
  if (!Timer1.Enabled) RenderScene();
}
