#include "app/ref_geometry.h"

#include "models/robots/robot2.h"

// TRobot2 does not carry its wheel, axle and body sizes yet; when it does, read
// them here (WheelL for the disk, WheelR for the tyre).
TRefGeometry RefGeometry(const TRobot2* /*ref*/) {
  return TRefGeometry{};
}
