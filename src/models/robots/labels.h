// The texts the robots print above themselves, in the label colour.
#pragma once

class TRobot;
struct TDrawContext;

// The device's index at raster position (0, 0, z) of the current frame.
void DrawIndexLabel(const TDrawContext& dc, const TRobot& robot, double z);
// One value formatted with a printf format holding a single double conversion.
void DrawValueText(const TDrawContext& dc, const TRobot& robot, const char* format, double value,
                   double z);
