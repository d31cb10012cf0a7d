// Timer1 on Qt: one tick per interval while enabled, none while the interval
// is 0, and never a backlog: the next tick is armed only after the handler
// returned, for what is left of the period (at once if the handler overran).
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

#include "window/controls.h"

class TTickTimer : public QObject {
public:
  explicit TTickTimer(std::function<void()> on_tick, QObject* parent = nullptr);

  // Follows the model's Enabled and Interval; call after every handler.
  void Sync(const TTimer& model);
  bool Armed() const { return timer_.isActive(); }

private:
  void Fire();

  std::function<void()> on_tick_;
  QTimer timer_;
  QElapsedTimer period_start_;
  TTimer model_{false, 0}; // the settings last synced
  bool in_tick_ = false;
};
