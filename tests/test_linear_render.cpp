// The rails, the carriages and the tooth inset as they appear on screen.
#include <GL/gl.h>

#include "gl_test_support.h"
#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"

namespace {
namespace KINEMO_UNITY_ID {

using TLinearRender = TGLFormTest;

int CountAll(const TFrame& f, TRgb c, int tol = 3) {
  int n = 0;
  for (int y = 0; y < f.H; ++y)
    for (int x = 0; x < f.W; ++x)
      if (Near(f.At(x, y), c, tol)) ++n;
  return n;
}

const TRgb kToothTop{0.55f, 0.55f, 0.55f};

TEST_F(TLinearRender, TheLoopAndTheMagnetRailAreSeenFromAbove) {
  LookDownAt(0.0, 0.9, 2.5);
  form->RenderScene();
  const TFrame f = Read();
  double wx, wy;
  // Upper and lower straights of the loop, and its right half circle.
  for (const auto& p : {std::pair{0.5, 1.0}, {0.3, 0.5}, {1.25, 0.75}}) {
    ASSERT_TRUE(ProjectDevice(p.first, p.second, 0.015, wx, wy));
    EXPECT_GT(CountNear(f, kToothTop, wx, wy, 2), 0) << p.first << "," << p.second;
  }
  // Inside the loop there is no rail.
  ASSERT_TRUE(ProjectDevice(0.5, 0.75, 0, wx, wy));
  EXPECT_EQ(CountNear(f, kToothTop, wx, wy, 3), 0);
}

TEST_F(TLinearRender, MagnetTopsAlternateAlongTheMagnetRail) {
  LookDownAt(-1.0, 1.0, 0.4); // close enough for the depth buffer to part magnet and plate
  form->RenderScene();
  const TFrame f = Read();
  double wx, wy;
  // Module 6 of the rail: blue on top over [w, 5w], red on top over [7w, 11w].
  const double start = -0.5 - 6 * 0.096 - 0.004;
  ASSERT_TRUE(ProjectDevice(start + 3 * 0.008, 1.0, 0.015, wx, wy));
  EXPECT_GT(CountNear(f, {0, 0, 0.55f}, wx, wy, 2), 20);
  ASSERT_TRUE(ProjectDevice(start + 9 * 0.008, 1.0, 0.015, wx, wy));
  EXPECT_GT(CountNear(f, {0.55f, 0, 0}, wx, wy, 2), 20);
}

TEST_F(TLinearRender, LoopContactShowsRedRings) {
  LookDownAt(0.5, 0.75, 1.5);
  double wx, wy;
  ASSERT_TRUE(ProjectDevice(1.0 + 0.315, 0.75, 0, wx, wy)); // on the ring of the right check point
  form->RenderScene();
  EXPECT_EQ(CountNear(Read(), {1, 0, 0}, wx, wy, 3), 0);
  form->Sim.RailPtr->InContact = true;
  form->RenderScene();
  EXPECT_GT(CountNear(Read(), {1, 0, 0}, wx, wy, 3), 0);
}

TEST_F(TLinearRender, ToothInsetOnlyWhileTheSwitchedReluctanceCarriageIsSelected) {
  LookDownAt(5, 5, 1.0); // nothing but the grid here
  form->Sim.MrvPtr->Phase = 2;
  form->Sim.MrvPtr->Fx = 3;
  form->Sim.MrvPtr->Dx = 0.006; // the tooth beside the pole, not hidden behind it
  const TRgb phase2{0, 0, 1};
  form->SelectDevice(8);
  form->RenderScene();
  EXPECT_EQ(CountAll(Read(), phase2), 0);
  EXPECT_EQ(CountAll(Read(), kToothTop), 0);
  form->SelectDevice(6);
  form->RenderScene();
  const TFrame f = Read();
  EXPECT_GT(CountAll(f, phase2), 20);
  EXPECT_GT(CountAll(f, kToothTop), 20);
  // The inset stays right of and above the view centre.
  int right_above = 0;
  for (int y = f.H / 2; y < f.H; ++y)
    for (int x = f.W / 2; x < f.W; ++x)
      if (Near(f.At(x, y), phase2)) ++right_above;
  EXPECT_EQ(right_above, CountAll(f, phase2));
}

TEST_F(TLinearRender, PendulumIsDrawnOnlyWhileTheControllerRuns) {
  form->xv = -1.45;
  form->zv = -1.0;
  form->yv = 0;
  form->zpos = 0.3;
  form->xrot = 20;
  form->yrot = 0;
  const TRgb rod{0.61f, 0.51f, 0.51f};
  form->RenderScene();
  EXPECT_EQ(CountAll(Read(), rod), 0);
  form->Sim.MsPtr->ControllerOn = true;
  form->RenderScene();
  EXPECT_GT(CountAll(Read(), rod), 50);
}

} // namespace KINEMO_UNITY_ID
} // namespace
