#include "models/linear/mslin.h"

#include <cmath>

#include "models/constants.h"
#include "models/linear/rail_aimant.h"
#include "models/linear/rail_shape.h"

namespace {

bool Within(double v, double lo, double hi) {
  return lo <= v && v <= hi;
}

// Switch states (a, cp, b, ap, c, bp) of sectors 1 to 6.
constexpr std::int32_t kSwitchTable[6][6] = {
    {+1, +1, 0, -1, -1, 0}, // 1
    {-1, 0, +1, +1, 0, -1}, // 2
    {0, +1, +1, 0, -1, -1}, // 3
    {0, -1, -1, 0, +1, +1}, // 4
    {+1, 0, -1, -1, 0, +1}, // 5
    {-1, -1, 0, +1, +1, 0}, // 6
};

} // namespace

TMSlin::TMSlin(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot(x0, y0, index, context) {
  TypeCode = kTypeMSlin;
  AirGap0 = 0.001;
  Height0 = AirGap0 + 0.015;
  ToothWidth = 0.008;
  RailWidth = 0.03;
  Mass = 1053 * ToothWidth * RailWidth;
  BodyThickness = 0.005;
  CurrentMax = 2.0;
  FluxDensity = 1.0;
  PendLength = 0.1;
  Kp = 5.0;
  Ki = 0.3;
  Kd = 0;
  ThetaRefMax = kPi / 3;
  PendMass = 0.2;
  TMSlin::DeriveConstants();
  PendDamping = 0.1;
  CtrlPeriod = 3;
  Scale = Context->MotorScale;
  TMSlin::Reset();
}

void TMSlin::DeriveConstants() {
  Inertia = 0.5 * Mass * ((7 * ToothWidth) * (7 * ToothWidth));
  PendInertia = PendMass * (1.0 / 3) * PendLength * PendLength;
}

void TMSlin::Reset() {
  Height = Height0;
  Dx = 0;
  AirGap = AirGap0;
  Secteur = 1;
  Fx = Fy = Fz = Torque = 0;
  CurrentCmd = 0;
  ResetController(false);
  DynamicsOn = true;
  PendTheta = kPi / 15;
  PendOmega = 0;
  ThetaRef = 0;
  PosX = PosX0;
  PosY = PosY0;
  VitX = VitY = Vit = 0;
  Theta = 0;
  Omega = 0;
}

void TMSlin::Commutate() {
  Secteur = HallA + 2 * HallB + 4 * HallC;
  if (Secteur < 1 || Secteur > 6) return; // sectors 0 and 7 leave the switches as they were
  for (int i = 0; i < 6; ++i)
    Switch[i] = kSwitchTable[Secteur - 1][i];
}

void TMSlin::Step(double h) {
  TRailAimant* rail = Context->AimantPtr;
  if (!rail) return; // nothing to run on
  const double w = ToothWidth;

  AirGap = AirGap0;
  rail->NearestMagnet(PosX, PosY, MagnetX, MagnetY, MagnetTheta);
  Dx = PosX - MagnetX;
  MagnetTheta = WrapTwoPi(MagnetTheta);

  HallA = Within(Dx + 0.5 * w, 0, 6 * w);
  HallB = Within(Dx + 4.5 * w, 0, 6 * w) || Within(Dx - 7.5 * w, 0, 6 * w);
  HallC = Within(Dx - 3.5 * w, 0, 6 * w);
  Commutate();

  Fx = 480 * FluxDensity * RailWidth * CurrentCmd;
  Fy = 0;
  Fz = 0;

  if (DynamicsOn) {
    VitX += ((Fx - 10 * VitX) / Mass) * h;
    VitY += ((Fy - 10 * VitY) / Mass) * h;
    Omega += ((Torque - 0.1 * Omega) / Inertia) * h;
  } else {
    VitX = -0.01 * Context->Fs;
  }
  PosX += VitX * h;
  PosY += VitY * h;
  if (PosX < rail->XMin) PosX = rail->XMin;
  if (PosX > rail->XMax) PosX = rail->XMax;
  Vit = std::sqrt(VitX * VitX + VitY * VitY);
  Theta += Omega * h;
  Theta = WrapTwoPi(Theta);

  if (ControllerOn) {
    if (ControllerDue()) {
      CurrentCmd = ControllerOutput(ThetaRef - PendTheta, CurrentMax);
      if (CurrentCmd > CurrentMax) CurrentCmd = CurrentMax;
      if (CurrentCmd < -CurrentMax) CurrentCmd = -CurrentMax;
    }
    if (!DynamicsOn) CurrentCmd = 0;
    PendulumStep(h);
  } else if (ExternalCommand) {
    if (!DynamicsOn) CurrentCmd = 0;
    PendulumStep(h);
  }
  PendTheta = WrappedOnce(PendTheta);
}

void TMSlin::PendulumStep(double h) {
  const double L = PendLength;
  const double g = AirGap;
  double alpha;
  if (L * std::cos(PendTheta) - g > -4 * g) {
    // Gravity acts without a lever arm; the reaction to the carriage's force at L/2.
    alpha = (PendMass * kGravity * std::sin(PendTheta) - Fx * L * 0.5 - PendDamping * PendOmega) /
            PendInertia;
  } else {
    PendOmega = 0; // the rod lies on the carriage
    alpha = 0;
  }
  PendOmega += alpha * h;
  PendTheta += PendOmega * h;
}

void TMSlin::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  v.Field("Height0", Height0);
  v.Field("Height", Height);
  v.Field("Mass", Mass);
  v.Field("AirGap0", AirGap0);
  v.Field("Dx", Dx);
  v.Field("MagnetX", MagnetX);
  v.Field("MagnetY", MagnetY);
  v.Field("MagnetTheta", MagnetTheta);
  v.Field("AirGap", AirGap);
  v.Field("ToothWidth", ToothWidth);
  v.Field("RailWidth", RailWidth);
  v.Field("BodyThickness", BodyThickness);
  v.Field("HallA", HallA);
  v.Field("HallB", HallB);
  v.Field("HallC", HallC);
  v.Field("Secteur", Secteur);
  v.Array("Switch", Switch, 6);
  v.Field("Fx", Fx);
  v.Field("Fy", Fy);
  v.Field("Fz", Fz);
  v.Field("Torque", Torque);
  v.Field("Inertia", Inertia);
  v.Field("CurrentCmd", CurrentCmd);
  v.Field("CurrentMax", CurrentMax);
  v.Field("FluxDensity", FluxDensity);
  v.Field("ControllerOn", ControllerOn);
  v.Field("DynamicsOn", DynamicsOn);
  v.Field("ExternalCommand", ExternalCommand);
  v.Field("PendTheta", PendTheta);
  v.Field("PendOmega", PendOmega);
  v.Field("PendLength", PendLength);
  v.Field("Kp", Kp);
  v.Field("Ki", Ki);
  v.Field("Kd", Kd);
  v.Field("ErrIntegral", ErrIntegral);
  v.Field("ErrPrev", ErrPrev);
  v.Field("ThetaRef", ThetaRef);
  v.Field("ThetaRefMax", ThetaRefMax);
  v.Field("PendMass", PendMass);
  v.Field("PendInertia", PendInertia);
  v.Field("PendDamping", PendDamping);
  v.Field("CtrlCountdown", CtrlCountdown);
  v.Field("CtrlPeriod", CtrlPeriod);
}
