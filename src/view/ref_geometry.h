// The sizes of the reference robot that the shared display lists are built from.
#pragma once

class TRobot2;

struct TRefGeometry {
  double WheelR = 0.05;    // WheelL.R / WheelR.R
  double WheelTube = 0.01; // WheelL.Tube / WheelR.Tube
  double AxleRadius = 0.01;
  double Track = 0.15;
  double BodyWidth = 0.12;
  double BodyLength = 0.22;
  double BodyHeight = 0.03;
};

// Reads the sizes from `ref`; the defaults of TRobot2 where it has none.
TRefGeometry RefGeometry(const TRobot2* ref);
