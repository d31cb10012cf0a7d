#include "platform/qt/tick_timer.h"

TTickTimer::TTickTimer(std::function<void()> on_tick, QObject* parent)
    : QObject(parent), on_tick_(std::move(on_tick)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TTickTimer::Fire);
}

void TTickTimer::Sync(const TTimer& model) {
  const bool was_running = model_.Running();
  const bool interval_changed = model.Interval != model_.Interval;
  model_ = model;
  if (in_tick_) return; // Fire re-arms with the new settings
  if (!model_.Running()) {
    timer_.stop();
  } else if (!was_running || interval_changed) {
    period_start_.start();
    timer_.start(model_.Interval);
  }
}

void TTickTimer::Fire() {
  if (!model_.Running()) return;
  period_start_.start();
  in_tick_ = true;
  on_tick_();
  in_tick_ = false;
  if (model_.Running()) timer_.start(static_cast<int>(model_.NextDelayMs(period_start_.elapsed())));
}
