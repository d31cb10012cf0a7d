#include "view/ref_geometry.h"

#include "models/robots/robot2.h"

// Both wheels of the reference robot have the same size; WheelR stands for both.
TRefGeometry RefGeometry(const TRobot2* ref) {
  if (!ref || !ref->WheelR) return TRefGeometry{};
  TRefGeometry g;
  g.WheelR = ref->WheelR->R;
  g.WheelTube = ref->WheelR->Tube;
  g.AxleRadius = ref->AxleRadius;
  g.Track = ref->Track;
  g.BodyWidth = ref->BodyWidth;
  g.BodyLength = ref->BodyLength;
  g.BodyHeight = ref->BodyHeight;
  return g;
}
