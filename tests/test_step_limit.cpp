// The largest integration step the options dialog accepts: at it every device,
// in every mode, stays finite and bounded for 20 000 ticks; just above it the
// balancing monocycle runs away.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sstream>

#include "models/linear/mrvlin.h"
#include "models/linear/mslin.h"
#include "models/linear/rail.h"
#include "models/robots/bicycle.h"
#include "models/robots/monocycle.h"
#include "sim/step_limit.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

constexpr int kTicks = 20000;

// Every double a device holds, its wheels' included.
class TFiniteCheck : public TFieldVisitor {
public:
  bool Finite = true;
  void Field(const char*, const double& v) override { Finite = Finite && std::isfinite(v); }
  void Field(const char*, const std::int32_t&) override {}
  void Field(const char*, const bool&) override {}
  void Array(const char*, const double* v, std::size_t n) override {
    for (std::size_t i = 0; i < n; ++i)
      Field("", v[i]);
  }
  void Array(const char*, const std::int32_t*, std::size_t) override {}
  void Array(const char*, const bool*, std::size_t) override {}
  void BeginObject(const char*) override {}
  void EndObject() override {}
  void Null(const char*) override {}
};

// What no device reaches while it behaves: the fastest device runs below
// 2 m/s and turns below 2 rad/s, a balancing rod swings below 10 rad/s, a
// kick sets the pendulum spinning at 100 rad/s. A device driven all along
// (a torque held on a fallen rod, a carriage on a straight rail) may travel
// far, but no farther than its speed allows in the time simulated.
constexpr double kTopSpeed = 5;
std::string Unbounded(const TRobot& r, double sim_time) {
  std::ostringstream why;
  auto over = [&](const char* name, double v, double limit) {
    if (!(std::fabs(v) <= limit)) why << name << "=" << v << " ";
  };
  over("distance", std::hypot(r.PosX - r.PosX0, r.PosY - r.PosY0), 1 + kTopSpeed * sim_time);
  if (const auto* m = dynamic_cast<const TMonocycle*>(&r)) {
    // Its VitY is the wheel's spin rate.
    over("tilt rate", m->State[1], 50);
    over("travel rate", m->State[3], kTopSpeed);
  } else if (const auto* b = dynamic_cast<const TBicycle*>(&r)) {
    for (int i : {1, 3})
      over("rate", b->State[i], 50);
    for (int i : {5, 7})
      over("speed", b->State[i], kTopSpeed);
  } else {
    over("VitX", r.VitX, kTopSpeed);
    over("VitY", r.VitY, kTopSpeed);
    over("Vit", r.Vit, kTopSpeed);
    over("Omega", r.Omega, 50);
  }
  if (const auto* s = dynamic_cast<const TMSlin*>(&r)) over("PendOmega", s->PendOmega, 150);
  return why.str();
}

// The first device out of bounds within `ticks` ticks of the whole set, as
// "device i at tick t: ...", or "".
std::string RunAll(TFormFixture& f, double dt, int ticks) {
  f.form->Sim.Dt = dt;
  if (!f.form->Timer1.Enabled) f.form->AnimateClick();
  for (int t = 1; t <= ticks; ++t) {
    f.form->Timer1Timer();
    for (int i = 0; i < f.form->Sim.NbRobots; ++i) {
      std::string why = Unbounded(f.Device(i), t * dt);
      if (why.empty() && (t % 1000 == 0 || t == ticks)) {
        TFiniteCheck finite;
        f.Device(i).VisitFields(finite);
        if (!finite.Finite) why = "not finite";
      }
      if (!why.empty())
        return "device " + std::to_string(i) + " at tick " + std::to_string(t) + ": " + why;
    }
  }
  return {};
}

void Select(TFormFixture& f, int i) {
  f.form->SelectDevice(i);
}
constexpr std::uint16_t Num(int d) {
  return static_cast<std::uint16_t>(vk::Numpad0 + d);
}

struct TMode {
  const char* Name;
  int RailType, ForceModel;
  std::function<void(TFormFixture&)> Setup;
};

// Every mode of every device, several at once since the devices run side by
// side; each run also puts the reluctance carriage on another rail and force
// model.
const TMode kModes[] = {
    {"at rest, controllers as at start", 3, 3, [](TFormFixture&) {}},
    {"automatic pilots", 0, 1, [](TFormFixture& f) { f.Key('M', ssCtrl); }},
    {"demonstration", 1, 2, [](TFormFixture& f) { f.Key('D', ssCtrl); }},
    {"commands by hand, controllers on, fastest supply", 2, 3,
     [](TFormFixture& f) {
       f.form->SBfs.SetPosition(f.form->SBfs.Max);
       Select(f, 0); // four-wheel robot: traction and steering
       f.Key(Num(8), 0, 10);
       f.Key(Num(4), 0, 3);
       Select(f, 2);
       f.Key(Num(2), 0, 4);
       f.Key(Num(6), 0, 5);
       Select(f, 1); // robot K: wheel speeds
       f.Key(Num(7), 0, 8);
       f.Key(Num(9), 0, 40);
       Select(f, 3); // monocycle and bicycle: a leaning set-point
       f.Key(Num(8), 0, 3);
       Select(f, 4);
       f.Key(Num(8), 0, 3);
       Select(f, 8); // synchronous motor: a current step
       f.Key(Num(8), 0, 20);
     }},
    {"commands by hand, controllers off", 3, 1,
     [](TFormFixture& f) {
       Select(f, 3); // monocycle: a torque step
       f.Key('G');
       f.Key(Num(8), 0, 30);
       Select(f, 4); // bicycle: pushing and turning
       f.Key('G');
       f.Key(Num(7), 0, 30);
       f.Key(Num(9), 0, 12);
       Select(f, 8); // pendulum controller on: a set-point, then a kick
       f.Key('G');
       f.Key(Num(8), 0, 2);
       f.Key(Num(6));
     }},
    {"bicycle spinning on the spot by hand", 0, 2,
     [](TFormFixture& f) {
       Select(f, 4);
       f.Key('G');
       f.Key(Num(1), 0, 30);
       f.Key(Num(9), 0, 30);
     }},
};

TEST(StepLimit, EveryDeviceInEveryModeStaysBoundedAtTheLimit) {
  for (const TMode& m : kModes) {
    SCOPED_TRACE(m.Name);
    TFormFixture f;
    f.form->Sim.RailPtr->RailType = m.RailType;
    f.form->Sim.MrvPtr->ForceModel = m.ForceModel;
    m.Setup(f);
    EXPECT_EQ(RunAll(f, kMaxDt, kTicks), "");
  }
}

// The carriage takes part in no contact and reads only its rail and the
// supply frequency: the remaining rails and force models run it alone.
TEST(StepLimit, TheReluctanceCarriageOnEveryRailWithEveryForceModel) {
  for (int rail = 0; rail < 4; ++rail)
    for (int model = 1; model <= 3; ++model) {
      SCOPED_TRACE("rail " + std::to_string(rail) + ", force model " + std::to_string(model));
      TFormFixture f;
      f.form->Sim.RailPtr->RailType = rail;
      TMRVlin& m = *f.form->Sim.MrvPtr;
      m.ForceModel = model;
      std::string why;
      for (int t = 1; t <= kTicks && why.empty(); ++t) {
        for (int k = 0; k < 10; ++k)
          m.Step(kMaxDt * 0.1);
        why = Unbounded(m, t * kMaxDt);
      }
      TFiniteCheck finite;
      m.VisitFields(finite);
      EXPECT_EQ(why, "");
      EXPECT_TRUE(finite.Finite);
    }
}

TEST(StepLimit, JustAboveItTheMonocycleRunsAway) {
  TFormFixture f;
  const std::string why = RunAll(f, 0.052, kTicks);
  EXPECT_EQ(why.rfind("device 3 ", 0), 0u) << why;
}

} // namespace KINEMO_UNITY_ID
} // namespace
