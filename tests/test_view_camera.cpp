// The camera under the mouse, the view reset, and the view dialog's values with
// the scroll bars' write-back while it is shown.
#include <gtest/gtest.h>

#include <cmath>

#include "test_support.h"

namespace {

struct TCamera : TFormFixture {
  void Drag(TMouseButton b, int x0, int y0, int x1, int y1) {
    form->FormMouseDown(b, 0, x0, y0);
    form->FormMouseMove(0, x1, y1);
    form->FormMouseUp(b, 0, x1, y1);
  }
};

struct TPanCase {
  double yrot;
  int dx, dy;
  double dxv, dzv;
};

TEST(ViewMouse, PanMovesTheViewCentreAlongTheScreenAxes) {
  const TPanCase cases[] = {
      {0, 300, 0, -1, 0}, {0, 0, 300, 0, -1},  {90, 300, 0, 0, -1},
      {90, 0, 300, 1, 0}, {-90, 300, 0, 0, 1}, {0, -150, 0, 0.5, 0},
  };
  for (const TPanCase& c : cases) {
    TCamera t;
    t.form->yrot = c.yrot;
    const double xv = t.form->xv, zv = t.form->zv;
    t.Drag(TMouseButton::Left, 10, 20, 10 + c.dx, 20 + c.dy);
    EXPECT_NEAR(t.form->xv - xv, c.dxv, 1e-12) << c.yrot << " " << c.dx << "," << c.dy;
    EXPECT_NEAR(t.form->zv - zv, c.dzv, 1e-12) << c.yrot << " " << c.dx << "," << c.dy;
  }
  // Exactly: the 300-pixel pan at yrot 0 subtracts cos 0 * 1.
  TCamera t;
  t.form->yrot = 0;
  t.form->xv = 0.25;
  t.Drag(TMouseButton::Left, 0, 0, 300, 0);
  EXPECT_EQ(t.form->xv, 0.25 - 1.0);
}

struct TRotateCase {
  double yrot, xrot;
  int dx, dy;
  double want_yrot, want_xrot;
};

TEST(ViewMouse, RotationIsOneDegreePerPixelAndWraps) {
  const TRotateCase cases[] = {
      {180, 0, 0, 0, 180, 0},     {180, 0, 1, 0, -179, 0},  {-180, 0, -1, 0, 179, 0},
      {10, 170, 0, 15, 10, -175}, {0, -179, 0, -2, 0, 179}, {0, 4, 30, 20, 30, 24},
  };
  for (const TRotateCase& c : cases) {
    TCamera t;
    t.form->yrot = c.yrot;
    t.form->xrot = c.xrot;
    t.Drag(TMouseButton::Right, 50, 50, 50 + c.dx, 50 + c.dy);
    EXPECT_EQ(t.form->yrot, c.want_yrot) << c.yrot << " +" << c.dx;
    EXPECT_EQ(t.form->xrot, c.want_xrot) << c.xrot << " +" << c.dy;
  }
}

TEST(ViewMouse, WithBothButtonsThePanTakesTheMovement) {
  TCamera t;
  t.form->FormMouseDown(TMouseButton::Left, 0, 0, 0);
  t.form->FormMouseDown(TMouseButton::Right, 0, 0, 0);
  const double yrot = t.form->yrot, xv = t.form->xv;
  t.form->FormMouseMove(0, 30, 0);
  EXPECT_EQ(t.form->yrot, yrot);
  EXPECT_NE(t.form->xv, xv);
  EXPECT_EQ(t.form->LastMouseX, 30);
}

TEST(ViewMouse, ButtonsSetTheModeAndTheStatusPanel) {
  TCamera t;
  auto& panel = t.form->StatusBar.Panels[1].Text;
  t.form->FormMouseDown(TMouseButton::Left, 0, 5, 6);
  EXPECT_TRUE(t.form->LeftDrag);
  EXPECT_EQ(panel, "Mouse moves screen");
  EXPECT_EQ(t.form->LastMouseX, 5);
  EXPECT_EQ(t.form->LastMouseY, 6);
  t.form->FormMouseDown(TMouseButton::Right, 0, 7, 8);
  EXPECT_EQ(panel, "Mouse rotates screen");
  t.form->FormMouseUp(TMouseButton::Right, 0, 7, 8);
  EXPECT_FALSE(t.form->RightDrag);
  EXPECT_TRUE(t.form->LeftDrag);
  EXPECT_EQ(panel, "Normal");
  t.form->FormMouseDown(TMouseButton::Middle, 0, 99, 99);
  EXPECT_EQ(t.form->LastMouseX, 7);
  EXPECT_EQ(panel, "Normal");
  t.form->FormMouseUp(TMouseButton::Middle, 0, 99, 99);
  EXPECT_TRUE(t.form->LeftDrag);
  // Moves without a button held change nothing.
  t.form->FormMouseUp(TMouseButton::Left, 0, 0, 0);
  const double xv = t.form->xv, yrot = t.form->yrot;
  t.form->FormMouseMove(0, 500, 500);
  EXPECT_EQ(t.form->xv, xv);
  EXPECT_EQ(t.form->yrot, yrot);
}

TEST(ViewMouse, WheelZoomsByCamStepWithAFloor) {
  TCamera t;
  t.form->zpos = 1;
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_EQ(t.form->zpos, 1 + 120 * t.form->CamStep * 0.01);
  EXPECT_NEAR(t.form->zpos, 1.06, 1e-9);
  t.form->FormMouseWheel(0, -120 * 30, {});
  EXPECT_EQ(t.form->zpos, 0.01);
  t.form->ResetView();
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_NEAR(t.form->zpos, 2.48, 1e-8);
}

TEST(ViewMouse, RedrawsOnlyWhileThePauseHolds) {
  TCamera t;
  int swaps = t.tk.Swaps;
  t.Drag(TMouseButton::Right, 0, 0, 3, 3);
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_EQ(t.tk.Swaps, swaps + 2);
  t.form->Timer1.Enabled = true;
  swaps = t.tk.Swaps;
  t.Drag(TMouseButton::Left, 0, 0, 3, 3);
  t.form->FormMouseWheel(0, 120, {});
  EXPECT_EQ(t.tk.Swaps, swaps);
}

TEST(ViewReset, SetsTheResetCameraAndRefreshesTheDialog) {
  TCamera t;
  t.form->ResetviewClick();
  EXPECT_EQ(t.form->xv, 0);
  EXPECT_EQ(t.form->yv, 0);
  EXPECT_EQ(t.form->zv, 0);
  EXPECT_EQ(t.form->zpos, 2.0);
  EXPECT_EQ(t.form->yrot, -90);
  EXPECT_EQ(t.form->xrot, 30);
  EXPECT_EQ(t.form->CamStep, 0.4000000059604645);
  EXPECT_EQ(t.form->FormDlgView.IDC_EDITyrot, "-90");
  EXPECT_EQ(t.form->FormDlgView.ScrollBarxrot.Position, 30);
}

TEST(ViewDialog, ShowsTheValuesInSixDigitsAndTruncatedBarPositions) {
  TCamera t;
  t.form->xv = 1.0 / 3;
  t.form->zv = -1234567.0;
  t.form->yv = 0.015;
  t.form->zpos = 0.28;
  t.form->yrot = -179.9;
  t.form->xrot = 45.75;
  t.form->RefreshViewDialog();
  const TFormDlgViewModel& d = t.form->FormDlgView;
  EXPECT_EQ(d.IDC_EDITxv, "0.333333");
  EXPECT_EQ(d.IDC_EDITzv, "-1.23457E6");
  EXPECT_EQ(d.IDC_EDITyv, "0.015");
  EXPECT_EQ(d.IDC_EDITzpos, "0.28");
  EXPECT_EQ(d.IDC_EDITyrot, "-179.9");
  EXPECT_EQ(d.IDC_EDITxrot, "45.75");
  EXPECT_EQ(d.ScrollBarzpos.Position, 0);
  EXPECT_EQ(d.ScrollBaryrot.Position, -179);
  EXPECT_EQ(d.ScrollBarxrot.Position, 45);
  // Hidden: the bars follow without writing back.
  EXPECT_EQ(t.form->yrot, -179.9);

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
    if (visible) {
      EXPECT_EQ(t.form->zpos, 3);
      EXPECT_EQ(t.form->FormDlgView.IDC_EDITzpos, "3");
      EXPECT_EQ(t.tk.Swaps, swaps + 2); // the bar's redraw, then the wheel's
    } else {
      EXPECT_NEAR(t.form->zpos, 3.02, 1e-9);
      EXPECT_EQ(t.form->FormDlgView.IDC_EDITzpos, "3.02");
      EXPECT_EQ(t.tk.Swaps, swaps + 1);
    }
    EXPECT_EQ(t.form->FormDlgView.ScrollBarzpos.Position, 3);
  }
}

struct TEnterCase {
  const char* text;
  int bar_before;
  double want;
  const char* want_edit;
};

TEST(ViewDialog, EnterInTheDepthEditTakesTheValueThroughItsBar) {
  const TEnterCase cases[] = {
      {"2.5", 0, 2, "2"},     // the bar moves and writes its integer back
      {"2.5", 2, 2.5, "2.5"}, // the bar stays: the typed value is kept
      {"40", 0, 30, "30"},    // clamped by the bar's range
  };
  for (const TEnterCase& c : cases) {
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
}

TEST(ViewDialog, EnterInTheOtherEditsAndRejectedText) {
  TCamera t;
  TFormDlgViewModel& d = t.form->FormDlgView;
  d.Visible = true;
  t.tk.Separator = ',';
  d.IDC_EDITxv = "-2,25";
  t.form->IDC_EDITxvKeyPress(13);
  EXPECT_EQ(t.form->xv, -2.25);
  d.IDC_EDITyrot = "-45,5";
  t.form->IDC_EDITyrotKeyPress(13);
  EXPECT_EQ(t.form->yrot, -45); // its bar moved and wrote back
  d.IDC_EDITxrot = "12";
  t.form->IDC_EDITxrotKeyPress(13);
  EXPECT_EQ(t.form->xrot, 12);
  d.IDC_EDITyv = "abc";
  const double yv = t.form->yv;
  t.form->IDC_EDITyvKeyPress(13);
  EXPECT_EQ(t.form->yv, yv);
  ASSERT_EQ(t.tk.Messages.size(), 1u);
  EXPECT_NE(t.tk.Messages[0].Text.find("abc"), std::string::npos);
}

TEST(ViewDialog, ViewCommandTogglesTheDialog) {
  TCamera t;
  t.form->ViewClick();
  EXPECT_TRUE(t.form->FormDlgView.Visible);
  EXPECT_EQ(t.form->FormDlgView.IDC_EDITxv, "-1.5");
  t.form->ViewClick();
  EXPECT_FALSE(t.form->FormDlgView.Visible);
  ASSERT_EQ(t.tk.VisibilityChanges.size(), 2u);
  EXPECT_EQ(t.tk.VisibilityChanges[0], std::make_pair(TDialogId::View, true));
  EXPECT_EQ(t.tk.VisibilityChanges[1], std::make_pair(TDialogId::View, false));
}

} // namespace
