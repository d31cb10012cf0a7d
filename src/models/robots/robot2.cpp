#include "models/robots/robot2.h"

#include <cmath>

TRobot2::TRobot2(double x0, double y0, int index, const TDeviceContext* context)
    : TRobot(x0, y0, index, context) {
  TypeCode = kTypeRobot2;
  Index = index;
  Selected = false;
  WheelR = std::make_unique<TRoue>();
  WheelL = std::make_unique<TRoue>();
  Mass = WheelR->Mass + WheelL->Mass + 0.1;
  Wheelbase = 0.18;
  Track = 0.15;
  AxleRadius = 0.01;
  Radius = 0.15;
  BodyWidth = 0.12;
  BodyLength = 0.22;
  BodyHeight = 0.03;
  PosX0 = x0;
  PosY0 = y0;
  TRobot2::Reset();
}

void TRobot2::Step(double h) {
  PosY += VitY * h;
  Vit = std::sqrt(VitX * VitX + VitY * VitY);
  WheelR->Phi += Vit / WheelR->R * h;
  WheelL->Phi += Vit / WheelL->R * h;
}

void TRobot2::Reset() {
  TRobot::Reset();
  VitY = 0.1;
  WheelR->Phi = 0;
  WheelL->Phi = 0;
}

void TRobot2::VisitFields(TFieldVisitor& v) const {
  TRobot::VisitFields(v);
  VisitWheel(v, "WheelR", WheelR.get());
  VisitWheel(v, "WheelL", WheelL.get());
  VisitWheel(v, "WheelRL", WheelRL.get());
  VisitWheel(v, "WheelRR", WheelRR.get());
  v.Field("Mass", Mass);
  v.Field("Track", Track);
  v.Field("Wheelbase", Wheelbase);
  v.Field("AxleRadius", AxleRadius);
  v.Field("BodyWidth", BodyWidth);
  v.Field("BodyLength", BodyLength);
  v.Field("BodyHeight", BodyHeight);
}
