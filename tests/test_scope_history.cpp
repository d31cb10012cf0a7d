// The scope's history: what it samples, when, and that its memory stays fixed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "models/device_description.h"
#include "models/key_codes.h"
#include "sim/scope_history.h"
#include "test_support.h"

namespace {
namespace KINEMO_UNITY_ID {

std::uint64_t Bits(double d) {
  std::uint64_t u;
  std::memcpy(&u, &d, sizeof u);
  return u;
}

TEST(ScopeHistory, EveryDescribedQuantityOfEveryDeviceIsSampledAfterEachTick) {
  TFormFixture f;
  TScopeHistory history(f.form->Sim);
  f.form->Sim.TickObservers.push_back(&history);
  std::size_t described = 0;
  for (int i = 0; i < f.form->Sim.NbRobots; ++i)
    described += f.Device(i).Description().Quantities.size();
  ASSERT_EQ(history.Channels().size(), described);

  // Something moves on every device that can: controllers, a push, the demonstration.
  f.Key(vk::Letter('G'));
  f.form->SelectDevice(3);
  f.Key(vk::Numpad(8), 0, 3);
  f.Key(vk::Letter('D'), ssCtrl);
  for (int t = 1; t <= 300; ++t) {
    f.Ticks(1);
    ASSERT_EQ(history.Count(), static_cast<std::size_t>(t));
    const std::size_t last = history.Count() - 1;
    ASSERT_EQ(Bits(history.Time(last)), Bits(f.form->Sim.SimTime));
    for (std::size_t c = 0; c < history.Channels().size(); ++c) {
      const auto& ch = history.Channels()[c];
      const TFieldRef ref = FindField(f.Device(ch.Device), ch.Quantity->Field);
      ASSERT_EQ(Bits(history.Value(c, last)), Bits(ref.Get()))
          << ch.Device << "." << ch.Quantity->Field << " at tick " << t;
    }
  }
  // Earlier samples stay as they were taken.
  EXPECT_EQ(Bits(history.Time(0)), Bits(0.01));
}

TEST(ScopeHistory, KeepsTwoMinutesInAFixedRingAndForgetsOnReset) {
  TFormFixture f;
  TScopeHistory history(f.form->Sim);
  f.form->Sim.TickObservers.push_back(&history);
  const std::size_t capacity = history.Capacity();
  EXPECT_GE(static_cast<double>(capacity - 1) * f.form->Sim.Dt, 120.0);
  const int pendulum = history.Find(8, "PendTheta");
  ASSERT_GE(pendulum, 0);
  EXPECT_EQ(history.Find(8, "NoSuchField"), -1);
  EXPECT_EQ(history.Find(0, "PendTheta"), -1);

  // The ring alone, without the physics: a hundred thousand samples.
  for (int t = 0; t < 100000; ++t) {
    f.form->Sim.SimTime = f.form->Sim.SimTime + f.form->Sim.Dt;
    history.AfterTick(f.form->Sim);
  }
  EXPECT_EQ(history.Capacity(), capacity);
  EXPECT_EQ(history.Count(), capacity);
  // Oldest to latest in order, one tick apart, the latest the present.
  EXPECT_EQ(history.Time(history.Count() - 1), f.form->Sim.SimTime);
  for (std::size_t k = 1; k < history.Count(); ++k)
    ASSERT_NEAR(history.Time(k) - history.Time(k - 1), f.form->Sim.Dt, 1e-9) << k;

  f.form->ResetRobots();
  EXPECT_EQ(history.Count(), 0u);
  f.Ticks(1);
  EXPECT_EQ(history.Count(), 1u);
  EXPECT_EQ(history.Time(0), f.form->Sim.Dt);

  // A smaller time step needs more samples for the same span, within the bound.
  f.form->Sim.Dt = 0.002;
  f.Ticks(1);
  EXPECT_EQ(history.Count(), 1u);
  EXPECT_EQ(history.Capacity(),
            60001u < TScopeHistory::kMaxSamples ? 60001u : TScopeHistory::kMaxSamples);
}

TEST(ScopeHistory, ValueAxesHoldTheValuesOnSpansThatTicksCanTellApart) {
  const double most = std::numeric_limits<double>::max();
  struct TCase {
    double Lo, Hi, Least;
  };
  for (const TCase& c : {TCase{12, 12, 5.7e-5},
                         {-1, -1, 1e-6},
                         {4, 4, 1},
                         {0, 0, 0},
                         {3, 3 + 1e-12, 1e-6},
                         {1e-172, 5e-172, 1e-6},
                         {1e-300, 1e-300, 0},
                         {-2, 5, 1},
                         {1e200, 1e200, 1e-6},
                         {-1e300, 1e300, 1e-6},
                         {-most, most, 0}}) {
    SCOPED_TRACE(testing::Message() << c.Lo << " .. " << c.Hi << " least " << c.Least);
    const TScopeRange r = ScopeValueRange(c.Lo, c.Hi, c.Least);
    const double span = r.Upper - r.Lower;
    // What a plot draws (it keeps its old range for any other).
    EXPECT_GT(r.Lower, -1e250);
    EXPECT_LT(r.Upper, 1e250);
    EXPECT_GT(span, 1e-280);
    EXPECT_LT(span, 1e250);
    if (std::abs(c.Lo) < 1e249 && std::abs(c.Hi) < 1e249) {
      EXPECT_LE(r.Lower, c.Lo);
      EXPECT_GE(r.Upper, c.Hi);
      // A constant sits in the middle.
      if (c.Lo == c.Hi) {
        EXPECT_NEAR(r.Lower / 2 + r.Upper / 2, c.Lo, span * 1e-9);
      }
    }
    EXPECT_GE(span, c.Least);
    // Six significant digits tell the ticks apart.
    EXPECT_GE(span, 1e-4 * std::max(std::abs(r.Lower), std::abs(r.Upper)));
  }
  // Noise far below the resolution shows as the flat line it is.
  EXPECT_GE(ScopeValueRange(1e-172, 5e-172, 1e-6).Upper, 5e-7);
  const TScopeRange none = ScopeValueRange(HUGE_VAL, -HUGE_VAL, 1);
  EXPECT_EQ(none.Lower, -1);
  EXPECT_EQ(none.Upper, 1);
}

TEST(ScopeHistory, EveryDeviceHasDefaultTracesAmongItsQuantities) {
  TFormFixture f;
  TScopeHistory history(f.form->Sim);
  for (int i = 0; i < f.form->Sim.NbRobots; ++i) {
    const auto traces = DefaultTraces(f.Device(i));
    EXPECT_GE(traces.size(), 1u) << i;
    EXPECT_LE(traces.size(), 4u) << i;
    for (const char* field : traces)
      EXPECT_GE(history.Find(i, field), 0) << i << " " << field;
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace
