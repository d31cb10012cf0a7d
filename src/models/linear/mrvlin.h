// TMRVlin: the carriage of a three-phase linear switched-reluctance motor. Each
// sub-step it asks the rail for the tooth nearest to its energised pole, derives
// the forces from the offset with one of three force models, integrates its
// motion and advances the phase at the supply frequency.
#pragma once

#include <cstdint>

#include "models/robot.h"
#include "models/robots/memo.h"

class TMRVlin : public TRobot {
public:
  TMRVlin(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) override;
  void Reset() override;

  const char* ClassName() const override { return "TMRVlin"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void StatusPart(const TStatusContext& context, TStatusPart& part) const override;
  void DeriveConstants() override;

  double Height0 = 0;
  double Height = 0;
  double Mass = 0;
  double AirGap0 = 0;
  double Dx = 0, Dy = 0;
  double OverlapX = 0;
  double OverlapY = 0;
  double DTheta = 0;
  double PoleX = 0, PoleY = 0;
  double ToothX = 0, ToothY = 0, ToothTheta = 0;
  double ToothDist = 0;
  double AirGap = 0;
  double ToothWidth = 0;
  double RailWidth = 0;
  std::int32_t Phase = 0;
  std::int32_t ForceModel = 3;
  double Fx = 0, Fy = 0;
  double Fz = 0;
  double Torque = 0;
  double Inertia = 0;
  double Current = 0;
  double ForceCoef = 0;
  bool SupplyOn = true;
  bool DynamicsOn = true;
  double PhaseTimer = 0;

private:
  void DistanceForces();
  void ReluctanceForces();
  // cos and sin of the heading they came from.
  TMemo<1, 2, 1> heading_memo_;
};
