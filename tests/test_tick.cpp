// The tick: time, sub-steps, the order in which devices are driven, and the
// contact pass between them.
#include <gtest/gtest.h>

#include <algorithm>

#include "models/linear/rail.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

// A window whose nine devices all record what they see, far apart.
struct TRecordingSet : TFormFixture {
  std::vector<TRecorder::TEvent> log;
  std::vector<TRecorder*> rec;
  TRecordingSet() {
    for (int i = 0; i < 9; ++i)
      rec.push_back(Replace(i, new TRecorder(10.0 * i, 0, i, log, &form->Sim.Robots)));
  }
  std::vector<TRecorder::TEvent> Only(const std::string& what) const {
    std::vector<TRecorder::TEvent> out;
    for (const auto& e : log)
      if (e.What == what) out.push_back(e);
    return out;
  }
};

// A rail that logs which devices it is asked about.
class TRailSpy : public TRail {
public:
  TRailSpy(std::vector<int>& asked) : TRail(0, 0, 5), asked_(asked) {}
  void CollideWith(TRobot* other) override { asked_.push_back(other->Index); }

private:
  std::vector<int>& asked_;
};

TEST(Tick, AdvancesTimeOnceAndStepsEveryDeviceTenTimesInSetOrderEachAfterItsPilot) {
  TRecordingSet s;
  s.rec[3]->AutoMode = true; // the only one in automatic mode
  s.form->Sim.SimTime = 1.0;
  s.form->Sim.Dt = 0.02;
  s.form->Timer1Timer();
  EXPECT_EQ(s.form->Sim.SimTime, 1.0 + 0.02);
  const auto steps = s.Only("Step");
  ASSERT_EQ(steps.size(), 90u);
  for (std::size_t k = 0; k < steps.size(); ++k) {
    EXPECT_EQ(steps[k].Device, static_cast<int>(k % 9));
    EXPECT_EQ(steps[k].Value, 0.02 * 0.1);
  }
  // Every sub-step's pilot sees the advanced time, right before that device's own step.
  const auto pilots = s.Only("AutoPilot");
  ASSERT_EQ(pilots.size(), 10u);
  for (std::size_t k = 0; k < s.log.size(); ++k)
    if (s.log[k].What == "AutoPilot") {
      EXPECT_EQ(s.log[k].Device, 3);
      EXPECT_EQ(s.log[k].Value, 1.0 + 0.02);
      ASSERT_LT(k + 1, s.log.size());
      EXPECT_EQ(s.log[k + 1].What, "Step");
      EXPECT_EQ(s.log[k + 1].Device, 3);
    }
}

TEST(Tick, DevicesStepOneAfterAnotherFromTheLatestPositions) {
  TRecordingSet s;
  for (auto* r : s.rec)
    r->Move = 1.0;
  s.form->Timer1Timer();
  const auto steps = s.Only("Step");
  // In the first sub-step device 4 sees devices 0..3 already moved, the rest not.
  const auto& e = steps[4];
  for (int j = 0; j < 9; ++j)
    EXPECT_EQ(e.SeenX[j], 10.0 * j + (j < 4 ? 1.0 : 0.0)) << j;
  // After the tick every device has made exactly ten moves.
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(s.rec[i]->PosX, 10.0 * i + 10.0);
}

TEST(Tick, InContactSeenByStepReflectsPositionsJustBeforeThatStep) {
  TRecordingSet s;
  // Device 1 starts 1 m right of device 0 and moves onto it during its first step;
  // both have a radius of 0.1.
  s.rec[0]->PosX = 0;
  s.rec[1]->PosX = 1;
  s.rec[0]->Radius = s.rec[1]->Radius = 0.1;
  s.rec[1]->Move = -1.0;
  s.form->Timer1Timer();
  const auto steps = s.Only("Step");
  EXPECT_FALSE(steps[0].InContact); // device 0, first sub-step: still apart
  EXPECT_FALSE(steps[1].InContact); // device 1, first sub-step: apart before it moves
  EXPECT_TRUE(steps[9].InContact);  // device 0, second sub-step: now together
}

TEST(ContactPass, TouchingCountsAsContactAndOnCollisionRepeatsUntilTheDeviceRecoils) {
  TRecordingSet s;
  s.rec[0]->PosX = 0;
  s.rec[1]->PosX = 0.25;
  s.rec[0]->Radius = 0.125; // exactly touching: 0.125 + 0.125 = 0.25
  s.rec[1]->Radius = 0.125;
  s.rec[1]->RecoilOnStep = true; // device 1 backs off at its first step, device 0 never does
  s.form->Timer1Timer();
  int hits0 = 0, hits1 = 0;
  for (const auto& e : s.Only("OnCollision"))
    (e.Device == 0 ? hits0 : hits1)++;
  EXPECT_EQ(hits0, 90); // raised at every contact pass: 9 per sub-step, 10 sub-steps
  EXPECT_EQ(hits1, 2);  // the passes before its own first step (devices 0 and 1)
  EXPECT_TRUE(s.rec[0]->InContact);
  EXPECT_TRUE(s.rec[1]->InContact); // still touching while recoiling
  EXPECT_TRUE(s.rec[0]->CollisionPending);
  EXPECT_FALSE(s.rec[1]->CollisionPending);
}

TEST(ContactPass, ZeroRadiiTouchOnlyAtOnePointAndRecoilingDevicesGetNoNewCollision) {
  const struct {
    const char* name;
    double x1;
    bool recoiling0;
    std::vector<int> hit; // devices that got OnCollision
    bool contact0;
  } cases[] = {
      {"apart by 1e-12", 1e-12, false, {}, false},
      {"at the same point", 0, false, {0, 1}, true},
      {"device 0 recoiling", 0, true, {1}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TRecordingSet s;
    s.rec[0]->PosX = 0;
    s.rec[1]->PosX = c.x1;
    s.rec[0]->Recoiling = c.recoiling0;
    s.rec[0]->InContact = true; // cleared by every pass
    s.form->Timer1Timer();
    std::vector<int> hit;
    for (const auto& e : s.Only("OnCollision"))
      if (std::find(hit.begin(), hit.end(), e.Device) == hit.end()) hit.push_back(e.Device);
    EXPECT_EQ(hit, c.hit);
    EXPECT_EQ(s.rec[0]->InContact, c.contact0);
    EXPECT_FALSE(c.recoiling0 && s.rec[0]->CollisionPending);
  }
}

TEST(ContactPass, TheSwitchedReluctanceCarriageTakesPartInNoContact) {
  TRecordingSet s;
  // Device 6 sits on device 0 but has the carriage's type code.
  s.rec[6]->TypeCode = kTypeMRVlin;
  s.rec[6]->PosX = s.rec[0]->PosX;
  s.rec[0]->Radius = s.rec[6]->Radius = 1;
  s.form->Timer1Timer();
  EXPECT_TRUE(s.Only("OnCollision").empty());
  EXPECT_FALSE(s.rec[6]->InContact);
}

TEST(ContactPass, RailPairsGoOnlyToTheRailsOwnTest) {
  TRecordingSet s;
  std::vector<int> asked;
  auto* rail = s.Replace(5, new TRailSpy(asked));
  s.form->Sim.RailPtr = rail;
  rail->Radius = 100; // a plain distance test would find contact with everything
  s.rec[6]->TypeCode = kTypeMRVlin;
  s.form->Timer1Timer();
  EXPECT_TRUE(s.Only("OnCollision").empty());
  // One pass asks about devices 0..4, 7 and 8 (never the carriage), in pair order.
  ASSERT_EQ(asked.size(), 90u * 7);
  const std::vector<int> one_pass = {0, 1, 2, 3, 4, 7, 8};
  EXPECT_EQ(std::vector<int>(asked.begin(), asked.begin() + 7), one_pass);
}

} // namespace KINEMO_UNITY_ID
} // namespace
