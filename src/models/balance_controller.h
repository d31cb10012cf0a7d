// TBalanceController: the PI(D) controller with anti-windup that keeps a rod
// upright on the monocycle, the bicycle and the synchronous carriage. The device
// counts its integration steps through it and runs it every CtrlPeriod steps;
// between runs the output holds. The fields keep the names the devices list.
#pragma once

#include <cstdint>

class TBalanceController {
public:
  // Counts one integration step down; true (and the count restarted) when the
  // controller runs on this step.
  bool ControllerDue();
  // One run on the error e = set point - angle: the output
  // -(Kp e + integral + Kd (e - previous e)). The integral takes Ki e only while
  // the output is within +-limit (anti-windup); the output itself is not clamped.
  double ControllerOutput(double e, double limit);
  // Integral and previous error cleared, the count restarted.
  void ResetController(bool on);

  double Kp = 0, Ki = 0, Kd = 0;
  double ErrIntegral = 0, ErrPrev = 0;
  bool ControllerOn = false;
  std::int32_t CtrlCountdown = 0;
  std::int32_t CtrlPeriod = 0;
};
