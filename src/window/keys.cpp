// The keyboard command map: camera, global modes, then the selected device's
// own keys (each device class handles them). Every entry is tested in turn, so
// one key may act in several groups.
#include <algorithm>
#include <cmath>

#include "models/constants.h"
#include "window/gl_form.h"

namespace {

// Held W or X (auto-repeat) would drive the step to infinity or to zero, after
// which the camera turns NaN or stops moving: the step stays where every
// camera key still does something useful.
constexpr double kCamStepMin = 1e-4;
constexpr double kCamStepMax = 1e3;

} // namespace

void TGL_Form::FormKeyDown(std::uint16_t& Key, TShiftState Shift) {
  // The space bar, which nothing else reads: one tick, which draws its frame.
  if (Key == vk::Space) {
    PasAPas1Click();
    return;
  }
  const bool ctrl = (Shift & ssCtrl) != 0;
  const double a = yrot * kPi * (1.0 / 180);
  const double s = CamStep;
  auto pan_left = [&] {
    xv -= std::cos(a) * s;
    zv -= std::sin(a) * s;
  };
  auto pan_right = [&] {
    xv += std::cos(a) * s;
    zv += std::sin(a) * s;
  };
  auto pan_forward = [&] {
    xv += std::sin(a) * s;
    zv -= std::cos(a) * s;
  };
  auto pan_back = [&] {
    xv -= std::sin(a) * s;
    zv += std::cos(a) * s;
  };

  // Camera.
  if (Key == vk::Up) {
    zpos -= s;
    if (zpos < 0.01) zpos = 0.01;
  }
  if (Key == vk::Down) zpos += s;
  if (Key == vk::Left) pan_left();
  if (Key == vk::Right) pan_right();
  if (Key == vk::Prior) pan_forward();
  if (Key == vk::Next) pan_back();
  if (Key == vk::Letter('H')) yv += s;
  if (Key == vk::Letter('N')) yv -= s;
  if (Key == vk::Letter('W')) CamStep = std::min(CamStep * 1.5, kCamStepMax);
  if (Key == vk::Letter('X')) CamStep = std::max(CamStep * 2 / 3, kCamStepMin);
  if (!RightDrag) {
    if (Key == vk::Letter('Z')) {
      xrot += 2;
      if (xrot > 180) xrot -= 360;
    }
    if (Key == vk::Letter('S')) {
      xrot -= 2;
      if (xrot < -180) xrot += 360;
    }
    if (Key == vk::Letter('Q')) {
      yrot += 2;
      if (yrot > 180) yrot -= 360;
    }
    if (Key == vk::Letter('D') && !ctrl) {
      yrot -= 2;
      if (yrot < -180) yrot += 360;
    }
  } else {
    // With the right button held the same letters pan instead of turning.
    if (Key == vk::Letter('Z')) pan_forward();
    if (Key == vk::Letter('S')) pan_back();
    if (Key == vk::Letter('Q')) pan_left();
    if (Key == vk::Letter('D')) pan_right();
  }

  // Global modes.
  if (Key == vk::Letter('M') && ctrl) {
    Sim.SetAllAuto(!Sim.AllAuto);
  }
  if (Key == vk::Letter('A')) AnimateClick();
  if (Key == vk::Letter('T')) {
    ShowDiagonals = !ShowDiagonals;
    RebuildGrid(); // otherwise the toggle would only show after a restart
  }
  if (Key == vk::Letter('R')) ResetRobots();
  if (Key == vk::Letter('D') && ctrl) {
    DemoMode = !DemoMode;
    if (DemoMode) StartDemonstration(true);
  }

  // The selected device's own keys, after the camera and global ones.
  if (!Sim.Selected().KeyDown(Key, ctrl, *this)) return;

  RefreshViewDialog();
  if (!Timer1.Enabled) RenderScene();
}
