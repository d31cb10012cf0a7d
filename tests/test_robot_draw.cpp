// Each wheeled robot is drawn where its pose puts it: its index label, in the
// selected device's orange, shows at the projected position of the robot.
#include <functional>
#include <memory>

#include "gl_test_support.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "models/robots/robot4.h"
#include "models/robots/robotk.h"

namespace {
namespace KINEMO_UNITY_ID {

struct TDrawCase {
  const char* name;
  std::function<TRobot*(double x, double y)> make;
};

class TRobotDraw : public TGLFormTest, public ::testing::WithParamInterface<TDrawCase> {};

TEST_P(TRobotDraw, LabelAppearsAtThePose) {
  // Far from the default devices, so that nothing else is in view.
  const double cx = 3.0, cy = 2.0, dx = 0.12, dy = 0.06;
  TRobot* robot = Replace(0, GetParam().make(cx + dx, cy + dy));
  form->Sim.Robots[form->Sim.RobSel]->Selected = false;
  robot->Selected = true;
  robot->Theta = 0.4;
  LookDownAt(cx, cy, 0.8);
  form->RenderScene();
  const TFrame frame = Read();

  const TRgb orange = LabelColour(true);
  double wx = 0, wy = 0;
  ASSERT_TRUE(ProjectDevice(cx + dx, cy + dy, 0.05, wx, wy));
  EXPECT_GT(CountNear(frame, orange, wx, wy, 14), 5);
  // Nothing of it at the mirrored place.
  ASSERT_TRUE(ProjectDevice(cx - dx, cy - dy, 0.05, wx, wy));
  EXPECT_EQ(CountNear(frame, orange, wx, wy, 14), 0);
}

template <class T> TDrawCase Case(const char* name) {
  return {name, [](double x, double y) -> TRobot* {
            T* r = new T(x, y, 0);
            return r;
          }};
}

INSTANTIATE_TEST_SUITE_P(WheeledRobots, TRobotDraw,
                         ::testing::Values(Case<TRobot2>("Robot2"), Case<TRobot4>("Robot4"),
                                           Case<TRobotK>("RobotK"), Case<TMonocycle>("Monocycle"),
                                           Case<TBicycle>("Bicycle")),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace KINEMO_UNITY_ID
} // namespace
