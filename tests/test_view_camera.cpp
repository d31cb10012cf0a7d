// The camera under the mouse, the view reset, and the view dialog's values with
// the scroll bars' write-back while it is shown.
#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TCamera : TFormFixture {
  void Drag(TMouseButton b, int x0, int y0, int x1, int y1) {
    form->FormMouseDown(b, 0, x0, y0);
    form->FormMouseMove(0, x1, y1);
    form->FormMouseUp(b, 0, x1, y1);
  }
};

TEST(ViewMouse, PanFollowsTheScreenAxesAndRotationIsOneDegreePerPixelWithWrap) {
  const struct {
    TMouseButton button;
    double yrot, xrot;
    int dx, dy;
    double want_x, want_z; // pan: change of xv, zv; rotation: yrot, xrot after
  } cases[] = {
      {TMouseButton::Left, 0, 4, 300, 0, -1, 0},
      {TMouseButton::Left, 0, 4, 0, 300, 0, -1},
      {TMouseButton::Left, 90, 4, 300, 0, 0, -1},
      {TMouseButton::Left, 90, 4, 0, 300, 1, 0},
      {TMouseButton::Left, -90, 4, 300, 0, 0, 1},
      {TMouseButton::Left, 0, 4, -150, 0, 0.5, 0},
      {TMouseButton::Right, 180, 0, 1, 0, -179, 0},
      {TMouseButton::Right, -180, 0, -1, 0, 179, 0},
      {TMouseButton::Right, 10, 170, 0, 15, 10, -175},
      {TMouseButton::Right, 0, -179, 0, -2, 0, 179},
      {TMouseButton::Right, 0, 4, 30, 20, 30, 24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.yrot << " " << c.xrot << " +" << c.dx << "," << c.dy);
    TCamera t;
    t.form->yrot = c.yrot;
    t.form->xrot = c.xrot;
    const double xv = t.form->xv, zv = t.form->zv;
    t.Drag(c.button, 10, 20, 10 + c.dx, 20 + c.dy);
    if (c.button == TMouseButton::Left) {
      EXPECT_NEAR(t.form->xv - xv, c.want_x, 1e-12);
      EXPECT_NEAR(t.form->zv - zv, c.want_z, 1e-12);
    } else {
      EXPECT_EQ(t.form->yrot, c.want_x);
      EXPECT_EQ(t.form->xrot, c.want_z);
    }
  }
}

TEST(ViewMouse, ButtonsSetTheModeAndTheStatusPanelAndThePanWinsOverRotation) {
  TCamera t;
  auto& panel = t.form->StatusBar.Panels[1].Text;
  t.form->FormMouseDown(TMouseButton::Left, 0, 5, 6);
  EXPECT_EQ(panel, "Mouse moves screen");
  t.form->FormMouseDown(TMouseButton::Right, 0, 5, 6);
  EXPECT_EQ(panel, "Mouse rotates screen");
  const double yrot = t.form->yrot, xv = t.form->xv;
  t.form->FormMouseMove(0, 30, 6);
  EXPECT_EQ(t.form->yrot, yrot);
  EXPECT_NE(t.form->xv, xv);
  t.form->FormMouseUp(TMouseButton::Right, 0, 30, 6);
  EXPECT_TRUE(t.form->LeftDrag);
  EXPECT_EQ(panel, "Normal");
  t.form->FormMouseDown(TMouseButton::Middle, 0, 99, 99); // ignored
  EXPECT_EQ(t.form->LastMouseX, 30);
  t.form->FormMouseUp(TMouseButton::Middle, 0, 99, 99);
  EXPECT_TRUE(t.form->LeftDrag);
  // Moves without a button held change nothing.
  t.form->FormMouseUp(TMouseButton::Left, 0, 0, 0);
  const double xv2 = t.form->xv;
  t.form->FormMouseMove(0, 500, 500);
  EXPECT_EQ(t.form->xv, xv2);
  EXPECT_EQ(t.form->yrot, yrot);
}

TEST(ViewMouse, WheelZoomsByCamStepWithAFloorAndRedrawsOnlyWhilePaused) {
  TCamera t;
  t.form->zpos = 1;
  int swaps = t.tk.Swaps;
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_EQ(t.form->zpos, 1 + 120 * t.form->CamStep * 0.01);
  t.form->FormMouseWheel(0, -120 * 30, {});
  EXPECT_EQ(t.form->zpos, 0.01);
  t.Drag(TMouseButton::Right, 0, 0, 3, 3);
  EXPECT_EQ(t.tk.Swaps, swaps + 3);
  t.form->Timer1.Enabled = true;
  swaps = t.tk.Swaps;
  t.Drag(TMouseButton::Left, 0, 0, 3, 3);
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_EQ(t.tk.Swaps, swaps);
}

TEST(ViewReset, SetsTheResetCameraAndRefreshesTheDialog) {
  TCamera t;
  t.form->ResetviewClick();
  const TGL_Form& f = *t.form;
  EXPECT_EQ(std::vector<double>({f.xv, f.yv, f.zv, f.zpos, f.yrot, f.xrot}),
            std::vector<double>({0, 0, 0, 2.0, -90, 30}));
  EXPECT_EQ(f.CamStep, 0.4000000059604645);
  EXPECT_EQ(f.FormDlgView.IDC_EDITyrot, "-90");
  EXPECT_EQ(f.FormDlgView.ScrollBarxrot.Position, 30);
}

TEST(ViewDialog, ShowsTheValuesInSixDigitsAndTruncatedBarPositions) {
  TCamera t;
  t.form->xv = 1.0 / 3;
  t.form->zv = -1234567.0;
  t.form->yrot = -179.9;
  t.form->xrot = 45.75;
  t.form->RefreshViewDialog();
  const TFormDlgViewModel& d = t.form->FormDlgView;
  EXPECT_EQ(d.IDC_EDITxv, "0.333333");
  EXPECT_EQ(d.IDC_EDITzv, "-1.23457E6");
  EXPECT_EQ(d.IDC_EDITzpos, "0.28");
  EXPECT_EQ(d.IDC_EDITxrot, "45.75");
  EXPECT_EQ(d.ScrollBarzpos.Position, 0);
  EXPECT_EQ(d.ScrollBaryrot.Position, -179);
  EXPECT_EQ(d.ScrollBarxrot.Position, 45);
  EXPECT_EQ(t.form->yrot, -179.9); // hidden: the bars follow without writing back
  t.tk.Separator = ',';
  t.form->zpos = 31.5;
  t.form->RefreshViewDialog();
  EXPECT_EQ(d.IDC_EDITzpos, "31,5");
  EXPECT_EQ(d.ScrollBarzpos.Position, 30);
  // Values no integer can hold still give a position in range.
  for (double v : {1e300, -1e300, std::nan("")}) {
    t.form->zpos = t.form->yrot = v;
    t.form->RefreshViewDialog();
    EXPECT_GE(d.ScrollBarzpos.Position, 0);
    EXPECT_LE(d.ScrollBarzpos.Position, 30);
    EXPECT_GE(d.ScrollBaryrot.Position, -180);
    EXPECT_LE(d.ScrollBaryrot.Position, 180);
  }
}

TEST(ViewDialog, ShownBarsWriteTheirIntegerBackIntoTheView) {
  for (bool visible : {true, false}) {
    TCamera t;
    t.form->zpos = 2.96;
    t.form->RefreshViewDialog();
    t.form->FormDlgView.Visible = visible;
    const int swaps = t.tk.Swaps;
    t.form->FormMouseWheel(0, 120, {}); // 2.96 -> 3.02, the bar moves from 2 to 3
    EXPECT_EQ(t.form->FormDlgView.ScrollBarzpos.Position, 3);
    EXPECT_EQ(t.form->FormDlgView.IDC_EDITzpos, visible ? "3" : "3.02");
    EXPECT_EQ(t.tk.Swaps, swaps + (visible ? 2 : 1)); // the bar's redraw, then the wheel's
    EXPECT_NEAR(t.form->zpos, visible ? 3 : 3.02, visible ? 0 : 1e-9);
  }
}

TEST(ViewDialog, EnterInAnEditTakesTheValueThroughItsBar) {
  const struct {
    const char* text;
    int bar_before;
    double want;
    const char* want_edit;
  } cases[] = {
      {"2.5", 0, 2, "2"},     // the bar moves and writes its integer back
      {"2.5", 2, 2.5, "2.5"}, // the bar stays: the typed value is kept
      {"40", 0, 30, "30"},    // clamped by the bar's range
  };
  for (const auto& c : cases) {
    TCamera t;
    TFormDlgViewModel& d = t.form->FormDlgView;
    t.form->zpos = c.bar_before;
    t.form->RefreshViewDialog();
    d.Visible = true;
    d.IDC_EDITzpos = c.text;
    t.form->IDC_EDITzposKeyPress('5'); // ordinary typing
    EXPECT_EQ(t.form->zpos, c.bar_before);
    t.form->IDC_EDITzposKeyPress(13);
    EXPECT_EQ(t.form->zpos, c.want) << c.text << " over " << c.bar_before;
    EXPECT_EQ(d.IDC_EDITzpos, c.want_edit);
  }
  TCamera t;
  TFormDlgViewModel& d = t.form->FormDlgView;
  d.Visible = true;
  t.tk.Separator = ',';
  d.IDC_EDITxv = "-2,25";
  t.form->IDC_EDITxvKeyPress(13);
  EXPECT_EQ(t.form->xv, -2.25);
  d.IDC_EDITyrot = "-45,5";
  t.form->IDC_EDITyrotKeyPress(13);
  EXPECT_EQ(t.form->yrot, -45);
  d.IDC_EDITyv = "abc";
  const double yv = t.form->yv;
  t.form->IDC_EDITyvKeyPress(13);
  EXPECT_EQ(t.form->yv, yv);
  ASSERT_EQ(t.tk.Messages.size(), 1u);
  EXPECT_NE(t.tk.Messages[0].Text.find("abc"), std::string::npos);
}

} // namespace KINEMO_UNITY_ID
} // namespace
