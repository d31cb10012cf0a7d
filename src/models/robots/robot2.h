// TRobot2: the two-wheel robot and the base of TRobot4 and TRobotK. Its own motion
// is a constant drift along world y; its wheels and chassis sizes are also the
// reference geometry of every drawn wheel, axle and body.
#pragma once

#include <memory>

#include "models/robot.h"
#include "models/roue.h"

class TRobot2 : public TRobot {
public:
  TRobot2(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) override;
  void Reset() override;

  const char* ClassName() const override { return "TRobot2"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;

  std::unique_ptr<TRoue> WheelR;
  std::unique_ptr<TRoue> WheelL;
  // Rear wheels: only TRobot4 fills them.
  std::unique_ptr<TRoue> WheelRL;
  std::unique_ptr<TRoue> WheelRR;
  double Mass = 0.12;
  double Track = 0.15;
  double Wheelbase = 0.18;
  double AxleRadius = 0.01;
  double BodyWidth = 0.12;
  double BodyLength = 0.22;
  double BodyHeight = 0.03;
};
