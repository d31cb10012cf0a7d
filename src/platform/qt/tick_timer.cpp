#include "platform/qt/tick_timer.h"

#include <algorithm>

TTickTimer::TTickTimer(std::function<void()> on_tick, QObject* parent)
    : QObject(parent), on_tick_(std::move(on_tick)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TTickTimer::Fire);
}

void TTickTimer::Sync(const TTimer& model) {
  const bool running = model.Enabled && model.Interval > 0;
  const bool was_running = enabled_ && interval_ > 0;
  const bool interval_changed = model.Interval != interval_;
  enabled_ = model.Enabled;
  interval_ = model.Interval;
  if (in_tick_) return; // Fire re-arms with the new settings
  if (!running) {
    timer_.stop();
  } else if (!was_running || interval_changed) {
    period_start_.start();
    Arm(interval_);
  }
}

void TTickTimer::Arm(int delay_ms) {
  timer_.start(std::max(0, delay_ms));
}

void TTickTimer::Fire() {
  if (!(enabled_ && interval_ > 0)) return;
  period_start_.start();
  in_tick_ = true;
  on_tick_();
  in_tick_ = false;
  if (enabled_ && interval_ > 0) Arm(interval_ - static_cast<int>(period_start_.elapsed()));
}
