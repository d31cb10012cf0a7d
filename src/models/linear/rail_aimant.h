// TRailAimant: the permanent-magnet track of the synchronous motor. It never
// moves; it finds the magnet at or behind a point, holds the carriage's travel
// limits and lights the module under the carriage when drawn.
#pragma once

#include <cstdint>

#include "models/linear/rail_shape.h"
#include "models/robot.h"

class TRailAimant : public TRobot {
public:
  TRailAimant(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Reset() override;
  // One magnet layer, 4 unit widths long, at (x, 0, z) of the current module (slot 5).
  virtual void DrawMagnet(double r, double g, double b, double x, double z) const;
  // The loop's contact test on this rail's own shape (slot 6); the tick never calls it.
  virtual void CollideWith(TRobot* other);

  const char* ClassName() const override { return "TRailAimant"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }

  double Length() const;
  void PointAt(double s, double& x, double& y, double& theta) const;
  // The magnet at or behind px (towards -x) on the straight shape, with distance 0.
  // Sets MagnetIndex and Theta.
  double NearestMagnet(double px, double py, double& x, double& y, double& theta);

  double XMin = 0;
  double XMax = 0;
  double UnitWidth = 0;
  double RailWidth = 0;
  double MagnetThickness = 0;
  double MagnetPitch = 0;
  double CurveRadius = 0;
  std::int32_t RailType = 0;
  std::int32_t MagnetIndex = 0;
};
