// TRail: the passive toothed track of the switched-reluctance motor. It never
// moves; it answers where the rail is at an abscissa, which tooth is nearest to a
// point, and, as a closed loop, whether another device touches it.
#pragma once

#include <cstdint>
#include <vector>

#include "models/linear/rail_shape.h"
#include "models/robot.h"

class TRail : public TRobot {
public:
  TRail(double x0, double y0, int index, const TDeviceContext* context = nullptr);

  void Draw(const TDrawContext& dc) const override;
  void Reset() override;
  // Contact test of another device against the closed loop (slot 5).
  virtual void CollideWith(TRobot* other);

  const char* ClassName() const override { return "TRail"; }
  void VisitFields(TFieldVisitor& v) const override;
  // What the class says about itself (its registry entry reads it too).
  static const TDeviceDescription& Describe();
  const TDeviceDescription& Description() const override { return Describe(); }

  double Length() const;
  // World point and heading at abscissa s.
  void PointAt(double s, double& x, double& y, double& theta) const;
  // The tooth nearest to the world point (px, py) and its heading, which also
  // becomes the rail's Theta. Returns the distance from the point to that tooth.
  double NearestTooth(double px, double py, double& x, double& y, double& theta);

  double ToothWidth = 0;
  double RailWidth = 0;
  double ToothPitch = 0;
  double CurveRadius = 0;
  std::int32_t RailType = 0;

private:
  // Tooth positions of the curved shapes, local to the reference point, with
  // their squared distances found per query instead of every sample's root.
  // The teeth are also sorted into the cells of a grid, so that a query scans
  // only the cells near it, which hold every tooth that could be the nearest:
  // the full scan's choice to the bit.
  struct TToothCache {
    std::int32_t type = -1;
    double radius = 0, pitch = 0;
    std::vector<TRailPoint> teeth;
    double x0 = 0, y0 = 0, cell = 0, reach = 0; // reach: the largest |coordinate|
    double per_cell = 0;                        // 1 / cell
    std::int32_t nx = 0, ny = 0;                // no grid: 0
    std::vector<std::uint32_t> cell_start;      // teeth of cell c: [start[c], start[c + 1])
    std::vector<std::uint32_t> cell_teeth;
    std::size_t last = 0; // the tooth the previous query kept: a first bound
  };
  struct TCellBox {
    std::int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  };
  const std::vector<TRailPoint>& CurvedTeeth();
  void BuildToothGrid();
  // The cells holding every tooth that may be nearest to (px, py); false if
  // the grid cannot tell (then every tooth is scanned).
  bool NearCells(double px, double py, TCellBox& box) const;
  TToothCache cache_;
};
