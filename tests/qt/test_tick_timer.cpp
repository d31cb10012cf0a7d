// Timer1 on Qt: no ticks at interval 0, ticks while enabled, and no backlog
// after a slow tick.
#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <vector>

#include "platform/qt/tick_timer.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(TickTimer, IntervalZeroDeliversNothingWhileEnabled) {
  int ticks = 0;
  TTickTimer timer([&] { ++ticks; });
  TTimer model{true, 0};
  timer.Sync(model);
  QTest::qWait(60);
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(timer.Armed());

  model.Interval = 2;
  timer.Sync(model);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3; }, 2000));

  model.Enabled = false;
  timer.Sync(model);
  const int stopped_at = ticks;
  QTest::qWait(30);
  EXPECT_EQ(ticks, stopped_at);
}

TEST(TickTimer, ASlowTickLeavesNoBacklog) {
  QElapsedTimer clock;
  clock.start();
  std::vector<qint64> starts, ends;
  TTickTimer* self = nullptr;
  TTimer model{true, 5};
  TTickTimer timer([&] {
    starts.push_back(clock.elapsed());
    if (starts.size() == 1) QThread::msleep(60); // twelve periods overrun
    ends.push_back(clock.elapsed());
    if (starts.size() == 6) {
      model.Enabled = false;
      self->Sync(model);
    }
  });
  self = &timer;
  timer.Sync(model);
  ASSERT_TRUE(QTest::qWaitFor([&] { return starts.size() >= 6; }, 3000));
  // At most one tick may follow the slow one at once; the rest keep the period.
  int immediate = 0;
  for (std::size_t i = 1; i < starts.size(); ++i)
    if (starts[i] - ends[i - 1] < 2) ++immediate;
  EXPECT_LE(immediate, 1);
  EXPECT_GE(starts.back() - starts[1], 4 * 4); // four further periods of about 5 ms
}

} // namespace KINEMO_UNITY_ID
} // namespace
