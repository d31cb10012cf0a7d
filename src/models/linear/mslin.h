// TMSlin: the carriage of a three-phase linear synchronous motor over the magnet
// rail. Three Hall sensors give the commutation sector and the inverter switch
// states; the force is the ideal brushless force of the current command. It
// carries an inverted pendulum that a PID controller balances through that current.
#pragma once

#include <cstdint>

#include "models/balance_controller.h"
#include "models/robot.h"

class TMSlin : public TRobot, public TBalanceController {
public:
  TMSlin(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Step(double h) override;
  void Reset() override;
  // Sector from the Hall bits, then the switch states of that sector (slot 5).
  virtual void Commutate();

  const char* ClassName() const override { return "TMSlin"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }
  bool KeyDown(std::uint16_t key, bool ctrl, TDeviceKeyHost& host) override;
  void DeriveConstants() override;

  double Height0 = 0, Height = 0;
  double Mass = 0;
  double AirGap0 = 0;
  double Dx = 0;
  double MagnetX = 0, MagnetY = 0, MagnetTheta = 0;
  double AirGap = 0;
  double ToothWidth = 0;
  double RailWidth = 0;
  double BodyThickness = 0;
  bool HallA = false, HallB = false, HallC = false;
  std::int32_t Secteur = 1;
  // In the order a, cp, b, ap, c, bp.
  std::int32_t Switch[6] = {0, 0, 0, 0, 0, 0};
  double Fx = 0;
  double Fy = 0, Fz = 0, Torque = 0;
  double Inertia = 0;
  double CurrentCmd = 0;
  double CurrentMax = 0;
  double FluxDensity = 0;
  bool DynamicsOn = true;
  // The pendulum swings while the built-in controller is off, the current
  // command left as a program outside sets it (a student's controller). No
  // key or menu sets it; a reset keeps it.
  bool ExternalCommand = false;
  double PendTheta = 0;
  double PendOmega = 0;
  double PendLength = 0;
  double ThetaRef = 0;
  double ThetaRefMax = 0;
  double PendMass = 0;
  double PendInertia = 0;
  double PendDamping = 0;

private:
  void PendulumStep(double h);
};
