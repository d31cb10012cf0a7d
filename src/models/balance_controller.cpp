#include "models/balance_controller.h"

#include <cmath>

bool TBalanceController::ControllerDue() {
  CtrlCountdown -= 1;
  // A count already at or below zero runs now rather than never.
  if (CtrlCountdown > 0) return false;
  CtrlCountdown = CtrlPeriod;
  return true;
}

double TBalanceController::ControllerOutput(double e, double limit) {
  const double out = -(Kp * e + ErrIntegral + Kd * (e - ErrPrev));
  // The integral is updated after it has been used, with no factor of time.
  if (std::fabs(out) <= limit) ErrIntegral += Ki * e;
  ErrPrev = e;
  return out;
}

void TBalanceController::ResetController(bool on) {
  ControllerOn = on;
  ErrIntegral = 0;
  ErrPrev = 0;
  CtrlCountdown = CtrlPeriod;
}
